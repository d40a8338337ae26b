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

#include "app/messages.h"
#include "model/store.h"
#include "model/subdivision.h"
#include "model/subdivision_internal.h"

std::vector<double> oldX, oldY, oldZ;

std::vector<int> splitEdgeLow, splitEdgeHigh, splitEdgeVertex;
std::vector<int> splitEdgeOpposite1, splitEdgeOpposite2;
int splitEdgeCount = 0;

namespace {

// Buckets of at most this many slots are searched from their start.
constexpr std::size_t smallBucket = 16;

// Slot range of each vertex's bucket: bucketStart[p] .. bucketStart[p+1]-1.
std::vector<std::size_t> bucketStart;
// Entry held by each slot, -1 when free.
std::vector<int> bucketSlot;
// Number of vertices the buckets were made for.
int bucketVertexCount = 0;

std::size_t bucketSizeFor(std::size_t sides)
{
    if (sides <= smallBucket)
        return sides;
    std::size_t size = 1;
    while (size < 2 * sides)
        size *= 2;
    return size;
}

std::size_t slotHash(int high, std::size_t mask)
{
    std::uint32_t h = static_cast<std::uint32_t>(high) * 0x9E3779B1u;
    return (h ^ (h >> 15)) & mask;
}

// The slot that holds the pair's entry, or the free slot where it belongs, or
// null when the pair cannot be in the table (a vertex outside the buckets, or
// a full bucket without it).
int* locate(int low, int high)
{
    if (low < 0 || high >= bucketVertexCount)
        return nullptr;
    std::size_t begin = bucketStart[static_cast<std::size_t>(low)];
    std::size_t size = bucketStart[static_cast<std::size_t>(low) + 1] - begin;
    int* slot = bucketSlot.data() + begin;
    if (size <= smallBucket) {
        for (std::size_t i = 0; i < size; ++i)
            if (slot[i] < 0 || splitEdgeHigh[static_cast<std::size_t>(slot[i])] == high)
                return slot + i;
        return nullptr;
    }
    std::size_t mask = size - 1;
    std::size_t i = slotHash(high, mask);
    for (std::size_t probes = 0; probes < size; ++probes, i = (i + 1) & mask)
        if (slot[i] < 0 || splitEdgeHigh[static_cast<std::size_t>(slot[i])] == high)
            return slot + i;
    return nullptr;
}

} // namespace

bool prepareSplitEdgeTable()
{
    releaseSplitEdgeTable();
    int V = std::max(vertexCount, 0);
    std::size_t F = static_cast<std::size_t>(std::max(faceCount, 0));
    if (faceA.size() < F || faceB.size() < F || faceC.size() < F)
        return false;
    bucketVertexCount = V;
    allocZeroedBlock(bucketStart, static_cast<std::size_t>(V) + 1);
    std::size_t* count = bucketStart.data();
    const int* A = faceA.data();
    const int* B = faceB.data();
    const int* C = faceC.data();
    const unsigned limit = static_cast<unsigned>(V);
    for (std::size_t t = 0; t < F; ++t) {
        int a = A[t], b = B[t], c = C[t];
        if (static_cast<unsigned>(a) >= limit || static_cast<unsigned>(b) >= limit ||
            static_cast<unsigned>(c) >= limit) {
            releaseSplitEdgeTable();
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
    reserveEmptyBlock(bucketSlot, total);
    bucketSlot.assign(total, -1);
    for (std::vector<int>* entries :
         {&splitEdgeLow, &splitEdgeHigh, &splitEdgeVertex, &splitEdgeOpposite1, &splitEdgeOpposite2})
        reserveEmptyBlock(*entries, 3 * F);
    splitEdgeCount = 0;
    return true;
}

void releaseSplitEdgeTable()
{
    freeBlock(bucketStart);
    freeBlock(bucketSlot);
    bucketVertexCount = 0;
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
    int* slot = locate(low, high);
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

int lookupSplitEdge(int v1, int v2)
{
    const int* slot = locate(std::min(v1, v2), std::max(v1, v2));
    return slot ? *slot : -1;
}

int findSplitEdge(int v1, int v2)
{
    int* slot = locate(std::min(v1, v2), std::max(v1, v2));
    if (slot && *slot >= 0)
        return *slot;
    showError(impossibleModelText);
    return splitEdgeCount > 0 ? 0 : -1;
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
