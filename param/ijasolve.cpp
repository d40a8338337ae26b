// Conjugate gradients on the least-squares functional |A x - b|², with
// Polak-Ribière directions and up to three passes.
#include "param/ijasolve.h"


#include <vector>

void multiplyTriplets(int n, int count, const int* rows, const int* cols, const double* values, const double* x,
                      double* y)
{
    for (int i = 0; i < n; ++i)
        y[i] = 0.0;
    for (int k = 0; k < count; ++k)
        y[rows[k]] += values[k] * x[cols[k]];
}

void multiplyTripletsTransposed(int n, int count, const int* rows, const int* cols, const double* values,
                                const double* x, double* y)
{
    for (int i = 0; i < n; ++i)
        y[i] = 0.0;
    for (int k = 0; k < count; ++k)
        y[cols[k]] += values[k] * x[rows[k]];
}

Outcome ijasolve(int n, int count, const int* rows, const int* cols, const double* values, const double* b, double* x,
              double& residualSquared)
{
    std::vector<double> d(n, 0.0), p(n, 0.0), t(n, 0.0), r(n, 0.0);
    const double tol = (1e-6 * 1e-6) * n;
    double R = 0.0;
    // 5n iterations per pass; counted in 64 bits so that huge n cannot overflow.
    const long long iterationLimit = 5LL * n;

    for (int pass = 1; pass <= 3; ++pass) {
        multiplyTriplets(n, count, rows, cols, values, x, t.data());
        double B = 0.0, Rprev = 0.0;
        for (int j = 0; j < n; ++j) {
            B += b[j] * b[j];
            t[j] -= b[j];
            Rprev += t[j] * t[j];
        }
        multiplyTripletsTransposed(n, count, rows, cols, values, t.data(), d.data());
        for (int j = 0; j < n; ++j) {
            d[j] = -d[j];
            p[j] = d[j];
        }

        bool nextPass = false;
        for (long long iteration = 0; iteration < iterationLimit; ++iteration) {
            multiplyTriplets(n, count, rows, cols, values, p.data(), t.data());
            double num = 0.0, den = 0.0;
            for (int j = 0; j < n; ++j)
                num += d[j] * p[j];
            for (int j = 0; j < n; ++j)
                den += t[j] * t[j];
            if (den == 0.0)
                return outcomeVerySingular;
            double alpha = num / den;
            for (int j = 0; j < n; ++j) {
                t[j] = x[j];
                x[j] += alpha * p[j];
            }
            multiplyTriplets(n, count, rows, cols, values, x, r.data());
            R = 0.0;
            for (int j = 0; j < n; ++j) {
                r[j] -= b[j];
                R += r[j] * r[j];
            }
            if (R == Rprev || R <= B * tol) {
                residualSquared = R;
                return outcomeOk;
            }
            if (R > Rprev) {
                for (int j = 0; j < n; ++j)
                    x[j] = t[j];
                if (pass == 3) {
                    residualSquared = R;
                    return outcomeOk;
                }
                nextPass = true;
                break;
            }
            Rprev = R;
            multiplyTripletsTransposed(n, count, rows, cols, values, r.data(), t.data());
            double D = 0.0, E = 0.0;
            for (int j = 0; j < n; ++j)
                D += d[j] * d[j];
            for (int j = 0; j < n; ++j)
                E += (t[j] + d[j]) * t[j];
            if (D == 0.0) {
                residualSquared = R;
                return outcomeOk;
            }
            double beta = E / D;
            for (int j = 0; j < n; ++j) {
                d[j] = -t[j];
                p[j] = d[j] + beta * p[j];
            }
        }
        if (!nextPass)
            return outcomeTooManyIterations;
    }
    residualSquared = R;
    return outcomeOk;
}
