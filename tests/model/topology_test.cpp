// The topology builder: exact edge table order, boundary counts, the longest
// loop in walking order, unused vertices dropped, and every refusal.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/messages.h"
#include "app/session.h"
#include "model/topology.h"
#include "tests/support/mesh_builder.h"
#include "tests/support/platform_script.h"
#include "model/topology_internal.h"
#include "tests/model/topology_meshes.h"
#include "tests/support/topology_oracle.h"

namespace {

class TopologyTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        currentModel = Mesh();
        scriptReset();
    }
};

// The build must be refused with the text, leaving no table behind.
#define EXPECT_BUILD_REFUSED(text)                                                                                     \
    do {                                                                                                               \
        EXPECT_STREQ(outcomeText(buildTopology(currentModel)), text);                                                              \
        EXPECT_FALSE(currentModel.topologyBuilt);                                                                                   \
        EXPECT_EQ(currentModel.edgeCount, 0);                                                                                       \
    } while (false)

std::vector<int> prefix(const std::vector<int>& array, int n) { return {array.begin(), array.begin() + n}; }

TEST_F(TopologyTest, SingleTriangleIsOneLoopOfThree)
{
    loadMesh({3, {{0, 1, 2}}});
    buildTopology(currentModel);
    EXPECT_TRUE(currentModel.topologyBuilt);
    EXPECT_EQ(currentModel.edgeCount, 3);
    EXPECT_EQ(currentModel.boundaryEdgeCount, 3);
    EXPECT_EQ(currentModel.boundaryLoopLength, 3);
    EXPECT_EQ(prefix(currentModel.edgeA, 3), (std::vector<int>{0, 1, 0}));
    EXPECT_EQ(prefix(currentModel.edgeB, 3), (std::vector<int>{1, 2, 2}));
    EXPECT_EQ(prefix(currentModel.edgeFace1, 3), (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(prefix(currentModel.edgeFace2, 3), (std::vector<int>{-1, -1, -1}));
}

TEST_F(TopologyTest, TwoTrianglesGiveTheExactTableAndLoopWalk)
{
    loadMesh({4, {{0, 1, 2}, {2, 1, 3}}});
    buildTopology(currentModel);
    ASSERT_EQ(currentModel.edgeCount, 5);
    EXPECT_EQ(currentModel.boundaryEdgeCount, 4);
    EXPECT_EQ(currentModel.boundaryLoopLength, 4);
    EXPECT_EQ(prefix(currentModel.edgeA, 5), (std::vector<int>{0, 1, 2, 0, 1}));
    EXPECT_EQ(prefix(currentModel.edgeB, 5), (std::vector<int>{1, 3, 3, 2, 2}));
    EXPECT_EQ(prefix(currentModel.edgeFace1, 5), (std::vector<int>{0, 1, 1, 0, 0}));
    EXPECT_EQ(prefix(currentModel.edgeFace2, 5), (std::vector<int>{-1, -1, -1, -1, 1}));
    EXPECT_EQ(loopWalk(), (std::vector<int>{0, 1, 3, 2, 0}));
}

TEST_F(TopologyTest, ClosedTetrahedronHasNoBoundary)
{
    loadMesh({4, {{0, 1, 2}, {0, 3, 1}, {1, 3, 2}, {2, 3, 0}}});
    buildTopology(currentModel);
    EXPECT_EQ(currentModel.edgeCount, 6);
    EXPECT_EQ(currentModel.boundaryEdgeCount, 0);
    EXPECT_EQ(currentModel.boundaryLoopLength, 0);
    for (int e = 0; e < 6; ++e) {
        EXPECT_LT(currentModel.edgeA[e], currentModel.edgeB[e]);
        EXPECT_GE(currentModel.edgeFace2[e], 0);
        EXPECT_GT(currentModel.edgeFace2[e], currentModel.edgeFace1[e]);
    }
}

// The edge set of the boundary loop through a given boundary side, found
// independently of the builder by following boundary sides around.
std::set<std::pair<int, int>> loopThrough(const TestMesh& mesh, std::pair<int, int> side)
{
    std::map<std::pair<int, int>, int> uses;
    for (const auto& f : mesh.faces)
        for (int k = 0; k < 3; ++k)
            ++uses[std::minmax(f[k], f[(k + 1) % 3])];
    std::set<std::pair<int, int>> loop{side};
    int start = side.first, at = side.second;
    while (at != start)
        for (const auto& [e, n] : uses)
            if (n == 1 && !loop.count(e) && (e.first == at || e.second == at)) {
                loop.insert(e);
                at = e.first == at ? e.second : e.first;
                break;
            }
    return loop;
}

std::set<std::pair<int, int>> tableLoop()
{
    std::set<std::pair<int, int>> loop;
    for (int e = 0; e < currentModel.boundaryLoopLength; ++e)
        loop.insert({currentModel.edgeA[e], currentModel.edgeB[e]});
    return loop;
}

TEST_F(TopologyTest, LongestHoleComesFirstInWalkingOrder)
{
    // Outer rim of 8 and hole of 5, then the other way round.
    for (auto [outer, inner] : {std::pair{8, 5}, std::pair{5, 8}}) {
        const TestMesh ring = annulusMesh(outer, inner);
        loadMesh(ring);
        buildTopology(currentModel);
        EXPECT_EQ(currentModel.boundaryEdgeCount, 13);
        EXPECT_EQ(currentModel.boundaryLoopLength, 8);
        const std::vector<int> walk = loopWalk();
        ASSERT_EQ(walk.size(), 9u);
        EXPECT_EQ(walk.front(), walk.back());
        // The loop is the 8-vertex polygon, each vertex met once.
        const int first = outer == 8 ? 0 : 5;
        std::set<int> met(walk.begin(), walk.end() - 1);
        EXPECT_EQ(met.size(), 8u);
        EXPECT_EQ(*met.begin(), first);
        EXPECT_EQ(*met.rbegin(), first + 7);
        // The other boundary edges follow, then the interior ones.
        for (int e = 8; e < 13; ++e)
            EXPECT_EQ(currentModel.edgeFace2[e], -1);
        for (int e = 13; e < currentModel.edgeCount; ++e)
            EXPECT_GE(currentModel.edgeFace2[e], 0);
    }
}

TEST_F(TopologyTest, OfEqualHolesTheOneWithTheEarliestBoundaryEdgeComesFirst)
{
    // Two holes of 6: which one comes first depends only on which has the
    // boundary side met first, triangle by triangle, sides A-B, B-C, C-A.
    for (bool innerFirst : {false, true}) {
        TestMesh ring = annulusMesh(6, 6);
        if (innerFirst)
            std::reverse(ring.faces.begin(), ring.faces.end());
        std::map<std::pair<int, int>, int> uses;
        for (const auto& f : ring.faces)
            for (int k = 0; k < 3; ++k)
                ++uses[std::minmax(f[k], f[(k + 1) % 3])];
        std::pair<int, int> firstBoundary{-1, -1};
        for (const auto& f : ring.faces)
            for (int k = 0; k < 3 && firstBoundary.first < 0; ++k)
                if (uses[std::minmax(f[k], f[(k + 1) % 3])] == 1)
                    firstBoundary = std::minmax(f[k], f[(k + 1) % 3]);
        loadMesh(ring);
        buildTopology(currentModel);
        EXPECT_EQ(currentModel.boundaryLoopLength, 6);
        EXPECT_EQ(std::pair(currentModel.edgeA[0], currentModel.edgeB[0]), firstBoundary);
        EXPECT_EQ(tableLoop(), loopThrough(ring, firstBoundary));
    }
}

TEST_F(TopologyTest, UnusedVerticesAreDroppedAndCornersRenumbered)
{
    loadMesh({5, {{0, 2, 4}}});
    buildTopology(currentModel);
    EXPECT_EQ(currentModel.vertexCount, 3);
    EXPECT_EQ(currentModel.faceA[0], 0);
    EXPECT_EQ(currentModel.faceB[0], 1);
    EXPECT_EQ(currentModel.faceC[0], 2);
    // Old vertices 0, 2, 4 moved down; the arrays keep their length.
    EXPECT_EQ(currentModel.vertexX.size(), 5u);
    EXPECT_EQ((std::vector<double>{currentModel.vertexX[0], currentModel.vertexX[1], currentModel.vertexX[2]}), (std::vector<double>{0, 2, 4}));
    EXPECT_EQ((std::vector<double>{currentModel.vertexY[0], currentModel.vertexY[1], currentModel.vertexY[2]}), (std::vector<double>{0, 4, 8}));
    EXPECT_EQ((std::vector<double>{currentModel.vertexZ[0], currentModel.vertexZ[1], currentModel.vertexZ[2]}), (std::vector<double>{0, -2, -4}));
    // The capacity counts the vertices as they stood before dropping.
    EXPECT_EQ(currentModel.edgeCapacity, 5 + 1 + 30);
}

TEST_F(TopologyTest, ArraysHoldTheCapacityWithZeroAndMinusOneTails)
{
    loadMesh(gridMesh(4, 3));
    buildTopology(currentModel);
    EXPECT_EQ(currentModel.edgeCapacity, 12 + 12 + 30);
    for (const auto* array : {&currentModel.edgeA, &currentModel.edgeB, &currentModel.edgeFace1, &currentModel.edgeFace2})
        EXPECT_EQ(array->size(), static_cast<size_t>(currentModel.edgeCapacity));
    for (int e = currentModel.edgeCount; e < currentModel.edgeCapacity; ++e) {
        EXPECT_EQ(currentModel.edgeA[e], 0);
        EXPECT_EQ(currentModel.edgeB[e], 0);
        EXPECT_EQ(currentModel.edgeFace1[e], 0);
        EXPECT_EQ(currentModel.edgeFace2[e], -1);
    }
}

TEST_F(TopologyTest, SecondBuildChangesNothing)
{
    loadMesh(annulusMesh(7, 4));
    buildTopology(currentModel);
    const std::vector<int> a = currentModel.edgeA, b = currentModel.edgeB, f1 = currentModel.edgeFace1, f2 = currentModel.edgeFace2;
    const int counts[3] = {currentModel.edgeCount, currentModel.boundaryEdgeCount, currentModel.boundaryLoopLength};
    currentModel.faceA[0] = 99; // not looked at while the topology is marked built
    buildTopology(currentModel);
    EXPECT_EQ(currentModel.edgeA, a);
    EXPECT_EQ(currentModel.edgeB, b);
    EXPECT_EQ(currentModel.edgeFace1, f1);
    EXPECT_EQ(currentModel.edgeFace2, f2);
    EXPECT_EQ(currentModel.edgeCount, counts[0]);
    EXPECT_EQ(currentModel.boundaryEdgeCount, counts[1]);
    EXPECT_EQ(currentModel.boundaryLoopLength, counts[2]);
}

TEST_F(TopologyTest, MeshWithEveryTriangleCutAwayIsEmpty)
{
    loadMesh({4, {{0, 1, 2}}});
    currentModel.faceCount = 0;
    buildTopology(currentModel);
    EXPECT_TRUE(currentModel.topologyBuilt);
    EXPECT_EQ(currentModel.vertexCount, 0);
    EXPECT_EQ(currentModel.edgeCount, 0);
    EXPECT_EQ(currentModel.boundaryEdgeCount, 0);
    EXPECT_EQ(currentModel.boundaryLoopLength, 0);
    EXPECT_EQ(currentModel.edgeCapacity, 4 + 0 + 30);
}

TEST_F(TopologyTest, RebuildDropsTheParameterizationAndFollowsTheNewTriangles)
{
    loadMesh(gridMesh(3, 3));
    buildTopology(currentModel);
    allocDoubleArray(currentModel.vertexU, currentModel.vertexCount);
    allocDoubleArray(currentModel.vertexV, currentModel.vertexCount);
    currentModel.uvComputed = true;
    // A face cut: the last triangle leaves the list.
    --currentModel.faceCount;
    rebuildTopology(currentModel);
    EXPECT_TRUE(currentModel.topologyBuilt);
    EXPECT_FALSE(currentModel.uvComputed);
    EXPECT_TRUE(currentModel.vertexU.empty() && currentModel.vertexV.empty());
    const TopologyOracleResult expected = [] {
        TestMesh m = gridMesh(3, 3);
        m.faces.pop_back();
        loadMesh(m);
        return topologyOracleOfStore();
    }();
    loadMesh(gridMesh(3, 3));
    --currentModel.faceCount;
    buildTopology(currentModel);
    expectStoreEquals(expected);
}

TEST_F(TopologyTest, FindEdgeGivesTheFirstPositionInEitherOrder)
{
    loadMesh({4, {{0, 1, 2}, {2, 1, 3}}});
    buildTopology(currentModel);
    EXPECT_EQ(findEdge(currentModel, 3, 1), 1);
    EXPECT_EQ(findEdge(currentModel, 1, 3), 1);
    EXPECT_EQ(findEdge(currentModel, 2, 1), 4);
    EXPECT_EQ(findEdge(currentModel, 0, 3), -1);
    EXPECT_EQ(findEdge(currentModel, 7, 8), -1);
    // With the same pair twice (a first triangle that repeats a corner) the first wins.
    currentModel = Mesh();
    loadMesh({2, {{0, 1, 0}}});
    buildTopology(currentModel);
    ASSERT_EQ(currentModel.edgeCount, 3);
    EXPECT_EQ(findEdge(currentModel, 1, 0), currentModel.edgeA[0] == 0 && currentModel.edgeB[0] == 1 ? 0 : 1);
}

TEST_F(TopologyTest, SwapEdgesExchangesAllFourArrays)
{
    loadMesh({4, {{0, 1, 2}, {2, 1, 3}}});
    buildTopology(currentModel);
    swapEdges(currentModel, 0, 4);
    EXPECT_EQ(std::vector<int>({currentModel.edgeA[0], currentModel.edgeB[0], currentModel.edgeFace1[0], currentModel.edgeFace2[0]}), std::vector<int>({1, 2, 0, 1}));
    EXPECT_EQ(std::vector<int>({currentModel.edgeA[4], currentModel.edgeB[4], currentModel.edgeFace1[4], currentModel.edgeFace2[4]}), std::vector<int>({0, 1, 0, -1}));
}

// A mesh of genus 20 needs more edges than vertexCount + faceCount + 30: the
// table grows instead of refusing it.
TEST_F(TopologyTest, HighGenusMeshIsAccepted)
{
    const TestMesh mesh = genusMesh(20);
    loadMesh(mesh);
    const TopologyOracleResult expected = topologyOracleOfStore();
    buildTopology(currentModel);
    ASSERT_TRUE(currentModel.topologyBuilt);
    EXPECT_EQ(currentModel.vertexCount - currentModel.edgeCount + currentModel.faceCount, 2 - 2 * 20);
    EXPECT_GT(currentModel.edgeCount, currentModel.vertexCount + currentModel.faceCount + 30);
    EXPECT_EQ(currentModel.edgeCapacity, currentModel.edgeCount);
    EXPECT_EQ(currentModel.boundaryEdgeCount, 0);
    expectStoreEquals(expected);
}

TEST_F(TopologyTest, DiscWithManyHolesIsAccepted)
{
    // One piece with 41 boundary loops; the longest is the outer rim.
    TestMesh plate = genusMesh(40);
    const int layer = plate.vertexCount / 2;
    std::vector<std::array<int, 3>> top;
    for (const auto& f : plate.faces)
        if (f[0] < layer && f[1] < layer && f[2] < layer)
            top.push_back(f);
    plate.faces = top;
    expectBuildMatchesOracle(plate);
    // A plate of 17 x 26 cells with 40 holes of one cell.
    EXPECT_EQ(currentModel.boundaryLoopLength, 2 * (17 + 26));
    EXPECT_EQ(currentModel.boundaryEdgeCount, 2 * (17 + 26) + 40 * 4);
}

TEST_F(TopologyTest, CornerOutsideTheVerticesIsRefused)
{
    loadMesh({3, {{0, 1, 2}, {2, 1, 3}}});
    EXPECT_BUILD_REFUSED("Une face est erronée");
    loadMesh({3, {{0, 1, 2}, {2, -1, 1}}});
    EXPECT_BUILD_REFUSED("Une face est erronée");
}

TEST_F(TopologyTest, EdgeWithThreeTrianglesIsRefused)
{
    loadMesh({5, {{0, 1, 2}, {1, 0, 3}, {0, 1, 4}}});
    EXPECT_BUILD_REFUSED("Une arête est erronée");
    // The same triangle given twice.
    loadMesh({4, {{0, 1, 2}, {0, 2, 3}, {0, 2, 3}}});
    EXPECT_BUILD_REFUSED("Une arête est erronée");
}

TEST_F(TopologyTest, TableThatCannotBeAllocatedIsRefused)
{
    // More entries than an int can count.
    loadMesh({3, {{0, 1, 2}}});
    currentModel.vertexCount = 2147483647 - 20;
    EXPECT_BUILD_REFUSED("Problème de mémoire pour les arêtes");
}

// Every boundary vertex of a built table has an even number of boundary
// edges, so a walk always comes back; the refusal is checked on a table
// made by hand whose boundary ends at a vertex.
TEST_F(TopologyTest, BoundaryWalkThatCannotCloseIsRefused)
{
    loadMesh({3, {{0, 1, 2}}});
    allocIntArray(currentModel.edgeA, 3);
    allocIntArray(currentModel.edgeB, 3);
    allocIntArray(currentModel.edgeFace1, 3);
    currentModel.edgeFace2.assign(3, -1);
    currentModel.edgeA = {0, 1, 0};
    currentModel.edgeB = {1, 2, 0};
    currentModel.edgeCount = 2;
    currentModel.boundaryEdgeCount = 2;
    std::vector<int> scratch(3, 0);
    Outcome refusal = outcomeOk;
    try {
        orderBoundaryLoops(currentModel, scratch);
    } catch (const TopologyRefusal& r) {
        refusal = r.outcome;
    }
    EXPECT_EQ(refusal, outcomeLoopError);
}

} // namespace
