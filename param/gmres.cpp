// Restarted GMRES. The matrix is first copied into rows (each row's entries
// in their triplet order), so every product adds the same terms in the same
// order as the triplet product; the Gram-Schmidt projections are fused with
// the dot product that follows them, which reads each element once it is
// final, so every sum is the one the plain loops give.
#include "param/gmres.h"

#include "param/big_array.h"
#include "param/row_matrix.h"

#include <cmath>

double dotProduct(int n, const double* a, const double* b)
{
    double sum = 0.0;
    for (int i = 0; i < n; ++i)
        sum += a[i] * b[i];
    return sum;
}

void applyGivens(double c, double s, int k, double* w)
{
    double g1 = c * w[k] - s * w[k + 1];
    double g2 = s * w[k] + c * w[k + 1];
    w[k] = g1;
    w[k + 1] = g2;
}

namespace {

// w -= h × v, then the dot product of the new w with `next` (with w itself when next is null).
double subtractThenDot(int n, double* w, double h, const double* v, const double* next)
{
    double sum = 0.0;
    if (next) {
        for (int i = 0; i < n; ++i) {
            w[i] -= h * v[i];
            sum += w[i] * next[i];
        }
    } else {
        for (int i = 0; i < n; ++i) {
            w[i] -= h * v[i];
            sum += w[i] * w[i];
        }
    }
    return sum;
}

} // namespace

Outcome MGMRES_ST(int n, int count, const int* rows, const int* cols, const double* values, double* x, const double* rhs,
               int restartLimit, int MR, double absTolerance, double relTolerance)
{
    if (n < MR)
        return outcomeGmresSize;
    if (MR < 1 || restartLimit < 1 || n < 1)
        return outcomeOk;

    const double delta = 0.001;
    const size_t rowsH = static_cast<size_t>(MR) + 1;
    BigArray<double> c(MR, 0.0), g(MR + 1, 0.0), H(rowsH * MR, 0.0), r(n, 0.0), s(MR, 0.0);
    BigArray<double> V(static_cast<size_t>(n) * rowsH, 0.0), y(MR + 1, 0.0);
    auto h = [&](int i, int j) -> double& { return H[static_cast<size_t>(i) + static_cast<size_t>(j) * rowsH]; };
    auto basis = [&](int j) { return V.data() + static_cast<size_t>(j) * n; };

    RowMatrix A;
    buildRowMatrix(n, count, rows, cols, values, A);

    double rhoStop = 0.0;
    for (int itr = 1; itr <= restartLimit; ++itr) {
        multiplyRows(n, A, x, r.data());
        for (int i = 0; i < n; ++i)
            r[i] = rhs[i] - r[i];
        double rho = std::sqrt(dotProduct(n, r.data(), r.data()));
        if (itr == 1)
            rhoStop = rho * relTolerance;
        // Nothing is left to reduce (and r / rho would not be a number).
        if (rho == 0.0)
            break;

        double* v0 = basis(0);
        for (int i = 0; i < n; ++i)
            v0[i] = r[i] / rho;
        g[0] = rho;
        for (int i = 1; i <= MR; ++i)
            g[i] = 0.0;
        for (double& e : H)
            e = 0.0;

        // Columns of H that hold a usable triangular factor at the end of the restart.
        int columnsDone = 0;
        for (int k = 1; k <= MR; ++k) {
            double* w = basis(k);
            multiplyRows(n, A, basis(k - 1), w);

            // ν and the first projection coefficient read the same vector.
            double nu2 = 0.0, first = 0.0;
            for (int i = 0; i < n; ++i) {
                nu2 += w[i] * w[i];
                first += w[i] * v0[i];
            }
            double nu = std::sqrt(nu2);
            h(0, k - 1) = first;
            double normSquared = 0.0;
            for (int j = 1; j <= k; ++j) {
                double coefficient = h(j - 1, k - 1);
                double following = subtractThenDot(n, w, coefficient, basis(j - 1), j < k ? basis(j) : nullptr);
                if (j < k)
                    h(j, k - 1) = following;
                else
                    normSquared = following;
            }
            h(k, k - 1) = std::sqrt(normSquared);

            if (nu + delta * h(k, k - 1) == nu) {
                for (int j = 1; j <= k; ++j) {
                    double t = dotProduct(n, w, basis(j - 1));
                    h(j - 1, k - 1) += t;
                    const double* v = basis(j - 1);
                    for (int i = 0; i < n; ++i)
                        w[i] -= t * v[i];
                }
                h(k, k - 1) = std::sqrt(dotProduct(n, w, w));
            }

            if (h(k, k - 1) != 0.0) {
                double norm = h(k, k - 1);
                for (int i = 0; i < n; ++i)
                    w[i] = w[i] / norm;
            }

            if (k > 1) {
                for (int i = 0; i <= k; ++i)
                    y[i] = h(i, k - 1);
                for (int j = 1; j <= k - 1; ++j)
                    applyGivens(c[j - 1], s[j - 1], j - 1, y.data());
                for (int i = 0; i <= k; ++i)
                    h(i, k - 1) = y[i];
            }

            double mu = std::sqrt(std::pow(h(k - 1, k - 1), 2.0) + std::pow(h(k, k - 1), 2.0));
            // A zero rotation length: the new column adds nothing solvable;
            // the restart ends with the columns before it.
            if (mu == 0.0)
                break;
            c[k - 1] = h(k - 1, k - 1) / mu;
            s[k - 1] = -h(k, k - 1) / mu;
            h(k - 1, k - 1) = c[k - 1] * h(k - 1, k - 1) - s[k - 1] * h(k, k - 1);
            h(k, k - 1) = 0.0;
            applyGivens(c[k - 1], s[k - 1], k - 1, g.data());
            rho = std::fabs(g[k]);
            columnsDone = k;
            if (rho <= rhoStop && rho <= absTolerance)
                break;
        }

        // Back substitution on the columns done, then the update x += V y.
        int m = columnsDone - 1;
        if (m >= 0) {
            y[m] = g[m] / h(m, m);
            for (int i = m; i >= 1; --i) {
                y[i - 1] = g[i - 1];
                for (int j = i + 1; j <= m + 1; ++j)
                    y[i - 1] -= h(i - 1, j - 1) * y[j - 1];
                y[i - 1] /= h(i - 1, i - 1);
            }
            // Each x[i] still takes its terms in the order j = 0 .. m.
            for (int j = 0; j <= m; ++j) {
                const double* v = basis(j);
                double yj = y[j];
                for (int i = 0; i < n; ++i)
                    x[i] += v[i] * yj;
            }
        }

        if (rho <= rhoStop && rho <= absTolerance)
            break;
        // The very first Krylov step could not be rotated: a further restart
        // would meet the same column again.
        if (columnsDone == 0)
            break;
    }
    return outcomeOk;
}
