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
// Vertex count before the cut.
int countBeforeCut = 0;
// Vertices the rebuild dropped: their numbers before the cut (increasing) and coordinates.
std::vector<int> droppedIndex;
std::vector<double> droppedX, droppedY, droppedZ;
// Scratch: which vertices the remaining triangles use; later, new number to old number.
std::vector<int> vertexScratch;

// Notes every vertex that no remaining triangle uses: the rebuild drops it.
void recordDroppedVertices()
{
    droppedIndex.clear();
    droppedX.clear();
    droppedY.clear();
    droppedZ.clear();
    vertexScratch.assign(static_cast<size_t>(vertexCount), 0);
    for (int i = 0; i < faceCount; ++i) {
        int corners[3] = {faceA[i], faceB[i], faceC[i]};
        for (int c : corners)
            if (c >= 0 && c < vertexCount)
                vertexScratch[c] = 1;
    }
    for (int v = 0; v < vertexCount; ++v) {
        if (vertexScratch[v])
            continue;
        droppedIndex.push_back(v);
        droppedX.push_back(vertexX[v]);
        droppedY.push_back(vertexY[v]);
        droppedZ.push_back(vertexZ[v]);
    }
}

// Puts the dropped vertices back at their former numbers and renumbers the
// triangles in use accordingly.
void restoreDroppedVertices()
{
    int kept = vertexCount;
    ensureVertexRoom(countBeforeCut);
    vertexScratch.assign(static_cast<size_t>(kept), 0);
    // From the top down, so no vertex is overwritten before it has moved.
    int j = static_cast<int>(droppedIndex.size()) - 1;
    int k = kept - 1;
    for (int i = countBeforeCut - 1; i >= 0; --i) {
        if (j >= 0 && droppedIndex[j] == i) {
            vertexX[i] = droppedX[j];
            vertexY[i] = droppedY[j];
            vertexZ[i] = droppedZ[j];
            --j;
        } else {
            vertexX[i] = vertexX[k];
            vertexY[i] = vertexY[k];
            vertexZ[i] = vertexZ[k];
            vertexScratch[k] = i;
            --k;
        }
    }
    for (int f = 0; f < faceCount; ++f) {
        int* corners[3] = {&faceA[f], &faceB[f], &faceC[f]};
        for (int* corner : corners)
            if (*corner >= 0 && *corner < kept)
                *corner = vertexScratch[*corner];
    }
    vertexCount = countBeforeCut;
}
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
    countBeforeCut = vertexCount;
    recordDroppedVertices();
    meshChangedByCut();
    undoRecordKind = 3;
    cutModeActive = false;
    rebuildTopology();
    // The rebuild drops exactly the vertices no remaining triangle uses.
    if (vertexCount != countBeforeCut - static_cast<int>(droppedIndex.size()))
        undoRecordKind = 0;
    leaveFaceCut();
}

void undoFaceCut()
{
    // Only the triangle of the last face cut, and only while nothing else has changed the mesh.
    if (undoRecordKind != 3)
        return;
    if (!droppedIndex.empty())
        restoreDroppedVertices();
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
