// Solution of the parameterization's linear systems (the u and the v system
// share one matrix): restarted GMRES as the parameterization calls it, its
// result checked against its own bounds, and a finishing solve (multigrid, or
// sparse LU when that falls short) for any system that GMRES left short.
#pragma once

#include "param/triplet_matrix.h"

// How the last solveParameterSystems call ended.
enum ParameterSolvePath { solvedByGmres, solvedByMultigrid, solvedByFactorization, solveFailed };

// The path the last solveParameterSystems call took.
extern ParameterSolvePath lastSolvePath;
// Relative residual |rhs - A x| / |rhs| of the u and of the v solution of the last call.
extern double lastRelativeResidual[2];

// Bound of GMRES on the residual, relative to the first one and absolute.
inline constexpr double gmresTolerance = 1e-9;
// Relative residual that the finishing solve must reach.
inline constexpr double finishTolerance = 1e-9;

// Solves A xU = rhsU and A xV = rhsV (n unknowns, n >= 2) with MGMRES_ST from
// zero, 5 restarts of min(n - 1, 25) steps and tolerances 1e-9. A solution
// whose true residual misses either bound is finished, from that result, to a
// relative residual of finishTolerance: by aggregation multigrid where it
// reaches the bound, else by sparse LU. Returns false when both fail.
bool solveParameterSystems(const TripletMatrix& matrix, int n, const double* rhsU, const double* rhsV, double* xU,
                           double* xV);
