// Multigrid-preconditioned solve: its first coarse matrix is the Galerkin
// product, it reaches the asked residual on a large
// non-symmetric M-matrix and on the mean-value system of a rough jittered
// height field and of a flat jittered grid with random diagonals, u and v
// solved side by side equal each solved alone, it
// refuses matrices it is not made for, and bad coefficients end in a
// reported failure.
#include "app/session.h"
#include "model/topology.h"
#include "param/amg_solve.h"
#include "param/big_array.h"
#include "param/parameter_solve.h"
#include "param/parameterize_internal.h"
#include "param/row_matrix.h"
#include "tests/param/param_meshes.h"
#include "tests/param/param_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>
#include <random>
#include <thread>

namespace {
// How the last solve went, as the solver reports it.
SolveReport lastSolve;

// Interior unknowns of a k × k triangulated grid; every row: its six
// neighbours with random weights (known border values moved to the right).
TripletSystem gridSystem(int k, unsigned seed, std::vector<double>& rhs)
{
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> weight(0.2, 3.0);
    auto id = [&](int i, int j) { return i < 0 || j < 0 || i >= k || j >= k ? -1 : i * k + j; };
    const int di[6] = {1, -1, 0, 0, 1, -1}, dj[6] = {0, 0, 1, -1, 1, -1};
    TripletSystem s;
    s.n = k * k;
    rhs.assign(s.n, 0.0);
    for (int i = 0; i < k; ++i)
        for (int j = 0; j < k; ++j) {
            double diagonal = 0.0;
            for (int q = 0; q < 6; ++q) {
                double w = weight(random);
                diagonal += w;
                int c = id(i + di[q], j + dj[q]);
                if (c < 0)
                    rhs[id(i, j)] += w * std::cos(0.1 * (i + di[q]) + 0.07 * (j + dj[q]));
                else
                    s.add(id(i, j), c, -w);
            }
            s.add(id(i, j), id(i, j), diagonal);
        }
    return s;
}

TEST(MultigridTest, ReachesTheResidualOnALargeMMatrix)
{
    std::vector<double> rhs;
    TripletSystem s = gridSystem(150, 3, rhs);
    RowMatrix A;
    buildRowMatrix(s.n, s.count(), s.rows.data(), s.cols.data(), s.values.data(), A);
    MultigridHierarchy h;
    ASSERT_TRUE(buildMultigrid(s.n, A, h));
    EXPECT_GT(h.levels.size(), 2u);

    // The first coarse matrix is R S A P entry by entry (its rows made by two
    // threads at this size), summed here term by term.
    const MultigridLevel& fine = h.levels[0];
    const MultigridLevel& coarse = h.levels[1];
    std::vector<std::map<int, double>> expected(coarse.n);
    for (int I = 0; I < coarse.n; ++I)
        for (long long r = fine.restriction.start[I]; r < fine.restriction.start[I + 1]; ++r) {
            const int i = fine.restriction.col[r];
            for (long long p = A.start[i]; p < A.start[i + 1]; ++p) {
                const int k = A.col[p];
                for (long long q = fine.interpolation.start[k]; q < fine.interpolation.start[k + 1]; ++q)
                    expected[I][fine.interpolation.col[q]] += fine.restriction.value[r] * fine.inverseDiagonal[i] *
                                                               A.value[p] * fine.interpolation.value[q];
            }
        }
    for (int I = 0; I < coarse.n; ++I) {
        const long long first = coarse.offDiagonal.start[I], last = coarse.offDiagonal.start[I + 1];
        ASSERT_EQ(static_cast<size_t>(last - first + 1), expected[I].size()) << "row " << I;
        EXPECT_NEAR(coarse.diagonal[I], expected[I][I], 1e-12) << "row " << I;
        // The entries off the diagonal are kept in single precision.
        for (long long p = first; p < last; ++p) {
            const double entry = expected[I][coarse.offDiagonal.col[p]];
            EXPECT_NEAR(coarse.smoothing[p], entry, 1e-7 * std::abs(entry)) << "row " << I;
        }
    }

    std::vector<double> rhs2 = randomVector(s.n, 4);
    std::vector<double> x(s.n, 0.0), y(s.n, 0.0);
    bool first = false, second = false;
    std::thread other([&] { second = solveByMultigrid(h, rhs2.data(), y.data(), 1e-10); });
    first = solveByMultigrid(h, rhs.data(), x.data(), 1e-10);
    other.join();
    ASSERT_TRUE(first);
    ASSERT_TRUE(second);
    auto norm = [](const std::vector<double>& v) {
        double t = 0.0;
        for (double e : v)
            t += e * e;
        return std::sqrt(t);
    };
    EXPECT_LE(residualNorm(s.n, A, x.data(), rhs.data()), 1e-10 * norm(rhs));
    EXPECT_LE(residualNorm(s.n, A, y.data(), rhs2.data()), 1e-10 * norm(rhs2));
}

TEST(MultigridTest, RefusesADiagonalThatIsNotPositive)
{
    std::vector<double> rhs;
    TripletSystem s = gridSystem(30, 5, rhs);
    for (int k = 0; k < s.count(); ++k)
        if (s.rows[k] == 17 && s.cols[k] == 17)
            s.values[k] = -s.values[k];
    RowMatrix A;
    buildRowMatrix(s.n, s.count(), s.rows.data(), s.cols.data(), s.values.data(), A);
    MultigridHierarchy h;
    EXPECT_FALSE(buildMultigrid(s.n, A, h));
}

// |rhs - A x| / |rhs| from the triplets, summed here without the solver's row copy.
double relativeResidual(const TripletMatrix& m, int n, const double* x, const double* rhs)
{
    std::vector<double> r(rhs, rhs + n);
    for (int k = 0; k < m.count; ++k)
        r[m.rows[k]] -= m.values[k] * x[m.cols[k]];
    double left = 0.0, right = 0.0;
    for (int i = 0; i < n; ++i) {
        left += r[i] * r[i];
        right += rhs[i] * rhs[i];
    }
    return std::sqrt(left / right);
}

// The parameterization's system of the mesh in the store (topology built,
// loop placed); the number of unknowns, or 0 when the assembly refuses.
int assembleCurrentMesh(TripletMatrix& m, BigArray<double>& rhsU, BigArray<double>& rhsV)
{
    buildTopology(currentModel);
    allocDoubleArray(currentModel.vertexU, currentModel.vertexCount);
    allocDoubleArray(currentModel.vertexV, currentModel.vertexCount);
    placeLoopOnCircle(currentModel);
    BigArray<int> unknownIndex;
    const int n = numberUnknowns(currentModel, unknownIndex);
    return assembleParameterSystem(currentModel, unknownIndex, n, m, rhsU, rhsV) ? n : 0;
}

// The mean-value system of a 150 × 150 grid with shifted inner vertices and
// heights of up to half a cell (about 22k unknowns): the preconditioned
// iteration reaches 1e-9 on the true residual of both systems, and the u and
// v solved side by side are, bit for bit, the u and v solved one at a time.
TEST(MultigridTest, SolvesAJitteredHeightFieldAndEachSystemAsAlone)
{
    resetAll();
    const int cells = 150;
    setJitteredGrid(cells, 0.35, 0.5 / cells, 21);
    TripletMatrix m;
    BigArray<double> rhsU, rhsV;
    const int n = assembleCurrentMesh(m, rhsU, rhsV);
    ASSERT_GT(n, 0);
    ASSERT_GT(n, gmresOnlyLimit);

    std::vector<double> xU(n), xV(n);
    ASSERT_TRUE(solveParameterSystems(m, n, rhsU.data(), rhsV.data(), xU.data(), xV.data(), &lastSolve));
    EXPECT_EQ(lastSolve.path, solvedByPreconditionedKrylov);
    EXPECT_LE(relativeResidual(m, n, xU.data(), rhsU.data()), 1e-9);
    EXPECT_LE(relativeResidual(m, n, xV.data(), rhsV.data()), 1e-9);

    RowMatrix A;
    buildRowMatrix(n, m.count, m.rows.data(), m.cols.data(), m.values.data(), A);
    MultigridHierarchy h;
    ASSERT_TRUE(buildMultigrid(n, A, h));
    std::vector<double> aloneU(n, 0.0), aloneV(n, 0.0);
    ASSERT_TRUE(solveByMultigrid(h, rhsU.data(), aloneU.data(), finishTolerance));
    ASSERT_TRUE(solveByMultigrid(h, rhsV.data(), aloneV.data(), finishTolerance));
    EXPECT_EQ(aloneU, xU);
    EXPECT_EQ(aloneV, xV);
    releaseTriplets(m);
    currentModel = Mesh();
}

// A flat grid of 220 × 220 cells, inner vertices shifted by up to 0.35 of a
// cell and each cell split along a diagonal chosen at random: corners of
// nearly 180 degrees give some rows weights thousands of times larger than
// others. The preconditioned iteration still reaches 1e-9 on the true
// residual of both systems, without the LU.
TEST(MultigridTest, SolvesAFlatJitteredGridWithRandomDiagonals)
{
    resetAll();
    const int cells = 220;
    std::mt19937 random(5);
    std::uniform_real_distribution<double> shift(-0.35 / cells, 0.35 / cells);
    std::bernoulli_distribution flip(0.5);
    Points v;
    for (int j = 0; j <= cells; ++j)
        for (int i = 0; i <= cells; ++i) {
            bool inner = i > 0 && j > 0 && i < cells && j < cells;
            double dx = inner ? shift(random) : 0.0, dy = inner ? shift(random) : 0.0;
            v.push_back({double(i) / cells + dx, double(j) / cells + dy, 0.0});
        }
    Triangles f;
    for (int j = 0; j < cells; ++j)
        for (int i = 0; i < cells; ++i) {
            int a = j * (cells + 1) + i, b = a + 1, c = a + cells + 1, d = c + 1;
            if (flip(random)) {
                f.push_back({a, b, d});
                f.push_back({a, d, c});
            } else {
                f.push_back({a, b, c});
                f.push_back({b, d, c});
            }
        }
    setMesh(v, f);
    TripletMatrix m;
    BigArray<double> rhsU, rhsV;
    const int n = assembleCurrentMesh(m, rhsU, rhsV);
    ASSERT_GT(n, 0);
    std::vector<double> xU(n), xV(n);
    ASSERT_TRUE(solveParameterSystems(m, n, rhsU.data(), rhsV.data(), xU.data(), xV.data(), &lastSolve));
    EXPECT_EQ(lastSolve.path, solvedByPreconditionedKrylov);
    EXPECT_LE(relativeResidual(m, n, xU.data(), rhsU.data()), 1e-9);
    EXPECT_LE(relativeResidual(m, n, xV.data(), rhsV.data()), 1e-9);
    releaseTriplets(m);
    currentModel = Mesh();
}

// A NaN or an infinite coefficient, on the diagonal or off it: the solve
// ends and reports the failure.
TEST(MultigridTest, BadCoefficientsAreReported)
{
    for (double bad : {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()})
        for (bool onDiagonal : {true, false}) {
            std::vector<double> rhs;
            TripletSystem s = gridSystem(40, 7, rhs);
            for (int k = 0; k < s.count(); ++k)
                if (s.rows[k] == 300 && (s.cols[k] == 300) == onDiagonal) {
                    s.values[k] = bad;
                    break;
                }
            TripletMatrix m;
            createTriplets(m, 8 * s.n);
            for (int k = 0; k < s.count(); ++k)
                addMatrixEntry(m, s.rows[k], s.cols[k], s.values[k]);
            std::vector<double> xU(s.n), xV(s.n);
            EXPECT_FALSE(solveParameterSystems(m, s.n, rhs.data(), rhs.data(), xU.data(), xV.data(), &lastSolve))
                << bad << " " << onDiagonal;
            EXPECT_EQ(lastSolve.path, solveFailed);
            releaseTriplets(m);
        }
}

// An entry naming an unknown outside the system: the solve is refused, not
// made on the rest of the matrix.
TEST(MultigridTest, AnEntryOutsideTheSystemIsRefused)
{
    std::vector<double> rhs;
    TripletSystem s = gridSystem(40, 7, rhs);
    TripletMatrix m;
    createTriplets(m, 8 * s.n);
    for (int k = 0; k < s.count(); ++k)
        addMatrixEntry(m, s.rows[k], s.cols[k], s.values[k]);
    addMatrixEntry(m, 300, s.n, -0.5);
    std::vector<double> xU(s.n), xV(s.n);
    EXPECT_FALSE(solveParameterSystems(m, s.n, rhs.data(), rhs.data(), xU.data(), xV.data(), &lastSolve));
    EXPECT_EQ(lastSolve.path, solveFailed);
    releaseTriplets(m);
}

} // namespace

// Within a reuse scope a freed big block serves the next request that fits
// (and only one that fits).
TEST(BigBlockTest, FreedBlocksServeLaterRequestsThatFit)
{
    const std::size_t mib = std::size_t{1} << 20;
    void* kept = nullptr;
    {
        BigBlockReuse scope;
        {
            BigArray<double> first(4 * mib / sizeof(double), 1.0);
            kept = first.data();
        }
        BigArray<double> tooBig(5 * mib / sizeof(double));
        EXPECT_NE(static_cast<void*>(tooBig.data()), kept);
        BigArray<double> fits(3 * mib / sizeof(double));
        EXPECT_EQ(static_cast<void*>(fits.data()), kept);
        EXPECT_EQ(fits.front(), 0.0); // a reused block is still initialised as asked
    }
}
