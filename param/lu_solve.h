// Sparse direct solve of a square system by LU factorization, one
// factorization shared by several right-hand sides.
#pragma once

#include "param/row_matrix.h"

// Refinement rounds at most: each solves for the correction of the residual left.
inline constexpr int refinementRounds = 4;

// Improves each x[s] (s = 0 .. systems-1, holding a starting guess) until
// |rhs[s] - A x[s]| <= relTolerance × |rhs[s]|, solving A d = residual with
// one factorization of A (n rows) for every system and round. Returns true when every
// system meets the bound; false when the factorization fails (a singular
// matrix) or the bound is still not met after refinementRounds rounds. Each
// x[s] then holds the best solution found.
bool solveByFactorization(int n, const RowMatrix& A, int systems, const double* const rhs[], double* const x[],
                          double relTolerance);
