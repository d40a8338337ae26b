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
    int e = findEdge(a, b);
    EXPECT_GE(e, 0) << "no edge " << a << "-" << b;
    return e;
}

// Picks an element and clicks, as the frame and the mouse do.
void clickOn(int element)
{
    pickedElement = element;
    applyCut();
}

using VertexCut = CutTest;
using EdgeCut = CutTest;
using FaceCut = CutTest;

TEST_F(VertexCut, InnerVertexOfSixTrianglesOpensALoopOfTwelveAndEnterRestoresIt)
{
    buildBipyramid(6);
    StoreCopy before = StoreCopy::take();
    ASSERT_EQ(boundaryEdgeCount, 0);

    toggleVertexCut();
    clickOn(0);

    EXPECT_EQ(vertexCount, 8 + 5);
    EXPECT_EQ(boundaryEdgeCount, 12);
    EXPECT_EQ(boundaryLoopLength, 12);
    EXPECT_EQ(cutAddedCount, 5);
    EXPECT_EQ(vertexCutMode, 0);
    EXPECT_FALSE(cutModeActive);
    EXPECT_FALSE(currentView.showVertices);
    // Every copy sits where the vertex was.
    for (int i = 8; i < 13; ++i)
        EXPECT_EQ(vertexZ[i], 1.0);
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
    EXPECT_EQ(faceA[0], 0);
    EXPECT_EQ(faceA[2], 6);
    EXPECT_EQ(faceA[4], 7);
    EXPECT_EQ(faceA[6], 8);
}

TEST_F(VertexCut, VertexOfOneTriangleOrNoVertexCutsNothingAndLeavesTheMode)
{
    buildStrip(1); // vertex 1 belongs to triangle 0 only
    StoreCopy before = StoreCopy::take();
    for (int v : {1, -1, vertexCount, 1000}) {
        toggleVertexCut();
        ASSERT_EQ(vertexCutMode, 1);
        clickOn(v);
        EXPECT_TRUE(sameMesh(StoreCopy::take(), before)) << v;
        EXPECT_EQ(vertexCutMode, 0);
        EXPECT_FALSE(cutModeActive);
        EXPECT_EQ(cutAddedCount, 0);
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
    EXPECT_EQ(edgeCutMode, 0);
    EXPECT_FALSE(cutModeActive);
    EXPECT_FALSE(currentView.showEdges);
    EXPECT_FALSE(currentView.showBoundary);
}

TEST_F(EdgeCut, OneEndCutAddsOneVertexAndTwoBorderEdgesAndEnterMergesThem)
{
    setGridMesh(3);
    buildTopology();
    StoreCopy before = StoreCopy::take();
    toggleEdgeCut();
    clickOn(edgeOf(1, 5)); // vertex 1 on the border, 5 inside
    EXPECT_EQ(vertexCount, before.vertexCount + 1);
    EXPECT_EQ(boundaryEdgeCount, before.boundaryEdgeCount + 2);
    EXPECT_EQ(cutAddedCount, 1);
    EXPECT_EQ(cutSource1, 1);
    EXPECT_EQ(edgeCutMode, 0);
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
    EXPECT_EQ(vertexCount, before.vertexCount + 2);
    EXPECT_EQ(pieceCount(), 2);
    EXPECT_EQ(cutAddedCount, 2);
    EXPECT_EQ(cutSource1, 1);
    EXPECT_EQ(cutSource2, 5);
    // The copy of cutSource1 is the last vertex, that of cutSource2 the one before.
    EXPECT_EQ(vertexX[vertexCount - 1], vertexX[1]);
    EXPECT_EQ(vertexY[vertexCount - 2], vertexY[5]);

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
    EXPECT_EQ(pendingEdge, first);
    EXPECT_EQ(edgeCutMode, 1);
    EXPECT_TRUE(cutModeActive);
    EXPECT_TRUE(sameMesh(StoreCopy::take(), before));

    clickOn(second);
    EXPECT_EQ(vertexCount, before.vertexCount + 1);
    EXPECT_EQ(boundaryEdgeCount, 4);
    EXPECT_EQ(boundaryLoopLength, 4);
    EXPECT_EQ(cutSource1, 0);
    EXPECT_EQ(pendingEdge, -1);
    EXPECT_EQ(edgeCutMode, 0);
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
        EXPECT_EQ(pendingEdge, -1);
        EXPECT_EQ(edgeCutMode, 0);
        EXPECT_FALSE(cutModeActive);
        EXPECT_EQ(cutAddedCount, 0);
    }
}

TEST_F(EdgeCut, EnterAfterTheFirstClickDoesNothingAndTheSecondClickStillCuts)
{
    setGridMesh(3);
    buildTopology();
    toggleEdgeCut();
    clickOn(edgeOf(1, 5)); // an earlier one-end cut, whose record must not be undone later
    StoreCopy afterFirstCut = StoreCopy::take();

    toggleEdgeCut();
    clickOn(edgeOf(6, 10)); // both ends inside: first of two clicks
    ASSERT_GE(pendingEdge, 0);
    size_t flashes = scriptSleeps.size();
    undoCut();
    EXPECT_TRUE(sameMesh(StoreCopy::take(), afterFirstCut));
    EXPECT_EQ(scriptSleeps.size(), flashes + 1);
    EXPECT_EQ(edgeCutMode, 1);

    clickOn(edgeOf(9, 10));
    EXPECT_EQ(vertexCount, afterFirstCut.vertexCount + 1);
    EXPECT_EQ(boundaryEdgeCount, afterFirstCut.boundaryEdgeCount + 4);
}

TEST_F(EdgeCut, PendingEdgeIsForgottenWhenTheMeshChanges)
{
    buildBipyramid(6);
    toggleEdgeCut();
    clickOn(edgeOf(0, 2));
    ASSERT_GE(pendingEdge, 0);
    forgetPendingCut();
    EXPECT_EQ(pendingEdge, -1);

    // Another cut changes the mesh: the pending edge goes.
    clickOn(edgeOf(0, 2));
    ASSERT_GE(pendingEdge, 0);
    toggleEdgeCut(); // leaving the mode keeps it
    EXPECT_GE(pendingEdge, 0);
    toggleFaceCut();
    clickOn(0);
    EXPECT_EQ(pendingEdge, -1);
}

TEST_F(EdgeCut, SubdivisionAndANewModelForgetThePendingEdge)
{
    buildBipyramid(6);
    toggleEdgeCut();
    clickOn(edgeOf(0, 2));
    ASSERT_GE(pendingEdge, 0);
    subdivideLoop();
    EXPECT_EQ(pendingEdge, -1);

    clickOn(0); // any edge of the closed refined mesh starts a two-click cut
    ASSERT_GE(pendingEdge, 0);
    scriptFileAnswers.push_back(std::string(SOURCE_DIR) + "/data/tore.off");
    openModel();
    ASSERT_TRUE(topologyBuilt);
    EXPECT_EQ(pendingEdge, -1);
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
    EXPECT_EQ(pendingEdge, e);
    EXPECT_EQ(edgeCutMode, 1);
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
    EXPECT_EQ(pendingEdge, -1);
    EXPECT_EQ(edgeCutMode, 0);
    EXPECT_FALSE(cutModeActive);
    undoCut();
    EXPECT_TRUE(sameMesh(StoreCopy::take(), before));
}

TEST_F(FaceCut, RemovedTriangleComesBackAsTheLastOne)
{
    buildMesh({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}}, {{0, 1, 2}, {0, 2, 3}, {0, 3, 1}});
    toggleFaceCut();
    EXPECT_TRUE(currentView.showEdges);
    clickOn(0);
    ASSERT_EQ(faceCount, 2);
    EXPECT_EQ((std::array{faceA[0], faceB[0], faceC[0]}), (std::array{0, 2, 3}));
    EXPECT_EQ((std::array{faceA[1], faceB[1], faceC[1]}), (std::array{0, 3, 1}));
    EXPECT_EQ((std::array{faceA[2], faceB[2], faceC[2]}), (std::array{0, 1, 2}));
    EXPECT_EQ(faceCutMode, 0);
    EXPECT_FALSE(currentView.showEdges);

    undoCut();
    ASSERT_EQ(faceCount, 3);
    EXPECT_EQ((std::array{faceA[2], faceB[2], faceC[2]}), (std::array{0, 1, 2}));
    EXPECT_EQ(edgeCount, 6);
    EXPECT_EQ(boundaryLoopLength, 3);
}

TEST_F(FaceCut, UndoBringsBackTheVerticesTheRebuildDroppedAtTheirNumbers)
{
    Vertices v = {{0, 0, 0}, {1, 0, 0.5}, {1, 1, 0.25}, {0, 1, 0.125}, {-1, 1, 0.0625}};
    buildMesh(v, {{0, 1, 2}, {0, 2, 3}, {0, 3, 4}});
    StoreCopy before = StoreCopy::take();
    toggleFaceCut();
    clickOn(0);
    ASSERT_EQ(vertexCount, 4); // vertex 1 was used by the removed triangle only
    EXPECT_EQ(faceB[0], 1);    // old vertex 2, renumbered

    undoCut();
    ASSERT_EQ(vertexCount, 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(vertexX[i], v[i][0]);
        EXPECT_EQ(vertexZ[i], v[i][2]);
    }
    ASSERT_EQ(faceCount, 3);
    EXPECT_EQ((std::array{faceA[0], faceB[0], faceC[0]}), (std::array{0, 2, 3}));
    EXPECT_EQ((std::array{faceA[1], faceB[1], faceC[1]}), (std::array{0, 3, 4}));
    EXPECT_EQ((std::array{faceA[2], faceB[2], faceC[2]}), (std::array{0, 1, 2}));
    EXPECT_EQ(edgeCount, before.edgeCount);
}

TEST_F(FaceCut, CuttingTheOnlyTriangleEmptiesTheMeshAndUndoRestoresIt)
{
    buildMesh({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{0, 1, 2}});
    StoreCopy before = StoreCopy::take();
    toggleFaceCut();
    clickOn(0);
    EXPECT_EQ(faceCount, 0);
    EXPECT_EQ(vertexCount, 0);
    EXPECT_EQ(edgeCount, 0);
    undoCut();
    EXPECT_TRUE(sameMesh(StoreCopy::take(), before));
}

TEST_F(FaceCut, UndoIsRefusedOnceTheMeshChangedOtherwise)
{
    buildBipyramid(4);
    toggleFaceCut();
    clickOn(3);
    StoreCopy afterCut = StoreCopy::take();
    forgetPendingCut(); // a new model or a subdivision step
    undoCut();
    EXPECT_TRUE(sameMesh(StoreCopy::take(), afterCut));

    // A change nobody announced is recognised as well.
    for (auto toggle : {toggleVertexCut, toggleEdgeCut, toggleFaceCut}) {
        buildBipyramid(6);
        toggle();
        if (edgeCutMode == 1)
            clickOn(edgeOf(0, 2)); // the first of two clicks
        clickOn(edgeCutMode == 1 ? edgeOf(0, 5) : 0);
        ASSERT_NE(vertexCount + faceCount, 8 + 12); // the cut was made
        vertexX[3] += 0.5;
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
        EXPECT_EQ(vertexCount, 0);
        EXPECT_EQ(faceCount, 0);
        EXPECT_FALSE(cutModeActive);
    }
    undoVertexCut(0);
    undoEdgeCut();
    undoFaceCut();
    EXPECT_EQ(faceCount, 0);
    // Only the three Enters flashed.
    EXPECT_EQ(scriptSleeps.size(), 3u);
}

TEST_F(CutTest, VertexUndoOfAnotherVertexIsRefused)
{
    buildBipyramid(6);
    toggleVertexCut();
    clickOn(0);
    StoreCopy afterCut = StoreCopy::take();
    undoVertexCut(2);
    EXPECT_TRUE(sameMesh(StoreCopy::take(), afterCut));
    undoVertexCut(0);
    EXPECT_EQ(vertexCount, 8);
}

} // namespace
