// Restarted GMRES without preconditioning for square sparse systems in
// triplet layout.
#pragma once

#include "base/outcome.h"

// Solves A x = rhs starting from x: at most restartLimit restarts of at most MR
// Krylov steps each (modified Gram-Schmidt with one more sweep on cancellation,
// Givens rotations as the columns grow), stopping once the residual estimate
// is within relTolerance of the first residual and within absTolerance. x is
// updated in place; nothing reports whether the bounds were met. n < MR is
// refused with outcomeGmresSize; MR or restartLimit below 1, or a zero
// starting residual, leave x as it is.
Outcome MGMRES_ST(int n, int count, const int* rows, const int* cols, const double* values, double* x, const double* rhs,
               int restartLimit, int MR, double absTolerance, double relTolerance);

// Sum of a[i] × b[i] for i = 0 .. n-1, accumulated in that order from 0.0.
double dotProduct(int n, const double* a, const double* b);

// Plane rotation of w[k], w[k+1]: (c w[k] - s w[k+1], s w[k] + c w[k+1]).
void applyGivens(double c, double s, int k, double* w);
