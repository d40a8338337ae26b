// The cut modes with the display flags they force, the click that cuts, the
// undo of the last cut, and the record both rely on.
#include "model/cutting.h"
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
PendingEdgeMark pendingMark = {-1, -1, 0, 0, 0};

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
    pendingMark = {-1, -1, 0, 0, 0};
    undoRecordKind = 0;
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
