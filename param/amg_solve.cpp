// Aggregation multigrid for the finish of the parameterization systems.
#include "param/amg_solve.h"

#include <algorithm>
#include <cmath>

namespace {

// The coarsest level is solved densely at or below this size.
constexpr int coarsestSize = 400;
// A coarsest level above this size (coarsening stalled) is refused.
constexpr int coarsestLimit = 3000;
// A neighbour is strongly coupled when its coupling is at least this share of the row's strongest.
constexpr double strongShare = 0.75;
// Outer iterations kept before a restart (each keeps two vectors of the
// system's size), and at most in all.
constexpr int outerKept = 6;
constexpr int outerLimit = 300;

double dot(int n, const double* a, const double* b)
{
    double s = 0.0;
    for (int i = 0; i < n; ++i)
        s += a[i] * b[i];
    return s;
}

// One pairwise pass: every unknown joins, in order, its most strongly coupled
// unpaired neighbour. One left without a partner then joins the group of its
// most strongly coupled neighbour (so that coarsening keeps its pace), or
// stays alone when it has none. Returns the number of groups.
int pairUp(int n, const RowMatrix& A, BigArray<int>& map)
{
    const int pending = -2;
    map.assign(n, -1);
    int coarse = 0;
    for (int i = 0; i < n; ++i) {
        if (map[i] != -1)
            continue;
        double strongest = 0.0;
        for (long long p = A.start[i]; p < A.start[i + 1]; ++p)
            if (A.col[p] != i)
                strongest = std::max(strongest, -A.value[p]);
        int best = -1;
        double bestCoupling = 0.0;
        for (long long p = A.start[i]; p < A.start[i + 1]; ++p) {
            int j = A.col[p];
            double coupling = -A.value[p];
            if (j != i && map[j] == -1 && coupling > 0.0 && coupling >= strongShare * strongest &&
                coupling > bestCoupling) {
                best = j;
                bestCoupling = coupling;
            }
        }
        if (best >= 0) {
            map[i] = map[best] = coarse++;
        } else {
            map[i] = pending;
        }
    }
    for (int i = 0; i < n; ++i) {
        if (map[i] != pending)
            continue;
        int best = -1;
        double bestCoupling = 0.0;
        for (long long p = A.start[i]; p < A.start[i + 1]; ++p) {
            int j = A.col[p];
            double coupling = -A.value[p];
            if (j != i && map[j] >= 0 && coupling > bestCoupling) {
                best = j;
                bestCoupling = coupling;
            }
        }
        map[i] = best >= 0 ? map[best] : coarse++;
    }
    return coarse;
}

// C = Pᵀ A P for the aggregation map g: C(I, J) sums A(i, j) over g(i) = I, g(j) = J.
void galerkin(int n, const RowMatrix& A, const BigArray<int>& g, int coarse, RowMatrix& C)
{
    BigArray<int> first(static_cast<size_t>(coarse) + 1, 0), member(n);
    for (int i = 0; i < n; ++i)
        ++first[g[i] + 1];
    for (int I = 0; I < coarse; ++I)
        first[I + 1] += first[I];
    {
        BigArray<int> next(first.begin(), first.end() - 1);
        for (int i = 0; i < n; ++i)
            member[next[g[i]]++] = i;
    }
    BigArray<long long> where(coarse, -1);
    C.start.assign(static_cast<size_t>(coarse) + 1, 0);
    for (int I = 0; I < coarse; ++I) {
        long long entries = 0;
        for (int m = first[I]; m < first[I + 1]; ++m) {
            int i = member[m];
            for (long long p = A.start[i]; p < A.start[i + 1]; ++p) {
                int J = g[A.col[p]];
                if (where[J] != I) {
                    where[J] = I;
                    ++entries;
                }
            }
        }
        C.start[I + 1] = C.start[I] + entries;
    }
    C.col.resize(static_cast<size_t>(C.start[coarse]));
    C.value.resize(static_cast<size_t>(C.start[coarse]));
    std::fill(where.begin(), where.end(), -1);
    for (int I = 0; I < coarse; ++I) {
        long long end = C.start[I];
        for (int m = first[I]; m < first[I + 1]; ++m) {
            int i = member[m];
            for (long long p = A.start[i]; p < A.start[i + 1]; ++p) {
                int J = g[A.col[p]];
                if (where[J] < C.start[I]) {
                    where[J] = end;
                    C.col[end] = J;
                    C.value[end] = 0.0;
                    ++end;
                }
                C.value[where[J]] += A.value[p];
            }
        }
    }
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

// Buffers of one solve on one level.
struct LevelWork {
    BigArray<double> rhs, sol, scratch, res, z1, z2, w1, w2;
};

void gaussSeidel(const MultigridLevel& L, const double* b, double* x, bool forward)
{
    const RowMatrix& A = *L.A;
    for (int k = 0; k < L.n; ++k) {
        int i = forward ? k : L.n - 1 - k;
        double s = 0.0;
        for (long long p = A.start[i]; p < A.start[i + 1]; ++p)
            s += A.value[p] * x[A.col[p]];
        x[i] += (b[i] - s) / L.diagonal[i];
    }
}

void residualOf(const MultigridLevel& L, const double* b, const double* x, double* r)
{
    multiplyRows(L.n, *L.A, x, r);
    for (int i = 0; i < L.n; ++i)
        r[i] = b[i] - r[i];
}

void coarseKrylov(const MultigridHierarchy& H, std::vector<LevelWork>& W, int l);

// e ≈ A_l⁻¹ r: smoothing, coarse correction, smoothing.
void cycle(const MultigridHierarchy& H, std::vector<LevelWork>& W, int l, const double* r, double* e)
{
    const MultigridLevel& L = H.levels[l];
    int last = static_cast<int>(H.levels.size()) - 1;
    if (l == last) {
        solveDense(L, r, e);
        return;
    }
    std::fill(e, e + L.n, 0.0);
    gaussSeidel(L, r, e, true);
    double* t = W[l].scratch.data();
    residualOf(L, r, e, t);
    LevelWork& next = W[l + 1];
    std::fill(next.rhs.begin(), next.rhs.end(), 0.0);
    for (int i = 0; i < L.n; ++i)
        next.rhs[L.aggregate[i]] += t[i];
    if (l + 1 == last)
        solveDense(H.levels[l + 1], next.rhs.data(), next.sol.data());
    else
        coarseKrylov(H, W, l + 1);
    for (int i = 0; i < L.n; ++i)
        e[i] += next.sol[L.aggregate[i]];
    gaussSeidel(L, r, e, false);
}

// sol ≈ A_l⁻¹ rhs on level l by two steps of GCR preconditioned by the cycle
// (the second only when the first did not reduce the residual enough).
void coarseKrylov(const MultigridHierarchy& H, std::vector<LevelWork>& W, int l)
{
    const MultigridLevel& L = H.levels[l];
    LevelWork& w = W[l];
    int n = L.n;
    std::copy(w.rhs.begin(), w.rhs.end(), w.res.begin());
    std::fill(w.sol.begin(), w.sol.end(), 0.0);
    double start = std::sqrt(dot(n, w.res.data(), w.res.data()));
    if (start == 0.0)
        return;
    cycle(H, W, l, w.res.data(), w.z1.data());
    multiplyRows(n, *L.A, w.z1.data(), w.w1.data());
    double rho1 = dot(n, w.w1.data(), w.w1.data());
    if (!(rho1 > 0.0))
        return;
    double alpha1 = dot(n, w.w1.data(), w.res.data()) / rho1;
    for (int i = 0; i < n; ++i) {
        w.sol[i] = alpha1 * w.z1[i];
        w.res[i] -= alpha1 * w.w1[i];
    }
    if (std::sqrt(dot(n, w.res.data(), w.res.data())) <= 0.25 * start)
        return;
    cycle(H, W, l, w.res.data(), w.z2.data());
    multiplyRows(n, *L.A, w.z2.data(), w.w2.data());
    double gamma = dot(n, w.w2.data(), w.w1.data()) / rho1;
    for (int i = 0; i < n; ++i) {
        w.w2[i] -= gamma * w.w1[i];
        w.z2[i] -= gamma * w.z1[i];
    }
    double rho2 = dot(n, w.w2.data(), w.w2.data());
    if (!(rho2 > 0.0))
        return;
    double alpha2 = dot(n, w.w2.data(), w.res.data()) / rho2;
    for (int i = 0; i < n; ++i)
        w.sol[i] += alpha2 * w.z2[i];
}

} // namespace

bool buildMultigrid(int n, const RowMatrix& A, MultigridHierarchy& hierarchy)
{
    hierarchy.levels.clear();
    hierarchy.levels.reserve(64);
    hierarchy.levels.emplace_back();
    hierarchy.levels[0].n = n;
    hierarchy.levels[0].A = &A;
    if (!takeDiagonal(hierarchy.levels[0]))
        return false;
    while (hierarchy.levels.back().n > coarsestSize) {
        MultigridLevel& fine = hierarchy.levels.back();
        // Two pairwise passes: aggregates of up to four unknowns.
        BigArray<int> first, second;
        int pairs = pairUp(fine.n, *fine.A, first);
        RowMatrix halfway;
        galerkin(fine.n, *fine.A, first, pairs, halfway);
        int coarse = pairUp(pairs, halfway, second);
        if (coarse > 0.8 * fine.n)
            break;
        fine.aggregate.resize(fine.n);
        for (int i = 0; i < fine.n; ++i)
            fine.aggregate[i] = second[first[i]];
        MultigridLevel next;
        next.n = coarse;
        galerkin(pairs, halfway, second, coarse, next.coarse);
        hierarchy.levels.push_back(std::move(next));
        MultigridLevel& added = hierarchy.levels.back();
        added.A = &added.coarse;
        if (!takeDiagonal(added))
            return false;
    }
    MultigridLevel& last = hierarchy.levels.back();
    if (last.n > coarsestLimit)
        return false;
    return factorDense(last);
}

bool solveByMultigrid(const MultigridHierarchy& hierarchy, const double* rhs, double* x, double relTolerance,
                      int* iterations)
{
    const MultigridLevel& top = hierarchy.levels[0];
    const int n = top.n;
    std::vector<LevelWork> W(hierarchy.levels.size());
    for (size_t l = 0; l < W.size(); ++l) {
        size_t size = hierarchy.levels[l].n;
        for (BigArray<double>* v : {&W[l].rhs, &W[l].sol, &W[l].scratch, &W[l].res, &W[l].z1, &W[l].z2, &W[l].w1,
                                    &W[l].w2})
            v->assign(l == 0 && v != &W[l].scratch ? 0 : size, 0.0);
    }
    std::vector<BigArray<double>> Z(outerKept, BigArray<double>(n)), Wv(outerKept, BigArray<double>(n));
    std::vector<double> rho(outerKept);
    BigArray<double> r(n), z(n), w(n);

    const double target = relTolerance * std::sqrt(dot(n, rhs, rhs));
    residualOf(top, rhs, x, r.data());
    double left = std::sqrt(dot(n, r.data(), r.data()));
    double tenAgo = left;
    int kept = 0;
    for (int iteration = 0; iteration < outerLimit; ++iteration) {
        if (iterations)
            *iterations = iteration;
        if (!std::isfinite(left))
            return false;
        if (left <= target) {
            // The kept residual drifts from the true one: confirm before stopping.
            residualOf(top, rhs, x, r.data());
            left = std::sqrt(dot(n, r.data(), r.data()));
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
        multiplyRows(n, *top.A, z.data(), w.data());
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
            residualOf(top, rhs, x, r.data());
            left = std::sqrt(dot(n, r.data(), r.data()));
        } else {
            Z[kept].swap(z);
            Wv[kept].swap(w);
            rho[kept] = rhoNew;
            ++kept;
            if (z.size() != static_cast<size_t>(n)) {
                z.assign(n, 0.0);
                w.assign(n, 0.0);
            }
        }
    }
    return false;
}
