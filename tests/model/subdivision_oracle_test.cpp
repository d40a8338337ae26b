// The fast subdivision step against the literal one, bit for bit: triangle
// soups (repeated corners, edges of three or more triangles, unused
// vertices), manifold meshes with holes in shuffled orders, vertices where
// several fans meet (four or more ring entries occurring once), a vertex of
// high valence, a parameterized mesh, and two steps in a row.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <cstring>
#include <numeric>
#include <random>

#include "app/main_window.h"
#include "app/model_commands.h"
#include "app/session.h"
#include "model/subdivision.h"
#include "model/topology.h"
#include "param/parameterize.h"
#include "tests/support/platform_script.h"
#include "render/view_state.h"
#include "tests/support/mesh_builder.h"
#include "tests/support/subdivision_oracle.h"

namespace {

using Points = std::vector<std::array<double, 3>>;
using Triangles = std::vector<std::array<int, 3>>;

// Triangles from which the refinements compared here use a second thread.
int stepThreadFaceCount = subdivisionThreadFaceCount;

struct Surface {
    Points points;
    Triangles triangles;
};

// The whole store, doubles as their bits.
struct Image {
    std::vector<long long> counts;
    std::vector<bool> flags;
    std::vector<std::uint64_t> coordinates;
    std::vector<int> faces, edges;
    std::vector<std::uint64_t> parameters, frame;
};

std::uint64_t bits(double d)
{
    std::uint64_t b;
    std::memcpy(&b, &d, sizeof b);
    return b;
}

Image capture()
{
    Image image;
    image.counts = {currentModel.vertexCount, currentModel.faceCount, currentModel.edgeCount, currentModel.boundaryEdgeCount, currentModel.boundaryLoopLength};
    image.flags = {currentModel.modelLoaded, currentModel.topologyBuilt, currentModel.uvComputed, interaction.closedWarned};
    for (int v = 0; v < currentModel.vertexCount; ++v)
        for (double c : {currentModel.vertexX[v], currentModel.vertexY[v], currentModel.vertexZ[v]})
            image.coordinates.push_back(bits(c));
    for (int f = 0; f < currentModel.faceCount; ++f)
        image.faces.insert(image.faces.end(), {currentModel.faceA[f], currentModel.faceB[f], currentModel.faceC[f]});
    if (currentModel.topologyBuilt)
        for (int e = 0; e < currentModel.edgeCount; ++e)
            image.edges.insert(image.edges.end(), {currentModel.edgeA[e], currentModel.edgeB[e], currentModel.edgeFace1[e], currentModel.edgeFace2[e]});
    if (currentModel.uvComputed)
        for (int v = 0; v < currentModel.vertexCount; ++v)
            image.parameters.insert(image.parameters.end(), {bits(currentModel.vertexU[v]), bits(currentModel.vertexV[v])});
    image.frame = {bits(currentModel.modelCenter[0]), bits(currentModel.modelCenter[1]), bits(currentModel.modelCenter[2]), bits(currentModel.modelRadius)};
    return image;
}

template <typename T> void expectSameList(const std::vector<T>& fast, const std::vector<T>& literal, const char* what)
{
    ASSERT_EQ(fast.size(), literal.size()) << what;
    auto [f, l] = std::mismatch(fast.begin(), fast.end(), literal.begin());
    EXPECT_TRUE(f == fast.end()) << what << " differ first at entry " << (f - fast.begin());
}

void expectSameImage(const Image& fast, const Image& literal)
{
    expectSameList(fast.counts, literal.counts, "counts");
    expectSameList(fast.flags, literal.flags, "flags");
    expectSameList(fast.coordinates, literal.coordinates, "coordinates");
    expectSameList(fast.faces, literal.faces, "faces");
    expectSameList(fast.edges, literal.edges, "edges");
    expectSameList(fast.parameters, literal.parameters, "(u,v)");
    expectSameList(fast.frame, literal.frame, "centre and radius");
}

enum class Start { bare, topology, parameterized };

void load(const Surface& mesh, Start start)
{
    setMesh(mesh.points, mesh.triangles);
    if (start == Start::topology)
        buildTopology(currentModel);
    if (start == Start::parameterized)
        parameterize(currentModel);
}

// Runs `steps` steps both ways from the same mesh and compares the stores
// after every step. Whole steps (with the topology) need a mesh the topology
// builder accepts; refinements alone take any triangles.
void compareStepsOnce(const Surface& mesh, Start start, int steps, bool whole)
{
    std::vector<Image> literal;
    size_t before = scriptBoxes.size();
    load(mesh, start);
    for (int s = 0; s < steps; ++s) {
        if (whole)
            subdivideLoopLiteral();
        else
            refineLoopLiteral();
        literal.push_back(capture());
    }
    size_t literalBoxes = scriptBoxes.size() - before;
    load(mesh, start);
    for (int s = 0; s < steps; ++s) {
        SCOPED_TRACE(testing::Message() << "step " << s + 1);
        if (whole)
            subdivideLoop();
        else
            ASSERT_EQ(refineLoopStep(currentModel, stepThreadFaceCount), outcomeOk);
        expectSameImage(capture(), literal[static_cast<size_t>(s)]);
    }
    EXPECT_EQ(scriptBoxes.size() - before, 2 * literalBoxes);
}

// The same, once on one thread and once with every step split between two.
void compareSteps(const Surface& mesh, Start start, int steps, bool whole)
{
    for (int threadFrom : {INT_MAX, 0}) {
        SCOPED_TRACE(threadFrom ? "one thread" : "two threads");
        stepThreadFaceCount = threadFrom;
        compareStepsOnce(mesh, start, steps, whole);
    }
    stepThreadFaceCount = subdivisionThreadFaceCount;
}

double randomCoordinate(std::mt19937& rng)
{
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    std::uniform_int_distribution<int> scale(-6, 6);
    return std::ldexp(unit(rng), scale(rng));
}

Points randomPoints(std::mt19937& rng, int n)
{
    Points points(static_cast<size_t>(n));
    for (auto& p : points)
        p = {randomCoordinate(rng), randomCoordinate(rng), randomCoordinate(rng)};
    return points;
}

// Any triangles at all over a few vertices.
Surface triangleSoup(std::mt19937& rng)
{
    int V = std::uniform_int_distribution<int>(1, 30)(rng);
    int F = std::uniform_int_distribution<int>(1, 70)(rng);
    std::uniform_int_distribution<int> corner(0, V - 1);
    Surface mesh{randomPoints(rng, V), {}};
    for (int t = 0; t < F; ++t)
        mesh.triangles.push_back({corner(rng), corner(rng), corner(rng)});
    return mesh;
}

// A bumpy grid with some triangles taken out, its vertices renumbered, its
// triangles shuffled and each started at a random corner.
Surface holedGrid(std::mt19937& rng, int n, double holes)
{
    Surface mesh;
    std::vector<int> order((n + 1) * (n + 1));
    std::iota(order.begin(), order.end(), 0);
    std::shuffle(order.begin(), order.end(), rng);
    mesh.points.resize(order.size());
    for (int j = 0; j <= n; ++j)
        for (int i = 0; i <= n; ++i)
            mesh.points[static_cast<size_t>(order[static_cast<size_t>(j * (n + 1) + i)])] = {
                i + randomCoordinate(rng) / 8, j + randomCoordinate(rng) / 8, randomCoordinate(rng)};
    std::bernoulli_distribution drop(holes);
    for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i) {
            int a = order[static_cast<size_t>(j * (n + 1) + i)], b = order[static_cast<size_t>(j * (n + 1) + i + 1)];
            int c = order[static_cast<size_t>((j + 1) * (n + 1) + i)];
            int d = order[static_cast<size_t>((j + 1) * (n + 1) + i + 1)];
            if (!drop(rng))
                mesh.triangles.push_back({a, b, d});
            if (!drop(rng))
                mesh.triangles.push_back({a, d, c});
        }
    if (mesh.triangles.empty())
        mesh.triangles.push_back({order[0], order[1], order[static_cast<size_t>(n + 2)]});
    std::shuffle(mesh.triangles.begin(), mesh.triangles.end(), rng);
    for (auto& t : mesh.triangles)
        std::rotate(t.begin(), t.begin() + std::uniform_int_distribution<int>(0, 2)(rng), t.end());
    return mesh;
}

// Fans around vertex 0 that meet only there: each open fan adds two ring
// entries occurring once; a closed fan adds none.
Surface fansAtOneVertex(std::mt19937& rng, const std::vector<int>& fanSizes, const std::vector<bool>& closed)
{
    Surface mesh;
    int next = 1;
    for (size_t k = 0; k < fanSizes.size(); ++k) {
        int first = next, size = fanSizes[k];
        int rim = closed[k] ? size : size + 1;
        next += rim;
        for (int i = 0; i < size; ++i)
            mesh.triangles.push_back({0, first + i, first + (i + 1) % rim});
    }
    mesh.points = randomPoints(rng, next);
    std::shuffle(mesh.triangles.begin(), mesh.triangles.end(), rng);
    return mesh;
}

class SubdivisionOracleTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetProgramState();
        scriptReset();
    }
    void TearDown() override { currentModel = Mesh(); }
};

TEST_F(SubdivisionOracleTest, TriangleSoupsTwoStepsInARow)
{
    std::mt19937 rng(6061);
    for (int round = 0; round < 300; ++round) {
        SCOPED_TRACE(round);
        compareSteps(triangleSoup(rng), Start::bare, 2, false);
        if (HasFailure())
            return;
    }
}

TEST_F(SubdivisionOracleTest, MeshesWithHolesAndPinchedVertices)
{
    std::mt19937 rng(1105);
    for (int round = 0; round < 40; ++round) {
        SCOPED_TRACE(round);
        int n = std::uniform_int_distribution<int>(1, 12)(rng);
        double holes = std::uniform_real_distribution<double>(0.0, 0.5)(rng);
        compareSteps(holedGrid(rng, n, holes), Start::topology, round % 4 == 0 ? 2 : 1, true);
        if (HasFailure())
            return;
    }
}

TEST_F(SubdivisionOracleTest, VerticesWhereSeveralFansMeet)
{
    std::mt19937 rng(77);
    // Two and three open fans (four and six entries once), an open fan
    // beside a closed one (two entries once although the vertex is pinched),
    // and a closed fan of high valence beside an open one.
    const std::vector<std::pair<std::vector<int>, std::vector<bool>>> cases = {
        {{2, 2}, {false, false}},         {{3, 1, 4}, {false, false, false}}, {{5, 3}, {true, false}},
        {{40, 2}, {true, false}},         {{1, 1, 1, 1}, {false, false, false, false}},
    };
    for (const auto& [sizes, closed] : cases) {
        Surface mesh = fansAtOneVertex(rng, sizes, closed);
        compareSteps(mesh, Start::topology, 2, true);

        // The centre by hand: the boundary rule only with exactly one open
        // fan, Loop's rule over all its triangles otherwise.
        const Points& p = mesh.points;
        int n = static_cast<int>(mesh.triangles.size());
        int open = static_cast<int>(std::count(closed.begin(), closed.end(), false));
        double expected[3];
        for (int k = 0; k < 3; ++k) {
            if (open == 1) {
                // (In these cases the open fan comes second.)
                int first = 1 + sizes[0];
                int last = first + sizes[1];
                expected[k] = (6 * p[0][k] + p[static_cast<size_t>(first)][k] + p[static_cast<size_t>(last)][k]) / 8;
            } else {
                double sum = 0;
                for (const auto& t : mesh.triangles)
                    sum += p[static_cast<size_t>(t[1])][k] + p[static_cast<size_t>(t[2])][k];
                expected[k] = loopBeta(n) * sum / 2 + (1 - n * loopBeta(n)) * p[0][k];
            }
        }
        load(mesh, Start::topology);
        subdivideLoop();
        EXPECT_NEAR(currentModel.vertexX[0], expected[0], 1e-12);
        EXPECT_NEAR(currentModel.vertexY[0], expected[1], 1e-12);
        EXPECT_NEAR(currentModel.vertexZ[0], expected[2], 1e-12);
    }
}

TEST_F(SubdivisionOracleTest, HighValenceCone)
{
    std::mt19937 rng(12);
    for (int rim : {17, 60, 300}) {
        Surface cone{randomPoints(rng, rim + 2), {}};
        for (int i = 0; i < rim; ++i) {
            cone.triangles.push_back({0, 2 + i, 2 + (i + 1) % rim});
            if (i % 3 != 0)
                cone.triangles.push_back({1, 2 + (i + 1) % rim, 2 + i});
        }
        compareSteps(cone, Start::topology, 1, true);
        compareSteps(cone, Start::bare, 1, false);
    }
}

TEST_F(SubdivisionOracleTest, EdgeCountThatDoesNotMatchTheTriangles)
{
    // The step takes the built topology's edge count as a hint only.
    std::mt19937 rng(31);
    for (int wrong : {-40, -1, 1, 1000}) {
        SCOPED_TRACE(wrong);
        Surface mesh = holedGrid(rng, 7, 0.2);
        auto start = [&] {
            load(mesh, Start::topology);
            currentModel.edgeCount = std::max(0, currentModel.edgeCount + wrong);
        };
        start();
        refineLoopLiteral();
        Image literal = capture();
        start();
        EXPECT_EQ(refineLoopStep(currentModel, 0), outcomeOk);
        expectSameImage(capture(), literal);
    }
}

TEST_F(SubdivisionOracleTest, ParameterizedMeshTwoSteps)
{
    std::mt19937 rng(5);
    Surface grid = holedGrid(rng, 6, 0.0);
    compareSteps(grid, Start::parameterized, 2, true);
    EXPECT_TRUE(currentModel.uvComputed);
}

} // namespace
