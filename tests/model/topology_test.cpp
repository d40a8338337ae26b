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
#include "base/store.h"
#include "model/topology.h"
#include "platform/platform_script.h"
#include "model/topology_internal.h"
#include "tests/model/topology_meshes.h"
#include "tests/support/topology_oracle.h"

namespace {

class TopologyTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        releaseModel();
        scriptReset();
    }
};

// The build must be refused with the text, leaving no table behind.
#define EXPECT_BUILD_REFUSED(text)                                                                                     \
    do {                                                                                                               \
        EXPECT_STREQ(outcomeText(buildTopology()), text);                                                              \
        EXPECT_FALSE(topologyBuilt);                                                                                   \
        EXPECT_EQ(edgeCount, 0);                                                                                       \
    } while (false)

std::vector<int> prefix(const std::vector<int>& array, int n) { return {array.begin(), array.begin() + n}; }

TEST_F(TopologyTest, SingleTriangleIsOneLoopOfThree)
{
    loadMesh({3, {{0, 1, 2}}});
    buildTopology();
    EXPECT_TRUE(topologyBuilt);
    EXPECT_EQ(edgeCount, 3);
    EXPECT_EQ(boundaryEdgeCount, 3);
    EXPECT_EQ(boundaryLoopLength, 3);
    EXPECT_EQ(prefix(edgeA, 3), (std::vector<int>{0, 1, 0}));
    EXPECT_EQ(prefix(edgeB, 3), (std::vector<int>{1, 2, 2}));
    EXPECT_EQ(prefix(edgeFace1, 3), (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(prefix(edgeFace2, 3), (std::vector<int>{-1, -1, -1}));
}

TEST_F(TopologyTest, TwoTrianglesGiveTheExactTableAndLoopWalk)
{
    loadMesh({4, {{0, 1, 2}, {2, 1, 3}}});
    buildTopology();
    ASSERT_EQ(edgeCount, 5);
    EXPECT_EQ(boundaryEdgeCount, 4);
    EXPECT_EQ(boundaryLoopLength, 4);
    EXPECT_EQ(prefix(edgeA, 5), (std::vector<int>{0, 1, 2, 0, 1}));
    EXPECT_EQ(prefix(edgeB, 5), (std::vector<int>{1, 3, 3, 2, 2}));
    EXPECT_EQ(prefix(edgeFace1, 5), (std::vector<int>{0, 1, 1, 0, 0}));
    EXPECT_EQ(prefix(edgeFace2, 5), (std::vector<int>{-1, -1, -1, -1, 1}));
    EXPECT_EQ(loopWalk(), (std::vector<int>{0, 1, 3, 2, 0}));
}

TEST_F(TopologyTest, ClosedTetrahedronHasNoBoundary)
{
    loadMesh({4, {{0, 1, 2}, {0, 3, 1}, {1, 3, 2}, {2, 3, 0}}});
    buildTopology();
    EXPECT_EQ(edgeCount, 6);
    EXPECT_EQ(boundaryEdgeCount, 0);
    EXPECT_EQ(boundaryLoopLength, 0);
    for (int e = 0; e < 6; ++e) {
        EXPECT_LT(edgeA[e], edgeB[e]);
        EXPECT_GE(edgeFace2[e], 0);
        EXPECT_GT(edgeFace2[e], edgeFace1[e]);
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
    for (int e = 0; e < boundaryLoopLength; ++e)
        loop.insert({edgeA[e], edgeB[e]});
    return loop;
}

TEST_F(TopologyTest, LongestHoleComesFirstInWalkingOrder)
{
    // Outer rim of 8 and hole of 5, then the other way round.
    for (auto [outer, inner] : {std::pair{8, 5}, std::pair{5, 8}}) {
        const TestMesh ring = annulusMesh(outer, inner);
        loadMesh(ring);
        buildTopology();
        EXPECT_EQ(boundaryEdgeCount, 13);
        EXPECT_EQ(boundaryLoopLength, 8);
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
            EXPECT_EQ(edgeFace2[e], -1);
        for (int e = 13; e < edgeCount; ++e)
            EXPECT_GE(edgeFace2[e], 0);
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
        buildTopology();
        EXPECT_EQ(boundaryLoopLength, 6);
        EXPECT_EQ(std::pair(edgeA[0], edgeB[0]), firstBoundary);
        EXPECT_EQ(tableLoop(), loopThrough(ring, firstBoundary));
    }
}

TEST_F(TopologyTest, UnusedVerticesAreDroppedAndCornersRenumbered)
{
    loadMesh({5, {{0, 2, 4}}});
    buildTopology();
    EXPECT_EQ(vertexCount, 3);
    EXPECT_EQ(faceA[0], 0);
    EXPECT_EQ(faceB[0], 1);
    EXPECT_EQ(faceC[0], 2);
    // Old vertices 0, 2, 4 moved down; the arrays keep their length.
    EXPECT_EQ(vertexX.size(), 5u);
    EXPECT_EQ((std::vector<double>{vertexX[0], vertexX[1], vertexX[2]}), (std::vector<double>{0, 2, 4}));
    EXPECT_EQ((std::vector<double>{vertexY[0], vertexY[1], vertexY[2]}), (std::vector<double>{0, 4, 8}));
    EXPECT_EQ((std::vector<double>{vertexZ[0], vertexZ[1], vertexZ[2]}), (std::vector<double>{0, -2, -4}));
    // The capacity counts the vertices as they stood before dropping.
    EXPECT_EQ(edgeCapacity, 5 + 1 + 30);
}

TEST_F(TopologyTest, ArraysHoldTheCapacityWithZeroAndMinusOneTails)
{
    loadMesh(gridMesh(4, 3));
    buildTopology();
    EXPECT_EQ(edgeCapacity, 12 + 12 + 30);
    for (const auto* array : {&edgeA, &edgeB, &edgeFace1, &edgeFace2})
        EXPECT_EQ(array->size(), static_cast<size_t>(edgeCapacity));
    for (int e = edgeCount; e < edgeCapacity; ++e) {
        EXPECT_EQ(edgeA[e], 0);
        EXPECT_EQ(edgeB[e], 0);
        EXPECT_EQ(edgeFace1[e], 0);
        EXPECT_EQ(edgeFace2[e], -1);
    }
}

TEST_F(TopologyTest, SecondBuildChangesNothing)
{
    loadMesh(annulusMesh(7, 4));
    buildTopology();
    const std::vector<int> a = edgeA, b = edgeB, f1 = edgeFace1, f2 = edgeFace2;
    const int counts[3] = {edgeCount, boundaryEdgeCount, boundaryLoopLength};
    faceA[0] = 99; // not looked at while the topology is marked built
    buildTopology();
    EXPECT_EQ(edgeA, a);
    EXPECT_EQ(edgeB, b);
    EXPECT_EQ(edgeFace1, f1);
    EXPECT_EQ(edgeFace2, f2);
    EXPECT_EQ(edgeCount, counts[0]);
    EXPECT_EQ(boundaryEdgeCount, counts[1]);
    EXPECT_EQ(boundaryLoopLength, counts[2]);
}

TEST_F(TopologyTest, MeshWithEveryTriangleCutAwayIsEmpty)
{
    loadMesh({4, {{0, 1, 2}}});
    faceCount = 0;
    buildTopology();
    EXPECT_TRUE(topologyBuilt);
    EXPECT_EQ(vertexCount, 0);
    EXPECT_EQ(edgeCount, 0);
    EXPECT_EQ(boundaryEdgeCount, 0);
    EXPECT_EQ(boundaryLoopLength, 0);
    EXPECT_EQ(edgeCapacity, 4 + 0 + 30);
}

TEST_F(TopologyTest, RebuildDropsTheParameterizationAndFollowsTheNewTriangles)
{
    loadMesh(gridMesh(3, 3));
    buildTopology();
    allocDoubleArray(vertexU, vertexCount);
    allocDoubleArray(vertexV, vertexCount);
    uvComputed = true;
    closedWarned = true;
    // A face cut: the last triangle leaves the list.
    --faceCount;
    rebuildTopology();
    EXPECT_TRUE(topologyBuilt);
    EXPECT_FALSE(uvComputed);
    EXPECT_FALSE(closedWarned);
    EXPECT_TRUE(vertexU.empty() && vertexV.empty());
    const TopologyOracleResult expected = [] {
        TestMesh m = gridMesh(3, 3);
        m.faces.pop_back();
        loadMesh(m);
        return topologyOracleOfStore();
    }();
    loadMesh(gridMesh(3, 3));
    --faceCount;
    buildTopology();
    expectStoreEquals(expected);
}

TEST_F(TopologyTest, FindEdgeGivesTheFirstPositionInEitherOrder)
{
    loadMesh({4, {{0, 1, 2}, {2, 1, 3}}});
    buildTopology();
    EXPECT_EQ(findEdge(3, 1), 1);
    EXPECT_EQ(findEdge(1, 3), 1);
    EXPECT_EQ(findEdge(2, 1), 4);
    EXPECT_EQ(findEdge(0, 3), -1);
    EXPECT_EQ(findEdge(7, 8), -1);
    // With the same pair twice (a first triangle that repeats a corner) the first wins.
    releaseModel();
    loadMesh({2, {{0, 1, 0}}});
    buildTopology();
    ASSERT_EQ(edgeCount, 3);
    EXPECT_EQ(findEdge(1, 0), edgeA[0] == 0 && edgeB[0] == 1 ? 0 : 1);
}

TEST_F(TopologyTest, SwapEdgesExchangesAllFourArrays)
{
    loadMesh({4, {{0, 1, 2}, {2, 1, 3}}});
    buildTopology();
    swapEdges(0, 4);
    EXPECT_EQ(std::vector<int>({edgeA[0], edgeB[0], edgeFace1[0], edgeFace2[0]}), std::vector<int>({1, 2, 0, 1}));
    EXPECT_EQ(std::vector<int>({edgeA[4], edgeB[4], edgeFace1[4], edgeFace2[4]}), std::vector<int>({0, 1, 0, -1}));
}

// A mesh of genus 20 needs more edges than vertexCount + faceCount + 30: the
// table grows instead of refusing it.
TEST_F(TopologyTest, HighGenusMeshIsAccepted)
{
    const TestMesh mesh = genusMesh(20);
    loadMesh(mesh);
    const TopologyOracleResult expected = topologyOracleOfStore();
    buildTopology();
    ASSERT_TRUE(topologyBuilt);
    EXPECT_EQ(vertexCount - edgeCount + faceCount, 2 - 2 * 20);
    EXPECT_GT(edgeCount, vertexCount + faceCount + 30);
    EXPECT_EQ(edgeCapacity, edgeCount);
    EXPECT_EQ(boundaryEdgeCount, 0);
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
    EXPECT_EQ(boundaryLoopLength, 2 * (17 + 26));
    EXPECT_EQ(boundaryEdgeCount, 2 * (17 + 26) + 40 * 4);
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
    vertexCount = 2147483647 - 20;
    EXPECT_BUILD_REFUSED("Problème de mémoire pour les arêtes");
}

// Every boundary vertex of a built table has an even number of boundary
// edges, so a walk always comes back; the refusal is checked on a table
// made by hand whose boundary ends at a vertex.
TEST_F(TopologyTest, BoundaryWalkThatCannotCloseIsRefused)
{
    loadMesh({3, {{0, 1, 2}}});
    allocIntArray(edgeA, 3);
    allocIntArray(edgeB, 3);
    allocIntArray(edgeFace1, 3);
    edgeFace2.assign(3, -1);
    edgeA = {0, 1, 0};
    edgeB = {1, 2, 0};
    edgeCount = 2;
    boundaryEdgeCount = 2;
    std::vector<int> scratch(3, 0);
    Outcome refusal = outcomeOk;
    try {
        orderBoundaryLoops(scratch);
    } catch (const TopologyRefusal& r) {
        refusal = r.outcome;
    }
    EXPECT_EQ(refusal, outcomeLoopError);
}

} // namespace
