// The split-edge table: registration order, lookups at any valence, and the
// refusals that keep every access inside the table.
#include <gtest/gtest.h>

#include "app/main_window.h"
#include "app/session.h"
#include "model/subdivision_internal.h"
#include "tests/support/platform_script.h"
#include "render/view_state.h"
#include "tests/support/mesh_builder.h"

namespace {

class SplitEdgeTableTest : public ::testing::Test {
protected:
    LoopStepWork work;
protected:
    void SetUp() override
    {
        resetProgramState();
        scriptReset();
    }
    void TearDown() override
    {
        releaseSplitEdgeTable(work);
        currentModel = Mesh();
    }
};

TEST_F(SplitEdgeTableTest, EntriesStandInOrderOfFirstRegistration)
{
    setMesh({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}}, {{0, 1, 2}, {2, 1, 3}});
    ASSERT_TRUE(prepareSplitEdgeTable(currentModel, work));
    const int sides[6][2] = {{0, 1}, {1, 2}, {2, 0}, {2, 1}, {1, 3}, {3, 2}};
    const int expected[6] = {0, 1, 2, 1, 3, 4};
    for (int s = 0; s < 6; ++s)
        EXPECT_EQ(registerSplitEdge(work, sides[s][0], sides[s][1]), expected[s]) << s;
    ASSERT_EQ(work.splitEdgeCount, 5);
    EXPECT_EQ(std::vector<int>(work.splitEdgeLow.begin(), work.splitEdgeLow.begin() + 5), (std::vector<int>{0, 1, 0, 1, 2}));
    EXPECT_EQ(std::vector<int>(work.splitEdgeHigh.begin(), work.splitEdgeHigh.begin() + 5), (std::vector<int>{1, 2, 2, 3, 3}));
    for (int e = 0; e < 5; ++e)
        EXPECT_EQ(work.splitEdgeVertex[e], -1);
    EXPECT_EQ(findSplitEdge(work, 3, 1), 3);
    EXPECT_EQ(findSplitEdge(work, 2, 0), 2);
    EXPECT_TRUE(scriptBoxes.empty());
}

TEST_F(SplitEdgeTableTest, EveryEdgeOfAHighValenceFanIsFound)
{
    // Vertex 0 is the smaller end of 301 edges.
    const int rim = 300;
    std::vector<std::array<double, 3>> points(rim + 2, {0, 0, 0});
    std::vector<std::array<int, 3>> fan;
    for (int i = 1; i <= rim; ++i)
        fan.push_back({0, i, i + 1});
    setMesh(points, fan);
    ASSERT_TRUE(prepareSplitEdgeTable(currentModel, work));
    for (const auto& t : fan) {
        registerSplitEdge(work, t[0], t[1]);
        registerSplitEdge(work, t[1], t[2]);
        registerSplitEdge(work, t[2], t[0]);
    }
    ASSERT_EQ(work.splitEdgeCount, 2 * rim + 1);
    // Triangle i registers 0-i (new for the first only), i-(i+1), then 0-(i+1).
    EXPECT_EQ(findSplitEdge(work, 0, 1), 0);
    EXPECT_EQ(findSplitEdge(work, 1, 2), 1);
    EXPECT_EQ(findSplitEdge(work, 2, 0), 2);
    for (int i = 2; i <= rim; ++i) {
        EXPECT_EQ(findSplitEdge(work, i + 1, i), 2 * i - 1);
        EXPECT_EQ(findSplitEdge(work, 0, i + 1), 2 * i);
    }
    EXPECT_TRUE(scriptBoxes.empty());
}

TEST_F(SplitEdgeTableTest, MissingPairsAreReportedAndStayInsideTheTable)
{
    setMesh({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}}, {{0, 1, 2}, {2, 1, 3}});
    ASSERT_TRUE(prepareSplitEdgeTable(currentModel, work));
    for (auto [p, q] : {std::pair{0, 1}, {1, 2}, {2, 0}, {1, 3}, {3, 2}})
        registerSplitEdge(work, p, q);
    // Not an edge, and vertices that do not exist: entry 0, and the miss noted.
    for (auto [p, q] : {std::pair{0, 3}, {-5, 1}, {2, 99}}) {
        work.splitEdgeMissing = false;
        EXPECT_EQ(findSplitEdge(work, p, q), 0);
        EXPECT_TRUE(work.splitEdgeMissing);
    }
    // A pair for which the triangles left no room is not stored.
    EXPECT_EQ(registerSplitEdge(work, 0, 3), -1);
    EXPECT_EQ(registerSplitEdge(work, 7, 1), -1);
    EXPECT_EQ(work.splitEdgeCount, 5);
    // No entry to make a vertex from, or no room to store it.
    int before = currentModel.vertexCount;
    EXPECT_EQ(makeEdgeVertex(currentModel, work, -1), -1);
    EXPECT_EQ(makeEdgeVertex(currentModel, work, 5), -1);
    EXPECT_EQ(makeEdgeVertex(currentModel, work, 0), -1);
    EXPECT_EQ(currentModel.vertexCount, before);
    EXPECT_EQ(work.splitEdgeVertex[0], -1);

    // An empty table has no entry 0 to fall back on.
    releaseSplitEdgeTable(work);
    work.splitEdgeMissing = false;
    EXPECT_EQ(findSplitEdge(work, 0, 1), -1);
    EXPECT_TRUE(work.splitEdgeMissing);
}

TEST_F(SplitEdgeTableTest, FacesOutsideTheVerticesGiveNoTable)
{
    setMesh({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{0, 1, 2}, {2, 1, 3}});
    EXPECT_FALSE(prepareSplitEdgeTable(currentModel, work));
    EXPECT_EQ(work.splitEdgeCount, 0);
    EXPECT_EQ(registerSplitEdge(work, 0, 1), -1);
}

} // namespace
