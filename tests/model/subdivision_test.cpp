// Loop subdivision: the worked cases (one triangle, valences 6 and 3, the
// tetrahedron, boundary weights), what the step leaves in the store, and the
// refusals that keep the mesh as it was.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "app/main_window.h"
#include "app/model_commands.h"
#include "base/store.h"
#include "model/subdivision.h"
#include "model/topology.h"
#include "param/parameterize.h"
#include "platform/platform_script.h"
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
    void TearDown() override { releaseModel(); }
};

void setTetrahedron()
{
    setMesh({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}}, {{0, 2, 1}, {0, 1, 3}, {1, 2, 3}, {0, 3, 2}});
}

void expectVertex(int v, double x, double y, double z)
{
    SCOPED_TRACE(v);
    EXPECT_EQ(vertexX[v], x);
    EXPECT_EQ(vertexY[v], y);
    EXPECT_EQ(vertexZ[v], z);
}

void expectFace(int f, int a, int b, int c)
{
    SCOPED_TRACE(f);
    EXPECT_EQ(faceA[f], a);
    EXPECT_EQ(faceB[f], b);
    EXPECT_EQ(faceC[f], c);
}

TEST_F(SubdivisionTest, OneTriangleGivesTheWorkedPositionsAndTriangles)
{
    setMesh({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{0, 1, 2}});
    buildTopology();
    subdivideLoop();
    ASSERT_EQ(vertexCount, 6);
    ASSERT_EQ(faceCount, 4);
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
    EXPECT_NEAR(vertexX[0], 0, 1e-15);
    EXPECT_NEAR(vertexY[0], 0, 1e-15);
    EXPECT_NEAR(vertexZ[0], 0.625 * 8 + 0.0625 * 6, 1e-14);

    // Every vertex of a tetrahedron has three neighbours.
    setTetrahedron();
    subdivideLoop();
    for (double c : {vertexX[0], vertexY[0], vertexZ[0]})
        EXPECT_NEAR(c, 0.1875, 1e-15);
    EXPECT_NEAR(vertexX[1], 0.4375 + 0.1875 * 0, 1e-15);
    EXPECT_NEAR(vertexY[1], 0.1875, 1e-15);
}

TEST_F(SubdivisionTest, TetrahedronGrowsToTenThenThirtyFourVertices)
{
    setTetrahedron();
    buildTopology();
    subdivideLoop();
    EXPECT_EQ(vertexCount, 10);
    EXPECT_EQ(faceCount, 16);
    EXPECT_EQ(edgeCount, 24);
    subdivideLoop();
    EXPECT_EQ(vertexCount, 34);
    EXPECT_EQ(faceCount, 64);
    EXPECT_EQ(edgeCount, 96);
    EXPECT_EQ(boundaryEdgeCount, 0);
    EXPECT_EQ(boundaryLoopLength, 0);
    // Closed and without (u,v): only the topology is renewed, silently.
    EXPECT_TRUE(topologyBuilt);
    EXPECT_FALSE(uvComputed);
    EXPECT_TRUE(scriptBoxes.empty());
}

TEST_F(SubdivisionTest, BoundaryVerticesAndEdgesIgnoreTheInside)
{
    // 3 x 3 vertices; only z varies so the weights can be read off.
    setGridMesh(2);
    const double z[9] = {16, 8, 24, 40, 1000, 56, 72, 88, 104};
    for (int v = 0; v < 9; ++v)
        vertexZ[v] = z[v];
    subdivideLoop();
    // Vertex 1 on the lower border: 6/8 of itself, 1/8 of vertices 0 and 2.
    EXPECT_EQ(vertexZ[1], (6 * 8 + 16 + 24) / 8.0);
    // Corner vertex 0 between border vertices 1 and 3.
    EXPECT_EQ(vertexZ[0], (6 * 16 + 8 + 40) / 8.0);
    // Triangle 0 is (0, 1, 4): its sides B-C, C-A, A-B give vertices 9, 10, 11.
    // Side 4-0 is inside: 3/8 of its ends, 1/8 of the corners 1 and 3 opposite.
    EXPECT_EQ(vertexZ[10], ((16 + 1000) * 3 + 8 + 40) / 8.0);
    // Side 0-1 is on the border: its midpoint.
    EXPECT_EQ(vertexZ[11], (16 + 8) / 2.0);
    // The inner vertex 4 has six neighbours and takes them all.
    EXPECT_NEAR(vertexZ[4], 0.625 * 1000 + 0.0625 * (16 + 8 + 40 + 56 + 88 + 104), 1e-12);
}

TEST_F(SubdivisionTest, StepKeepsFrameAndPathAndRebuildsTheTopology)
{
    setGridMesh(3);
    modelPath = "/tmp/grid.off";
    buildTopology();
    double center[3] = {modelCenter[0], modelCenter[1], modelCenter[2]};
    double radius = modelRadius;
    int F = faceCount, V = vertexCount, E = edgeCount;
    closedWarned = true;
    subdivideLoop();
    EXPECT_EQ(modelCenter[0], center[0]);
    EXPECT_EQ(modelCenter[1], center[1]);
    EXPECT_EQ(modelCenter[2], center[2]);
    EXPECT_EQ(modelRadius, radius);
    EXPECT_EQ(modelPath, "/tmp/grid.off");
    EXPECT_FALSE(closedWarned);
    EXPECT_EQ(vertexCount, V + E);
    EXPECT_EQ(faceCount, 4 * F);
    ASSERT_TRUE(topologyBuilt);
    EXPECT_EQ(edgeCount, 2 * E + 3 * F);
    EXPECT_EQ(boundaryLoopLength, 24);

    // The table is the one a fresh build gives.
    std::vector<int> a(edgeA.begin(), edgeA.begin() + edgeCount), b(edgeB.begin(), edgeB.begin() + edgeCount);
    std::vector<int> f1(edgeFace1.begin(), edgeFace1.begin() + edgeCount);
    std::vector<int> f2(edgeFace2.begin(), edgeFace2.begin() + edgeCount);
    rebuildTopology();
    EXPECT_EQ(a, std::vector<int>(edgeA.begin(), edgeA.begin() + edgeCount));
    EXPECT_EQ(b, std::vector<int>(edgeB.begin(), edgeB.begin() + edgeCount));
    EXPECT_EQ(f1, std::vector<int>(edgeFace1.begin(), edgeFace1.begin() + edgeCount));
    EXPECT_EQ(f2, std::vector<int>(edgeFace2.begin(), edgeFace2.begin() + edgeCount));
}

TEST_F(SubdivisionTest, ParameterizedMeshIsParameterizedAgain)
{
    setGridMesh(4);
    parameterize();
    ASSERT_TRUE(uvComputed);
    subdivideLoop();
    EXPECT_TRUE(topologyBuilt);
    ASSERT_TRUE(uvComputed);
    ASSERT_GE(vertexU.size(), static_cast<size_t>(vertexCount));
    ASSERT_GE(vertexV.size(), static_cast<size_t>(vertexCount));
    EXPECT_EQ(vertexCount, 25 + 56);
    for (int v = 0; v < vertexCount; ++v)
        EXPECT_LE(std::hypot(vertexU[v], vertexV[v]), 1 + 1e-12);
}

// Everything the store holds, to tell that a refused step changed nothing.
struct Held {
    int counts[5];
    bool flags[4];
    std::vector<double> x, y, z;
    std::vector<int> a, b, c, ea;
    static Held now()
    {
        return {{vertexCount, faceCount, edgeCount, boundaryEdgeCount, boundaryLoopLength},
                {modelLoaded, topologyBuilt, uvComputed, closedWarned},
                vertexX,
                vertexY,
                vertexZ,
                faceA,
                faceB,
                faceC,
                edgeA};
    }
    bool operator==(const Held&) const = default;
};

TEST_F(SubdivisionTest, TooManyTrianglesAreRefusedAndTheMeshKept)
{
    setTetrahedron();
    buildTopology();
    // A count whose four-fold no longer fits in an int (no arrays that long
    // are needed: the refusal comes before any of them is read).
    faceCount = INT_MAX / 4 + 1;
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
        faceC[3] = bad;
        Held before = Held::now();
        subdivideLoop();
        ASSERT_EQ(scriptBoxes.size(), 1u);
        EXPECT_EQ(scriptBoxes[0].text, "ERREUR  !!!\n\nModèle impossible");
        EXPECT_TRUE(Held::now() == before);
    }
    // Arrays shorter than their counts.
    scriptReset();
    setTetrahedron();
    vertexCount = 5;
    Held before = Held::now();
    subdivideLoop();
    ASSERT_EQ(scriptBoxes.size(), 1u);
    EXPECT_EQ(scriptBoxes[0].text, "ERREUR  !!!\n\nModèle impossible");
    EXPECT_TRUE(Held::now() == before);
}

TEST_F(SubdivisionTest, NoModelNothingHappens)
{
    subdivideLoop();
    EXPECT_FALSE(modelLoaded || topologyBuilt);
    EXPECT_EQ(vertexCount + faceCount + edgeCount, 0);
    EXPECT_TRUE(scriptBoxes.empty());
}

TEST_F(SubdivisionTest, MeshWhoseTrianglesWereAllCutAwayStaysEmpty)
{
    setTetrahedron();
    faceCount = 0;
    subdivideLoop();
    EXPECT_EQ(faceCount, 0);
    EXPECT_EQ(vertexCount, 0);
    EXPECT_TRUE(topologyBuilt);
    EXPECT_TRUE(scriptBoxes.empty());
}

} // namespace
