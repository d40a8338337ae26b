// The vertices a cut's rebuild drops because no triangle uses them any more:
// noted before the rebuild so that the undo can put them back at their former
// numbers, which the copies and the kept triangle still refer to.
#include "model/cutting_internal.h"
#include "model/store.h"

namespace {
// Vertex count when the note was taken.
int countAtNote = 0;
// Vertices the rebuild drops: their numbers (increasing) and coordinates.
std::vector<int> droppedIndex;
std::vector<double> droppedX, droppedY, droppedZ;
// Scratch: which vertices the triangles use; later, new number to old number.
std::vector<int> vertexScratch;
} // namespace

void noteDroppedVertices()
{
    countAtNote = vertexCount;
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

bool restoreDroppedVertices()
{
    int kept = vertexCount;
    if (kept != countAtNote - static_cast<int>(droppedIndex.size()))
        return false;
    if (droppedIndex.empty())
        return true;
    ensureVertexRoom(countAtNote);
    vertexScratch.assign(static_cast<size_t>(kept), 0);
    // From the top down, so no vertex is overwritten before it has moved.
    int j = static_cast<int>(droppedIndex.size()) - 1;
    int k = kept - 1;
    for (int i = countAtNote - 1; i >= 0; --i) {
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
    vertexCount = countAtNote;
    return true;
}
