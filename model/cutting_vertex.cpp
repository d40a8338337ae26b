// The vertex cut: every triangle at a vertex gets its own copy of it, so the
// triangles around it are no longer joined there; and its undo.
#include "model/cutting.h"
#include "model/cutting_internal.h"
#include "model/store.h"
#include "model/topology.h"
#include "render/layers.h"

namespace {
int countCorners(int v)
{
    int c = 0;
    for (int i = 0; i < faceCount; ++i)
        c += (faceA[i] == v) + (faceB[i] == v) + (faceC[i] == v);
    return c;
}

// A vertex cut that cuts nothing: the mode goes off, nothing to undo.
void refuseVertexCut()
{
    cutAddedCount = 0;
    undoRecordKind = 0;
    leaveVertexCut();
}
} // namespace

void cutVertex(int v)
{
    if (!topologyBuilt || v < 0 || v >= vertexCount) {
        refuseVertexCut();
        return;
    }
    int c = countCorners(v);
    if (c < 2) {
        refuseVertexCut();
        return;
    }
    int n = vertexCount;
    ensureVertexRoom(n + c - 1);
    for (int k = 0; k < c - 1; ++k)
        appendVertexCopy(v);
    // The first corner equal to v keeps it; the k-th later one gets copy n + k.
    int seen = 0;
    for (int i = 0; i < faceCount; ++i) {
        int* corners[3] = {&faceA[i], &faceB[i], &faceC[i]};
        for (int* corner : corners) {
            if (*corner != v)
                continue;
            if (seen > 0)
                *corner = n + seen - 1;
            ++seen;
        }
    }
    noteDroppedVertices();
    meshChangedByCut();
    cutAddedCount = c - 1;
    undoVertex = v;
    cutModeActive = false;
    rebuildTopology();
    recordUndo(1);
    flashBorders();
    leaveVertexCut();
}

void undoVertexCut(int v)
{
    // Only the copies of the last vertex cut, made into the vertex it split,
    // and only while nothing else has changed the mesh.
    if (!undoRecordValid(1) || v != undoVertex || cutAddedCount <= 0)
        return;
    if (!restoreDroppedVertices())
        return;
    // v was recorded in the numbering the restore brings back, below the copies.
    int n = vertexCount - cutAddedCount;
    if (v < 0 || v >= n)
        return;
    for (int i = 0; i < faceCount; ++i) {
        if (faceA[i] >= n)
            faceA[i] = v;
        if (faceB[i] >= n)
            faceB[i] = v;
        if (faceC[i] >= n)
            faceC[i] = v;
    }
    vertexCount = n;
    meshChangedByCut();
    rebuildTopology();
}
