// The three cuts and their undos on small built meshes.
#include "tests/model/cutting_support.h"

#include <string>

#include "render/view_state.h"
#include "app/cut_modes.h"
#include "app/model_commands.h"
#include "model/off_file.h"
#include "model/subdivision.h"

namespace {

int edgeOf(int a, int b)
{
    int e = findEdge(currentModel, a, b);
    EXPECT_GE(e, 0) << "no edge " << a << "-" << b;
    return e;
}

// Picks an element and clicks, as the frame and the mouse do.
void clickOn(int element)
{
    interaction.picked.element = element;
    applyCut();
}

using VertexCut = CutTest;
using EdgeCut = CutTest;
using FaceCut = CutTest;

TEST_F(VertexCut, InnerVertexOfSixTrianglesOpensALoopOfTwelveAndEnterRestoresIt)
{
    buildBipyramid(6);
    StoreCopy before = StoreCopy::take();
    ASSERT_EQ(currentModel.boundaryEdgeCount, 0);

    toggleVertexCut();
    clickOn(0);

    EXPECT_EQ(currentModel.vertexCount, 8 + 5);
    EXPECT_EQ(currentModel.boundaryEdgeCount, 12);
    EXPECT_EQ(currentModel.boundaryLoopLength, 12);
    EXPECT_EQ(interaction.cuts.cutAddedCount, 5);
    EXPECT_EQ(interaction.vertexCutMode, 0);
    EXPECT_FALSE(interaction.cutModeActive);
    EXPECT_FALSE(currentView.showVertices);
    // Every copy sits where the vertex was.
    for (int i = 8; i < 13; ++i)
        EXPECT_EQ(currentModel.vertexZ[i], 1.0);
    EXPECT_EQ(scriptSleeps, std::vector<int>{250});
    EXPECT_EQ(scriptPresentCount, 1);

    undoCut();
    EXPECT_TRUE(sameMesh(StoreCopy::take(), before));
    EXPECT_EQ(scriptPresentCount, 2);

    // The undo is spent: a second one changes nothing, but Enter still flashes the borders.
    undoCut();
    EXPECT_TRUE(sameMesh(StoreCopy::take(), before));
    EXPECT_EQ(scriptPresentCount, 3);
}

TEST_F(VertexCut, FirstCornerKeepsTheVertexAndLaterCornersGetCopiesInOrder)
{
    buildBipyramid(4);
    toggleVertexCut();
    clickOn(0);
    // Triangles 0, 2, 4, 6 held the top apex, in that order.
    EXPECT_EQ(currentModel.faceA[0], 0);
    EXPECT_EQ(currentModel.faceA[2], 6);
    EXPECT_EQ(currentModel.faceA[4], 7);
    EXPECT_EQ(currentModel.faceA[6], 8);
}

TEST_F(VertexCut, VertexOfOneTriangleOrNoVertexCutsNothingAndLeavesTheMode)
{
    buildStrip(1); // vertex 1 belongs to triangle 0 only
    StoreCopy before = StoreCopy::take();
    for (int v : {1, -1, currentModel.vertexCount, 1000}) {
        toggleVertexCut();
        ASSERT_EQ(interaction.vertexCutMode, 1);
        clickOn(v);
        EXPECT_TRUE(sameMesh(StoreCopy::take(), before)) << v;
        EXPECT_EQ(interaction.vertexCutMode, 0);
        EXPECT_FALSE(interaction.cutModeActive);
        EXPECT_EQ(interaction.cuts.cutAddedCount, 0);
    }
    // Enter after the refused click changes nothing; it only flashes the borders.
    undoCut();
    EXPECT_TRUE(sameMesh(StoreCopy::take(), before));
    EXPECT_EQ(scriptSleeps, std::vector<int>{250});
}

TEST_F(EdgeCut, BoundaryEdgeCutsNothingAndPutsTheFlagsBack)
{
    buildStrip(1);
    StoreCopy before = StoreCopy::take();
    toggleEdgeCut();
    EXPECT_TRUE(currentView.showEdges);
    EXPECT_TRUE(currentView.showBoundary);
    clickOn(edgeOf(0, 1));
    EXPECT_TRUE(sameMesh(StoreCopy::take(), before));
    EXPECT_EQ(interaction.edgeCutMode, 0);
    EXPECT_FALSE(interaction.cutModeActive);
    EXPECT_FALSE(currentView.showEdges);
    EXPECT_FALSE(currentView.showBoundary);
}

TEST_F(EdgeCut, OneEndCutAddsOneVertexAndTwoBorderEdgesAndEnterMergesThem)
{
    setGridMesh(3);
    buildTopology(currentModel);
    StoreCopy before = StoreCopy::take();
    toggleEdgeCut();
    clickOn(edgeOf(1, 5)); // vertex 1 on the border, 5 inside
    EXPECT_EQ(currentModel.vertexCount, before.vertexCount + 1);
    EXPECT_EQ(currentModel.boundaryEdgeCount, before.boundaryEdgeCount + 2);
    EXPECT_EQ(interaction.cuts.cutAddedCount, 1);
    EXPECT_EQ(interaction.cuts.cutSource1, 1);
    EXPECT_EQ(interaction.edgeCutMode, 0);
    EXPECT_TRUE(scriptSleeps.empty()); // only the vertex and two-click cuts flash

    undoCut();
    EXPECT_TRUE(sameMesh(StoreCopy::take(), before));
}

TEST_F(EdgeCut, ThroughCutSplitsAStripInTwoAndEnterJoinsIt)
{
    buildStrip(3);
    StoreCopy before = StoreCopy::take();
    toggleEdgeCut();
    clickOn(edgeOf(1, 5));
    EXPECT_EQ(currentModel.vertexCount, before.vertexCount + 2);
    EXPECT_EQ(pieceCount(), 2);
    EXPECT_EQ(interaction.cuts.cutAddedCount, 2);
    EXPECT_EQ(interaction.cuts.cutSource1, 1);
    EXPECT_EQ(interaction.cuts.cutSource2, 5);
    // The copy of cutSource1 is the last vertex, that of cutSource2 the one before.
    EXPECT_EQ(currentModel.vertexX[currentModel.vertexCount - 1], currentModel.vertexX[1]);
    EXPECT_EQ(currentModel.vertexY[currentModel.vertexCount - 2], currentModel.vertexY[5]);

    undoCut();
    EXPECT_TRUE(sameMesh(StoreCopy::take(), before));
    EXPECT_EQ(pieceCount(), 1);
}

TEST_F(EdgeCut, TwoClickCutOnAClosedMeshOpensASlitAndEnterClosesIt)
{
    buildBipyramid(6);
    StoreCopy before = StoreCopy::take();
    toggleEdgeCut();
    int first = edgeOf(0, 2), second = edgeOf(0, 5);
    clickOn(first);
    EXPECT_EQ(interaction.cuts.pendingEdge, first);
    EXPECT_EQ(interaction.edgeCutMode, 1);
    EXPECT_TRUE(interaction.cutModeActive);
    EXPECT_TRUE(sameMesh(StoreCopy::take(), before));

    clickOn(second);
    EXPECT_EQ(currentModel.vertexCount, before.vertexCount + 1);
    EXPECT_EQ(currentModel.boundaryEdgeCount, 4);
    EXPECT_EQ(currentModel.boundaryLoopLength, 4);
    EXPECT_EQ(interaction.cuts.cutSource1, 0);
    EXPECT_EQ(interaction.cuts.pendingEdge, -1);
    EXPECT_EQ(interaction.edgeCutMode, 0);
    EXPECT_EQ(scriptSleeps, std::vector<int>{250});

    undoCut();
    EXPECT_TRUE(sameMesh(StoreCopy::take(), before));
}

TEST_F(EdgeCut, TwoEdgesWithoutACommonVertexOrTheSameEdgeTwiceCutNothing)
{
    buildBipyramid(6);
    StoreCopy before = StoreCopy::take();
    for (auto [a, b, c, d] : {std::array<int, 4>{2, 3, 0, 5}, std::array<int, 4>{0, 2, 0, 2}}) {
        toggleEdgeCut();
        clickOn(edgeOf(a, b));
        clickOn(edgeOf(c, d));
        EXPECT_TRUE(sameMesh(StoreCopy::take(), before));
        EXPECT_EQ(interaction.cuts.pendingEdge, -1);
        EXPECT_EQ(interaction.edgeCutMode, 0);
        EXPECT_FALSE(interaction.cutModeActive);
        EXPECT_EQ(interaction.cuts.cutAddedCount, 0);
    }
}

TEST_F(EdgeCut, EnterAfterTheFirstClickDoesNothingAndTheSecondClickStillCuts)
{
    setGridMesh(3);
    buildTopology(currentModel);
    toggleEdgeCut();
    clickOn(edgeOf(1, 5)); // an earlier one-end cut, whose record must not be undone later
    StoreCopy afterFirstCut = StoreCopy::take();

    toggleEdgeCut();
    clickOn(edgeOf(6, 10)); // both ends inside: first of two clicks
    ASSERT_GE(interaction.cuts.pendingEdge, 0);
    size_t flashes = scriptSleeps.size();
    undoCut();
    EXPECT_TRUE(sameMesh(StoreCopy::take(), afterFirstCut));
    EXPECT_EQ(scriptSleeps.size(), flashes + 1);
    EXPECT_EQ(interaction.edgeCutMode, 1);

    clickOn(edgeOf(9, 10));
    EXPECT_EQ(currentModel.vertexCount, afterFirstCut.vertexCount + 1);
    EXPECT_EQ(currentModel.boundaryEdgeCount, afterFirstCut.boundaryEdgeCount + 4);
}

TEST_F(EdgeCut, PendingEdgeIsForgottenWhenTheMeshChanges)
{
    buildBipyramid(6);
    toggleEdgeCut();
    clickOn(edgeOf(0, 2));
    ASSERT_GE(interaction.cuts.pendingEdge, 0);
    forgetPendingCut(interaction.cuts);
    EXPECT_EQ(interaction.cuts.pendingEdge, -1);

    // Another cut changes the mesh: the pending edge goes.
    clickOn(edgeOf(0, 2));
    ASSERT_GE(interaction.cuts.pendingEdge, 0);
    toggleEdgeCut(); // leaving the mode keeps it
    EXPECT_GE(interaction.cuts.pendingEdge, 0);
    toggleFaceCut();
    clickOn(0);
    EXPECT_EQ(interaction.cuts.pendingEdge, -1);
}

TEST_F(EdgeCut, SubdivisionAndANewModelForgetThePendingEdge)
{
    buildBipyramid(6);
    toggleEdgeCut();
    clickOn(edgeOf(0, 2));
    ASSERT_GE(interaction.cuts.pendingEdge, 0);
    subdivideLoop();
    EXPECT_EQ(interaction.cuts.pendingEdge, -1);

    clickOn(0); // any edge of the closed refined mesh starts a two-click cut
    ASSERT_GE(interaction.cuts.pendingEdge, 0);
    scriptFileAnswers.push_back(std::string(SOURCE_DIR) + "/data/tore.off");
    openModel();
    ASSERT_TRUE(currentModel.topologyBuilt);
    EXPECT_EQ(interaction.cuts.pendingEdge, -1);
}

TEST_F(EdgeCut, PendingEdgeOfAReplacedMeshIsTakenAsAFirstClick)
{
    buildBipyramid(6);
    toggleEdgeCut();
    clickOn(edgeOf(0, 2));
    // A new model arrives without anyone forgetting the pending edge.
    buildBipyramid(5);
    StoreCopy before = StoreCopy::take();
    int e = edgeOf(0, 3);
    clickOn(e);
    EXPECT_TRUE(sameMesh(StoreCopy::take(), before));
    EXPECT_EQ(interaction.cuts.pendingEdge, e);
    EXPECT_EQ(interaction.edgeCutMode, 1);
}

TEST_F(EdgeCut, TwoClicksInDifferentFansOfOneVertexAreAbandonedWithTheMeshUnchanged)
{
    // Two closed double pyramids sharing their top apex: the walk around
    // vertex 0 from one edge never meets the other edge.
    Vertices v = {{0, 0, 0}, {0, 0, -2}, {1, 0, -1}, {0, 1, -1}, {-1, 0, -1}, {0, -1, -1},
                  {0, 0, 2},  {1, 0, 1},  {0, 1, 1},  {-1, 0, 1}, {0, -1, 1}};
    Faces f;
    for (int base : {2, 7}) {
        int apex = base == 2 ? 1 : 6;
        for (int i = 0; i < 4; ++i) {
            int r = base + i, s = base + (i + 1) % 4;
            f.push_back({0, r, s});
            f.push_back({apex, s, r});
        }
    }
    buildMesh(v, f);
    StoreCopy before = StoreCopy::take();
    toggleEdgeCut();
    clickOn(edgeOf(0, 2));
    clickOn(edgeOf(0, 8));
    EXPECT_TRUE(sameMesh(StoreCopy::take(), before));
    EXPECT_EQ(interaction.cuts.pendingEdge, -1);
    EXPECT_EQ(interaction.edgeCutMode, 0);
    EXPECT_FALSE(interaction.cutModeActive);
    undoCut();
    EXPECT_TRUE(sameMesh(StoreCopy::take(), before));
}

TEST_F(FaceCut, RemovedTriangleComesBackAsTheLastOne)
{
    buildMesh({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}}, {{0, 1, 2}, {0, 2, 3}, {0, 3, 1}});
    toggleFaceCut();
    EXPECT_TRUE(currentView.showEdges);
    clickOn(0);
    ASSERT_EQ(currentModel.faceCount, 2);
    EXPECT_EQ((std::array{currentModel.faceA[0], currentModel.faceB[0], currentModel.faceC[0]}), (std::array{0, 2, 3}));
    EXPECT_EQ((std::array{currentModel.faceA[1], currentModel.faceB[1], currentModel.faceC[1]}), (std::array{0, 3, 1}));
    EXPECT_EQ((std::array{currentModel.faceA[2], currentModel.faceB[2], currentModel.faceC[2]}), (std::array{0, 1, 2}));
    EXPECT_EQ(interaction.faceCutMode, 0);
    EXPECT_FALSE(currentView.showEdges);

    undoCut();
    ASSERT_EQ(currentModel.faceCount, 3);
    EXPECT_EQ((std::array{currentModel.faceA[2], currentModel.faceB[2], currentModel.faceC[2]}), (std::array{0, 1, 2}));
    EXPECT_EQ(currentModel.edgeCount, 6);
    EXPECT_EQ(currentModel.boundaryLoopLength, 3);
}

TEST_F(FaceCut, UndoBringsBackTheVerticesTheRebuildDroppedAtTheirNumbers)
{
    Vertices v = {{0, 0, 0}, {1, 0, 0.5}, {1, 1, 0.25}, {0, 1, 0.125}, {-1, 1, 0.0625}};
    buildMesh(v, {{0, 1, 2}, {0, 2, 3}, {0, 3, 4}});
    StoreCopy before = StoreCopy::take();
    toggleFaceCut();
    clickOn(0);
    ASSERT_EQ(currentModel.vertexCount, 4); // vertex 1 was used by the removed triangle only
    EXPECT_EQ(currentModel.faceB[0], 1);    // old vertex 2, renumbered

    undoCut();
    ASSERT_EQ(currentModel.vertexCount, 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(currentModel.vertexX[i], v[i][0]);
        EXPECT_EQ(currentModel.vertexZ[i], v[i][2]);
    }
    ASSERT_EQ(currentModel.faceCount, 3);
    EXPECT_EQ((std::array{currentModel.faceA[0], currentModel.faceB[0], currentModel.faceC[0]}), (std::array{0, 2, 3}));
    EXPECT_EQ((std::array{currentModel.faceA[1], currentModel.faceB[1], currentModel.faceC[1]}), (std::array{0, 3, 4}));
    EXPECT_EQ((std::array{currentModel.faceA[2], currentModel.faceB[2], currentModel.faceC[2]}), (std::array{0, 1, 2}));
    EXPECT_EQ(currentModel.edgeCount, before.edgeCount);
}

TEST_F(FaceCut, CuttingTheOnlyTriangleEmptiesTheMeshAndUndoRestoresIt)
{
    buildMesh({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{0, 1, 2}});
    StoreCopy before = StoreCopy::take();
    toggleFaceCut();
    clickOn(0);
    EXPECT_EQ(currentModel.faceCount, 0);
    EXPECT_EQ(currentModel.vertexCount, 0);
    EXPECT_EQ(currentModel.edgeCount, 0);
    undoCut();
    EXPECT_TRUE(sameMesh(StoreCopy::take(), before));
}

TEST_F(FaceCut, UndoIsRefusedOnceTheMeshChangedOtherwise)
{
    buildBipyramid(4);
    toggleFaceCut();
    clickOn(3);
    StoreCopy afterCut = StoreCopy::take();
    forgetPendingCut(interaction.cuts); // a new model or a subdivision step
    undoCut();
    EXPECT_TRUE(sameMesh(StoreCopy::take(), afterCut));

    // Any other change of the mesh (a new revision) is recognised as well.
    for (auto toggle : {toggleVertexCut, toggleEdgeCut, toggleFaceCut}) {
        buildBipyramid(6);
        toggle();
        if (interaction.edgeCutMode == 1)
            clickOn(edgeOf(0, 2)); // the first of two clicks
        clickOn(interaction.edgeCutMode == 1 ? edgeOf(0, 5) : 0);
        ASSERT_NE(currentModel.vertexCount + currentModel.faceCount, 8 + 12); // the cut was made
        currentModel.vertexX[3] += 0.5;
        touchMesh(currentModel);
        StoreCopy changed = StoreCopy::take();
        undoCut();
        EXPECT_TRUE(sameMesh(StoreCopy::take(), changed));
    }
}

TEST_F(CutTest, CutsAndUndosWithoutAModelChangeNothing)
{
    for (auto toggle : {toggleVertexCut, toggleEdgeCut, toggleFaceCut}) {
        toggle();
        clickOn(0);
        undoCut();
        EXPECT_EQ(currentModel.vertexCount, 0);
        EXPECT_EQ(currentModel.faceCount, 0);
        EXPECT_FALSE(interaction.cutModeActive);
    }
    undoVertexCut(currentModel, interaction.cuts, 0);
    undoEdgeCut(currentModel, interaction.cuts);
    undoFaceCut(currentModel, interaction.cuts);
    EXPECT_EQ(currentModel.faceCount, 0);
    // Only the three Enters flashed.
    EXPECT_EQ(scriptSleeps.size(), 3u);
}

TEST_F(CutTest, VertexUndoOfAnotherVertexIsRefused)
{
    buildBipyramid(6);
    toggleVertexCut();
    clickOn(0);
    StoreCopy afterCut = StoreCopy::take();
    undoVertexCut(currentModel, interaction.cuts, 2);
    EXPECT_TRUE(sameMesh(StoreCopy::take(), afterCut));
    undoVertexCut(currentModel, interaction.cuts, 0);
    EXPECT_EQ(currentModel.vertexCount, 8);
}

} // namespace
