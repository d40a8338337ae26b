// The store coherence checks catch each kind of fault they are meant to: a
// checker that passes everything would make the fuzz targets and the random
// editing test prove nothing.
#include <gtest/gtest.h>

#include <cmath>

#include "app/main_window.h"
#include "model/cutting.h"
#include "app/cut_modes.h"
#include "app/session.h"
#include "model/topology.h"
#include "tests/support/platform_script.h"
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
        buildTopology(currentModel);
    }
    void TearDown() override
    {
        currentModel = Mesh();
        initCutModes();
    }
};

TEST_F(StoreInvariantsTest, ABuiltMeshAndAnEmptyStoreAreCoherent)
{
    EXPECT_EQ(storeInvariantFault(), "");
    EXPECT_EQ(cutStateFault(), "");
    currentModel = Mesh();
    EXPECT_EQ(storeInvariantFault(), "");
}

TEST_F(StoreInvariantsTest, CornersAndVerticesOutOfPlace)
{
    currentModel.faceB[3] = currentModel.vertexCount;
    EXPECT_NE(storeInvariantFault().find("corner"), std::string::npos);
    currentModel.faceB[3] = -1;
    EXPECT_NE(storeInvariantFault().find("corner"), std::string::npos);
    SetUp();
    // One more vertex, used by no triangle.
    growDoubleArray(currentModel.vertexX, currentModel.vertexCount, currentModel.vertexCount + 1);
    growDoubleArray(currentModel.vertexY, currentModel.vertexCount, currentModel.vertexCount + 1);
    growDoubleArray(currentModel.vertexZ, currentModel.vertexCount, currentModel.vertexCount + 1);
    ++currentModel.vertexCount;
    EXPECT_NE(storeInvariantFault().find("used by no triangle"), std::string::npos);
    SetUp();
    // A triangle dropped without rebuilding: the table names a triangle that is gone.
    currentModel.faceCount -= 1;
    EXPECT_NE(storeInvariantFault(), "");
    SetUp();
    currentModel.vertexCount = static_cast<int>(currentModel.vertexX.size()) + 1;
    EXPECT_NE(storeInvariantFault().find("exceeds"), std::string::npos);
}

TEST_F(StoreInvariantsTest, EdgeTableThatDoesNotMatchTheTriangles)
{
    const int interior = currentModel.boundaryEdgeCount;
    // A second triangle on an edge that is not the one recorded.
    std::swap(currentModel.edgeFace1[interior], currentModel.edgeFace2[interior]);
    EXPECT_NE(storeInvariantFault(), "");
    SetUp();
    // The same edge twice.
    currentModel.edgeA[currentModel.edgeCount - 1] = currentModel.edgeA[currentModel.edgeCount - 2];
    currentModel.edgeB[currentModel.edgeCount - 1] = currentModel.edgeB[currentModel.edgeCount - 2];
    EXPECT_NE(storeInvariantFault(), "");
    SetUp();
    // A side missing from the table.
    --currentModel.edgeCount;
    EXPECT_NE(storeInvariantFault(), "");
    SetUp();
    // Ends in the wrong order.
    std::swap(currentModel.edgeA[0], currentModel.edgeB[0]);
    EXPECT_NE(storeInvariantFault(), "");
}

TEST_F(StoreInvariantsTest, BoundaryCountsAndLoopOrder)
{
    // An interior edge among the boundary positions.
    ++currentModel.boundaryEdgeCount;
    EXPECT_NE(storeInvariantFault(), "");
    SetUp();
    // The loop's edges out of walking order.
    swapEdges(currentModel, 1, 2);
    EXPECT_NE(storeInvariantFault(), "");
    SetUp();
    currentModel.boundaryLoopLength = 0;
    EXPECT_NE(storeInvariantFault(), "");
    SetUp();
    currentModel.boundaryLoopLength = currentModel.boundaryEdgeCount + 1;
    EXPECT_NE(storeInvariantFault(), "");
}

TEST_F(StoreInvariantsTest, FlagsThatDisagree)
{
    currentModel.topologyBuilt = false;
    currentModel.uvComputed = true;
    EXPECT_NE(storeInvariantFault(), "");
    SetUp();
    currentModel.uvComputed = true;
    currentModel.vertexU.assign(currentModel.vertexCount, 0.0);
    currentModel.vertexV.assign(currentModel.vertexCount, 0.0);
    EXPECT_EQ(storeInvariantFault(), "");
    currentModel.vertexV[2] = std::nan("");
    EXPECT_NE(storeInvariantFault().find("finite"), std::string::npos);
    SetUp();
    currentModel.modelLoaded = false;
    EXPECT_NE(storeInvariantFault(), "");
}

TEST_F(StoreInvariantsTest, CutStateThatDisagrees)
{
    interaction.cutModeActive = true;
    EXPECT_NE(cutStateFault(), "");
    toggleFaceCut();
    EXPECT_EQ(cutStateFault(), "");
    interaction.cutKind = 4;
    EXPECT_NE(cutStateFault(), "");
}

} // namespace
