// Classical algebraic multigrid for the parameterization systems, used as the
// preconditioner of a flexible GCR iteration.
#include "param/amg_solve.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <thread>

namespace {

// The coarsest level is solved densely at or below this size.
constexpr int coarsestSize = 200;
// A coarsest level above this size (coarsening stalled) is refused.
constexpr int coarsestLimit = 1000;
// A neighbour couples strongly when its coupling (minus the entry) is at
// least this share of the row's strongest.
constexpr double strongShare = 0.25;
// Outer iterations kept before a restart (each keeps two vectors of the
// system's size), and at most in all.
constexpr int outerKept = 4;
// Levels from this one on are visited twice by each visit of the level above
// (a W-cycle below the two finest levels, where a visit costs little).
constexpr int wCycleFrom = 2;
constexpr int outerLimit = 200;
// Levels (and coarse matrices) of at least this many rows are worked on by two threads.
constexpr int splitRows = 20000;
// Interpolation weights kept at most in a row.
constexpr int interpolationKept = 4;

double dot(int n, const double* a, const double* b)
{
    double s = 0.0;
    for (int i = 0; i < n; ++i)
        s += a[i] * b[i];
    return s;
}

// strong[p] = 1 for the off-diagonal entries p of each row whose coupling
// -A(i, j) is positive and at least strongShare of the row's strongest.
void markStrong(int n, const RowMatrix& A, BigArray<char>& strong)
{
    strong.assign(A.col.size(), 0);
    for (int i = 0; i < n; ++i) {
        double strongest = 0.0;
        for (long long p = A.start[i]; p < A.start[i + 1]; ++p)
            if (A.col[p] != i && -A.value[p] > strongest)
                strongest = -A.value[p];
        if (!(strongest > 0.0) || !std::isfinite(strongest))
            continue;
        for (long long p = A.start[i]; p < A.start[i + 1]; ++p)
            if (A.col[p] != i && -A.value[p] >= strongShare * strongest)
                strong[p] = 1;
    }
}

// Transpose of a matrix of `rows` rows and `cols` columns; entries of each
// row of T in increasing row order of M.
void transpose(int rows, int cols, const RowMatrix& M, RowMatrix& T)
{
    T.start.assign(static_cast<size_t>(cols) + 1, 0);
    for (int i = 0; i < rows; ++i)
        for (long long p = M.start[i]; p < M.start[i + 1]; ++p)
            ++T.start[M.col[p] + 1];
    for (int c = 0; c < cols; ++c)
        T.start[c + 1] += T.start[c];
    T.col.resize(M.col.size());
    T.value.resize(M.col.size());
    BigArray<long long> next(T.start.begin(), T.start.end() - 1);
    for (int i = 0; i < rows; ++i)
        for (long long p = M.start[i]; p < M.start[i + 1]; ++p) {
            long long q = next[M.col[p]]++;
            T.col[q] = i;
            T.value[q] = M.value[p];
        }
}

// Z = S X Y (S the diagonal rowScale, or the identity when it is null; Y of
// `cols` columns), row by row; each row keeps its columns in the order first
// met. Counted first, so every array is allocated once at its final size. A
// large product is split in two halves of rows computed side by side; every
// row is computed the same way either way, so the result does not depend on
// the split.
void multiplySparse(int rows, const RowMatrix& X, const double* rowScale, const RowMatrix& Y, int cols,
                    RowMatrix& Z)
{
    // Raw pointers: the compiler cannot then suspect the output of changing the inputs.
    const long long *xStart = X.start.data(), *yStart = Y.start.data();
    const int *xCol = X.col.data(), *yCol = Y.col.data();
    const double *xValue = X.value.data(), *yValue = Y.value.data();
    Z.start.assign(static_cast<size_t>(rows) + 1, 0);
    long long* zStart = Z.start.data();
    // Position of each column in the row being built (rows before `first` are done).
    BigArray<long long> whereArray[2] = {BigArray<long long>(cols, -1), {}};
    auto count = [&](int first, int last, long long* where) {
        for (int i = first; i < last; ++i) {
            long long entries = 0;
            for (long long p = xStart[i]; p < xStart[i + 1]; ++p) {
                const int k = xCol[p];
                for (long long q = yStart[k]; q < yStart[k + 1]; ++q)
                    if (where[yCol[q]] != i) {
                        where[yCol[q]] = i;
                        ++entries;
                    }
            }
            zStart[i + 1] = entries;
        }
    };
    int* zCol = nullptr;
    double* zValue = nullptr;
    auto fill = [&](int first, int last, long long* where) {
        for (int i = first; i < last; ++i) {
            const long long rowStart = zStart[i];
            long long end = rowStart;
            const double si = rowScale ? rowScale[i] : 1.0;
            for (long long p = xStart[i]; p < xStart[i + 1]; ++p) {
                const int k = xCol[p];
                const double x = xValue[p] * si;
                for (long long q = yStart[k]; q < yStart[k + 1]; ++q) {
                    const int J = yCol[q];
                    if (where[J] < rowStart) {
                        where[J] = end;
                        zCol[end] = J;
                        zValue[end] = 0.0;
                        ++end;
                    }
                    zValue[where[J]] += x * yValue[q];
                }
            }
        }
    };
    const bool split = rows >= splitRows;
    const int half = split ? rows / 2 : rows;
    auto sideBySide = [&](auto job) {
        if (split) {
            std::thread second(job, half, rows, whereArray[1].data());
            job(0, half, whereArray[0].data());
            second.join();
        } else {
            job(0, rows, whereArray[0].data());
        }
    };
    if (split)
        whereArray[1].assign(cols, -1);
    sideBySide(count);
    for (int i = 0; i < rows; ++i)
        zStart[i + 1] += zStart[i];
    Z.col.resize(static_cast<size_t>(zStart[rows]));
    Z.value.resize(static_cast<size_t>(zStart[rows]));
    zCol = Z.col.data();
    zValue = Z.value.data();
    for (BigArray<long long>& where : whereArray)
        std::fill(where.begin(), where.end(), -1);
    sideBySide(fill);
}

// C = R S A P (R = Pᵀ, `coarse` rows; S the diagonal rowScale, or the
// identity when it is null), as R (S A P): each row of A P is made once,
// instead of once for every coarse row that reads it.
void galerkin(int n, const RowMatrix& A, const double* rowScale, const RowMatrix& P, const RowMatrix& R,
              int coarse, RowMatrix& C)
{
    RowMatrix AP;
    multiplySparse(n, A, rowScale, P, coarse, AP);
    multiplySparse(coarse, R, nullptr, AP, coarse, C);
}

// Coarse unknowns chosen by the first pass of Ruge and Stüben (the second
// pass, which adds coarse unknowns for fine pairs with no common coarse
// neighbour, is left out: it doubles the coarse matrices' size and their
// set-up, and the W-cycle makes up for the weaker interpolation): repeatedly the
// undecided unknown on which most others depend strongly becomes coarse, the
// undecided ones depending strongly on it become fine (and their strong
// neighbours more wanted). Unknowns with no strong coupling either way are
// fine from the start. coarseIndex: the coarse number, or -1 for a fine one.
// Returns the number of coarse unknowns.
int splitCoarseFine(int n, const RowMatrix& A, const BigArray<char>& strong, BigArray<int>& coarseIndex)
{
    // Transposed strong couplings: the unknowns depending strongly on each.
    RowMatrix dependents;
    dependents.start.assign(static_cast<size_t>(n) + 1, 0);
    for (int i = 0; i < n; ++i)
        for (long long p = A.start[i]; p < A.start[i + 1]; ++p)
            if (strong[p])
                ++dependents.start[A.col[p] + 1];
    int most = 0;
    for (int i = 0; i < n; ++i) {
        most = std::max(most, static_cast<int>(dependents.start[i + 1]));
        dependents.start[i + 1] += dependents.start[i];
    }
    dependents.col.resize(static_cast<size_t>(dependents.start[n]));
    {
        BigArray<long long> next(dependents.start.begin(), dependents.start.end() - 1);
        for (int i = 0; i < n; ++i)
            for (long long p = A.start[i]; p < A.start[i + 1]; ++p)
                if (strong[p])
                    dependents.col[next[A.col[p]]++] = i;
    }

    // Undecided unknowns in buckets by weight (doubly linked lists); the
    // weight of an unknown stays at most twice its number of dependents.
    enum : signed char { undecided, fine, coarse };
    BigArray<signed char> state(n, undecided);
    BigArray<int> weight(n), next(n), previous(n), head(2 * static_cast<size_t>(most) + 2, -1);
    auto insert = [&](int i) {
        int w = weight[i];
        previous[i] = -1;
        next[i] = head[w];
        if (head[w] >= 0)
            previous[head[w]] = i;
        head[w] = i;
    };
    auto remove = [&](int i) {
        if (previous[i] >= 0)
            next[previous[i]] = next[i];
        else
            head[weight[i]] = next[i];
        if (next[i] >= 0)
            previous[next[i]] = previous[i];
    };
    int top = 0;
    for (int i = n - 1; i >= 0; --i) {
        weight[i] = static_cast<int>(dependents.start[i + 1] - dependents.start[i]);
        bool depends = false;
        for (long long p = A.start[i]; p < A.start[i + 1] && !depends; ++p)
            depends = strong[p] != 0;
        if (weight[i] == 0 && !depends) {
            state[i] = fine;
        } else {
            insert(i);
            top = std::max(top, weight[i]);
        }
    }
    const int topLimit = static_cast<int>(head.size()) - 1;
    for (;;) {
        while (top >= 0 && head[top] < 0)
            --top;
        if (top < 0)
            break;
        int c = head[top];
        remove(c);
        state[c] = coarse;
        for (long long d = dependents.start[c]; d < dependents.start[c + 1]; ++d) {
            int f = dependents.col[d];
            if (state[f] != undecided)
                continue;
            remove(f);
            state[f] = fine;
            for (long long p = A.start[f]; p < A.start[f + 1]; ++p) {
                int k = A.col[p];
                if (strong[p] && state[k] == undecided && weight[k] < topLimit) {
                    remove(k);
                    ++weight[k];
                    insert(k);
                    top = std::max(top, weight[k]);
                }
            }
        }
        for (long long p = A.start[c]; p < A.start[c + 1]; ++p) {
            int k = A.col[p];
            if (strong[p] && state[k] == undecided && weight[k] > 0) {
                remove(k);
                --weight[k];
                insert(k);
            }
        }
    }
    coarseIndex.resize(n);
    int count = 0;
    for (int i = 0; i < n; ++i)
        coarseIndex[i] = state[i] == coarse ? count++ : -1;
    return count;
}

// Direct interpolation: a coarse unknown takes its coarse value; a fine one
// the weighted mean of its strong coarse neighbours, scaled to carry its
// strong fine couplings too (weak ones go to the diagonal), so that rows
// summing to zero interpolate constants exactly. A row keeps its
// interpolationKept largest weights, scaled to the row's whole sum.
void interpolation(int n, const RowMatrix& A, const BigArray<char>& strong, const BigArray<int>& coarseIndex,
                   RowMatrix& P)
{
    // The row of fine unknown i in rowCol / rowValue.
    auto buildRow = [&](int i, std::vector<int>& rowCol, std::vector<double>& rowValue) {
        rowCol.clear();
        rowValue.clear();
        double diagonal = 0.0, direct = 0.0, viaFine = 0.0;
        for (long long p = A.start[i]; p < A.start[i + 1]; ++p) {
            int k = A.col[p];
            double v = A.value[p];
            if (k == i || !strong[p]) {
                diagonal += v;
            } else if (coarseIndex[k] >= 0) {
                rowCol.push_back(coarseIndex[k]);
                rowValue.push_back(v);
                direct += v;
            } else {
                viaFine += v;
            }
        }
        if (!(direct < 0.0) || diagonal == 0.0 || !std::isfinite(diagonal)) {
            rowCol.clear();
            rowValue.clear();
            return;
        }
        double scale = -(direct + viaFine) / direct / diagonal;
        double whole = 0.0;
        for (double& v : rowValue) {
            v *= scale;
            whole += v;
        }
        if (static_cast<int>(rowCol.size()) > interpolationKept) {
            // Largest weights first (ties by column, so the order is fixed).
            for (int a = 0; a < interpolationKept; ++a) {
                int best = a;
                for (int b = a + 1; b < static_cast<int>(rowCol.size()); ++b)
                    if (std::fabs(rowValue[b]) > std::fabs(rowValue[best]) ||
                        (std::fabs(rowValue[b]) == std::fabs(rowValue[best]) && rowCol[b] < rowCol[best]))
                        best = b;
                std::swap(rowCol[a], rowCol[best]);
                std::swap(rowValue[a], rowValue[best]);
            }
            rowCol.resize(interpolationKept);
            rowValue.resize(interpolationKept);
            double kept = 0.0;
            for (double v : rowValue)
                kept += v;
            if (kept != 0.0)
                for (double& v : rowValue)
                    v *= whole / kept;
        }
    };
    // Every row holds at most interpolationKept weights: each half of the
    // rows is written from its own bound, the second half on a second thread
    // for a large level; then the second half moves down behind the first and
    // the arrays are cut to the written length. Each row is built alike
    // either way.
    P.start.assign(static_cast<size_t>(n) + 1, 0);
    P.col.resize(static_cast<size_t>(n) * interpolationKept);
    P.value.resize(static_cast<size_t>(n) * interpolationKept);
    auto fill = [&](int first, int last, long long& end) {
        std::vector<int> rowCol;
        std::vector<double> rowValue;
        rowCol.reserve(64);
        rowValue.reserve(64);
        end = static_cast<long long>(first) * interpolationKept;
        for (int i = first; i < last; ++i) {
            P.start[i] = end;
            if (coarseIndex[i] >= 0) {
                P.col[end] = coarseIndex[i];
                P.value[end] = 1.0;
                ++end;
                continue;
            }
            buildRow(i, rowCol, rowValue);
            for (size_t e = 0; e < rowCol.size(); ++e) {
                P.col[end] = rowCol[e];
                P.value[end] = rowValue[e];
                ++end;
            }
        }
    };
    const int half = n >= splitRows ? n / 2 : n;
    long long firstEnd = 0, secondEnd = 0;
    if (half < n) {
        std::thread second(fill, half, n, std::ref(secondEnd));
        fill(0, half, firstEnd);
        second.join();
        const long long from = static_cast<long long>(half) * interpolationKept, shift = from - firstEnd;
        std::copy(P.col.begin() + from, P.col.begin() + secondEnd, P.col.begin() + firstEnd);
        std::copy(P.value.begin() + from, P.value.begin() + secondEnd, P.value.begin() + firstEnd);
        for (int i = half; i < n; ++i)
            P.start[i] -= shift;
        firstEnd = secondEnd - shift;
    } else {
        fill(0, n, firstEnd);
    }
    P.start[n] = firstEnd;
    P.col.resize(static_cast<size_t>(firstEnd));
    P.value.resize(static_cast<size_t>(firstEnd));
}

bool takeDiagonal(MultigridLevel& level)
{
    const RowMatrix& A = *level.A;
    level.diagonal.assign(level.n, 0.0);
    for (int i = 0; i < level.n; ++i)
        for (long long p = A.start[i]; p < A.start[i + 1]; ++p)
            if (A.col[p] == i)
                level.diagonal[i] += A.value[p];
    for (int i = 0; i < level.n; ++i)
        if (!(level.diagonal[i] > 0.0 && std::isfinite(level.diagonal[i])))
            return false;
    level.inverseDiagonal.resize(level.n);
    for (int i = 0; i < level.n; ++i)
        level.inverseDiagonal[i] = 1.0 / level.diagonal[i];
    return true;
}


// Dense LU with partial pivoting of the coarsest matrix.
bool factorDense(MultigridLevel& level)
{
    int n = level.n;
    const RowMatrix& A = *level.A;
    level.dense.assign(static_cast<size_t>(n) * n, 0.0);
    level.pivot.assign(n, 0);
    auto a = [&](int r, int c) -> double& { return level.dense[static_cast<size_t>(r) * n + c]; };
    for (int i = 0; i < n; ++i)
        for (long long p = A.start[i]; p < A.start[i + 1]; ++p)
            a(i, A.col[p]) += A.value[p];
    for (int k = 0; k < n; ++k) {
        int best = k;
        for (int r = k + 1; r < n; ++r)
            if (std::fabs(a(r, k)) > std::fabs(a(best, k)))
                best = r;
        if (!(std::fabs(a(best, k)) > 0.0))
            return false;
        level.pivot[k] = best;
        if (best != k)
            for (int c = 0; c < n; ++c)
                std::swap(a(k, c), a(best, c));
        for (int r = k + 1; r < n; ++r) {
            double f = a(r, k) / a(k, k);
            a(r, k) = f;
            if (f != 0.0)
                for (int c = k + 1; c < n; ++c)
                    a(r, c) -= f * a(k, c);
        }
    }
    return true;
}

void solveDense(const MultigridLevel& level, const double* b, double* x)
{
    int n = level.n;
    auto a = [&](int r, int c) { return level.dense[static_cast<size_t>(r) * n + c]; };
    std::copy(b, b + n, x);
    for (int k = 0; k < n; ++k) {
        std::swap(x[k], x[level.pivot[k]]);
        for (int r = k + 1; r < n; ++r)
            x[r] -= a(r, k) * x[k];
    }
    for (int k = n - 1; k >= 0; --k) {
        for (int c = k + 1; c < n; ++c)
            x[k] -= a(k, c) * x[c];
        x[k] /= a(k, k);
    }
}

// Buffers of one solve on one level: the level's right-hand side and
// solution (below the top level) and a residual.
struct LevelWork {
    BigArray<double> rhs, sol, res;
};

// Row i of the level's matrix times x: its entries left of the diagonal, the
// diagonal, its entries right of it.
inline double leftTimes(const MultigridLevel& L, int i, const double* x)
{
    double s = 0.0;
    for (long long p = L.offDiagonal.start[i]; p < L.middle[i]; ++p)
        s += static_cast<double>(L.smoothing[p]) * x[L.offDiagonal.col[p]];
    return s;
}

inline double rightTimes(const MultigridLevel& L, int i, const double* x)
{
    double s = 0.0;
    for (long long p = L.middle[i]; p < L.offDiagonal.start[i + 1]; ++p)
        s += static_cast<double>(L.smoothing[p]) * x[L.offDiagonal.col[p]];
    return s;
}

inline double levelRowTimes(const MultigridLevel& L, int i, const double* x)
{
    return leftTimes(L, i, x) + L.diagonal[i] * x[i] + rightTimes(L, i, x);
}

// One sweep, forward or backward. Each row sums first the entries whose
// unknowns the sweep has not changed yet, and last those it has just
// changed, so that the wait for the unknown just computed is short.
void gaussSeidel(const MultigridLevel& L, const double* b, double* x, bool forward)
{
    const double* inverse = L.inverseDiagonal.data();
    if (forward) {
        for (int i = 0; i < L.n; ++i) {
            const double s = L.diagonal[i] * x[i] + rightTimes(L, i, x);
            x[i] += (b[i] - (s + leftTimes(L, i, x))) * inverse[i];
        }
    } else {
        for (int i = L.n - 1; i >= 0; --i) {
            const double s = leftTimes(L, i, x) + L.diagonal[i] * x[i];
            x[i] += (b[i] - (s + rightTimes(L, i, x))) * inverse[i];
        }
    }
}

void residualOf(const MultigridLevel& L, const double* b, const double* x, double* r)
{
    for (int i = 0; i < L.n; ++i)
        r[i] = b[i] - levelRowTimes(L, i, x);
}

// The forward sweep from zero, x_i = (b_i - sum of the entries left of the
// diagonal times x) / a_ii, which reads only those entries; then r = b - A x,
// where the left part and the diagonal cancel what the sweep solved, so that
// only the entries right of the diagonal are read.
void forwardFromZero(const MultigridLevel& L, const double* b, double* x, double* r)
{
    const double* inverse = L.inverseDiagonal.data();
    for (int i = 0; i < L.n; ++i)
        x[i] = (b[i] - leftTimes(L, i, x)) * inverse[i];
    for (int i = 0; i < L.n; ++i)
        r[i] = -rightTimes(L, i, x);
}

// The entries of A (n rows) off the diagonal, row by row, those left of the
// diagonal first, each side in A's order, into S's starts and columns,
// `smoothing` (their values in single precision: the smoothing needs no more,
// and reads them in half the bytes) and middle (the first right entry of each row).
// S keeps no values. S may be A itself: the rows close up in place (an entry
// is never written before it is read) and A's values are released.
void splitAtDiagonal(int n, const RowMatrix& A, RowMatrix& S, BigArray<long long>& middle, BigArray<float>& smoothing)
{
    const bool inPlace = &A == &S;
    long long kept = 0;
    for (int i = 0; i < n; ++i)
        for (long long p = A.start[i]; p < A.start[i + 1]; ++p)
            kept += A.col[p] != i;
    if (!inPlace) {
        S.start.resize(static_cast<size_t>(n) + 1);
        S.col.resize(static_cast<size_t>(kept));
    }
    smoothing.resize(static_cast<size_t>(kept));
    middle.resize(n);
    std::vector<int> rightCol;
    std::vector<float> rightValue;
    long long out = 0;
    long long first = A.start[0];
    for (int i = 0; i < n; ++i) {
        const long long last = A.start[i + 1];
        S.start[i] = out;
        rightCol.clear();
        rightValue.clear();
        for (long long p = first; p < last; ++p) {
            const int c = A.col[p];
            if (c < i) {
                S.col[out] = c;
                smoothing[out++] = static_cast<float>(A.value[p]);
            } else if (c > i) {
                rightCol.push_back(c);
                rightValue.push_back(static_cast<float>(A.value[p]));
            }
        }
        middle[i] = out;
        for (size_t k = 0; k < rightCol.size(); ++k) {
            S.col[out] = rightCol[k];
            smoothing[out++] = rightValue[k];
        }
        first = last;
    }
    S.start[n] = out;
    if (inPlace) {
        S.col.resize(static_cast<size_t>(out));
        BigArray<double>().swap(S.value);
    }
}

// e ≈ A_l⁻¹ b: Gauss-Seidel forward, coarse correction, Gauss-Seidel
// backward; from level wCycleFrom on, all of it twice. On the top level the
// residual is divided by the diagonal before it is restricted, as the level
// below was built.
void cycle(const MultigridHierarchy& H, std::vector<LevelWork>& W, int l, const double* b, double* e)
{
    const MultigridLevel& L = H.levels[l];
    if (l + 1 == static_cast<int>(H.levels.size())) {
        solveDense(L, b, e);
        return;
    }
    const int visits = l >= wCycleFrom ? 2 : 1;
    for (int visit = 0; visit < visits; ++visit) {
        double* t = W[l].res.data();
        if (visit == 0) {
            forwardFromZero(L, b, e, t);
        } else {
            gaussSeidel(L, b, e, true);
            residualOf(L, b, e, t);
        }
        if (l == 0)
            for (int i = 0; i < L.n; ++i)
                t[i] *= L.inverseDiagonal[i];
        LevelWork& next = W[l + 1];
        const RowMatrix& P = L.interpolation;
        multiplyRows(static_cast<int>(next.rhs.size()), L.restriction, t, next.rhs.data());
        cycle(H, W, l + 1, next.rhs.data(), next.sol.data());
        for (int i = 0; i < L.n; ++i) {
            double s = 0.0;
            for (long long p = P.start[i]; p < P.start[i + 1]; ++p)
                s += P.value[p] * next.sol[P.col[p]];
            e[i] += s;
        }
        gaussSeidel(L, b, e, false);
    }
}

} // namespace

bool buildMultigrid(int n, const RowMatrix& A, MultigridHierarchy& hierarchy)
{
    hierarchy.levels.clear();
    hierarchy.levels.reserve(64);
    hierarchy.levels.emplace_back();
    hierarchy.levels[0].n = n;
    hierarchy.original = &A;
    MultigridLevel& top = hierarchy.levels[0];
    top.A = &A;
    if (!takeDiagonal(top))
        return false;
    // The top level's split copy is made on a second thread while the
    // levels below are built (the levels stay in place: room was reserved).
    std::thread topSplit;
    struct JoinAtEnd {
        std::thread& thread;
        ~JoinAtEnd()
        {
            if (thread.joinable())
                thread.join();
        }
    } joinTopSplit{topSplit};
    if (n >= splitRows)
        topSplit = std::thread([&top, &A, n] { splitAtDiagonal(n, A, top.offDiagonal, top.middle, top.smoothing); });
    else
        splitAtDiagonal(n, A, top.offDiagonal, top.middle, top.smoothing);
    BigArray<char> strong;
    BigArray<int> coarseIndex;
    while (hierarchy.levels.back().n > coarsestSize && hierarchy.levels.size() < 60) {
        MultigridLevel& fine = hierarchy.levels.back();
        markStrong(fine.n, *fine.A, strong);
        int coarse = splitCoarseFine(fine.n, *fine.A, strong, coarseIndex);
        if (coarse == 0 || coarse > 0.9 * fine.n)
            break;
        interpolation(fine.n, *fine.A, strong, coarseIndex, fine.interpolation);
        MultigridLevel next;
        next.n = coarse;
        transpose(fine.n, coarse, fine.interpolation, fine.restriction);
        const double* rowScale = hierarchy.levels.size() == 1 ? fine.inverseDiagonal.data() : nullptr;
        galerkin(fine.n, *fine.A, rowScale, fine.interpolation, fine.restriction, coarse, next.coarse);
        hierarchy.levels.push_back(std::move(next));
        MultigridLevel& added = hierarchy.levels.back();
        added.A = &added.coarse;
        if (!takeDiagonal(added))
            return false;
        // A coarse level above is done with: the smoother reads it split at
        // the diagonal, made in place.
        MultigridLevel& done = hierarchy.levels[hierarchy.levels.size() - 2];
        if (done.A == &done.coarse) {
            splitAtDiagonal(done.n, done.coarse, done.coarse, done.middle, done.smoothing);
            done.offDiagonal = std::move(done.coarse);
            done.A = nullptr;
        }
    }
    MultigridLevel& last = hierarchy.levels.back();
    last.interpolation = RowMatrix();
    if (last.n > coarsestLimit)
        return false;
    return factorDense(last);
}

bool solveByMultigrid(const MultigridHierarchy& hierarchy, const double* rhs, double* x, double relTolerance,
                      int* iterations, const Progress* progress)
{
    if (iterations)
        *iterations = 0;
    const MultigridLevel& top = hierarchy.levels[0];
    const int n = top.n;
    std::vector<LevelWork> W(hierarchy.levels.size());
    for (size_t l = 0; l < W.size(); ++l) {
        size_t size = hierarchy.levels[l].n;
        if (l > 0) {
            W[l].rhs.resize(size);
            W[l].sol.resize(size);
        }
        if (l + 1 < W.size())
            W[l].res.resize(size);
    }
    std::vector<BigArray<double>> Z(outerKept), Wv(outerKept);
    std::vector<double> rho(outerKept);
    BigArray<double> r(n), z(n), w(n);

    const RowMatrix& A = *hierarchy.original;
    auto residual = [&] {
        multiplyRows(n, A, x, r.data());
        for (int i = 0; i < n; ++i)
            r[i] = rhs[i] - r[i];
        return std::sqrt(dot(n, r.data(), r.data()));
    };
    const double target = relTolerance * std::sqrt(dot(n, rhs, rhs));
    double left = residual();
    double tenAgo = left;
    int kept = 0;
    // The way from the first residual down to the target, on a log scale.
    const double first = left;
    const double way = first > target && target > 0.0 ? std::log(first / target) : 0.0;
    double told = 0.0;
    for (int iteration = 0; iteration < outerLimit; ++iteration) {
        if (iterations)
            *iterations = iteration;
        if (progress && way > 0.0 && left > 0.0 && std::isfinite(left)) {
            told = std::max(told, std::log(first / left) / way);
            tellProgress(progress, told, "résolution");
        }
        if (!std::isfinite(left))
            return false;
        if (left <= target) {
            // The kept residual drifts from the true one: confirm before stopping.
            left = residual();
            if (left <= target)
                return true;
            kept = 0;
        }
        if (iteration % 10 == 9) {
            if (left > 0.9 * tenAgo)
                return false;
            tenAgo = left;
        }
        cycle(hierarchy, W, 0, r.data(), z.data());
        multiplyRows(n, A, z.data(), w.data());
        for (int k = 0; k < kept; ++k) {
            double beta = dot(n, w.data(), Wv[k].data()) / rho[k];
            for (int i = 0; i < n; ++i) {
                w[i] -= beta * Wv[k][i];
                z[i] -= beta * Z[k][i];
            }
        }
        double rhoNew = dot(n, w.data(), w.data());
        if (!(rhoNew > 0.0) || !std::isfinite(rhoNew))
            return false;
        double alpha = dot(n, w.data(), r.data()) / rhoNew;
        for (int i = 0; i < n; ++i) {
            x[i] += alpha * z[i];
            r[i] -= alpha * w[i];
        }
        left = std::sqrt(dot(n, r.data(), r.data()));
        if (kept == outerKept) {
            // Restart from the true residual.
            kept = 0;
            left = residual();
        } else {
            // The direction is kept; its buffers are taken over, fresh ones
            // (allocated once, on the first pass) take their place.
            Z[kept].swap(z);
            Wv[kept].swap(w);
            rho[kept] = rhoNew;
            ++kept;
            if (z.size() != static_cast<size_t>(n)) {
                z.resize(n);
                w.resize(n);
            }
        }
    }
    return false;
}
