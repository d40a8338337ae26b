// Iterative finish of a sparse system by aggregation multigrid: a hierarchy
// of coarser matrices (pairs of pairs of strongly coupled unknowns summed
// into one), Gauss-Seidel smoothing, Krylov-accelerated coarse corrections,
// and an outer flexible GCR iteration. Made for the mean-value systems (rows
// with a positive diagonal and non-positive neighbours); any result is checked
// by its caller against the true residual.
#pragma once

#include "param/big_array.h"
#include "param/row_matrix.h"

#include <vector>

// One level of the hierarchy.
struct MultigridLevel {
    int n = 0;
    // The level's matrix: the system's own on level 0, else `coarse`.
    const RowMatrix* A = nullptr;
    RowMatrix coarse;
    BigArray<double> diagonal;
    // Coarse unknown of each unknown of this level (empty on the coarsest).
    BigArray<int> aggregate;
    // On the coarsest level: its dense LU factors (row-major) and row pivots.
    std::vector<double> dense;
    std::vector<int> pivot;
};

struct MultigridHierarchy {
    std::vector<MultigridLevel> levels;
};

// Builds the hierarchy of A (n unknowns). Returns false, leaving the hierarchy
// unusable, when A does not suit it: a diagonal entry that is not positive,
// a coarsest matrix too large or singular.
bool buildMultigrid(int n, const RowMatrix& A, MultigridHierarchy& hierarchy);

// Improves x (a starting guess) until |rhs - A x| <= relTolerance × |rhs| by
// the residual the iteration keeps, or until it stops making progress.
// Several solves may share one hierarchy at the same time. Returns true when
// the tolerance was reached.
bool solveByMultigrid(const MultigridHierarchy& hierarchy, const double* rhs, double* x, double relTolerance,
                      int* iterations = nullptr);
