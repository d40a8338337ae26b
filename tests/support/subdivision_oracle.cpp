// The literal Loop subdivision step, kept as the reference for the fast one.
#include "tests/support/subdivision_oracle.h"

#include <cmath>
#include <vector>

#include "app/messages.h"
#include "app/session.h"
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
            int A = currentModel.faceA[t], B = currentModel.faceB[t], C = currentModel.faceC[t];
            if (match(A, B) && count < 2)
                found[count++] = C;
            if (match(B, C) && count < 2)
                found[count++] = A;
            if (match(C, A) && count < 2)
                found[count++] = B;
        }
        int v = currentModel.vertexCount;
        if (count == 1) {
            currentModel.vertexX[v] = (oldX[p] + oldX[q]) / 2;
            currentModel.vertexY[v] = (oldY[p] + oldY[q]) / 2;
            currentModel.vertexZ[v] = (oldZ[p] + oldZ[q]) / 2;
        } else {
            int o1 = found[0], o2 = found[1];
            currentModel.vertexX[v] = ((oldX[p] + oldX[q]) * 3 + oldX[o1] + oldX[o2]) / 8;
            currentModel.vertexY[v] = ((oldY[p] + oldY[q]) * 3 + oldY[o1] + oldY[o2]) / 8;
            currentModel.vertexZ[v] = ((oldZ[p] + oldZ[q]) * 3 + oldZ[o1] + oldZ[o2]) / 8;
        }
        vertex[entry] = v;
        currentModel.vertexCount++;
        return v;
    }

    void moveVertex(int j)
    {
        std::vector<int> ringList;
        for (int t = 0; t < F; ++t) {
            if (currentModel.faceA[t] == j) {
                ringList.push_back(currentModel.faceB[t]);
                ringList.push_back(currentModel.faceC[t]);
            }
            if (currentModel.faceB[t] == j) {
                ringList.push_back(currentModel.faceC[t]);
                ringList.push_back(currentModel.faceA[t]);
            }
            if (currentModel.faceC[t] == j) {
                ringList.push_back(currentModel.faceA[t]);
                ringList.push_back(currentModel.faceB[t]);
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
            currentModel.vertexX[j] = (6 * oldX[j] + oldX[r0] + oldX[r1]) / 8;
            currentModel.vertexY[j] = (6 * oldY[j] + oldY[r0] + oldY[r1]) / 8;
            currentModel.vertexZ[j] = (6 * oldZ[j] + oldZ[r0] + oldZ[r1]) / 8;
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
        currentModel.vertexX[j] = beta * sx / 2 + (1 - n * beta) * oldX[j];
        currentModel.vertexY[j] = beta * sy / 2 + (1 - n * beta) * oldY[j];
        currentModel.vertexZ[j] = beta * sz / 2 + (1 - n * beta) * oldZ[j];
    }

    void run()
    {
        const int V = currentModel.vertexCount;
        F = currentModel.faceCount;
        // 1. The coordinates as they were.
        oldX.assign(currentModel.vertexX.begin(), currentModel.vertexX.begin() + V);
        oldY.assign(currentModel.vertexY.begin(), currentModel.vertexY.begin() + V);
        oldZ.assign(currentModel.vertexZ.begin(), currentModel.vertexZ.begin() + V);
        // 2. Every old vertex moves.
        for (int j = 0; j < V; ++j)
            moveVertex(j);
        // 3. The split-edge table.
        for (int t = 0; t < F; ++t) {
            registerSplitEdge(currentModel.faceA[t], currentModel.faceB[t]);
            registerSplitEdge(currentModel.faceB[t], currentModel.faceC[t]);
            registerSplitEdge(currentModel.faceC[t], currentModel.faceA[t]);
        }
        const int E = static_cast<int>(low.size());
        // 4. Room for the new vertices and triangles.
        growDoubleArray(currentModel.vertexX, V, V + 3 * E);
        growDoubleArray(currentModel.vertexY, V, V + 3 * E);
        growDoubleArray(currentModel.vertexZ, V, V + 3 * E);
        growIntArray(currentModel.faceA, F, 4 * F);
        growIntArray(currentModel.faceB, F, 4 * F);
        growIntArray(currentModel.faceC, F, 4 * F);
        // 5. Every triangle into four.
        for (int j = 0; j < F; ++j) {
            int A = currentModel.faceA[j], B = currentModel.faceB[j], C = currentModel.faceC[j];
            auto vertexOf = [&](int u, int w) {
                int e = findSplitEdge(u, w);
                return vertex[e] == -1 ? makeEdgeVertex(e) : vertex[e];
            };
            int d = vertexOf(B, C);
            int f = vertexOf(C, A);
            int h = vertexOf(A, B);
            int k = currentModel.faceCount;
            currentModel.faceA[k] = A, currentModel.faceB[k] = h, currentModel.faceC[k] = f;
            currentModel.faceA[k + 1] = B, currentModel.faceB[k + 1] = d, currentModel.faceC[k + 1] = h;
            currentModel.faceA[k + 2] = C, currentModel.faceB[k + 2] = f, currentModel.faceC[k + 2] = d;
            currentModel.faceCount += 3;
            currentModel.faceA[j] = d, currentModel.faceB[j] = f, currentModel.faceC[j] = h;
        }
    }
};

} // namespace

void refineLoopLiteral()
{
    LiteralStep step;
    step.run();
    interaction.closedWarned = false;
    std::vector<int>().swap(currentModel.edgeA);
    std::vector<int>().swap(currentModel.edgeB);
    std::vector<int>().swap(currentModel.edgeFace1);
    std::vector<int>().swap(currentModel.edgeFace2);
    currentModel.topologyBuilt = false;
    std::vector<double>().swap(currentModel.vertexU);
    std::vector<double>().swap(currentModel.vertexV);
    currentModel.uvComputed = false;
}

Outcome subdivideLoopLiteral()
{
    bool parameterized = currentModel.uvComputed;
    refineLoopLiteral();
    return parameterized ? parameterize(currentModel) : buildTopology(currentModel);
}
