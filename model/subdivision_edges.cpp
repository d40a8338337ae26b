// The split-edge table of a subdivision step and the edge vertices made from it.
//
// Entries stand in the order of first registration. Lookup goes through one
// bucket per vertex holding the entries whose smaller end is that vertex: a
// bucket has one slot per triangle side whose smaller end is the vertex, so it
// never runs out; a small bucket is searched from its start, a large one (a
// vertex with many triangles) is an open-addressed table of twice that size,
// which keeps every lookup short whatever the valence.
#include <algorithm>
#include <cstdint>

#include "base/store.h"
#include "model/subdivision.h"
#include "model/subdivision_internal.h"

std::vector<double> oldX, oldY, oldZ;

std::vector<int> splitEdgeLow, splitEdgeHigh, splitEdgeVertex;
std::vector<int> splitEdgeOpposite1, splitEdgeOpposite2;
int splitEdgeCount = 0;
bool splitEdgeMissing = false;

std::vector<std::size_t> splitBucketStart;
std::vector<int> splitBucketSlot;
int splitBucketVertexCount = 0;

namespace {

std::size_t bucketSizeFor(std::size_t sides)
{
    if (sides <= smallSplitBucket)
        return sides;
    std::size_t size = 1;
    while (size < 2 * sides)
        size *= 2;
    return size;
}

} // namespace

bool prepareSplitEdgeTable()
{
    emptySplitEdgeTable();
    int V = std::max(vertexCount, 0);
    std::size_t F = static_cast<std::size_t>(std::max(faceCount, 0));
    if (faceA.size() < F || faceB.size() < F || faceC.size() < F)
        return false;
    splitBucketVertexCount = V;
    filledBlock(splitBucketStart, static_cast<std::size_t>(V) + 1, std::size_t(0));
    std::size_t* count = splitBucketStart.data();
    const int* A = faceA.data();
    const int* B = faceB.data();
    const int* C = faceC.data();
    const unsigned limit = static_cast<unsigned>(V);
    for (std::size_t t = 0; t < F; ++t) {
        int a = A[t], b = B[t], c = C[t];
        if (static_cast<unsigned>(a) >= limit || static_cast<unsigned>(b) >= limit ||
            static_cast<unsigned>(c) >= limit) {
            emptySplitEdgeTable();
            return false;
        }
        ++count[std::min(a, b)];
        ++count[std::min(b, c)];
        ++count[std::min(c, a)];
    }
    std::size_t total = 0;
    for (int p = 0; p < V; ++p) {
        std::size_t size = bucketSizeFor(count[p]);
        count[p] = total;
        total += size;
    }
    count[V] = total;
    filledBlock(splitBucketSlot, total, -1);
    for (std::vector<int>* entries :
         {&splitEdgeLow, &splitEdgeHigh, &splitEdgeVertex, &splitEdgeOpposite1, &splitEdgeOpposite2})
        emptyBlock(*entries, 3 * F);
    splitEdgeCount = 0;
    return true;
}

void emptySplitEdgeTable()
{
    splitBucketVertexCount = 0;
    splitBucketStart.clear();
    splitBucketSlot.clear();
    for (std::vector<int>* entries :
         {&splitEdgeLow, &splitEdgeHigh, &splitEdgeVertex, &splitEdgeOpposite1, &splitEdgeOpposite2})
        entries->clear();
    splitEdgeCount = 0;
}

void releaseSplitEdgeTable()
{
    freeBlock(splitBucketStart);
    freeBlock(splitBucketSlot);
    splitBucketVertexCount = 0;
    freeBlock(splitEdgeLow);
    freeBlock(splitEdgeHigh);
    freeBlock(splitEdgeVertex);
    freeBlock(splitEdgeOpposite1);
    freeBlock(splitEdgeOpposite2);
    splitEdgeCount = 0;
}

int registerSplitEdge(int v1, int v2)
{
    int low = std::min(v1, v2), high = std::max(v1, v2);
    int* slot = locateSplitEdge(low, high);
    if (!slot)
        return -1;
    if (*slot >= 0)
        return *slot;
    int entry = splitEdgeCount++;
    splitEdgeLow.push_back(low);
    splitEdgeHigh.push_back(high);
    splitEdgeVertex.push_back(-1);
    splitEdgeOpposite1.push_back(-1);
    splitEdgeOpposite2.push_back(-1);
    *slot = entry;
    return entry;
}

int findSplitEdge(int v1, int v2)
{
    int* slot = locateSplitEdge(std::min(v1, v2), std::max(v1, v2));
    if (slot && *slot >= 0)
        return *slot;
    splitEdgeMissing = true;
    return splitEdgeCount > 0 ? 0 : -1;
}

bool registerTriangleSides()
{
    std::size_t F = static_cast<std::size_t>(std::max(faceCount, 0));
    const int* A = faceA.data();
    const int* B = faceB.data();
    const int* C = faceC.data();
    auto side = [](int v1, int v2, int opposite) {
        int entry = registerSplitEdge(v1, v2);
        if (entry < 0)
            return false;
        std::size_t e = static_cast<std::size_t>(entry);
        if (splitEdgeOpposite1[e] < 0)
            splitEdgeOpposite1[e] = opposite;
        else if (splitEdgeOpposite2[e] < 0)
            splitEdgeOpposite2[e] = opposite;
        return true;
    };
    for (std::size_t t = 0; t < F; ++t) {
        int a = A[t], b = B[t], c = C[t];
        if (!side(a, b, c) || !side(b, c, a) || !side(c, a, b))
            return false;
    }
    return true;
}

int makeEdgeVertex(int entry)
{
    if (entry < 0 || entry >= splitEdgeCount)
        return -1;
    std::size_t e = static_cast<std::size_t>(entry);
    std::size_t v = static_cast<std::size_t>(vertexCount);
    std::size_t old = oldX.size();
    std::size_t p = static_cast<std::size_t>(splitEdgeLow[e]);
    std::size_t q = static_cast<std::size_t>(splitEdgeHigh[e]);
    int o1 = splitEdgeOpposite1[e], o2 = splitEdgeOpposite2[e];
    if (vertexCount < 0 || v >= vertexX.size() || v >= vertexY.size() || v >= vertexZ.size() || p >= old ||
        q >= old || oldY.size() < old || oldZ.size() < old)
        return -1;
    if (o1 < 0 || o2 < 0 || static_cast<std::size_t>(o1) >= old || static_cast<std::size_t>(o2) >= old) {
        // An edge of one triangle: the midpoint.
        vertexX[v] = (oldX[p] + oldX[q]) / 2.0;
        vertexY[v] = (oldY[p] + oldY[q]) / 2.0;
        vertexZ[v] = (oldZ[p] + oldZ[q]) / 2.0;
    } else {
        std::size_t r = static_cast<std::size_t>(o1), s = static_cast<std::size_t>(o2);
        vertexX[v] = ((oldX[p] + oldX[q]) * 3.0 + oldX[r] + oldX[s]) / 8.0;
        vertexY[v] = ((oldY[p] + oldY[q]) * 3.0 + oldY[r] + oldY[s]) / 8.0;
        vertexZ[v] = ((oldZ[p] + oldZ[q]) * 3.0 + oldZ[r] + oldZ[s]) / 8.0;
    }
    splitEdgeVertex[e] = vertexCount;
    return vertexCount++;
}
