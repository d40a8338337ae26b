// Sparse LU through Eigen's SparseLU (the Windows build, where the Linux
// build's factorization library is not available), with the same
// residual-driven refinement.
#ifdef _WIN32
#include "param/lu_solve.h"

#include "param/big_array.h"

#include <Eigen/SparseCore>
#include <Eigen/SparseLU>
#include <climits>
#include <cmath>
#include <new>
#include <vector>

namespace {

using SparseMatrix = Eigen::SparseMatrix<double, Eigen::ColMajor, int>;

} // namespace

bool solveByFactorization(int n, const RowMatrix& A, int systems, const double* const rhs[], double* const x[],
                          double relTolerance)
{
    if (n < 1 || systems < 1)
        return true;
    const long long entries = A.start[n];
    if (entries > INT_MAX)
        return false;
    // Compressed columns, duplicates summed.
    std::vector<Eigen::Triplet<double, int>> triplets;
    try {
        triplets.reserve(static_cast<size_t>(entries));
        for (int i = 0; i < n; ++i)
            for (long long p = A.start[i]; p < A.start[i + 1]; ++p)
                triplets.emplace_back(i, A.col[p], A.value[p]);
    } catch (const std::bad_alloc&) {
        return false;
    }
    SparseMatrix matrix(n, n);
    matrix.setFromTriplets(triplets.begin(), triplets.end());
    triplets = {};
    matrix.makeCompressed();

    // Columns in the order that keeps the factors sparse (column approximate minimum degree).
    Eigen::SparseLU<SparseMatrix, Eigen::COLAMDOrdering<int>> lu;
    lu.analyzePattern(matrix);
    lu.factorize(matrix);
    // A singular matrix leaves factors that cannot solve.
    const bool factored = lu.info() == Eigen::Success;

    bool allMet = true;
    BigArray<double> r(n);
    Eigen::VectorXd d(n);
    for (int s = 0; s < systems && factored; ++s) {
        double bound = relTolerance * vectorNorm(n, rhs[s]);
        double left = residualInto(n, A, x[s], rhs[s], r.data());
        for (int round = 0; round < refinementRounds && !(left <= bound); ++round) {
            d = lu.solve(Eigen::Map<const Eigen::VectorXd>(r.data(), n));
            if (lu.info() != Eigen::Success)
                break;
            for (int i = 0; i < n; ++i)
                x[s][i] += d[i];
            left = residualInto(n, A, x[s], rhs[s], r.data());
        }
        if (!(left <= bound))
            allMet = false;
    }
    return factored && allMet;
}
#endif
