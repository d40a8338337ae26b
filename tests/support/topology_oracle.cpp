// The literal topology build: edges found by scanning the table from its
// start, boundary edges moved forward one swap at a time, loops walked by
// scanning every boundary position at every step.
#include "tests/support/topology_oracle.h"

#include <utility>

#include "app/session.h"

namespace {

struct Table {
    std::vector<int> a, b, f1, f2;
    int count = 0;

    int find(int u, int v) const
    {
        const int lo = u < v ? u : v, hi = u < v ? v : u;
        for (int e = 0; e < count; ++e)
            if (a[e] == lo && b[e] == hi)
                return e;
        return -1;
    }
    void append(int u, int v, int face)
    {
        a.push_back(u < v ? u : v);
        b.push_back(u < v ? v : u);
        f1.push_back(face);
        f2.push_back(-1);
        ++count;
    }
    void swap(int i, int j)
    {
        std::swap(a[i], a[j]);
        std::swap(b[i], b[j]);
        std::swap(f1[i], f1[j]);
        std::swap(f2[i], f2[j]);
    }
    // First unlabelled boundary position touching v, testing edgeA first; -1 when none.
    int nextFree(int boundary, int v, int& other) const
    {
        for (int k = 0; k < boundary; ++k) {
            if (f2[k] != -1)
                continue;
            if (a[k] == v) {
                other = b[k];
                return k;
            }
            if (b[k] == v) {
                other = a[k];
                return k;
            }
        }
        return -1;
    }
};

} // namespace

TopologyOracleResult topologyOracle(int vertexCount, const std::vector<double>& x, const std::vector<double>& y,
                                    const std::vector<double>& z, int faceCount, const std::vector<int>& faceA,
                                    const std::vector<int>& faceB, const std::vector<int>& faceC)
{
    TopologyOracleResult r;
    const int firstCapacity = vertexCount + faceCount + 30;
    r.x.assign(x.begin(), x.begin() + vertexCount);
    r.y.assign(y.begin(), y.begin() + vertexCount);
    r.z.assign(z.begin(), z.begin() + vertexCount);
    r.faceA.assign(faceA.begin(), faceA.begin() + faceCount);
    r.faceB.assign(faceB.begin(), faceB.begin() + faceCount);
    r.faceC.assign(faceC.begin(), faceC.begin() + faceCount);
    r.faceCount = faceCount;

    // Check and mark the corners.
    std::vector<double> mark(static_cast<size_t>(vertexCount), 0.0);
    for (int i = 0; i < faceCount; ++i) {
        const int corners[3] = {r.faceA[i], r.faceB[i], r.faceC[i]};
        for (int c : corners)
            if (c < 0 || c >= vertexCount) {
                r.fatalText = "Une face est erronée";
                return r;
            }
        for (int c : corners)
            mark[c] = 1.0;
    }
    // Drop the unmarked vertices.
    std::vector<int> newIndex(static_cast<size_t>(vertexCount), -1);
    int kept = 0;
    for (int v = 0; v < vertexCount; ++v)
        if (mark[v] >= 0.5) {
            newIndex[v] = kept;
            r.x[kept] = r.x[v];
            r.y[kept] = r.y[v];
            r.z[kept] = r.z[v];
            ++kept;
        }
    r.x.resize(kept);
    r.y.resize(kept);
    r.z.resize(kept);
    for (int i = 0; i < faceCount; ++i) {
        r.faceA[i] = newIndex[r.faceA[i]];
        r.faceB[i] = newIndex[r.faceB[i]];
        r.faceC[i] = newIndex[r.faceC[i]];
    }
    r.vertexCount = kept;

    Table t;
    if (faceCount > 0) {
        t.append(r.faceA[0], r.faceB[0], 0);
        t.append(r.faceB[0], r.faceC[0], 0);
        t.append(r.faceC[0], r.faceA[0], 0);
        for (int j = 1; j < faceCount; ++j) {
            const int corners[3] = {r.faceA[j], r.faceB[j], r.faceC[j]};
            for (int k = 0; k < 3; ++k) {
                const int u = corners[k], v = corners[(k + 1) % 3];
                const int e = t.find(u, v);
                if (e < 0)
                    t.append(u, v, j);
                else if (t.f2[e] < 0)
                    t.f2[e] = j;
                else {
                    r.fatalText = "Une arête est erronée";
                    return r;
                }
            }
        }
        int boundary = 0;
        for (int e = 0; e < t.count; ++e)
            if (t.f2[e] == -1)
                ++boundary;
        int o = 0;
        for (int h = 0; h < boundary; ++h) {
            while (t.f2[o] != -1)
                ++o;
            t.swap(h, o);
            ++o;
        }
        r.boundaryEdgeCount = boundary;

        int label = 0, best = 0;
        for (;;) {
            int s = -1;
            for (int k = 0; k < boundary && s < 0; ++k)
                if (t.f2[k] == -1)
                    s = k;
            if (s < 0)
                break;
            ++label;
            t.f2[s] = label;
            const int start = t.a[s];
            int current = t.b[s];
            int steps = 0;
            do {
                int other = current;
                const int k = t.nextFree(boundary, current, other);
                if (k >= 0) {
                    t.f2[k] = label;
                    current = other;
                }
                ++steps;
                if (steps > boundary) {
                    r.fatalText = "La topologie du modèle n'est pas admissible.";
                    return r;
                }
            } while (current != start);
            int size = 0;
            for (int k = 0; k < boundary; ++k)
                if (t.f2[k] == label)
                    ++size;
            if (size > best) {
                best = size;
                for (int k = 0; k < boundary; ++k)
                    if (t.f2[k] == label)
                        t.f2[k] = -1;
                t.f2[s] = label;
                t.swap(0, s);
                current = t.b[0];
                int p = 1;
                do {
                    int other = current;
                    const int k = t.nextFree(boundary, current, other);
                    // A walk that cannot go on: closed when back at its start, refused elsewhere.
                    if (k < 0) {
                        if (current != start) {
                            r.fatalText = "La topologie du modèle n'est pas admissible.";
                            return r;
                        }
                        break;
                    }
                    t.f2[k] = label;
                    current = other;
                    t.swap(p, k);
                    ++p;
                } while (current != start);
                r.boundaryLoopLength = p;
            }
        }
        for (int k = 0; k < boundary; ++k)
            t.f2[k] = -1;
    }
    r.edgeCount = t.count;
    r.edgeCapacity = t.count > firstCapacity ? t.count : firstCapacity;
    t.a.resize(r.edgeCapacity, 0);
    t.b.resize(r.edgeCapacity, 0);
    t.f1.resize(r.edgeCapacity, 0);
    t.f2.resize(r.edgeCapacity, -1);
    r.edgeA = std::move(t.a);
    r.edgeB = std::move(t.b);
    r.edgeFace1 = std::move(t.f1);
    r.edgeFace2 = std::move(t.f2);
    return r;
}

TopologyOracleResult topologyOracleOfStore()
{
    return topologyOracle(currentModel.vertexCount, currentModel.vertexX, currentModel.vertexY, currentModel.vertexZ, currentModel.faceCount, currentModel.faceA, currentModel.faceB, currentModel.faceC);
}
