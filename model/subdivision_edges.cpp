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

#include "model/mesh.h"
#include "model/subdivision.h"
#include "model/subdivision_internal.h"




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

bool prepareSplitEdgeTable(Mesh& mesh, LoopStepWork& work)
{
    emptySplitEdgeTable(work);
    int V = std::max(mesh.vertexCount, 0);
    std::size_t F = static_cast<std::size_t>(std::max(mesh.faceCount, 0));
    if (mesh.faceA.size() < F || mesh.faceB.size() < F || mesh.faceC.size() < F)
        return false;
    work.splitBucketVertexCount = V;
    filledBlock(work.splitBucketStart, static_cast<std::size_t>(V) + 1, std::size_t(0));
    std::size_t* count = work.splitBucketStart.data();
    const int* A = mesh.faceA.data();
    const int* B = mesh.faceB.data();
    const int* C = mesh.faceC.data();
    const unsigned limit = static_cast<unsigned>(V);
    for (std::size_t t = 0; t < F; ++t) {
        int a = A[t], b = B[t], c = C[t];
        if (static_cast<unsigned>(a) >= limit || static_cast<unsigned>(b) >= limit ||
            static_cast<unsigned>(c) >= limit) {
            emptySplitEdgeTable(work);
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
    filledBlock(work.splitBucketSlot, total, -1);
    for (std::vector<int>* entries :
         {&work.splitEdgeLow, &work.splitEdgeHigh, &work.splitEdgeVertex, &work.splitEdgeOpposite1, &work.splitEdgeOpposite2})
        emptyBlock(*entries, 3 * F);
    work.splitEdgeCount = 0;
    return true;
}

void emptySplitEdgeTable(LoopStepWork& work)
{
    work.splitBucketVertexCount = 0;
    work.splitBucketStart.clear();
    work.splitBucketSlot.clear();
    for (std::vector<int>* entries :
         {&work.splitEdgeLow, &work.splitEdgeHigh, &work.splitEdgeVertex, &work.splitEdgeOpposite1, &work.splitEdgeOpposite2})
        entries->clear();
    work.splitEdgeCount = 0;
}

void releaseSplitEdgeTable(LoopStepWork& work)
{
    freeBlock(work.splitBucketStart);
    freeBlock(work.splitBucketSlot);
    work.splitBucketVertexCount = 0;
    freeBlock(work.splitEdgeLow);
    freeBlock(work.splitEdgeHigh);
    freeBlock(work.splitEdgeVertex);
    freeBlock(work.splitEdgeOpposite1);
    freeBlock(work.splitEdgeOpposite2);
    work.splitEdgeCount = 0;
}

int registerSplitEdge(LoopStepWork& work, int v1, int v2)
{
    int low = std::min(v1, v2), high = std::max(v1, v2);
    int* slot = locateSplitEdge(work, low, high);
    if (!slot)
        return -1;
    if (*slot >= 0)
        return *slot;
    int entry = work.splitEdgeCount++;
    work.splitEdgeLow.push_back(low);
    work.splitEdgeHigh.push_back(high);
    work.splitEdgeVertex.push_back(-1);
    work.splitEdgeOpposite1.push_back(-1);
    work.splitEdgeOpposite2.push_back(-1);
    *slot = entry;
    return entry;
}

int findSplitEdge(LoopStepWork& work, int v1, int v2)
{
    int* slot = locateSplitEdge(work, std::min(v1, v2), std::max(v1, v2));
    if (slot && *slot >= 0)
        return *slot;
    work.splitEdgeMissing = true;
    return work.splitEdgeCount > 0 ? 0 : -1;
}

bool registerTriangleSides(Mesh& mesh, LoopStepWork& work)
{
    std::size_t F = static_cast<std::size_t>(std::max(mesh.faceCount, 0));
    const int* A = mesh.faceA.data();
    const int* B = mesh.faceB.data();
    const int* C = mesh.faceC.data();
    auto side = [&work](int v1, int v2, int opposite) {
        int entry = registerSplitEdge(work, v1, v2);
        if (entry < 0)
            return false;
        std::size_t e = static_cast<std::size_t>(entry);
        if (work.splitEdgeOpposite1[e] < 0)
            work.splitEdgeOpposite1[e] = opposite;
        else if (work.splitEdgeOpposite2[e] < 0)
            work.splitEdgeOpposite2[e] = opposite;
        return true;
    };
    for (std::size_t t = 0; t < F; ++t) {
        int a = A[t], b = B[t], c = C[t];
        if (!side(a, b, c) || !side(b, c, a) || !side(c, a, b))
            return false;
    }
    return true;
}

int makeEdgeVertex(Mesh& mesh, LoopStepWork& work, int entry)
{
    if (entry < 0 || entry >= work.splitEdgeCount)
        return -1;
    std::size_t e = static_cast<std::size_t>(entry);
    std::size_t v = static_cast<std::size_t>(mesh.vertexCount);
    std::size_t old = work.oldX.size();
    std::size_t p = static_cast<std::size_t>(work.splitEdgeLow[e]);
    std::size_t q = static_cast<std::size_t>(work.splitEdgeHigh[e]);
    int o1 = work.splitEdgeOpposite1[e], o2 = work.splitEdgeOpposite2[e];
    if (mesh.vertexCount < 0 || v >= mesh.vertexX.size() || v >= mesh.vertexY.size() || v >= mesh.vertexZ.size() || p >= old ||
        q >= old || work.oldY.size() < old || work.oldZ.size() < old)
        return -1;
    if (o1 < 0 || o2 < 0 || static_cast<std::size_t>(o1) >= old || static_cast<std::size_t>(o2) >= old) {
        // An edge of one triangle: the midpoint.
        mesh.vertexX[v] = (work.oldX[p] + work.oldX[q]) / 2.0;
        mesh.vertexY[v] = (work.oldY[p] + work.oldY[q]) / 2.0;
        mesh.vertexZ[v] = (work.oldZ[p] + work.oldZ[q]) / 2.0;
    } else {
        std::size_t r = static_cast<std::size_t>(o1), s = static_cast<std::size_t>(o2);
        mesh.vertexX[v] = ((work.oldX[p] + work.oldX[q]) * 3.0 + work.oldX[r] + work.oldX[s]) / 8.0;
        mesh.vertexY[v] = ((work.oldY[p] + work.oldY[q]) * 3.0 + work.oldY[r] + work.oldY[s]) / 8.0;
        mesh.vertexZ[v] = ((work.oldZ[p] + work.oldZ[q]) * 3.0 + work.oldZ[r] + work.oldZ[s]) / 8.0;
    }
    work.splitEdgeVertex[e] = mesh.vertexCount;
    return mesh.vertexCount++;
}
