// The restarted GMRES solver written plainly, step by step, with the triplet
// product: the oracle that the fast solver must match bit for bit. Its
// answers to the open cases are the solver's (a zero starting residual stops,
// a zero rotation length ends the restart with the columns before it).
#pragma once

#include "param/gmres.h"
#include "param/ijasolve.h"

#include <cmath>
#include <vector>

inline void literalGmres(int n, int count, const int* rows, const int* cols, const double* values, double* x,
                         const double* rhs, int restartLimit, int MR, double absTolerance, double relTolerance)
{
    if (MR < 1 || restartLimit < 1 || n < MR || n < 1)
        return;
    const double delta = 0.001;
    std::vector<double> c(MR), g(MR + 1), H((MR + 1) * MR), r(n), s(MR), V(n * (MR + 1)), y(MR + 1);
    auto h = [&](int i, int j) -> double& { return H[i + j * (MR + 1)]; };
    auto v = [&](int j) { return &V[j * n]; };
    double rhoStop = 0.0;
    for (int itr = 1; itr <= restartLimit; ++itr) {
        multiplyTriplets(n, count, rows, cols, values, x, r.data());
        for (int i = 0; i < n; ++i)
            r[i] = rhs[i] - r[i];
        double rho = std::sqrt(dotProduct(n, r.data(), r.data()));
        if (itr == 1)
            rhoStop = rho * relTolerance;
        if (rho == 0.0)
            break;
        for (int i = 0; i < n; ++i)
            v(0)[i] = r[i] / rho;
        g[0] = rho;
        for (int i = 1; i <= MR; ++i)
            g[i] = 0.0;
        for (double& e : H)
            e = 0.0;
        int kLast = 0;
        bool zeroRotation = false;
        for (int k = 1; k <= MR; ++k) {
            kLast = k;
            multiplyTriplets(n, count, rows, cols, values, v(k - 1), v(k));
            double nu = std::sqrt(dotProduct(n, v(k), v(k)));
            for (int j = 1; j <= k; ++j) {
                h(j - 1, k - 1) = dotProduct(n, v(k), v(j - 1));
                for (int i = 0; i < n; ++i)
                    v(k)[i] -= h(j - 1, k - 1) * v(j - 1)[i];
            }
            h(k, k - 1) = std::sqrt(dotProduct(n, v(k), v(k)));
            if (nu + delta * h(k, k - 1) == nu) {
                for (int j = 1; j <= k; ++j) {
                    double t = dotProduct(n, v(k), v(j - 1));
                    h(j - 1, k - 1) += t;
                    for (int i = 0; i < n; ++i)
                        v(k)[i] -= t * v(j - 1)[i];
                }
                h(k, k - 1) = std::sqrt(dotProduct(n, v(k), v(k)));
            }
            if (h(k, k - 1) != 0.0)
                for (int i = 0; i < n; ++i)
                    v(k)[i] = v(k)[i] / h(k, k - 1);
            if (k > 1) {
                for (int i = 0; i <= k; ++i)
                    y[i] = h(i, k - 1);
                for (int j = 1; j <= k - 1; ++j)
                    applyGivens(c[j - 1], s[j - 1], j - 1, y.data());
                for (int i = 0; i <= k; ++i)
                    h(i, k - 1) = y[i];
            }
            double mu = std::sqrt(std::pow(h(k - 1, k - 1), 2.0) + std::pow(h(k, k - 1), 2.0));
            if (mu == 0.0) {
                zeroRotation = true;
                kLast = k - 1;
                break;
            }
            c[k - 1] = h(k - 1, k - 1) / mu;
            s[k - 1] = -h(k, k - 1) / mu;
            h(k - 1, k - 1) = c[k - 1] * h(k - 1, k - 1) - s[k - 1] * h(k, k - 1);
            h(k, k - 1) = 0.0;
            applyGivens(c[k - 1], s[k - 1], k - 1, g.data());
            rho = std::fabs(g[k]);
            if (rho <= rhoStop && rho <= absTolerance)
                break;
        }
        int m = kLast - 1;
        if (m >= 0) {
            y[m] = g[m] / h(m, m);
            for (int i = m; i >= 1; --i) {
                y[i - 1] = g[i - 1];
                for (int j = i + 1; j <= m + 1; ++j)
                    y[i - 1] -= h(i - 1, j - 1) * y[j - 1];
                y[i - 1] /= h(i - 1, i - 1);
            }
            for (int i = 0; i < n; ++i)
                for (int j = 0; j <= m; ++j)
                    x[i] += V[i + j * n] * y[j];
        }
        if (rho <= rhoStop && rho <= absTolerance)
            break;
        if (zeroRotation && kLast == 0)
            break;
    }
}
