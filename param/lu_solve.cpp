// Sparse LU through UMFPACK, with residual-driven refinement.
#include "param/lu_solve.h"

#include "param/big_array.h"

#include <climits>
#include <cmath>
#include <umfpack.h>
#include <vector>

bool solveByFactorization(int n, const RowMatrix& A, int systems, const double* const rhs[], double* const x[],
                          double relTolerance)
{
    if (n < 1 || systems < 1)
        return true;
    // Compressed columns, duplicates summed; the row copy holds only indices inside the matrix.
    const long long entries = A.start[n];
    if (entries > INT_MAX)
        return false;
    const int count = static_cast<int>(entries);
    BigArray<int> rows(static_cast<size_t>(count > 0 ? count : 1));
    for (int i = 0; i < n; ++i)
        for (long long p = A.start[i]; p < A.start[i + 1]; ++p)
            rows[p] = i;
    BigArray<int> colStart(static_cast<size_t>(n) + 1), rowIndex(static_cast<size_t>(count > 0 ? count : 1));
    BigArray<double> entry(static_cast<size_t>(count > 0 ? count : 1));
    if (umfpack_di_triplet_to_col(n, n, count, rows.data(), A.col.data(), A.value.data(), colStart.data(),
                                  rowIndex.data(), entry.data(), nullptr) != UMFPACK_OK)
        return false;

    double control[UMFPACK_CONTROL], info[UMFPACK_INFO];
    umfpack_di_defaults(control);
    void* symbolic = nullptr;
    void* numeric = nullptr;
    bool factored =
        umfpack_di_symbolic(n, n, colStart.data(), rowIndex.data(), entry.data(), &symbolic, control, info) ==
        UMFPACK_OK;
    // A singular matrix is reported as a warning: such factors cannot solve.
    factored = factored && umfpack_di_numeric(colStart.data(), rowIndex.data(), entry.data(), symbolic, &numeric,
                                              control, info) == UMFPACK_OK;
    if (symbolic)
        umfpack_di_free_symbolic(&symbolic);

    bool allMet = true;
    BigArray<double> r(n), d(n);
    for (int s = 0; s < systems && factored; ++s) {
        double bound = relTolerance * vectorNorm(n, rhs[s]);
        double left = residualInto(n, A, x[s], rhs[s], r.data());
        for (int round = 0; round < refinementRounds && !(left <= bound); ++round) {
            if (umfpack_di_solve(UMFPACK_A, colStart.data(), rowIndex.data(), entry.data(), d.data(), r.data(),
                                 numeric, control, info) != UMFPACK_OK)
                break;
            for (int i = 0; i < n; ++i)
                x[s][i] += d[i];
            left = residualInto(n, A, x[s], rhs[s], r.data());
        }
        if (!(left <= bound))
            allMet = false;
    }
    if (numeric)
        umfpack_di_free_numeric(&numeric);
    return factored && allMet;
}
