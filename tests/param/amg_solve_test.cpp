// Aggregation multigrid: it reaches the asked residual on a large
// non-symmetric M-matrix (the kind of matrix the parameterization builds),
// shares one hierarchy between two solves, and refuses matrices it is not made for.
#include "param/amg_solve.h"
#include "param/row_matrix.h"
#include "tests/param/param_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <thread>

namespace {

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

} // namespace
