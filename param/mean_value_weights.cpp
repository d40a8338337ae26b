// Mean-value weights of the edges, from the corner angles of their triangles
// in the view's normalised coordinates.
#include "param/mean_value_weights.h"

#include "model/store.h"
#include "param/parameterize.h"
#include "render/view_state.h"

#include <algorithm>
#include <cmath>

double pointDistance(const double P[3], const double Q[3])
{
    double dx = Q[0] - P[0];
    double dy = Q[1] - P[1];
    double dz = Q[2] - P[2];
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

double angleFromSides(double pr, double pq, double qr)
{
    double quotient = (pr * pr + pq * pq - qr * qr) / (2.0 * pr * pq);
    // Rounding may push the quotient of a very flat triangle just past ±1.
    return std::acos(std::clamp(quotient, -1.0, 1.0));
}

double cornerAngle(const double P[3], const double Q[3], const double R[3])
{
    return angleFromSides(pointDistance(R, P), pointDistance(P, Q), pointDistance(Q, R));
}

namespace {

void normalizedPoint(int vertex, double P[3])
{
    P[0] = normalizedX(vertex);
    P[1] = normalizedY(vertex);
    P[2] = normalizedZ(vertex);
}

// tan(angle / 2) of the corner of face f at vertex v (the first corner naming v).
double halfAngleTangent(int f, int v)
{
    int corner[3] = {faceA[f], faceB[f], faceC[f]};
    double P[3][3];
    for (int i = 0; i < 3; ++i)
        normalizedPoint(corner[i], P[i]);
    int i = corner[0] == v ? 0 : corner[1] == v ? 1 : 2;
    return std::tan(cornerAngle(P[i], P[(i + 1) % 3], P[(i + 2) % 3]) / 2.0);
}

} // namespace

void meanValueWeights(int edge, double& wA, double& wB)
{
    int a = edgeA[edge], b = edgeB[edge], f1 = edgeFace1[edge], f2 = edgeFace2[edge];
    double tA = halfAngleTangent(f1, a);
    double tB = halfAngleTangent(f1, b);
    if (f2 >= 0) {
        tA += halfAngleTangent(f2, a);
        tB += halfAngleTangent(f2, b);
    }
    double Pa[3], Pb[3];
    normalizedPoint(a, Pa);
    normalizedPoint(b, Pb);
    double d = pointDistance(Pa, Pb);
    wA = tA / (d + d);
    wB = tB / (d + d);
}

bool cornerTangents(const double* px, const double* py, const double* pz, int firstFace, int lastFace,
                    double* tangents)
{
    bool sound = true;
    for (int f = firstFace; f < lastFace; ++f) {
        int corner[3] = {faceA[f], faceB[f], faceC[f]};
        double P[3][3];
        for (int i = 0; i < 3; ++i) {
            P[i][0] = px[corner[i]];
            P[i][1] = py[corner[i]];
            P[i][2] = pz[corner[i]];
        }
        // side[i] joins corner i and corner i+1.
        double side[3] = {pointDistance(P[0], P[1]), pointDistance(P[1], P[2]), pointDistance(P[2], P[0])};
        for (int i = 0; i < 3; ++i) {
            // At corner i: pr = side before it, pq = side after it, qr = the opposite side.
            double pr = side[(i + 2) % 3], pq = side[i], qr = side[(i + 1) % 3];
            double quotient = (pr * pr + pq * pq - qr * qr) / (2.0 * pr * pq);
            // A zero side, or three corners on one line, has no usable angle.
            if (!(pr > 0.0 && pq > 0.0 && quotient > -1.0 && quotient < 1.0))
                sound = false;
            tangents[3 * static_cast<size_t>(f) + i] = std::tan(angleFromSides(pr, pq, qr) / 2.0);
        }
    }
    return sound;
}
