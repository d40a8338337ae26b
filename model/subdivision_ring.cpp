// The vertex rule of Loop subdivision: every old vertex moves by its ring, the
// two other corners of every triangle at the vertex, taken triangle by
// triangle (corner A gives B, C; corner B gives C, A; corner C gives A, B).
// Ring entries that occur exactly once are moved to the front by successive
// exchanges; with exactly two of them the vertex is on a boundary and moves to
// 6/8 of itself plus 1/8 of each; otherwise Loop's beta weighs the sum S of
// the ring entries taken in list order.
//
// The triangle loop of the step has already summed each ring in list order
// into vertexX/Y/Z and counted the entries occurring once. When none occur
// once the list order is the triangle order, so that sum is S. The rare vertex
// with one, three or more such entries has its list rebuilt here and reordered
// as the exchanges leave it before S is formed.
#include <cmath>

#include "model/store.h"
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
inline void placeInterior(std::size_t j, double beta, double own, double sx, double sy, double sz)
{
    vertexX[j] = beta * sx / 2.0 + own * oldX[j];
    vertexY[j] = beta * sy / 2.0 + own * oldY[j];
    vertexZ[j] = beta * sz / 2.0 + own * oldZ[j];
}

// Rebuilds the ring lists of the listed vertices in triangle order, applies the
// exchanges and the interior rule.
void moveReorderedVertices(const std::vector<int>& listed, const std::vector<RingSummary>& rings,
                           const std::vector<int>& oldA, const std::vector<int>& oldB, const std::vector<int>& oldC,
                           int oldFaceCount)
{
    std::vector<int> listOf(rings.size(), -1);
    std::vector<std::size_t> start(listed.size() + 1, 0);
    for (std::size_t k = 0; k < listed.size(); ++k) {
        listOf[static_cast<std::size_t>(listed[k])] = static_cast<int>(k);
        start[k + 1] = start[k] + 2 * static_cast<std::size_t>(rings[static_cast<std::size_t>(listed[k])].corners);
    }
    std::vector<int> entry(start.back());
    std::vector<unsigned char> once(start.back());
    std::vector<std::size_t> fill(start.begin(), start.end() - 1);
    const int* opposite2 = splitEdgeOpposite2.data();
    auto append = [&](int j, int r, int sideEntry) {
        std::size_t& at = fill[static_cast<std::size_t>(listOf[static_cast<std::size_t>(j)])];
        entry[at] = r;
        once[at] = r != j && opposite2[sideEntry] < 0;
        ++at;
    };
    for (std::size_t t = 0; t < static_cast<std::size_t>(oldFaceCount); ++t) {
        int a = oldA[t], b = oldB[t], c = oldC[t];
        int eAB = findSplitEdge(a, b), eBC = findSplitEdge(b, c), eCA = findSplitEdge(c, a);
        if (listOf[static_cast<std::size_t>(a)] >= 0) {
            append(a, b, eAB);
            append(a, c, eCA);
        }
        if (listOf[static_cast<std::size_t>(b)] >= 0) {
            append(b, c, eBC);
            append(b, a, eAB);
        }
        if (listOf[static_cast<std::size_t>(c)] >= 0) {
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
            sx += oldX[r];
            sy += oldY[r];
            sz += oldZ[r];
        }
        int n = static_cast<int>(length / 2);
        double beta = loopBeta(n);
        placeInterior(j, beta, 1.0 - n * beta, sx, sy, sz);
    }
}

} // namespace

double loopBeta(int n)
{
    const double pi = 3.141592653589793;
    double c = 0.375 + 0.25 * std::cos(2.0 * pi / n);
    return (1.0 / n) * (0.625 - c * c);
}

void moveOldVertices(const std::vector<RingSummary>& rings, const std::vector<int>& oldA,
                     const std::vector<int>& oldB, const std::vector<int>& oldC, int oldFaceCount)
{
    static const Weights weights = makeWeights();
    std::vector<int> reordered;
    std::size_t V = rings.size();
    for (std::size_t j = 0; j < V; ++j) {
        const RingSummary& ring = rings[j];
        if (ring.corners == 0) {
            vertexX[j] = oldX[j];
            vertexY[j] = oldY[j];
            vertexZ[j] = oldZ[j];
        } else if (ring.singles == 2) {
            std::size_t r0 = static_cast<std::size_t>(ring.first), r1 = static_cast<std::size_t>(ring.second);
            vertexX[j] = (6.0 * oldX[j] + oldX[r0] + oldX[r1]) / 8.0;
            vertexY[j] = (6.0 * oldY[j] + oldY[r0] + oldY[r1]) / 8.0;
            vertexZ[j] = (6.0 * oldZ[j] + oldZ[r0] + oldZ[r1]) / 8.0;
        } else if (ring.singles == 0) {
            int n = ring.corners;
            double beta = n <= tabledValences ? weights.beta[n] : loopBeta(n);
            double own = n <= tabledValences ? weights.own[n] : 1.0 - n * beta;
            placeInterior(j, beta, own, vertexX[j], vertexY[j], vertexZ[j]);
        } else {
            reordered.push_back(static_cast<int>(j));
        }
    }
    if (!reordered.empty())
        moveReorderedVertices(reordered, rings, oldA, oldB, oldC, oldFaceCount);
}
