// Loop subdivision: the worked cases (one triangle, valences 6 and 3, the
// tetrahedron, boundary weights), what the step leaves in the store, and the
// refusals that keep the mesh as it was.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "app/main_window.h"
#include "app/model_commands.h"
#include "app/session.h"
#include "model/subdivision.h"
#include "model/topology.h"
#include "param/parameterize.h"
#include "tests/support/platform_script.h"
#include "render/view_state.h"
#include "tests/support/mesh_builder.h"

namespace {

class SubdivisionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetProgramState();
        scriptReset();
    }
    void TearDown() override { currentModel = Mesh(); }
};

void setTetrahedron()
{
    setMesh({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}}, {{0, 2, 1}, {0, 1, 3}, {1, 2, 3}, {0, 3, 2}});
}

void expectVertex(int v, double x, double y, double z)
{
    SCOPED_TRACE(v);
    EXPECT_EQ(currentModel.vertexX[v], x);
    EXPECT_EQ(currentModel.vertexY[v], y);
    EXPECT_EQ(currentModel.vertexZ[v], z);
}

void expectFace(int f, int a, int b, int c)
{
    SCOPED_TRACE(f);
    EXPECT_EQ(currentModel.faceA[f], a);
    EXPECT_EQ(currentModel.faceB[f], b);
    EXPECT_EQ(currentModel.faceC[f], c);
}

TEST_F(SubdivisionTest, OneTriangleGivesTheWorkedPositionsAndTriangles)
{
    setMesh({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{0, 1, 2}});
    buildTopology(currentModel);
    subdivideLoop();
    ASSERT_EQ(currentModel.vertexCount, 6);
    ASSERT_EQ(currentModel.faceCount, 4);
    // Boundary vertices: 3/4 of themselves, 1/8 of each other corner.
    expectVertex(0, 0.125, 0.125, 0);
    expectVertex(1, 0.75, 0.125, 0);
    expectVertex(2, 0.125, 0.75, 0);
    // Midpoints, made in the order B-C, C-A, A-B.
    expectVertex(3, 0.5, 0.5, 0);
    expectVertex(4, 0, 0.5, 0);
    expectVertex(5, 0.5, 0, 0);
    expectFace(0, 3, 4, 5);
    expectFace(1, 0, 5, 4);
    expectFace(2, 1, 3, 5);
    expectFace(3, 2, 4, 3);
    EXPECT_TRUE(scriptBoxes.empty());
}

TEST_F(SubdivisionTest, BetaAndOwnWeightForValencesSixAndThree)
{
    EXPECT_NEAR(loopBeta(6), 0.0625, 1e-15);
    EXPECT_NEAR(1 - 6 * loopBeta(6), 0.625, 1e-15);
    EXPECT_NEAR(loopBeta(3), 0.1875, 1e-15);
    EXPECT_NEAR(1 - 3 * loopBeta(3), 0.4375, 1e-15);

    // An inner vertex with six neighbours keeps 0.625 of itself and takes
    // 0.0625 of each neighbour.
    setMesh({{0, 0, 8}, {2, 0, 1}, {1, 2, 1}, {-1, 2, 1}, {-2, 0, 1}, {-1, -2, 1}, {1, -2, 1}},
            {{0, 1, 2}, {0, 2, 3}, {0, 3, 4}, {0, 4, 5}, {0, 5, 6}, {0, 6, 1}});
    subdivideLoop();
    EXPECT_NEAR(currentModel.vertexX[0], 0, 1e-15);
    EXPECT_NEAR(currentModel.vertexY[0], 0, 1e-15);
    EXPECT_NEAR(currentModel.vertexZ[0], 0.625 * 8 + 0.0625 * 6, 1e-14);

    // Every vertex of a tetrahedron has three neighbours.
    setTetrahedron();
    subdivideLoop();
    for (double c : {currentModel.vertexX[0], currentModel.vertexY[0], currentModel.vertexZ[0]})
        EXPECT_NEAR(c, 0.1875, 1e-15);
    EXPECT_NEAR(currentModel.vertexX[1], 0.4375 + 0.1875 * 0, 1e-15);
    EXPECT_NEAR(currentModel.vertexY[1], 0.1875, 1e-15);
}

TEST_F(SubdivisionTest, TetrahedronGrowsToTenThenThirtyFourVertices)
{
    setTetrahedron();
    buildTopology(currentModel);
    subdivideLoop();
    EXPECT_EQ(currentModel.vertexCount, 10);
    EXPECT_EQ(currentModel.faceCount, 16);
    EXPECT_EQ(currentModel.edgeCount, 24);
    subdivideLoop();
    EXPECT_EQ(currentModel.vertexCount, 34);
    EXPECT_EQ(currentModel.faceCount, 64);
    EXPECT_EQ(currentModel.edgeCount, 96);
    EXPECT_EQ(currentModel.boundaryEdgeCount, 0);
    EXPECT_EQ(currentModel.boundaryLoopLength, 0);
    // Closed and without (u,v): only the topology is renewed, silently.
    EXPECT_TRUE(currentModel.topologyBuilt);
    EXPECT_FALSE(currentModel.uvComputed);
    EXPECT_TRUE(scriptBoxes.empty());
}

TEST_F(SubdivisionTest, BoundaryVerticesAndEdgesIgnoreTheInside)
{
    // 3 x 3 vertices; only z varies so the weights can be read off.
    setGridMesh(2);
    const double z[9] = {16, 8, 24, 40, 1000, 56, 72, 88, 104};
    for (int v = 0; v < 9; ++v)
        currentModel.vertexZ[v] = z[v];
    subdivideLoop();
    // Vertex 1 on the lower border: 6/8 of itself, 1/8 of vertices 0 and 2.
    EXPECT_EQ(currentModel.vertexZ[1], (6 * 8 + 16 + 24) / 8.0);
    // Corner vertex 0 between border vertices 1 and 3.
    EXPECT_EQ(currentModel.vertexZ[0], (6 * 16 + 8 + 40) / 8.0);
    // Triangle 0 is (0, 1, 4): its sides B-C, C-A, A-B give vertices 9, 10, 11.
    // Side 4-0 is inside: 3/8 of its ends, 1/8 of the corners 1 and 3 opposite.
    EXPECT_EQ(currentModel.vertexZ[10], ((16 + 1000) * 3 + 8 + 40) / 8.0);
    // Side 0-1 is on the border: its midpoint.
    EXPECT_EQ(currentModel.vertexZ[11], (16 + 8) / 2.0);
    // The inner vertex 4 has six neighbours and takes them all.
    EXPECT_NEAR(currentModel.vertexZ[4], 0.625 * 1000 + 0.0625 * (16 + 8 + 40 + 56 + 88 + 104), 1e-12);
}

TEST_F(SubdivisionTest, StepKeepsFrameAndPathAndRebuildsTheTopology)
{
    setGridMesh(3);
    currentModel.modelPath = "/tmp/grid.off";
    buildTopology(currentModel);
    double center[3] = {currentModel.modelCenter[0], currentModel.modelCenter[1], currentModel.modelCenter[2]};
    double radius = currentModel.modelRadius;
    int F = currentModel.faceCount, V = currentModel.vertexCount, E = currentModel.edgeCount;
    interaction.closedWarned = true;
    subdivideLoop();
    EXPECT_EQ(currentModel.modelCenter[0], center[0]);
    EXPECT_EQ(currentModel.modelCenter[1], center[1]);
    EXPECT_EQ(currentModel.modelCenter[2], center[2]);
    EXPECT_EQ(currentModel.modelRadius, radius);
    EXPECT_EQ(currentModel.modelPath, "/tmp/grid.off");
    EXPECT_FALSE(interaction.closedWarned);
    EXPECT_EQ(currentModel.vertexCount, V + E);
    EXPECT_EQ(currentModel.faceCount, 4 * F);
    ASSERT_TRUE(currentModel.topologyBuilt);
    EXPECT_EQ(currentModel.edgeCount, 2 * E + 3 * F);
    EXPECT_EQ(currentModel.boundaryLoopLength, 24);

    // The table is the one a fresh build gives.
    std::vector<int> a(currentModel.edgeA.begin(), currentModel.edgeA.begin() + currentModel.edgeCount), b(currentModel.edgeB.begin(), currentModel.edgeB.begin() + currentModel.edgeCount);
    std::vector<int> f1(currentModel.edgeFace1.begin(), currentModel.edgeFace1.begin() + currentModel.edgeCount);
    std::vector<int> f2(currentModel.edgeFace2.begin(), currentModel.edgeFace2.begin() + currentModel.edgeCount);
    rebuildTopology(currentModel);
    EXPECT_EQ(a, std::vector<int>(currentModel.edgeA.begin(), currentModel.edgeA.begin() + currentModel.edgeCount));
    EXPECT_EQ(b, std::vector<int>(currentModel.edgeB.begin(), currentModel.edgeB.begin() + currentModel.edgeCount));
    EXPECT_EQ(f1, std::vector<int>(currentModel.edgeFace1.begin(), currentModel.edgeFace1.begin() + currentModel.edgeCount));
    EXPECT_EQ(f2, std::vector<int>(currentModel.edgeFace2.begin(), currentModel.edgeFace2.begin() + currentModel.edgeCount));
}

TEST_F(SubdivisionTest, ParameterizedMeshIsParameterizedAgain)
{
    setGridMesh(4);
    parameterize(currentModel);
    ASSERT_TRUE(currentModel.uvComputed);
    subdivideLoop();
    EXPECT_TRUE(currentModel.topologyBuilt);
    ASSERT_TRUE(currentModel.uvComputed);
    ASSERT_GE(currentModel.vertexU.size(), static_cast<size_t>(currentModel.vertexCount));
    ASSERT_GE(currentModel.vertexV.size(), static_cast<size_t>(currentModel.vertexCount));
    EXPECT_EQ(currentModel.vertexCount, 25 + 56);
    for (int v = 0; v < currentModel.vertexCount; ++v)
        EXPECT_LE(std::hypot(currentModel.vertexU[v], currentModel.vertexV[v]), 1 + 1e-12);
}

// Everything the store holds, to tell that a refused step changed nothing.
struct Held {
    int counts[5];
    bool flags[4];
    std::vector<double> x, y, z;
    std::vector<int> a, b, c, ea;
    static Held now()
    {
        return {{currentModel.vertexCount, currentModel.faceCount, currentModel.edgeCount, currentModel.boundaryEdgeCount, currentModel.boundaryLoopLength},
                {currentModel.modelLoaded, currentModel.topologyBuilt, currentModel.uvComputed, interaction.closedWarned},
                currentModel.vertexX,
                currentModel.vertexY,
                currentModel.vertexZ,
                currentModel.faceA,
                currentModel.faceB,
                currentModel.faceC,
                currentModel.edgeA};
    }
    bool operator==(const Held&) const = default;
};

TEST_F(SubdivisionTest, TooManyTrianglesAreRefusedAndTheMeshKept)
{
    setTetrahedron();
    buildTopology(currentModel);
    // A count whose four-fold no longer fits in an int (no arrays that long
    // are needed: the refusal comes before any of them is read).
    currentModel.faceCount = INT_MAX / 4 + 1;
    Held before = Held::now();
    subdivideLoop();
    ASSERT_EQ(scriptBoxes.size(), 1u);
    EXPECT_EQ(scriptBoxes[0].text, "ERREUR  !!!\n\nModèle trop grand pour être subdivisé");
    EXPECT_TRUE(Held::now() == before);
}

TEST_F(SubdivisionTest, FaceOutsideTheVerticesIsRefusedAndTheMeshKept)
{
    for (int bad : {4, -1}) {
        scriptReset();
        setTetrahedron();
        currentModel.faceC[3] = bad;
        Held before = Held::now();
        subdivideLoop();
        ASSERT_EQ(scriptBoxes.size(), 1u);
        EXPECT_EQ(scriptBoxes[0].text, "ERREUR  !!!\n\nModèle impossible");
        EXPECT_TRUE(Held::now() == before);
    }
    // Arrays shorter than their counts.
    scriptReset();
    setTetrahedron();
    currentModel.vertexCount = 5;
    Held before = Held::now();
    subdivideLoop();
    ASSERT_EQ(scriptBoxes.size(), 1u);
    EXPECT_EQ(scriptBoxes[0].text, "ERREUR  !!!\n\nModèle impossible");
    EXPECT_TRUE(Held::now() == before);
}

TEST_F(SubdivisionTest, NoModelNothingHappens)
{
    subdivideLoop();
    EXPECT_FALSE(currentModel.modelLoaded || currentModel.topologyBuilt);
    EXPECT_EQ(currentModel.vertexCount + currentModel.faceCount + currentModel.edgeCount, 0);
    EXPECT_TRUE(scriptBoxes.empty());
}

TEST_F(SubdivisionTest, MeshWhoseTrianglesWereAllCutAwayStaysEmpty)
{
    setTetrahedron();
    currentModel.faceCount = 0;
    subdivideLoop();
    EXPECT_EQ(currentModel.faceCount, 0);
    EXPECT_EQ(currentModel.vertexCount, 0);
    EXPECT_TRUE(currentModel.topologyBuilt);
    EXPECT_TRUE(scriptBoxes.empty());
}

} // namespace
