// The vertex rule of Loop subdivision: every old vertex moves by its ring, the
// two other corners of every triangle at the vertex, taken triangle by
// triangle (corner A gives B, C; corner B gives C, A; corner C gives A, B).
// Ring entries that occur exactly once are moved to the front by successive
// exchanges; with exactly two of them the vertex is on a boundary and moves to
// 6/8 of itself plus 1/8 of each; otherwise Loop's beta weighs the sum S of
// the ring entries taken in list order.
//
// One loop over the old triangles sums every ring in list order into
// vertexX/Y/Z and counts the entries occurring once: an entry r of vertex j
// occurs once exactly when r is not j and the edge j-r has one triangle. When
// no entry occurs once, no exchange happens and that sum is S. The rare vertex
// with one, three or more such entries has its list rebuilt and reordered as
// the exchanges leave it before S is formed.
#include <cmath>

#include "model/mesh.h"
#include "model/subdivision.h"
#include "model/subdivision_internal.h"


namespace {

// Beta and the vertex's own weight 1 - n beta for the usual valences.
constexpr int tabledValences = 64;
struct Weights {
    double beta[tabledValences + 1];
    double own[tabledValences + 1];
};

Weights makeWeights()
{
    Weights w{};
    for (int n = 1; n <= tabledValences; ++n) {
        w.beta[n] = loopBeta(n);
        w.own[n] = 1.0 - n * w.beta[n];
    }
    return w;
}

// Applies the interior rule to vertex j: beta S / 2 + (1 - n beta) old(j).
inline void placeInterior(Mesh& mesh, LoopStepWork& work, std::size_t j, double beta, double own, double sx, double sy, double sz)
{
    mesh.vertexX[j] = beta * sx / 2.0 + own * work.oldX[j];
    mesh.vertexY[j] = beta * sy / 2.0 + own * work.oldY[j];
    mesh.vertexZ[j] = beta * sz / 2.0 + own * work.oldZ[j];
}

// Whether ring entry r of vertex j, from a side whose table entry is given,
// occurs only once in j's ring.
inline bool occursOnce(int j, int r, int entry, const int* opposite2)
{
    return r != j && entry >= 0 && opposite2[entry] < 0;
}

// Adds ring entry r of vertex j to j's sum and notes it when it occurs once.
inline void gather(RingSummary* rings, double* X, double* Y, double* Z, int j, int r, bool once, double rx,
                   double ry, double rz)
{
    X[j] += rx;
    Y[j] += ry;
    Z[j] += rz;
    if (once && r != j) {
        RingSummary& ring = rings[j];
        if (ring.singles == 0)
            ring.first = r;
        else if (ring.singles == 1)
            ring.second = r;
        ++ring.singles;
    }
}

} // namespace

double loopBeta(int n)
{
    const double pi = 3.141592653589793;
    double c = 0.375 + 0.25 * std::cos(2.0 * pi / n);
    return (1.0 / n) * (0.625 - c * c);
}

void sumRings(Mesh& mesh, LoopStepWork& work, std::vector<RingSummary>& summaries, const std::vector<int>& oldA, const std::vector<int>& oldB,
              const std::vector<int>& oldC, int oldFaceCount)
{
    RingSummary* rings = summaries.data();
    double* X = mesh.vertexX.data();
    double* Y = mesh.vertexY.data();
    double* Z = mesh.vertexZ.data();
    const double* ox = work.oldX.data();
    const double* oy = work.oldY.data();
    const double* oz = work.oldZ.data();
    const int* opposite2 = work.splitEdgeOpposite2.data();
    for (std::size_t t = 0; t < static_cast<std::size_t>(oldFaceCount); ++t) {
        int a = oldA[t], b = oldB[t], c = oldC[t];
        int eAB = lookupSplitEdge(work, a, b), eBC = lookupSplitEdge(work, b, c), eCA = lookupSplitEdge(work, c, a);
        bool oneAB = eAB >= 0 && opposite2[eAB] < 0;
        bool oneBC = eBC >= 0 && opposite2[eBC] < 0;
        bool oneCA = eCA >= 0 && opposite2[eCA] < 0;
        double ax = ox[a], ay = oy[a], az = oz[a];
        double bx = ox[b], by = oy[b], bz = oz[b];
        double cx = ox[c], cy = oy[c], cz = oz[c];
        gather(rings, X, Y, Z, a, b, oneAB, bx, by, bz);
        gather(rings, X, Y, Z, a, c, oneCA, cx, cy, cz);
        ++rings[a].corners;
        gather(rings, X, Y, Z, b, c, oneBC, cx, cy, cz);
        gather(rings, X, Y, Z, b, a, oneAB, ax, ay, az);
        ++rings[b].corners;
        gather(rings, X, Y, Z, c, a, oneCA, ax, ay, az);
        gather(rings, X, Y, Z, c, b, oneBC, bx, by, bz);
        ++rings[c].corners;
    }
}

bool needsReordering(const RingSummary& ring) { return ring.corners > 0 && ring.singles != 0 && ring.singles != 2; }

void moveOldVertices(Mesh& mesh, LoopStepWork& work, const std::vector<RingSummary>& rings)
{
    static const Weights weights = makeWeights();
    std::size_t V = rings.size();
    for (std::size_t j = 0; j < V; ++j) {
        const RingSummary& ring = rings[j];
        if (ring.corners == 0) {
            mesh.vertexX[j] = work.oldX[j];
            mesh.vertexY[j] = work.oldY[j];
            mesh.vertexZ[j] = work.oldZ[j];
        } else if (ring.singles == 2) {
            std::size_t r0 = static_cast<std::size_t>(ring.first), r1 = static_cast<std::size_t>(ring.second);
            mesh.vertexX[j] = (6.0 * work.oldX[j] + work.oldX[r0] + work.oldX[r1]) / 8.0;
            mesh.vertexY[j] = (6.0 * work.oldY[j] + work.oldY[r0] + work.oldY[r1]) / 8.0;
            mesh.vertexZ[j] = (6.0 * work.oldZ[j] + work.oldZ[r0] + work.oldZ[r1]) / 8.0;
        } else if (ring.singles == 0) {
            int n = ring.corners;
            double beta = n <= tabledValences ? weights.beta[n] : loopBeta(n);
            double own = n <= tabledValences ? weights.own[n] : 1.0 - n * beta;
            placeInterior(mesh, work, j, beta, own, mesh.vertexX[j], mesh.vertexY[j], mesh.vertexZ[j]);
        }
    }
}

void moveReorderedVertices(Mesh& mesh, LoopStepWork& work, const std::vector<RingSummary>& rings, const std::vector<int>& oldA,
                           const std::vector<int>& oldB, const std::vector<int>& oldC, int oldFaceCount)
{
    std::size_t first = 0;
    while (first < rings.size() && !needsReordering(rings[first]))
        ++first;
    if (first == rings.size())
        return;
    // Where each listed vertex's ring goes in one block of lists.
    std::vector<int> listOf(rings.size(), -1);
    std::vector<int> listed;
    std::vector<std::size_t> start(1, 0);
    for (std::size_t j = first; j < rings.size(); ++j)
        if (needsReordering(rings[j])) {
            listOf[j] = static_cast<int>(listed.size());
            listed.push_back(static_cast<int>(j));
            start.push_back(start.back() + 2 * static_cast<std::size_t>(rings[j].corners));
        }
    std::vector<int> entry(start.back());
    std::vector<unsigned char> once(start.back());
    std::vector<std::size_t> fill(start.begin(), start.end() - 1);
    const int* opposite2 = work.splitEdgeOpposite2.data();
    auto append = [&](int j, int r, int sideEntry) {
        std::size_t& at = fill[static_cast<std::size_t>(listOf[static_cast<std::size_t>(j)])];
        entry[at] = r;
        once[at] = occursOnce(j, r, sideEntry, opposite2);
        ++at;
    };
    for (std::size_t t = 0; t < static_cast<std::size_t>(oldFaceCount); ++t) {
        int a = oldA[t], b = oldB[t], c = oldC[t];
        bool atA = listOf[static_cast<std::size_t>(a)] >= 0, atB = listOf[static_cast<std::size_t>(b)] >= 0,
             atC = listOf[static_cast<std::size_t>(c)] >= 0;
        if (!atA && !atB && !atC)
            continue;
        int eAB = lookupSplitEdge(work, a, b), eBC = lookupSplitEdge(work, b, c), eCA = lookupSplitEdge(work, c, a);
        if (atA) {
            append(a, b, eAB);
            append(a, c, eCA);
        }
        if (atB) {
            append(b, c, eBC);
            append(b, a, eAB);
        }
        if (atC) {
            append(c, a, eCA);
            append(c, b, eBC);
        }
    }
    for (std::size_t k = 0; k < listed.size(); ++k) {
        std::size_t j = static_cast<std::size_t>(listed[k]);
        int* list = entry.data() + start[k];
        std::size_t length = start[k + 1] - start[k];
        // Entries occurring once move to the front in the order they appear;
        // a position is examined before any exchange has touched it.
        std::size_t front = 0;
        for (std::size_t i = 0; i < length; ++i)
            if (once[start[k] + i]) {
                int held = list[front];
                list[front] = list[i];
                list[i] = held;
                ++front;
            }
        double sx = 0.0, sy = 0.0, sz = 0.0;
        for (std::size_t i = 0; i < length; ++i) {
            std::size_t r = static_cast<std::size_t>(list[i]);
            sx += work.oldX[r];
            sy += work.oldY[r];
            sz += work.oldZ[r];
        }
        int n = static_cast<int>(length / 2);
        double beta = loopBeta(n);
        placeInterior(mesh, work, j, beta, 1.0 - n * beta, sx, sy, sz);
    }
}
