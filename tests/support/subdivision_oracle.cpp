// The literal Loop subdivision step, kept as the reference for the fast one.
#include "tests/support/subdivision_oracle.h"

#include <cmath>
#include <vector>

#include "app/messages.h"
#include "base/store.h"
#include "model/topology.h"
#include "app/messages.h"
#include "param/parameterize.h"

namespace {

struct LiteralStep {
    std::vector<double> oldX, oldY, oldZ;
    std::vector<int> low, high, vertex;
    int F = 0;

    void registerSplitEdge(int v1, int v2)
    {
        int p = v1 < v2 ? v1 : v2, q = v1 < v2 ? v2 : v1;
        for (std::size_t i = 0; i < low.size(); ++i)
            if (low[i] == p && high[i] == q)
                return;
        low.push_back(p);
        high.push_back(q);
        vertex.push_back(-1);
    }

    int findSplitEdge(int v1, int v2)
    {
        int p = v1 < v2 ? v1 : v2, q = v1 < v2 ? v2 : v1;
        for (std::size_t i = 0; i < low.size(); ++i)
            if (low[i] == p && high[i] == q)
                return static_cast<int>(i);
        showError("Modèle impossible");
        return 0;
    }

    int makeEdgeVertex(int entry)
    {
        int p = low[entry], q = high[entry];
        int found[2] = {-1, -1};
        int count = 0;
        auto match = [&](int u, int w) { return (u == p && w == q) || (u == q && w == p); };
        for (int t = 0; t < F && count < 2; ++t) {
            int A = faceA[t], B = faceB[t], C = faceC[t];
            if (match(A, B) && count < 2)
                found[count++] = C;
            if (match(B, C) && count < 2)
                found[count++] = A;
            if (match(C, A) && count < 2)
                found[count++] = B;
        }
        int v = vertexCount;
        if (count == 1) {
            vertexX[v] = (oldX[p] + oldX[q]) / 2;
            vertexY[v] = (oldY[p] + oldY[q]) / 2;
            vertexZ[v] = (oldZ[p] + oldZ[q]) / 2;
        } else {
            int o1 = found[0], o2 = found[1];
            vertexX[v] = ((oldX[p] + oldX[q]) * 3 + oldX[o1] + oldX[o2]) / 8;
            vertexY[v] = ((oldY[p] + oldY[q]) * 3 + oldY[o1] + oldY[o2]) / 8;
            vertexZ[v] = ((oldZ[p] + oldZ[q]) * 3 + oldZ[o1] + oldZ[o2]) / 8;
        }
        vertex[entry] = v;
        vertexCount++;
        return v;
    }

    void moveVertex(int j)
    {
        std::vector<int> ringList;
        for (int t = 0; t < F; ++t) {
            if (faceA[t] == j) {
                ringList.push_back(faceB[t]);
                ringList.push_back(faceC[t]);
            }
            if (faceB[t] == j) {
                ringList.push_back(faceC[t]);
                ringList.push_back(faceA[t]);
            }
            if (faceC[t] == j) {
                ringList.push_back(faceA[t]);
                ringList.push_back(faceB[t]);
            }
        }
        if (ringList.empty())
            return;
        std::size_t front = 0;
        for (std::size_t i = 0; i < ringList.size(); ++i) {
            int occurrences = 0;
            for (int r : ringList)
                occurrences += r == ringList[i];
            if (occurrences == 1) {
                swapInts(ringList[front], ringList[i]);
                ++front;
            }
        }
        if (front == 2) {
            int r0 = ringList[0], r1 = ringList[1];
            vertexX[j] = (6 * oldX[j] + oldX[r0] + oldX[r1]) / 8;
            vertexY[j] = (6 * oldY[j] + oldY[r0] + oldY[r1]) / 8;
            vertexZ[j] = (6 * oldZ[j] + oldZ[r0] + oldZ[r1]) / 8;
            return;
        }
        int n = static_cast<int>(ringList.size() / 2);
        const double pi = 3.141592653589793;
        double beta = (1.0 / n) * (0.625 - std::pow(0.375 + 0.25 * std::cos(2 * pi / n), 2));
        double sx = 0, sy = 0, sz = 0;
        for (int r : ringList) {
            sx += oldX[r];
            sy += oldY[r];
            sz += oldZ[r];
        }
        vertexX[j] = beta * sx / 2 + (1 - n * beta) * oldX[j];
        vertexY[j] = beta * sy / 2 + (1 - n * beta) * oldY[j];
        vertexZ[j] = beta * sz / 2 + (1 - n * beta) * oldZ[j];
    }

    void run()
    {
        const int V = vertexCount;
        F = faceCount;
        // 1. The coordinates as they were.
        oldX.assign(vertexX.begin(), vertexX.begin() + V);
        oldY.assign(vertexY.begin(), vertexY.begin() + V);
        oldZ.assign(vertexZ.begin(), vertexZ.begin() + V);
        // 2. Every old vertex moves.
        for (int j = 0; j < V; ++j)
            moveVertex(j);
        // 3. The split-edge table.
        for (int t = 0; t < F; ++t) {
            registerSplitEdge(faceA[t], faceB[t]);
            registerSplitEdge(faceB[t], faceC[t]);
            registerSplitEdge(faceC[t], faceA[t]);
        }
        const int E = static_cast<int>(low.size());
        // 4. Room for the new vertices and triangles.
        growDoubleArray(vertexX, V, V + 3 * E);
        growDoubleArray(vertexY, V, V + 3 * E);
        growDoubleArray(vertexZ, V, V + 3 * E);
        growIntArray(faceA, F, 4 * F);
        growIntArray(faceB, F, 4 * F);
        growIntArray(faceC, F, 4 * F);
        // 5. Every triangle into four.
        for (int j = 0; j < F; ++j) {
            int A = faceA[j], B = faceB[j], C = faceC[j];
            auto vertexOf = [&](int u, int w) {
                int e = findSplitEdge(u, w);
                return vertex[e] == -1 ? makeEdgeVertex(e) : vertex[e];
            };
            int d = vertexOf(B, C);
            int f = vertexOf(C, A);
            int h = vertexOf(A, B);
            int k = faceCount;
            faceA[k] = A, faceB[k] = h, faceC[k] = f;
            faceA[k + 1] = B, faceB[k + 1] = d, faceC[k + 1] = h;
            faceA[k + 2] = C, faceB[k + 2] = f, faceC[k + 2] = d;
            faceCount += 3;
            faceA[j] = d, faceB[j] = f, faceC[j] = h;
        }
    }
};

} // namespace

void refineLoopLiteral()
{
    LiteralStep step;
    step.run();
    closedWarned = false;
    std::vector<int>().swap(edgeA);
    std::vector<int>().swap(edgeB);
    std::vector<int>().swap(edgeFace1);
    std::vector<int>().swap(edgeFace2);
    topologyBuilt = false;
    std::vector<double>().swap(vertexU);
    std::vector<double>().swap(vertexV);
    uvComputed = false;
}

Outcome subdivideLoopLiteral()
{
    bool parameterized = uvComputed;
    refineLoopLiteral();
    return parameterized ? parameterize() : buildTopology();
}
