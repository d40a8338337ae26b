// The parameterization's system assembled plainly: the literal numbering,
// meanValueWeights for every edge, and a linear scan for existing entries.
#pragma once

#include "model/store.h"
#include "param/parameterize.h"

#include <vector>

struct PlainSystem {
    std::vector<int> unknownIndex;
    int n = 0;
    std::vector<int> rows, cols;
    std::vector<double> values;
    std::vector<double> rhsU, rhsV;
    void add(int r, int c, double v)
    {
        for (size_t k = 0; k < rows.size(); ++k)
            if (rows[k] == r && cols[k] == c) {
                values[k] += v;
                return;
            }
        rows.push_back(r);
        cols.push_back(c);
        values.push_back(v);
    }
};

// Needs the topology and the loop already placed in vertexU/vertexV.
inline PlainSystem plainAssembly()
{
    PlainSystem s;
    s.unknownIndex.assign(vertexCount, 0);
    for (int h = 0; h < boundaryLoopLength; ++h) {
        s.unknownIndex[edgeA[h]] = -1;
        s.unknownIndex[edgeB[h]] = -1;
    }
    for (int v = 0; v < vertexCount; ++v)
        if (s.unknownIndex[v] == 0)
            s.unknownIndex[v] = s.n++;
    s.rhsU.assign(s.n, 0.0);
    s.rhsV.assign(s.n, 0.0);
    for (int e = 0; e < edgeCount; ++e) {
        double wA, wB;
        meanValueWeights(e, wA, wB);
        int a = edgeA[e], b = edgeB[e], ia = s.unknownIndex[a], ib = s.unknownIndex[b];
        if (ia >= 0) {
            s.add(ia, ia, wA);
            if (ib < 0)
                s.rhsU[ia] += wA * vertexU[b];
            else
                s.add(ia, ib, -wA);
        }
        if (ib >= 0) {
            s.add(ib, ib, wB);
            if (ia < 0)
                s.rhsU[ib] += wB * vertexU[a];
            else
                s.add(ib, ia, -wB);
        }
    }
    // The v right-hand side, weights computed again.
    for (int e = 0; e < edgeCount; ++e) {
        double wA, wB;
        meanValueWeights(e, wA, wB);
        int a = edgeA[e], b = edgeB[e], ia = s.unknownIndex[a], ib = s.unknownIndex[b];
        if (ia >= 0 && ib < 0)
            s.rhsV[ia] += wA * vertexV[b];
        if (ib >= 0 && ia < 0)
            s.rhsV[ib] += wB * vertexV[a];
    }
    return s;
}
