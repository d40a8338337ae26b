// Conjugate-gradient least-squares solver: a non-symmetric system, the two
// fatal stops, the undoing of a step that made the residual grow, and the
// triplet products.
#include "param/ijasolve.h"
#include "tests/param/param_support.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

class IjasolveTest : public ::testing::Test {
protected:
    void SetUp() override { resetAll(); }
};

double squaredResidual(const TripletSystem& s, const std::vector<double>& x, const std::vector<double>& b)
{
    std::vector<double> ax(s.n);
    multiplyTriplets(s.n, s.count(), s.rows.data(), s.cols.data(), s.values.data(), x.data(), ax.data());
    double sum = 0.0;
    for (int i = 0; i < s.n; ++i)
        sum += (ax[i] - b[i]) * (ax[i] - b[i]);
    return sum;
}

TEST_F(IjasolveTest, SolvesASmallNonSymmetricSystem)
{
    TripletSystem s;
    s.n = 3;
    s.add(0, 0, 4.0);
    s.add(0, 1, 1.0);
    s.add(1, 0, -2.0);
    s.add(1, 1, 5.0);
    s.add(1, 2, 1.0);
    s.add(2, 1, 3.0);
    s.add(2, 2, 6.0);
    std::vector<double> b = {6.0, 11.0, 24.0}; // x = (1, 2, 3)
    std::vector<double> x(3, 0.0);
    double reported = -1.0;
    ijasolve(3, s.count(), s.rows.data(), s.cols.data(), s.values.data(), b.data(), x.data(), reported);
    EXPECT_NEAR(x[0], 1.0, 1e-9);
    EXPECT_NEAR(x[1], 2.0, 1e-9);
    EXPECT_NEAR(x[2], 3.0, 1e-9);
    // The convergence bound: |A x - b|² <= n 1e-12 |b|².
    EXPECT_LE(reported, 3 * 1e-12 * (36.0 + 121.0 + 576.0));
    EXPECT_EQ(reported, squaredResidual(s, x, b));
}

// A starting residual of exactly zero: the first search direction is zero.
TEST_F(IjasolveTest, ZeroStartingResidualIsAVerySingularMatrix)
{
    TripletSystem s;
    s.n = 2;
    s.add(0, 0, 1.0);
    s.add(1, 1, 1.0);
    std::vector<double> b(2, 0.0), x(2, 0.0);
    double r = 0.0;
    EXPECT_EQ(ijasolve(2, s.count(), s.rows.data(), s.cols.data(), s.values.data(), b.data(), x.data(), r),
              outcomeVerySingular);
}

// A system without exact solution (its last row repeats the first): once the
// least-squares floor is reached, rounding makes some step raise the residual.
// Such a step is undone and the next pass begins; in the third pass the
// previous iterate is handed back, so the squared residual reported (that of
// the undone step) exceeds that of the x returned.
TEST_F(IjasolveTest, AStepThatRaisesTheResidualIsUndone)
{
    const int n = 8;
    TripletSystem s;
    s.n = n;
    std::vector<double> v = randomVector(n * n, 16);
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j)
            s.add(i, j, v[(i == n - 1 ? 0 : i) * n + j]);
    std::vector<double> b = randomVector(n, 1016), x(n, 0.0);
    double reported = 0.0;
    ijasolve(n, s.count(), s.rows.data(), s.cols.data(), s.values.data(), b.data(), x.data(), reported);
    double actual = squaredResidual(s, x, b);
    EXPECT_GT(reported, actual);
    // The floor: rows 0 and n-1 cannot both be met; the rest can.
    EXPECT_NEAR(actual, (b[0] - b[n - 1]) * (b[0] - b[n - 1]) / 2.0, 1e-9);
}

TEST_F(IjasolveTest, TripletProductsFollowTheEntryOrder)
{
    TripletSystem s;
    s.n = 3;
    s.add(0, 2, 2.0);
    s.add(2, 0, -1.0);
    s.add(1, 1, 3.0);
    s.add(0, 0, 1.0);
    std::vector<double> x = {1.0, 2.0, 3.0}, y(3, 99.0), t(3, 99.0);
    multiplyTriplets(3, s.count(), s.rows.data(), s.cols.data(), s.values.data(), x.data(), y.data());
    EXPECT_EQ(y, (std::vector<double>{7.0, 6.0, -1.0}));
    multiplyTripletsTransposed(3, s.count(), s.rows.data(), s.cols.data(), s.values.data(), x.data(), t.data());
    EXPECT_EQ(t, (std::vector<double>{-2.0, 6.0, 2.0}));
}

} // namespace
