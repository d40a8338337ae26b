// Parameterization against plain computations: the fast assembly equals the
// literal one bit for bit, a GMRES-solved mesh equals the literal GMRES, a
// mesh that five restarts cannot solve gets the true solution (checked
// against an independent sparse LU), and flat meshes flatten without folds.
#include "app/session.h"
#include "model/topology.h"
#include "param/ijasolve.h"
#include "param/parameter_solve.h"
#include "param/parameterize.h"
#include "param/parameterize_internal.h"
#include "param/row_matrix.h"
#include "tests/param/assembly_oracle.h"
#include "tests/param/gmres_oracle.h"
#include "tests/param/param_meshes.h"
#include "tests/param/param_support.h"

#include <gtest/gtest.h>

#include <eigen3/Eigen/Sparse>
#include <eigen3/Eigen/SparseLU>

#include <algorithm>
#include <cmath>

namespace {
// How the last solve went, as the solver reports it.
SolveReport lastSolve;

class ParameterizeOracle : public ::testing::Test {
protected:
    void SetUp() override { resetAll(); }
    void TearDown() override { currentModel = Mesh(); }
};

// Topology built, loop placed: the state in which the system is assembled.
void prepareLoop()
{
    buildTopology(currentModel);
    allocDoubleArray(currentModel.vertexU, currentModel.vertexCount);
    allocDoubleArray(currentModel.vertexV, currentModel.vertexCount);
    placeLoopOnCircle(currentModel);
}

// Straight into rows: the row copy of the literal triplets, bit for bit.
void expectRowsOfLiteral(const PlainSystem& plain, const BigArray<int>& unknownIndex, BigArray<double>& rhsU,
                         BigArray<double>& rhsV, const char* name)
{
    RowMatrix expected, rows;
    buildRowMatrix(plain.n, static_cast<int>(plain.rows.size()), plain.rows.data(), plain.cols.data(),
                   plain.values.data(), expected);
    ASSERT_TRUE(assembleParameterRows(currentModel, unknownIndex, plain.n, rows, rhsU, rhsV)) << name;
    EXPECT_TRUE(rows.start == expected.start) << name;
    EXPECT_TRUE(rows.col == expected.col) << name;
    EXPECT_TRUE(rows.value == expected.value) << name;
}

void expectSameAssembly(const char* name)
{
    prepareLoop();
    PlainSystem plain = plainAssembly();
    BigArray<int> unknownIndex;
    int n = numberUnknowns(currentModel, unknownIndex);
    ASSERT_EQ(n, plain.n) << name;
    ASSERT_TRUE(std::equal(unknownIndex.begin(), unknownIndex.end(), plain.unknownIndex.begin())) << name;
    TripletMatrix m;
    BigArray<double> rhsU, rhsV;
    ASSERT_TRUE(assembleParameterSystem(currentModel, unknownIndex, n, m, rhsU, rhsV)) << name;
    ASSERT_EQ(m.count, static_cast<int>(plain.rows.size())) << name;
    EXPECT_EQ(m.capacity, 8 * n) << name;
    for (int k = 0; k < m.count; ++k) {
        ASSERT_EQ(m.rows[k], plain.rows[k]) << name << " entry " << k;
        ASSERT_EQ(m.cols[k], plain.cols[k]) << name << " entry " << k;
        ASSERT_EQ(m.values[k], plain.values[k]) << name << " entry " << k;
    }
    ASSERT_TRUE(std::equal(rhsU.begin(), rhsU.end(), plain.rhsU.begin())) << name;
    ASSERT_TRUE(std::equal(rhsV.begin(), rhsV.end(), plain.rhsV.begin())) << name;

    BigArray<double> rowsU, rowsV;
    expectRowsOfLiteral(plain, unknownIndex, rowsU, rowsV, name);
    EXPECT_TRUE(rowsU == rhsU && rowsV == rhsV) << name;
}

// Meshes with heights, shifted inner vertices, holes, a model not centred on
// the origin: the matrix entries (order included) and both right-hand sides
// are those of the literal assembly.
TEST_F(ParameterizeOracle, AssemblyMatchesTheLiteralOne)
{
    setJitteredGrid(9, 0.35, 0.3, 1);
    expectSameAssembly("jittered");
    resetAll();
    setJitteredGrid(12, 0.3, 0.5, 2, {14, 40, 41, 100});
    expectSameAssembly("holes");
    resetAll();
    setJitteredGrid(7, 0.2, 0.0, 3);
    for (double& x : currentModel.vertexX)
        x = 1000.0 + 37.0 * x;
    currentView.modelScale = 1.7;
    expectSameAssembly("moved and scaled");
    resetAll();
    setFanMesh(9);
    expectSameAssembly("fan");
}

// Two edges between the same vertices (an edge table listing one twice): both
// assemblies add the second into the first entry of the pair.
TEST_F(ParameterizeOracle, APairMetTwiceIsMergedInEdgeOrder)
{
    setJitteredGrid(6, 0.3, 0.2, 5);
    prepareLoop();
    int inner = -1;
    BigArray<int> unknownIndex;
    numberUnknowns(currentModel, unknownIndex);
    for (int e = currentModel.edgeCount - 1; e >= 0 && inner < 0; --e)
        if (unknownIndex[currentModel.edgeA[e]] >= 0 && unknownIndex[currentModel.edgeB[e]] >= 0)
            inner = e;
    ASSERT_GE(inner, 0);
    for (std::vector<int>* table : {&currentModel.edgeA, &currentModel.edgeB, &currentModel.edgeFace1, &currentModel.edgeFace2})
        table->insert(table->begin() + currentModel.edgeCount, (*table)[inner]);
    ++currentModel.edgeCount;
    BigArray<double> rhsU, rhsV;
    expectRowsOfLiteral(plainAssembly(), unknownIndex, rhsU, rhsV, "a pair met twice");
}

// A small mesh that GMRES solves alone: the result is GMRES's own, equal to
// the literal solver's on the literal system.
TEST_F(ParameterizeOracle, SmallMeshKeepsTheGmresResult)
{
    setJitteredGrid(5, 0.3, 0.2, 4);
    prepareLoop();
    PlainSystem plain = plainAssembly();
    std::vector<double> expectedU = currentModel.vertexU, expectedV = currentModel.vertexV;
    int MR = std::min(plain.n - 1, 25);
    for (int s = 0; s < 2; ++s) {
        std::vector<double> x(plain.n, 0.0);
        literalGmres(plain.n, static_cast<int>(plain.rows.size()), plain.rows.data(), plain.cols.data(),
                     plain.values.data(), x.data(), s == 0 ? plain.rhsU.data() : plain.rhsV.data(), 5, MR, 1e-9, 1e-9);
        for (int v = 0; v < currentModel.vertexCount; ++v)
            if (plain.unknownIndex[v] >= 0)
                (s == 0 ? expectedU : expectedV)[v] = x[plain.unknownIndex[v]];
    }
    currentModel.topologyBuilt = true;
    parameterize(currentModel, &lastSolve);
    ASSERT_TRUE(currentModel.uvComputed);
    EXPECT_EQ(lastSolve.path, solvedByGmres);
    EXPECT_EQ(currentModel.vertexU, expectedU);
    EXPECT_EQ(currentModel.vertexV, expectedV);
}

// 3600 unknowns: five restarts of 25 steps leave GMRES far from the solution.
// The parameterization still ends with the true solution of the system.
TEST_F(ParameterizeOracle, LargeMeshGetsTheTrueSolution)
{
    setJitteredGrid(61, 0.3, 0.0, 5);
    prepareLoop();
    PlainSystem plain = plainAssembly();
    const int n = plain.n;
    Eigen::SparseMatrix<double> A(n, n);
    std::vector<Eigen::Triplet<double>> entries;
    for (size_t k = 0; k < plain.rows.size(); ++k)
        entries.emplace_back(plain.rows[k], plain.cols[k], plain.values[k]);
    A.setFromTriplets(entries.begin(), entries.end());
    Eigen::SparseLU<Eigen::SparseMatrix<double>> lu;
    lu.compute(A);
    ASSERT_EQ(lu.info(), Eigen::Success);
    Eigen::VectorXd u = lu.solve(Eigen::Map<Eigen::VectorXd>(plain.rhsU.data(), n));
    Eigen::VectorXd v = lu.solve(Eigen::Map<Eigen::VectorXd>(plain.rhsV.data(), n));

    // What GMRES alone gives here.
    std::vector<double> gmresU(n, 0.0);
    literalGmres(n, static_cast<int>(plain.rows.size()), plain.rows.data(), plain.cols.data(), plain.values.data(),
                 gmresU.data(), plain.rhsU.data(), 5, 25, 1e-9, 1e-9);
    double gmresError = 0.0;
    for (int i = 0; i < n; ++i)
        gmresError = std::max(gmresError, std::fabs(gmresU[i] - u[i]));
    EXPECT_GT(gmresError, 1e-3);

    currentModel.topologyBuilt = true;
    parameterize(currentModel, &lastSolve);
    ASSERT_TRUE(currentModel.uvComputed);
    EXPECT_NE(lastSolve.path, solvedByGmres);
    EXPECT_NE(lastSolve.path, solveFailed);
    EXPECT_LE(lastSolve.relativeResidual[0], 1e-9);
    EXPECT_LE(lastSolve.relativeResidual[1], 1e-9);
    double error = 0.0;
    for (int vertex = 0; vertex < currentModel.vertexCount; ++vertex) {
        int i = plain.unknownIndex[vertex];
        if (i >= 0)
            error = std::max({error, std::fabs(currentModel.vertexU[vertex] - u[i]), std::fabs(currentModel.vertexV[vertex] - v[i])});
    }
    EXPECT_LT(error, 1e-8);
}

// A system that GMRES leaves short and multigrid does not take (diagonal
// entries of both signs): the sparse LU finishes it.
TEST_F(ParameterizeOracle, SparseLuFinishesWhatMultigridCannotTake)
{
    const int n = 3000;
    TripletSystem s = randomSystem(n, 6, 0.7, 99);
    TripletMatrix m;
    createTriplets(m, 8 * n);
    for (int k = 0; k < s.count(); ++k)
        addMatrixEntry(m, s.rows[k], s.cols[k], s.values[k]);
    std::vector<double> rhsU = randomVector(n, 100), rhsV = randomVector(n, 101), xU(n), xV(n);
    ASSERT_TRUE(solveParameterSystems(m, n, rhsU.data(), rhsV.data(), xU.data(), xV.data(), &lastSolve));
    EXPECT_EQ(lastSolve.path, solvedByFactorization);
    EXPECT_LE(lastSolve.relativeResidual[0], 1e-9);
    EXPECT_LE(lastSolve.relativeResidual[1], 1e-9);
    std::vector<double> ax(n);
    multiplyTriplets(n, s.count(), s.rows.data(), s.cols.data(), s.values.data(), xV.data(), ax.data());
    double left = 0.0, right = 0.0;
    for (int i = 0; i < n; ++i) {
        left += (rhsV[i] - ax[i]) * (rhsV[i] - ax[i]);
        right += rhsV[i] * rhsV[i];
    }
    EXPECT_LE(std::sqrt(left / right), 1e-9);
}

// Twice the signed area of the triangle in the (u,v) plane.
double uvArea(int f)
{
    int a = currentModel.faceA[f], b = currentModel.faceB[f], c = currentModel.faceC[f];
    return (currentModel.vertexU[b] - currentModel.vertexU[a]) * (currentModel.vertexV[c] - currentModel.vertexV[a]) - (currentModel.vertexU[c] - currentModel.vertexU[a]) * (currentModel.vertexV[b] - currentModel.vertexV[a]);
}

// Flat meshes with a convex outline flatten without folds: every inner vertex
// strictly inside the unit disc, every triangle with the orientation of the
// first, none flat.
TEST_F(ParameterizeOracle, FlatMeshesFlattenWithoutFolds)
{
    for (int n : {8, 40, 90}) {
        resetAll();
        setJitteredGrid(n, 0.4, 0.0, 10 + n);
        parameterize(currentModel, &lastSolve);
        ASSERT_TRUE(currentModel.uvComputed) << n;
        std::vector<bool> onLoop(currentModel.vertexCount, false);
        for (int h = 0; h < currentModel.boundaryLoopLength; ++h)
            onLoop[currentModel.edgeA[h]] = onLoop[currentModel.edgeB[h]] = true;
        for (int v = 0; v < currentModel.vertexCount; ++v) {
            if (!onLoop[v]) {
                ASSERT_LT(std::hypot(currentModel.vertexU[v], currentModel.vertexV[v]), 1.0) << n << " vertex " << v;
            }
        }
        double first = uvArea(0);
        for (int f = 0; f < currentModel.faceCount; ++f)
            ASSERT_GT(uvArea(f) * first, 0.0) << n << " face " << f;
    }
}

// A matrix that nothing can solve (a zero row): GMRES misses its bounds, the
// LU finds the matrix singular, and the failure is reported.
TEST_F(ParameterizeOracle, UnsolvableSystemIsReported)
{
    TripletMatrix m;
    createTriplets(m, 16);
    addMatrixEntry(m, 0, 0, 2.0);
    addMatrixEntry(m, 0, 1, -1.0);
    addMatrixEntry(m, 1, 0, 0.0);
    addMatrixEntry(m, 2, 2, 1.0);
    std::vector<double> rhsU = {1.0, 1.0, 1.0}, rhsV = {0.0, 1.0, 0.0}, xU(3), xV(3);
    EXPECT_FALSE(solveParameterSystems(m, 3, rhsU.data(), rhsV.data(), xU.data(), xV.data(), &lastSolve));
    EXPECT_EQ(lastSolve.path, solveFailed);
}

} // namespace
