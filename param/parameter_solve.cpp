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

namespace {

double norm(int n, const double* v)
{
    double sum = 0.0;
    for (int i = 0; i < n; ++i)
        sum += v[i] * v[i];
    return std::sqrt(sum);
}

double relative(double residual, double rhsNorm) { return rhsNorm > 0.0 ? residual / rhsNorm : residual; }

// Runs job(0) .. job(count - 1), two of them side by side.
template <typename Job> void sideBySide(int count, const Job& job)
{
    if (count == 2) {
        std::thread second(job, 1);
        job(0);
        second.join();
    } else if (count == 1) {
        job(0);
    }
}

} // namespace

bool solveParameterSystems(const TripletMatrix& matrix, int n, const double* rhsU, const double* rhsV, double* xU,
                           double* xV, SolveReport* report, const Progress* progress)
{
    RowMatrix A;
    buildRowMatrix(n, matrix.count, matrix.rows.data(), matrix.cols.data(), matrix.values.data(), A);
    if (A.start[n] != matrix.count) {
        // An entry outside the matrix: the system is not the one given.
        if (report)
            *report = SolveReport{solveFailed, {0.0, 0.0}, {0, 0}};
        return false;
    }
    return solveParameterSystems(matrix, A, n, rhsU, rhsV, xU, xV, report, progress);
}

bool solveParameterSystems(const TripletMatrix& matrix, const RowMatrix& A, int n, const double* rhsU,
                           const double* rhsV, double* xU, double* xV, SolveReport* report, const Progress* progress)
{
    const double* rhs[2] = {rhsU, rhsV};
    double* x[2] = {xU, xV};
    SolveReport local;
    SolveReport& told = report ? *report : local;
    told = SolveReport{};
    double rhsNorm[2] = {norm(n, rhsU), norm(n, rhsV)};
    for (int s = 0; s < 2; ++s)
        std::fill(x[s], x[s] + n, 0.0);

    // Systems still above their bound.
    int shortCount = 2;
    const double* shortRhs[2] = {rhsU, rhsV};
    double* shortX[2] = {xU, xV};
    double shortNorm[2] = {rhsNorm[0], rhsNorm[1]};
    auto keepShort = [&](auto above) {
        int kept = 0;
        for (int s = 0; s < shortCount; ++s)
            if (above(s)) {
                shortRhs[kept] = shortRhs[s];
                shortX[kept] = shortX[s];
                shortNorm[kept] = shortNorm[s];
                ++kept;
            }
        shortCount = kept;
    };

    told.path = solvedByGmres;
    if (n <= gmresOnlyLimit) {
        const int MR = std::min(n - 1, 25);
        sideBySide(2, [&](int s) {
            MGMRES_ST(n, matrix.count, matrix.rows.data(), matrix.cols.data(), matrix.values.data(), x[s], rhs[s],
                      5, MR, gmresTolerance, gmresTolerance);
        });
        // GMRES's own stopping rule, applied to the true residual: within
        // 1e-9 of the first residual (|rhs|, from the zero start) and within 1e-9.
        keepShort([&](int s) {
            double left = residualNorm(n, A, shortX[s], shortRhs[s]);
            return !(left <= gmresTolerance * shortNorm[s] && left <= gmresTolerance);
        });
        // What GMRES left is not a starting point worth keeping.
        for (int s = 0; s < shortCount; ++s)
            std::fill(shortX[s], shortX[s] + n, 0.0);
        tellProgress(progress, 0.2, "résolution");
    }

    if (shortCount > 0) {
        told.path = solvedByPreconditionedKrylov;
        MultigridHierarchy hierarchy;
        const bool built = buildMultigrid(n, A, hierarchy);
        tellProgress(progress, 0.3, "hiérarchie");
        if (built) {
            // Job 0 runs on this thread: it alone tells the progress.
            const Progress cycles = progressPart(progress, 0.3, 0.9);
            sideBySide(shortCount, [&](int s) {
                int system = shortX[s] == xU ? 0 : 1;
                solveByMultigrid(hierarchy, shortRhs[s], shortX[s], finishTolerance, &told.iterationCount[system],
                                 s == 0 ? &cycles : nullptr);
            });
        }
        tellProgress(progress, 0.9, "résolution");
        keepShort([&](int s) {
            return !(residualNorm(n, A, shortX[s], shortRhs[s]) <= finishTolerance * shortNorm[s]);
        });
    }

    bool solved = true;
    if (shortCount > 0) {
        told.path = solvedByFactorization;
        for (int s = 0; s < shortCount; ++s)
            if (!std::all_of(shortX[s], shortX[s] + n, [](double e) { return std::isfinite(e); }))
                std::fill(shortX[s], shortX[s] + n, 0.0);
        solved = solveByFactorization(n, A, shortCount, shortRhs, shortX, finishTolerance);
    }
    tellProgress(progress, 1.0, "résolution");
    for (int s = 0; s < 2; ++s)
        told.relativeResidual[s] = relative(residualNorm(n, A, x[s], rhs[s]), rhsNorm[s]);
    if (!solved)
        told.path = solveFailed;
    return solved;
}
