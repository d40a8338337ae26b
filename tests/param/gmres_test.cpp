// Restarted GMRES: known solutions, its stopping rule, its open cases, and
// bit-for-bit agreement with the plain step-by-step solver.
#include "param/gmres.h"
#include "param/ijasolve.h"
#include "tests/param/gmres_oracle.h"
#include "tests/param/param_support.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

class GmresTest : public ::testing::Test {
protected:
    void SetUp() override { resetAll(); }
};

std::vector<double> product(const TripletSystem& s, const std::vector<double>& x)
{
    std::vector<double> y(s.n);
    multiplyTriplets(s.n, s.count(), s.rows.data(), s.cols.data(), s.values.data(), x.data(), y.data());
    return y;
}

double residual(const TripletSystem& s, const std::vector<double>& x, const std::vector<double>& b)
{
    std::vector<double> ax = product(s, x);
    double sum = 0.0;
    for (int i = 0; i < s.n; ++i)
        sum += (b[i] - ax[i]) * (b[i] - ax[i]);
    return std::sqrt(sum);
}

std::vector<double> solve(const TripletSystem& s, const std::vector<double>& b, std::vector<double> x, int restarts,
                          int MR, double absTolerance = 1e-9, double relTolerance = 1e-9)
{
    MGMRES_ST(s.n, s.count(), s.rows.data(), s.cols.data(), s.values.data(), x.data(), b.data(), restarts, MR,
              absTolerance, relTolerance);
    return x;
}

std::vector<double> solveLiterally(const TripletSystem& s, const std::vector<double>& b, std::vector<double> x,
                                   int restarts, int MR, double absTolerance = 1e-9, double relTolerance = 1e-9)
{
    literalGmres(s.n, s.count(), s.rows.data(), s.cols.data(), s.values.data(), x.data(), b.data(), restarts, MR,
                 absTolerance, relTolerance);
    return x;
}

// The 2 × 2 system of the smallest call (MR = 1): each restart is one
// minimal-residual step; five of them reduce the residual but do not solve it.
TEST_F(GmresTest, TwoUnknownsWithOneStepPerRestart)
{
    TripletSystem s;
    s.n = 2;
    s.add(0, 0, 4.0);
    s.add(0, 1, -1.0);
    s.add(1, 0, -2.0);
    s.add(1, 1, 3.0);
    std::vector<double> b = product(s, {1.0, 0.0});
    std::vector<double> x = solve(s, b, {0.0, 0.0}, 5, 1);
    EXPECT_EQ(x, solveLiterally(s, b, {0.0, 0.0}, 5, 1));
    double left = residual(s, x, b);
    EXPECT_LT(left, 1e-2 * residual(s, {0.0, 0.0}, b));
    EXPECT_GT(left, 1e-9);
    // Each restart adds one update: one restart fewer leaves a larger residual.
    EXPECT_GT(residual(s, solve(s, b, {0.0, 0.0}, 4, 1), b), left);

    // A multiple of the identity: the first step exhausts the Krylov space.
    TripletSystem d;
    d.n = 2;
    d.add(0, 0, 3.0);
    d.add(1, 1, 3.0);
    std::vector<double> y = solve(d, {3.0, -6.0}, {0.0, 0.0}, 5, 1);
    EXPECT_NEAR(y[0], 1.0, 1e-15);
    EXPECT_NEAR(y[1], -2.0, 1e-15);
}

// Three distinct eigenvalues: three Krylov steps reach the solution, both
// bounds hold and the solve stops at the end of that first restart.
TEST_F(GmresTest, ExactlySolvableSystemStopsAfterItsRestart)
{
    TripletSystem s;
    s.n = 4;
    s.add(0, 0, 1.0);
    s.add(0, 3, 0.5);
    s.add(1, 1, 2.0);
    s.add(2, 2, 3.0);
    s.add(3, 3, 3.0);
    std::vector<double> b = {1.0, -1.0, 2.0, 0.5};
    std::vector<double> once = solve(s, b, {0, 0, 0, 0}, 1, 3);
    EXPECT_LE(residual(s, once, b), 1e-12);
    EXPECT_EQ(solve(s, b, {0, 0, 0, 0}, 5, 3), once);
    EXPECT_EQ(solveLiterally(s, b, {0, 0, 0, 0}, 5, 3), once);
}

// Unmet bounds: the solver returns silently with the x of its last update,
// the same as the plain solver's, and that x is a better one than the start.
TEST_F(GmresTest, ReturnsTheLastUpdateWhenTheBoundsAreNotMet)
{
    TripletSystem s = randomSystem(300, 6, 0.6, 7);
    std::vector<double> b = randomVector(300, 8);
    std::vector<double> x = solve(s, b, std::vector<double>(300, 0.0), 2, 10);
    EXPECT_EQ(x, solveLiterally(s, b, std::vector<double>(300, 0.0), 2, 10));
    double left = residual(s, x, b);
    EXPECT_GT(left, 1e-9);
    EXPECT_LT(left, residual(s, std::vector<double>(300, 0.0), b));
}

// Random systems of many shapes, starting guesses and tolerances (some stop
// inside a restart): the fast solver gives the plain solver's x bit for bit.
TEST_F(GmresTest, MatchesThePlainSolverBitForBit)
{
    unsigned seed = 1;
    for (int n : {2, 3, 7, 26, 60, 400})
        for (int MR : {1, 5, 25})
            for (double dominance : {0.3, 1.5}) {
                if (MR > n)
                    continue;
                TripletSystem s = randomSystem(n, 5, dominance, ++seed);
                std::vector<double> b = randomVector(n, ++seed);
                std::vector<double> start = seed % 2 ? std::vector<double>(n, 0.0) : randomVector(n, ++seed);
                for (double tolerance : {1e-9, 1e-3}) {
                    std::vector<double> fast = solve(s, b, start, 5, MR, tolerance, tolerance);
                    std::vector<double> plain = solveLiterally(s, b, start, 5, MR, tolerance, tolerance);
                    ASSERT_EQ(fast, plain) << "n " << n << " MR " << MR << " dominance " << dominance;
                }
            }
}

// A matrix next to the identity: the new Krylov vector almost vanishes in the
// projections, which calls for the second Gram-Schmidt sweep.
TEST_F(GmresTest, CancellationSweepMatchesThePlainSolver)
{
    TripletSystem s;
    s.n = 50;
    std::vector<double> e = randomVector(50, 3);
    for (int i = 0; i < 50; ++i) {
        s.add(i, i, 1.0 + 1e-14 * e[i]);
        s.add(i, (i + 1) % 50, 1e-15 * e[(i + 7) % 50]);
    }
    std::vector<double> b = randomVector(50, 4);
    std::vector<double> fast = solve(s, b, std::vector<double>(50, 0.0), 5, 25);
    EXPECT_EQ(fast, solveLiterally(s, b, std::vector<double>(50, 0.0), 5, 25));
    EXPECT_LE(residual(s, fast, b), 1e-12);
}

// The open cases: no steps or restarts asked, a zero starting residual and a
// zero rotation length all leave x as it is, without a single NaN.
TEST_F(GmresTest, DegenerateArgumentsLeaveTheGuessAlone)
{
    TripletSystem s = randomSystem(5, 2, 2.0, 11);
    std::vector<double> b = randomVector(5, 12), start = randomVector(5, 13);
    EXPECT_EQ(solve(s, b, start, 5, 0), start);
    EXPECT_EQ(solve(s, b, start, 0, 3), start);
    EXPECT_EQ(solve(s, std::vector<double>(5, 0.0), std::vector<double>(5, 0.0), 5, 3), std::vector<double>(5, 0.0));
    // The solution itself as the guess: the residual is exactly zero.
    TripletSystem d;
    d.n = 3;
    for (int i = 0; i < 3; ++i)
        d.add(i, i, 2.0);
    EXPECT_EQ(solve(d, {2.0, 4.0, 6.0}, {1.0, 2.0, 3.0}, 5, 2), (std::vector<double>{1.0, 2.0, 3.0}));

    // The zero matrix: the first column cannot be rotated.
    TripletSystem z;
    z.n = 3;
    for (int i = 0; i < 3; ++i)
        z.add(i, i, 0.0);
    std::vector<double> x = solve(z, {1.0, 1.0, 1.0}, {0.5, 0.5, 0.5}, 5, 2);
    EXPECT_EQ(x, (std::vector<double>{0.5, 0.5, 0.5}));
    EXPECT_EQ(solveLiterally(z, {1.0, 1.0, 1.0}, {0.5, 0.5, 0.5}, 5, 2), x);
}

TEST_F(GmresTest, FewerUnknownsThanStepsAreRefused)
{
    TripletSystem s = randomSystem(3, 1, 2.0, 5);
    std::vector<double> b(3, 1.0), x(3, 0.0);
    EXPECT_EQ(MGMRES_ST(3, s.count(), s.rows.data(), s.cols.data(), s.values.data(), x.data(), b.data(), 5, 4, 1e-9,
                        1e-9),
              outcomeGmresSize);
    EXPECT_EQ(x, std::vector<double>(3, 0.0));
}

TEST_F(GmresTest, DotProductAndRotation)
{
    double a[3] = {1e16, 1.0, -1e16}, b[3] = {1.0, 1.0, 1.0};
    // Summed in order from 0.0: the 1 is lost against 1e16.
    EXPECT_EQ(dotProduct(3, a, b), 0.0);
    double w[3] = {9.0, 3.0, 4.0};
    applyGivens(0.6, -0.8, 1, w);
    EXPECT_DOUBLE_EQ(w[1], 0.6 * 3.0 + 0.8 * 4.0);
    EXPECT_DOUBLE_EQ(w[2], -0.8 * 3.0 + 0.6 * 4.0);
    EXPECT_EQ(w[0], 9.0);
}

} // namespace
