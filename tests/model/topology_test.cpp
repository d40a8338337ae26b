// The topology builder: exact edge table order, boundary counts, the longest
// loop in walking order, unused vertices dropped, and every refusal.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/messages.h"
#include "model/store.h"
#include "model/topology.h"
#include "platform/platform_script.h"
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

} // namespace
