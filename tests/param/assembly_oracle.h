// The parameterization's system assembled plainly: the literal numbering,
// meanValueWeights for every edge, and a linear scan for existing entries.
#pragma once

#include "app/session.h"
#include "param/mean_value_weights.h"
#include "param/parameterize.h"

#include <cmath>
#include <vector>

// Angle in radians at P of the triangle P, Q, R (law of cosines, the quotient
// clamped to [-1, 1]).
inline double cornerAngle(const double P[3], const double Q[3], const double R[3])
{
    return angleFromSides(pointDistance(R, P), pointDistance(P, Q), pointDistance(Q, R));
}

namespace literal {

inline void normalizedPoint(int vertex, double P[3])
{
    const double radius = currentModel.modelRadius != 0.0 ? currentModel.modelRadius : 1.0;
    P[0] = (currentModel.vertexX[vertex] - currentModel.modelCenter[0]) / radius;
    P[1] = (currentModel.vertexY[vertex] - currentModel.modelCenter[1]) / radius;
    P[2] = (currentModel.vertexZ[vertex] - currentModel.modelCenter[2]) / radius;
}

// tan(angle / 2) of the corner of face f at vertex v (the first corner naming v).
inline double halfAngleTangent(int f, int v)
{
    int corner[3] = {currentModel.faceA[f], currentModel.faceB[f], currentModel.faceC[f]};
    double P[3][3];
    for (int i = 0; i < 3; ++i)
        normalizedPoint(corner[i], P[i]);
    int i = corner[0] == v ? 0 : corner[1] == v ? 1 : 2;
    return std::tan(cornerAngle(P[i], P[(i + 1) % 3], P[(i + 2) % 3]) / 2.0);
}

} // namespace literal

// Mean-value weights of one edge, triangle by triangle as written: wA is the
// weight of edgeB[edge] in the equation of edgeA[edge], wB the weight of
// edgeA[edge] in that of edgeB[edge].
inline void meanValueWeights(int edge, double& wA, double& wB)
{
    int a = currentModel.edgeA[edge], b = currentModel.edgeB[edge], f1 = currentModel.edgeFace1[edge], f2 = currentModel.edgeFace2[edge];
    double tA = literal::halfAngleTangent(f1, a);
    double tB = literal::halfAngleTangent(f1, b);
    if (f2 >= 0) {
        tA += literal::halfAngleTangent(f2, a);
        tB += literal::halfAngleTangent(f2, b);
    }
    double Pa[3], Pb[3];
    literal::normalizedPoint(a, Pa);
    literal::normalizedPoint(b, Pb);
    double d = pointDistance(Pa, Pb);
    wA = tA / (d + d);
    wB = tB / (d + d);
}

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
    s.unknownIndex.assign(currentModel.vertexCount, 0);
    for (int h = 0; h < currentModel.boundaryLoopLength; ++h) {
        s.unknownIndex[currentModel.edgeA[h]] = -1;
        s.unknownIndex[currentModel.edgeB[h]] = -1;
    }
    for (int v = 0; v < currentModel.vertexCount; ++v)
        if (s.unknownIndex[v] == 0)
            s.unknownIndex[v] = s.n++;
    s.rhsU.assign(s.n, 0.0);
    s.rhsV.assign(s.n, 0.0);
    for (int e = 0; e < currentModel.edgeCount; ++e) {
        double wA, wB;
        meanValueWeights(e, wA, wB);
        int a = currentModel.edgeA[e], b = currentModel.edgeB[e], ia = s.unknownIndex[a], ib = s.unknownIndex[b];
        if (ia >= 0) {
            s.add(ia, ia, wA);
            if (ib < 0)
                s.rhsU[ia] += wA * currentModel.vertexU[b];
            else
                s.add(ia, ib, -wA);
        }
        if (ib >= 0) {
            s.add(ib, ib, wB);
            if (ia < 0)
                s.rhsU[ib] += wB * currentModel.vertexU[a];
            else
                s.add(ib, ia, -wB);
        }
    }
    // The v right-hand side, weights computed again.
    for (int e = 0; e < currentModel.edgeCount; ++e) {
        double wA, wB;
        meanValueWeights(e, wA, wB);
        int a = currentModel.edgeA[e], b = currentModel.edgeB[e], ia = s.unknownIndex[a], ib = s.unknownIndex[b];
        if (ia >= 0 && ib < 0)
            s.rhsV[ia] += wA * currentModel.vertexV[b];
        if (ib >= 0 && ia < 0)
            s.rhsV[ib] += wB * currentModel.vertexV[a];
    }
    return s;
}
