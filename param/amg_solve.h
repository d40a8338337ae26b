// Multigrid preconditioning of the parameterization systems (rows with a
// positive diagonal and mostly non-positive neighbours, not symmetric):
// classical coarsening (coarse unknowns chosen among the strongly coupled
// ones, the others interpolated from their strong coarse neighbours),
// Galerkin coarse matrices, Gauss-Seidel smoothing in a cycle that visits the
// two finest levels once and each coarser one twice, and an outer
// flexible GCR iteration preconditioned by one cycle. One hierarchy serves
// any number of solves, also at the same time; any result is checked by the
// caller against the true residual.
#pragma once

#include "base/progress.h"
#include "param/big_array.h"
#include "param/row_matrix.h"

#include <vector>

// One level of the hierarchy.
struct MultigridLevel {
    int n = 0;
    // The level's matrix while the hierarchy is built: `coarse`, on level 0
    // the system's own (null on a coarse level once it is split, when
    // `coarse` becomes `offDiagonal`).
    const RowMatrix* A = nullptr;
    RowMatrix coarse;
    // Its diagonal, and its other entries row by row, those left of the
    // diagonal first (row i: offDiagonal.start[i] .. middle[i] - 1, then the
    // right ones up to offDiagonal.start[i + 1] - 1), each side in the
    // matrix's order: what the smoothing reads (empty on the coarsest level).
    // offDiagonal holds their columns; their values are in `smoothing`.
    BigArray<double> diagonal;
    // 1 over each diagonal entry: the smoothing multiplies by it (on the top
    // level it also scales the rows the coarse levels are built from).
    BigArray<double> inverseDiagonal;
    RowMatrix offDiagonal;
    BigArray<long long> middle;
    // The values of the entries off the diagonal, in single precision: the
    // cycle is only a preconditioner, and reads them in half the bytes.
    BigArray<float> smoothing;
    // Interpolation from the next level: n rows, columns numbering the next
    // level's unknowns (empty on the coarsest).
    RowMatrix interpolation;
    // Restriction to the next level (rows numbering the next level's unknowns).
    RowMatrix restriction;
    // On the coarsest level: its dense LU factors (row-major) and row pivots.
    std::vector<double> dense;
    std::vector<int> pivot;
};

struct MultigridHierarchy {
    // The system's matrix. The coarse levels are built from its rows divided
    // by their diagonal (levels[0].inverseDiagonal; rows with very large
    // weights, from corners of nearly 180 degrees, otherwise rule the
    // coarsening), and the top level's residual is so divided before it is
    // restricted.
    const RowMatrix* original = nullptr;
    std::vector<MultigridLevel> levels;
};

// Builds the hierarchy of A (n unknowns). Returns false, leaving the hierarchy
// unusable, when A does not suit it: a diagonal entry that is not positive or
// not finite, a coarsest matrix too large or singular.
bool buildMultigrid(int n, const RowMatrix& A, MultigridHierarchy& hierarchy);

// Improves x (a starting guess) until |rhs - A x| <= relTolerance × |rhs|,
// checked on the true residual, or until the iteration stops making
// progress. Several solves may share one hierarchy at the same time; each
// gives the same bits as alone. Returns true when the tolerance was reached;
// `iterations`, when given, receives the number of cycles spent. The
// progress, when given, is told after each cycle how far the residual has
// come down from the first one towards the tolerance (on a log scale, never
// going back); it must be used by one solve only and only observes.
bool solveByMultigrid(const MultigridHierarchy& hierarchy, const double* rhs, double* x, double relTolerance,
                      int* iterations = nullptr, const Progress* progress = nullptr);
