// The edge cut done the plain way: every step of a fan walk scans the whole
// edge table, and each triangle is changed as soon as the walk reaches it.
// Kept as the reference for the indexed walks of the real cut. A walk that
// takes more steps than it has states, or finds no triangle or no next edge,
// is reported as abandoned (the plain walk would loop or read outside the
// arrays there); the store is then left as it stands.
#pragma once

#include "base/store.h"
#include "model/topology.h"

namespace oracle {

enum CutResult { cutDone, cutRefused, cutPending, cutAbandoned };

inline int nextEdge(int t, int current, int excluded, int m1, int m2)
{
    for (int i = 0; i < edgeCount; ++i) {
        if (i == current || i == excluded)
            continue;
        if (edgeFace1[i] != t && edgeFace2[i] != t)
            continue;
        if (edgeA[i] == m1 || edgeB[i] == m1 || (m2 >= 0 && (edgeA[i] == m2 || edgeB[i] == m2)))
            return i;
    }
    return -1;
}

// Walks from e on its second side, moving m1 to c1 and (when m2 >= 0) m2 to c2 in every triangle reached.
inline bool walk(int e, int excluded, int m1, int c1, int m2, int c2, int stopEdge, int& firstEdge)
{
    firstEdge = -1;
    int current = e;
    bool secondSide = true;
    for (long long step = 0; step < 2LL * edgeCount + 2; ++step) {
        int t = secondSide ? edgeFace2[current] : edgeFace1[current];
        if (t < 0 || t >= faceCount)
            return false;
        int* corners[3] = {&faceA[t], &faceB[t], &faceC[t]};
        for (int* c : corners) {
            if (*c == m1)
                *c = c1;
            else if (m2 >= 0 && *c == m2)
                *c = c2;
        }
        int i = nextEdge(t, current, excluded, m1, m2);
        if (i < 0)
            return false;
        if (firstEdge < 0)
            firstEdge = i;
        current = i;
        secondSide = edgeFace2[i] != t;
        if (stopEdge >= 0 ? i == stopEdge : edgeFace2[i] == -1)
            return true;
    }
    return false;
}

// Boundary incidences of edge e, and the end found last.
inline int boundaryIncidences(int e, int& lastEnd)
{
    int k = 0;
    for (int b = 0; b < boundaryEdgeCount; ++b) {
        if (edgeA[e] == edgeA[b])
            ++k, lastEnd = edgeA[e];
        if (edgeA[e] == edgeB[b])
            ++k, lastEnd = edgeA[e];
        if (edgeB[e] == edgeA[b])
            ++k, lastEnd = edgeB[e];
        if (edgeB[e] == edgeB[b])
            ++k, lastEnd = edgeB[e];
    }
    return k;
}

inline void appendCopy(int v)
{
    growDoubleArray(vertexX, vertexCount, vertexCount + 1);
    growDoubleArray(vertexY, vertexCount, vertexCount + 1);
    growDoubleArray(vertexZ, vertexCount, vertexCount + 1);
    vertexX[vertexCount] = vertexX[v];
    vertexY[vertexCount] = vertexY[v];
    vertexZ[vertexCount] = vertexZ[v];
    ++vertexCount;
}

// The edge cut of e with pending as the first edge of a two-click cut (-1 for none).
inline CutResult cutEdge(int e, int pending)
{
    int lastEnd = -1;
    int k = boundaryIncidences(e, lastEnd);
    int n = vertexCount, first = -1;
    if (k >= 3 && edgeFace2[e] == -1)
        return cutRefused;
    if (k >= 3) {
        int s1 = edgeA[e], s2 = edgeB[e];
        if (!walk(e, -1, s1, n + 1, s2, n, -1, first))
            return cutAbandoned;
        int unused;
        if (!walk(e, first, s1, n + 1, s2, n, -1, unused))
            return cutAbandoned;
        appendCopy(s2);
        appendCopy(s1);
    } else if (k == 2) {
        if (!walk(e, -1, lastEnd, n, -1, -1, -1, first))
            return cutAbandoned;
        appendCopy(lastEnd);
    } else {
        if (pending < 0)
            return cutPending;
        int p = pending, v = -1;
        if (p == e)
            return cutRefused;
        if (edgeA[p] == edgeA[e])
            v = edgeA[e];
        if (edgeB[p] == edgeA[e])
            v = edgeA[e];
        if (edgeA[p] == edgeB[e])
            v = edgeB[e];
        if (edgeB[p] == edgeB[e])
            v = edgeB[e];
        if (v < 0)
            return cutRefused;
        if (!walk(e, -1, v, n, -1, -1, p, first))
            return cutAbandoned;
        appendCopy(v);
    }
    rebuildTopology();
    return cutDone;
}

} // namespace oracle
