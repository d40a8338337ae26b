// The two parameterization systems, solved side by side on two threads (the
// solves are independent and each gives the same result as alone).
#include "param/parameter_solve.h"

#include "param/amg_solve.h"
#include "param/gmres.h"
#include "param/lu_solve.h"
#include "param/row_matrix.h"

#include <algorithm>
#include <cmath>
#include <thread>

ParameterSolvePath lastSolvePath = solvedByGmres;
double lastRelativeResidual[2] = {0.0, 0.0};

namespace {

double norm(int n, const double* v)
{
    double sum = 0.0;
    for (int i = 0; i < n; ++i)
        sum += v[i] * v[i];
    return std::sqrt(sum);
}

double relative(double residual, double rhsNorm) { return rhsNorm > 0.0 ? residual / rhsNorm : residual; }

} // namespace

bool solveParameterSystems(const TripletMatrix& matrix, int n, const double* rhsU, const double* rhsV, double* xU,
                           double* xV)
{
    const int restartLimit = 5;
    const int MR = std::min(n - 1, 25);
    const double* rhs[2] = {rhsU, rhsV};
    double* x[2] = {xU, xV};
    auto gmres = [&](int s) {
        std::fill(x[s], x[s] + n, 0.0);
        MGMRES_ST(n, matrix.count, matrix.rows.data(), matrix.cols.data(), matrix.values.data(), x[s], rhs[s],
                  restartLimit, MR, gmresTolerance, gmresTolerance);
    };
    {
        std::thread vSolve(gmres, 1);
        gmres(0);
        vSolve.join();
    }

    // GMRES's own stopping rule, applied to the true residual: within
    // 1e-9 of the first residual (|rhs|, from the zero start) and within 1e-9.
    RowMatrix A;
    buildRowMatrix(n, matrix.count, matrix.rows.data(), matrix.cols.data(), matrix.values.data(), A);
    double rhsNorm[2], left[2];
    int shortCount = 0;
    const double* shortRhs[2];
    double* shortX[2];
    for (int s = 0; s < 2; ++s) {
        rhsNorm[s] = norm(n, rhs[s]);
        left[s] = residualNorm(n, A, x[s], rhs[s]);
        if (!(left[s] <= gmresTolerance * rhsNorm[s] && left[s] <= gmresTolerance)) {
            shortRhs[shortCount] = rhs[s];
            shortX[shortCount] = x[s];
            ++shortCount;
        }
    }
    lastSolvePath = solvedByGmres;
    bool solved = true;
    if (shortCount > 0) {
        for (int s = 0; s < shortCount; ++s)
            if (!std::all_of(shortX[s], shortX[s] + n, [](double e) { return std::isfinite(e); }))
                std::fill(shortX[s], shortX[s] + n, 0.0);
        // Multigrid first (the short systems side by side), then sparse LU for
        // whatever it leaves above the bound.
        MultigridHierarchy hierarchy;
        if (buildMultigrid(n, A, hierarchy)) {
            lastSolvePath = solvedByMultigrid;
            auto finish = [&](int s) { solveByMultigrid(hierarchy, shortRhs[s], shortX[s], 0.5 * finishTolerance); };
            if (shortCount == 2) {
                std::thread second(finish, 1);
                finish(0);
                second.join();
            } else {
                finish(0);
            }
        }
        int stillShort = 0;
        for (int s = 0; s < shortCount; ++s)
            if (!(residualNorm(n, A, shortX[s], shortRhs[s]) <= finishTolerance * norm(n, shortRhs[s]))) {
                shortRhs[stillShort] = shortRhs[s];
                shortX[stillShort] = shortX[s];
                ++stillShort;
            }
        if (stillShort > 0) {
            lastSolvePath = solvedByFactorization;
            solved = solveByFactorization(n, matrix.count, matrix.rows.data(), matrix.cols.data(),
                                          matrix.values.data(), A, stillShort, shortRhs, shortX, finishTolerance);
        }
        for (int s = 0; s < 2; ++s)
            left[s] = residualNorm(n, A, x[s], rhs[s]);
    }
    for (int s = 0; s < 2; ++s)
        lastRelativeResidual[s] = relative(left[s], rhsNorm[s]);
    if (!solved)
        lastSolvePath = solveFailed;
    return solved;
}
