// Solution of the parameterization's linear systems (the u and the v system
// share one matrix): a small system by restarted GMRES alone when that meets
// its bounds; otherwise a Krylov iteration preconditioned by classical
// multigrid on the rows divided by their diagonal, one hierarchy serving both
// systems; sparse LU for whatever the iteration leaves above the bound.
#pragma once

#include "base/progress.h"
#include "param/row_matrix.h"
#include "param/triplet_matrix.h"

// How a solveParameterSystems call ended.
enum ParameterSolvePath { solvedByGmres, solvedByPreconditionedKrylov, solvedByFactorization, solveFailed };

// What a solve tells its caller when asked: the path it took, the relative
// residual |rhs - A x| / |rhs| of the u and of the v solution, and the
// preconditioned iterations spent on each (0 when none ran).
struct SolveReport {
    ParameterSolvePath path = solvedByGmres;
    double relativeResidual[2] = {0.0, 0.0};
    int iterationCount[2] = {0, 0};
};

// Bound of GMRES on the residual, relative to the first one and absolute.
inline constexpr double gmresTolerance = 1e-9;
// Relative residual that the preconditioned iteration and the LU must reach.
inline constexpr double finishTolerance = 1e-9;
// Systems of at most this many unknowns first try GMRES alone (from zero, 5
// restarts of min(n - 1, 25) steps, tolerances 1e-9): there it costs less
// than building a hierarchy.
inline constexpr int gmresOnlyLimit = 500;

// Solves A xU = rhsU and A xV = rhsV (n unknowns, n >= 2). A solution whose
// true residual is above finishTolerance × |rhs| after the GMRES pass (or
// without it) is computed by the preconditioned iteration, from zero, the two
// systems side by side; whatever is still above the bound is finished by
// sparse LU. Returns false when that fails too. The result does not depend on
// thread timing. The progress, when given, is told after the GMRES pass, the
// hierarchy and each cycle of the iteration (those of one system) and the LU;
// it only observes.
bool solveParameterSystems(const TripletMatrix& matrix, int n, const double* rhsU, const double* rhsV, double* xU,
                           double* xV, SolveReport* report = nullptr, const Progress* progress = nullptr);
// The same with the row copy of the matrix already made (buildRowMatrix);
// the triplets are read only by the GMRES pass, so above gmresOnlyLimit
// unknowns they may be released first. (The first form fails the solve when
// the row copy left an entry out: an index outside 0 .. n-1.)
bool solveParameterSystems(const TripletMatrix& matrix, const RowMatrix& A, int n, const double* rhsU,
                           const double* rhsV, double* xU, double* xV, SolveReport* report = nullptr,
                           const Progress* progress = nullptr);
