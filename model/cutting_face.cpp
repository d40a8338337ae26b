// The face cut: removing a triangle, kept just past the triangles in use so
// that its undo can put it back; and that undo, which also brings back the
// vertices the rebuild dropped because only the removed triangle used them.
#include "model/cutting.h"
#include "model/cutting_internal.h"
#include "model/store.h"
#include "model/topology.h"

namespace {
// The corners of the removed triangle, in the vertex numbering before the cut.
int removedCorners[3] = {0, 0, 0};
} // namespace

void cutFace(int f)
{
    if (!topologyBuilt || f < 0 || f >= faceCount) {
        undoRecordKind = 0;
        cutModeActive = false;
        leaveFaceCut();
        return;
    }
    int a = faceA[f], b = faceB[f], c = faceC[f];
    for (int i = f + 1; i < faceCount; ++i) {
        faceA[i - 1] = faceA[i];
        faceB[i - 1] = faceB[i];
        faceC[i - 1] = faceC[i];
    }
    --faceCount;
    faceA[faceCount] = a;
    faceB[faceCount] = b;
    faceC[faceCount] = c;
    removedCorners[0] = a;
    removedCorners[1] = b;
    removedCorners[2] = c;
    noteDroppedVertices();
    meshChangedByCut();
    cutModeActive = false;
    rebuildTopology();
    recordUndo(3);
    leaveFaceCut();
}

void undoFaceCut()
{
    // Only the triangle of the last face cut, and only while nothing else has changed the mesh.
    if (!undoRecordValid(3) || !restoreDroppedVertices())
        return;
    if (static_cast<int>(faceA.size()) <= faceCount) {
        growIntArray(faceA, faceCount, faceCount + 1);
        growIntArray(faceB, faceCount, faceCount + 1);
        growIntArray(faceC, faceCount, faceCount + 1);
    }
    faceA[faceCount] = removedCorners[0];
    faceB[faceCount] = removedCorners[1];
    faceC[faceCount] = removedCorners[2];
    ++faceCount;
    meshChangedByCut();
    rebuildTopology();
}
