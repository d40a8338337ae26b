// The cut modes with the display flags they force, the click that cuts, the
// undo of the last cut, and the record both rely on.
#include "model/cutting.h"

#include <algorithm>
#include <cstring>

#include "model/cutting_internal.h"
#include "model/store.h"
#include "render/layers.h"
#include "render/view_state.h"

int vertexCutMode = 0;
int edgeCutMode = 0;
int faceCutMode = 0;
bool cutModeActive = false;
int cutKind = 0;
int cutAddedCount = 0;
int cutSource1 = 0, cutSource2 = 0;
int pendingEdge = -1;
int pickedCutKind = 0;

int undoRecordKind = 0;
int undoVertex = -1;
PendingEdgeMark pendingMark = {-1, -1, 0};
unsigned long long undoFingerprint = 0;

namespace {
// Display flags as they were when each mode was switched on.
bool vertexSavedShowVertices = false, vertexSavedShowNormals = false;
bool edgeSavedShowEdges = false, edgeSavedShowNormals = false, edgeSavedShowBoundary = false;
bool faceSavedShowEdges = false, faceSavedShowNormals = false, faceSavedShowFaces = false;

void enterCutMode(int kind)
{
    cursorTracked = false;
    cutModeActive = true;
    cutKind = kind;
}
} // namespace

void toggleVertexCut()
{
    vertexCutMode = 1 - vertexCutMode;
    if (vertexCutMode == 1) {
        vertexSavedShowVertices = showVertices;
        vertexSavedShowNormals = showNormals;
        showVertices = true;
        showNormals = false;
        enterCutMode(1);
    } else {
        showVertices = vertexSavedShowVertices;
        showNormals = vertexSavedShowNormals;
        cutModeActive = false;
    }
}

void toggleEdgeCut()
{
    edgeCutMode = 1 - edgeCutMode;
    if (edgeCutMode == 1) {
        edgeSavedShowEdges = showEdges;
        edgeSavedShowNormals = showNormals;
        edgeSavedShowBoundary = showBoundary;
        showEdges = true;
        showNormals = false;
        showBoundary = true;
        enterCutMode(2);
    } else {
        showEdges = edgeSavedShowEdges;
        showNormals = edgeSavedShowNormals;
        showBoundary = edgeSavedShowBoundary;
        cutModeActive = false;
    }
}

void toggleFaceCut()
{
    faceCutMode = 1 - faceCutMode;
    if (faceCutMode == 1) {
        faceSavedShowEdges = showEdges;
        faceSavedShowNormals = showNormals;
        faceSavedShowFaces = showFaces;
        showEdges = true;
        showNormals = false;
        showFaces = true;
        enterCutMode(3);
    } else {
        showEdges = faceSavedShowEdges;
        showNormals = faceSavedShowNormals;
        showFaces = faceSavedShowFaces;
        cutModeActive = false;
    }
}

void leaveVertexCut()
{
    if (vertexCutMode == 1)
        toggleVertexCut();
}

void leaveEdgeCut()
{
    if (edgeCutMode == 1)
        toggleEdgeCut();
}

void leaveFaceCut()
{
    if (faceCutMode == 1)
        toggleFaceCut();
}

void applyCut()
{
    // The picked index names an element of the kind whose highlight chose it;
    // it is handed only to the cut of that kind.
    int kind = pickedCutKind;
    if (vertexCutMode == 1 && (kind == 0 || kind == 1))
        cutVertex(pickedElement);
    if (edgeCutMode == 1 && (kind == 0 || kind == 2))
        cutEdge(pickedElement);
    if (faceCutMode == 1 && (kind == 0 || kind == 3))
        cutFace(pickedElement);
}

void undoCut()
{
    // Only the cut that made the last change of the mesh can be undone; a
    // click that changed nothing (a refused pick, the first edge of a
    // two-click cut) leaves nothing to undo.
    if (!undoRecordValid(undoRecordKind))
        return;
    switch (undoRecordKind) {
    case 1:
        undoVertexCut(undoVertex);
        break;
    case 2:
        undoEdgeCut();
        break;
    case 3:
        undoFaceCut();
        break;
    default:
        return;
    }
    flashBorders();
}

void meshChangedByCut()
{
    pendingEdge = -1;
    pendingMark = {-1, -1, 0};
    undoRecordKind = 0;
}

unsigned long long meshFingerprint()
{
    // FNV-1a over the words of the mesh in use.
    unsigned long long h = 1469598103934665603ULL;
    auto mix = [&h](unsigned long long word) {
        h ^= word;
        h *= 1099511628211ULL;
    };
    mix(static_cast<unsigned>(vertexCount));
    mix(static_cast<unsigned>(faceCount));
    mix(static_cast<unsigned>(edgeCount));
    int faces = std::min<int>(faceCount, static_cast<int>(std::min({faceA.size(), faceB.size(), faceC.size()})));
    for (int i = 0; i < faces; ++i)
        mix((static_cast<unsigned long long>(static_cast<unsigned>(faceA[i])) << 32) ^
            (static_cast<unsigned long long>(static_cast<unsigned>(faceB[i])) << 16) ^
            static_cast<unsigned>(faceC[i]));
    int vertices =
        std::min<int>(vertexCount, static_cast<int>(std::min({vertexX.size(), vertexY.size(), vertexZ.size()})));
    for (int i = 0; i < vertices; ++i) {
        double c[3] = {vertexX[i], vertexY[i], vertexZ[i]};
        for (double d : c) {
            unsigned long long bits;
            std::memcpy(&bits, &d, sizeof bits);
            mix(bits);
        }
    }
    return h;
}

bool undoRecordValid(int kind) { return undoRecordKind == kind && meshFingerprint() == undoFingerprint; }

void recordUndo(int kind)
{
    undoRecordKind = kind;
    undoFingerprint = meshFingerprint();
}

void forgetPendingCut() { meshChangedByCut(); }

void initCutState()
{
    vertexCutMode = edgeCutMode = faceCutMode = 0;
    cutModeActive = false;
    cutKind = 0;
    cutAddedCount = 0;
    cutSource1 = cutSource2 = 0;
    pickedCutKind = 0;
    meshChangedByCut();
    undoVertex = -1;
    vertexSavedShowVertices = vertexSavedShowNormals = false;
    edgeSavedShowEdges = edgeSavedShowNormals = edgeSavedShowBoundary = false;
    faceSavedShowEdges = faceSavedShowNormals = faceSavedShowFaces = false;
}

void ensureVertexRoom(int n)
{
    if (static_cast<int>(vertexX.size()) < n)
        growDoubleArray(vertexX, vertexCount, n);
    if (static_cast<int>(vertexY.size()) < n)
        growDoubleArray(vertexY, vertexCount, n);
    if (static_cast<int>(vertexZ.size()) < n)
        growDoubleArray(vertexZ, vertexCount, n);
}

void appendVertexCopy(int source)
{
    vertexX[vertexCount] = vertexX[source];
    vertexY[vertexCount] = vertexY[source];
    vertexZ[vertexCount] = vertexZ[source];
    ++vertexCount;
}
