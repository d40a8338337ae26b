// The store coherence checks catch each kind of fault they are meant to: a
// checker that passes everything would make the fuzz targets and the random
// editing test prove nothing.
#include <gtest/gtest.h>

#include <cmath>

#include "app/main_window.h"
#include "model/cutting.h"
#include "app/cut_modes.h"
#include "base/store.h"
#include "model/topology.h"
#include "platform/platform_script.h"
#include "render/view_state.h"
#include "tests/support/mesh_builder.h"
#include "tests/support/store_invariants.h"

namespace {

class StoreInvariantsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetProgramState();
        scriptReset();
        // A 2 x 2 grid: 9 vertices, 8 triangles, 16 edges, a boundary loop of 8.
        setGridMesh(2);
        buildTopology();
    }
    void TearDown() override
    {
        releaseModel();
        initCutModes();
    }
};

TEST_F(StoreInvariantsTest, ABuiltMeshAndAnEmptyStoreAreCoherent)
{
    EXPECT_EQ(storeInvariantFault(), "");
    EXPECT_EQ(cutStateFault(), "");
    releaseModel();
    EXPECT_EQ(storeInvariantFault(), "");
}

TEST_F(StoreInvariantsTest, CornersAndVerticesOutOfPlace)
{
    faceB[3] = vertexCount;
    EXPECT_NE(storeInvariantFault().find("corner"), std::string::npos);
    faceB[3] = -1;
    EXPECT_NE(storeInvariantFault().find("corner"), std::string::npos);
    SetUp();
    // One more vertex, used by no triangle.
    growDoubleArray(vertexX, vertexCount, vertexCount + 1);
    growDoubleArray(vertexY, vertexCount, vertexCount + 1);
    growDoubleArray(vertexZ, vertexCount, vertexCount + 1);
    ++vertexCount;
    EXPECT_NE(storeInvariantFault().find("used by no triangle"), std::string::npos);
    SetUp();
    // A triangle dropped without rebuilding: the table names a triangle that is gone.
    faceCount -= 1;
    EXPECT_NE(storeInvariantFault(), "");
    SetUp();
    vertexCount = static_cast<int>(vertexX.size()) + 1;
    EXPECT_NE(storeInvariantFault().find("exceeds"), std::string::npos);
}

TEST_F(StoreInvariantsTest, EdgeTableThatDoesNotMatchTheTriangles)
{
    const int interior = boundaryEdgeCount;
    // A second triangle on an edge that is not the one recorded.
    std::swap(edgeFace1[interior], edgeFace2[interior]);
    EXPECT_NE(storeInvariantFault(), "");
    SetUp();
    // The same edge twice.
    edgeA[edgeCount - 1] = edgeA[edgeCount - 2];
    edgeB[edgeCount - 1] = edgeB[edgeCount - 2];
    EXPECT_NE(storeInvariantFault(), "");
    SetUp();
    // A side missing from the table.
    --edgeCount;
    EXPECT_NE(storeInvariantFault(), "");
    SetUp();
    // Ends in the wrong order.
    std::swap(edgeA[0], edgeB[0]);
    EXPECT_NE(storeInvariantFault(), "");
}

TEST_F(StoreInvariantsTest, BoundaryCountsAndLoopOrder)
{
    // An interior edge among the boundary positions.
    ++boundaryEdgeCount;
    EXPECT_NE(storeInvariantFault(), "");
    SetUp();
    // The loop's edges out of walking order.
    swapEdges(1, 2);
    EXPECT_NE(storeInvariantFault(), "");
    SetUp();
    boundaryLoopLength = 0;
    EXPECT_NE(storeInvariantFault(), "");
    SetUp();
    boundaryLoopLength = boundaryEdgeCount + 1;
    EXPECT_NE(storeInvariantFault(), "");
}

TEST_F(StoreInvariantsTest, FlagsThatDisagree)
{
    topologyBuilt = false;
    uvComputed = true;
    EXPECT_NE(storeInvariantFault(), "");
    SetUp();
    uvComputed = true;
    vertexU.assign(vertexCount, 0.0);
    vertexV.assign(vertexCount, 0.0);
    EXPECT_EQ(storeInvariantFault(), "");
    vertexV[2] = std::nan("");
    EXPECT_NE(storeInvariantFault().find("finite"), std::string::npos);
    SetUp();
    modelLoaded = false;
    EXPECT_NE(storeInvariantFault(), "");
}

TEST_F(StoreInvariantsTest, CutStateThatDisagrees)
{
    cutModeActive = true;
    EXPECT_NE(cutStateFault(), "");
    toggleFaceCut();
    EXPECT_EQ(cutStateFault(), "");
    cutKind = 4;
    EXPECT_NE(cutStateFault(), "");
}

} // namespace
