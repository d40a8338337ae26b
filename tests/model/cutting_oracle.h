// The edge cut done the plain way: every step of a fan walk scans the whole
// edge table, and each triangle is changed as soon as the walk reaches it.
// Kept as the reference for the indexed walks of the real cut. A walk that
// takes more steps than it has states, or finds no triangle or no next edge,
// is reported as abandoned (the plain walk would loop or read outside the
// arrays there); the store is then left as it stands.
#pragma once

#include "app/session.h"
#include "model/topology.h"

namespace oracle {

enum CutResult { cutDone, cutRefused, cutPending, cutAbandoned };

inline int nextEdge(int t, int current, int excluded, int m1, int m2)
{
    for (int i = 0; i < currentModel.edgeCount; ++i) {
        if (i == current || i == excluded)
            continue;
        if (currentModel.edgeFace1[i] != t && currentModel.edgeFace2[i] != t)
            continue;
        if (currentModel.edgeA[i] == m1 || currentModel.edgeB[i] == m1 || (m2 >= 0 && (currentModel.edgeA[i] == m2 || currentModel.edgeB[i] == m2)))
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
    for (long long step = 0; step < 2LL * currentModel.edgeCount + 2; ++step) {
        int t = secondSide ? currentModel.edgeFace2[current] : currentModel.edgeFace1[current];
        if (t < 0 || t >= currentModel.faceCount)
            return false;
        int* corners[3] = {&currentModel.faceA[t], &currentModel.faceB[t], &currentModel.faceC[t]};
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
        secondSide = currentModel.edgeFace2[i] != t;
        if (stopEdge >= 0 ? i == stopEdge : currentModel.edgeFace2[i] == -1)
            return true;
    }
    return false;
}

// Boundary incidences of edge e, and the end found last.
inline int boundaryIncidences(int e, int& lastEnd)
{
    int k = 0;
    for (int b = 0; b < currentModel.boundaryEdgeCount; ++b) {
        if (currentModel.edgeA[e] == currentModel.edgeA[b])
            ++k, lastEnd = currentModel.edgeA[e];
        if (currentModel.edgeA[e] == currentModel.edgeB[b])
            ++k, lastEnd = currentModel.edgeA[e];
        if (currentModel.edgeB[e] == currentModel.edgeA[b])
            ++k, lastEnd = currentModel.edgeB[e];
        if (currentModel.edgeB[e] == currentModel.edgeB[b])
            ++k, lastEnd = currentModel.edgeB[e];
    }
    return k;
}

inline void appendCopy(int v)
{
    growDoubleArray(currentModel.vertexX, currentModel.vertexCount, currentModel.vertexCount + 1);
    growDoubleArray(currentModel.vertexY, currentModel.vertexCount, currentModel.vertexCount + 1);
    growDoubleArray(currentModel.vertexZ, currentModel.vertexCount, currentModel.vertexCount + 1);
    currentModel.vertexX[currentModel.vertexCount] = currentModel.vertexX[v];
    currentModel.vertexY[currentModel.vertexCount] = currentModel.vertexY[v];
    currentModel.vertexZ[currentModel.vertexCount] = currentModel.vertexZ[v];
    ++currentModel.vertexCount;
}

// The edge cut of e with pending as the first edge of a two-click cut (-1 for none).
inline CutResult cutEdge(int e, int pending)
{
    int lastEnd = -1;
    int k = boundaryIncidences(e, lastEnd);
    int n = currentModel.vertexCount, first = -1;
    if (k >= 3 && currentModel.edgeFace2[e] == -1)
        return cutRefused;
    if (k >= 3) {
        int s1 = currentModel.edgeA[e], s2 = currentModel.edgeB[e];
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
        if (currentModel.edgeA[p] == currentModel.edgeA[e])
            v = currentModel.edgeA[e];
        if (currentModel.edgeB[p] == currentModel.edgeA[e])
            v = currentModel.edgeA[e];
        if (currentModel.edgeA[p] == currentModel.edgeB[e])
            v = currentModel.edgeB[e];
        if (currentModel.edgeB[p] == currentModel.edgeB[e])
            v = currentModel.edgeB[e];
        if (v < 0)
            return cutRefused;
        if (!walk(e, -1, v, n, -1, -1, p, first))
            return cutAbandoned;
        appendCopy(v);
    }
    rebuildTopology(currentModel);
    return cutDone;
}

} // namespace oracle
