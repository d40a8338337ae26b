// Conjugate-gradient least-squares solver for square sparse systems in
// triplet layout, and the two triplet products it is built on.
#pragma once

#include "base/outcome.h"

// Solves A x = b by conjugate gradients on |A x - b|², starting from x, in at
// most three passes (a new pass when the residual grows). x is overwritten;
// residualSquared receives the squared residual of the last step taken. A zero
// search product (outcomeVerySingular) or a pass that runs out of iterations
// (outcomeTooManyIterations) stops the solve with that outcome.
Outcome ijasolve(int n, int count, const int* rows, const int* cols, const double* values, const double* b, double* x,
              double& residualSquared);

// y = A x: y set to 0.0, then entry by entry in order y[rows[k]] += values[k] × x[cols[k]].
void multiplyTriplets(int n, int count, const int* rows, const int* cols, const double* values, const double* x,
                      double* y);

// y = Aᵀ x: y set to 0.0, then entry by entry in order y[cols[k]] += values[k] × x[rows[k]].
void multiplyTripletsTransposed(int n, int count, const int* rows, const int* cols, const double* values,
                                const double* x, double* y);
