// One step of Loop subdivision on the store's mesh.
//
// The step runs in linear time: the split-edge table is registered once from
// the triangles (with the first two corners opposite each edge, in the order
// a scan of the triangles meets them), then one loop over the old triangles
// sums every vertex ring in list order, makes the edge vertices in the order
// it first meets their edges and writes the four new triangles; a last loop
// over the old vertices moves them. Everything that can refuse the step
// (a face outside the vertices, counts that would overflow, memory) is
// settled before the store is touched.
#include <climits>
#include <new>
#include <stdexcept>

#include "app/messages.h"
#include "model/store.h"
#include "model/subdivision.h"
#include "model/subdivision_internal.h"
#include "model/topology.h"
#include "param/parameterize.h"

namespace {

// Registers the three sides of every triangle (A-B, B-C, C-A) and keeps, for
// each edge, the first two corners opposite it. False if a side found no room.
bool registerAllSides()
{
    std::size_t F = static_cast<std::size_t>(faceCount);
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

// Adds ring entry r of vertex j to j's ring sum and notes it when it occurs
// only once in the ring (r is not j itself and its edge has one triangle).
inline void gatherRing(RingSummary* rings, double* X, double* Y, double* Z, int j, int r, bool oneTriangle,
                       double rx, double ry, double rz)
{
    X[j] += rx;
    Y[j] += ry;
    Z[j] += rz;
    if (oneTriangle && r != j) {
        RingSummary& ring = rings[j];
        if (ring.singles == 0)
            ring.first = r;
        else if (ring.singles == 1)
            ring.second = r;
        ++ring.singles;
    }
}

inline int edgeVertex(int entry)
{
    int v = splitEdgeVertex[static_cast<std::size_t>(entry)];
    return v >= 0 ? v : makeEdgeVertex(entry);
}

// The loop over the old triangles: ring sums into vertexX/Y/Z 0 .. V-1, edge
// vertices from V on, and the four triangles of each old one.
void splitTriangles(std::vector<RingSummary>& ringSummaries, const std::vector<int>& oldA,
                    const std::vector<int>& oldB, const std::vector<int>& oldC, int F)
{
    RingSummary* rings = ringSummaries.data();
    double* X = vertexX.data();
    double* Y = vertexY.data();
    double* Z = vertexZ.data();
    const double* ox = oldX.data();
    const double* oy = oldY.data();
    const double* oz = oldZ.data();
    const int* opposite2 = splitEdgeOpposite2.data();
    int* newA = faceA.data();
    int* newB = faceB.data();
    int* newC = faceC.data();
    for (std::size_t t = 0; t < static_cast<std::size_t>(F); ++t) {
        int a = oldA[t], b = oldB[t], c = oldC[t];
        int eAB = findSplitEdge(a, b), eBC = findSplitEdge(b, c), eCA = findSplitEdge(c, a);
        bool oneAB = opposite2[eAB] < 0, oneBC = opposite2[eBC] < 0, oneCA = opposite2[eCA] < 0;
        double ax = ox[a], ay = oy[a], az = oz[a];
        double bx = ox[b], by = oy[b], bz = oz[b];
        double cx = ox[c], cy = oy[c], cz = oz[c];
        gatherRing(rings, X, Y, Z, a, b, oneAB, bx, by, bz);
        gatherRing(rings, X, Y, Z, a, c, oneCA, cx, cy, cz);
        ++rings[a].corners;
        gatherRing(rings, X, Y, Z, b, c, oneBC, cx, cy, cz);
        gatherRing(rings, X, Y, Z, b, a, oneAB, ax, ay, az);
        ++rings[b].corners;
        gatherRing(rings, X, Y, Z, c, a, oneCA, ax, ay, az);
        gatherRing(rings, X, Y, Z, c, b, oneBC, bx, by, bz);
        ++rings[c].corners;

        int d = edgeVertex(eBC);
        int f = edgeVertex(eCA);
        int h = edgeVertex(eAB);
        std::size_t k = static_cast<std::size_t>(F) + 3 * t;
        newA[k] = a, newB[k] = h, newC[k] = f;
        newA[k + 1] = b, newB[k + 1] = d, newC[k + 1] = h;
        newA[k + 2] = c, newB[k + 2] = f, newC[k + 2] = d;
        newA[t] = d, newB[t] = f, newC[t] = h;
    }
}

void releaseStepTemporaries()
{
    releaseSplitEdgeTable();
    freeBlock(oldX);
    freeBlock(oldY);
    freeBlock(oldZ);
}

} // namespace

bool refineLoopStep()
{
    if (!modelLoaded)
        return false;
    const int V = vertexCount, F = faceCount;
    if (F > INT_MAX / 4) {
        showError(tooLargeModelText);
        return false;
    }
    if (V < 0 || F < 0 || vertexX.size() < static_cast<std::size_t>(V) ||
        vertexY.size() < static_cast<std::size_t>(V) || vertexZ.size() < static_cast<std::size_t>(V)) {
        showError(impossibleModelText);
        return false;
    }

    // Everything that may refuse the step comes before the store changes.
    std::vector<double> newX, newY, newZ;
    std::vector<int> newA, newB, newC;
    std::vector<RingSummary> rings;
    const char* refusal = nullptr;
    try {
        if (!prepareSplitEdgeTable() || !registerAllSides())
            refusal = impossibleModelText;
        else if (V > INT_MAX - splitEdgeCount)
            refusal = tooLargeModelText;
        if (!refusal) {
            std::size_t newVertexCount = static_cast<std::size_t>(V) + static_cast<std::size_t>(splitEdgeCount);
            allocZeroedBlock(newX, newVertexCount);
            allocZeroedBlock(newY, newVertexCount);
            allocZeroedBlock(newZ, newVertexCount);
            allocZeroedBlock(newA, 4 * static_cast<std::size_t>(F));
            allocZeroedBlock(newB, 4 * static_cast<std::size_t>(F));
            allocZeroedBlock(newC, 4 * static_cast<std::size_t>(F));
            allocZeroedBlock(rings, static_cast<std::size_t>(V));
        }
    } catch (const std::bad_alloc&) {
        refusal = subdivisionMemoryText;
    } catch (const std::length_error&) {
        refusal = subdivisionMemoryText;
    }
    if (refusal) {
        releaseStepTemporaries();
        showError(refusal);
        return false;
    }

    // The old coordinates and triangles stay aside, read-only, while the new
    // arrays take their place in the store.
    oldX.swap(vertexX);
    oldY.swap(vertexY);
    oldZ.swap(vertexZ);
    vertexX.swap(newX);
    vertexY.swap(newY);
    vertexZ.swap(newZ);
    std::vector<int>& oldA = newA;
    std::vector<int>& oldB = newB;
    std::vector<int>& oldC = newC;
    oldA.swap(faceA);
    oldB.swap(faceB);
    oldC.swap(faceC);

    splitTriangles(rings, oldA, oldB, oldC, F);
    moveOldVertices(rings, oldA, oldB, oldC, F);
    faceCount = 4 * F;

    freeBlock(rings);
    freeBlock(oldA);
    freeBlock(oldB);
    freeBlock(oldC);
    releaseStepTemporaries();

    // What was derived from the old mesh no longer holds.
    closedWarned = false;
    freeBlock(edgeA);
    freeBlock(edgeB);
    freeBlock(edgeFace1);
    freeBlock(edgeFace2);
    topologyBuilt = false;
    freeBlock(vertexU);
    freeBlock(vertexV);
    uvComputed = false;
    return true;
}

void subdivideLoop()
{
    bool parameterized = uvComputed;
    if (!refineLoopStep())
        return;
    if (parameterized)
        parameterize();
    else
        buildTopology();
}
