// Mean-value weights of the edges, from the corner angles of their triangles
// in the model's unit coordinates.
#include "param/mean_value_weights.h"

#include "model/mesh.h"

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

bool cornerTangents(const Mesh& mesh, const double* px, const double* py, const double* pz, int firstFace, int lastFace,
                    double* tangents)
{
    bool sound = true;
    for (int f = firstFace; f < lastFace; ++f) {
        int corner[3] = {mesh.faceA[f], mesh.faceB[f], mesh.faceC[f]};
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
