// The cut modes: the display flags they force and put back, and which cut a click makes.
#include "app/cut_modes.h"
#include "tests/model/cutting_support.h"

namespace {

using CutModes = CutTest;

TEST_F(CutModes, EachModeForcesItsFlagsAndPutsBackWhatWasThere)
{
    currentView.showNormals = true;
    currentView.showBoundary = false;
    currentView.showEdges = false;
    currentView.showVertices = false;
    currentView.showFaces = false;

    toggleVertexCut();
    EXPECT_TRUE(currentView.showVertices);
    EXPECT_FALSE(currentView.showNormals);
    EXPECT_EQ(interaction.cutKind, 1);
    EXPECT_TRUE(interaction.cutModeActive);
    EXPECT_FALSE(currentView.cursorTracked);
    toggleVertexCut();
    EXPECT_FALSE(currentView.showVertices);
    EXPECT_TRUE(currentView.showNormals);
    EXPECT_FALSE(interaction.cutModeActive);
    EXPECT_EQ(interaction.cutKind, 1); // switching off keeps the kind

    currentView.cursorTracked = true;
    toggleEdgeCut();
    EXPECT_TRUE(currentView.showEdges);
    EXPECT_TRUE(currentView.showBoundary);
    EXPECT_FALSE(currentView.showNormals);
    EXPECT_EQ(interaction.cutKind, 2);
    EXPECT_FALSE(currentView.cursorTracked);
    toggleEdgeCut();
    EXPECT_FALSE(currentView.showEdges);
    EXPECT_FALSE(currentView.showBoundary);
    EXPECT_TRUE(currentView.showNormals);

    toggleFaceCut();
    EXPECT_TRUE(currentView.showEdges);
    EXPECT_TRUE(currentView.showFaces);
    EXPECT_FALSE(currentView.showNormals);
    EXPECT_EQ(currentView.faceMode, 1); // only the flag is forced
    EXPECT_EQ(interaction.cutKind, 3);
    toggleFaceCut();
    EXPECT_FALSE(currentView.showEdges);
    EXPECT_FALSE(currentView.showFaces);
    EXPECT_TRUE(currentView.showNormals);
}

TEST_F(CutModes, EachModeKeepsItsOwnSavedFlags)
{
    toggleVertexCut(); // saves showVertices false
    currentView.showVertices = false;
    toggleEdgeCut(); // saves showEdges false, showBoundary false
    toggleVertexCut();
    EXPECT_FALSE(currentView.showVertices);
    EXPECT_FALSE(interaction.cutModeActive); // any mode going off clears it
    toggleEdgeCut();
    EXPECT_FALSE(currentView.showEdges);
    EXPECT_FALSE(currentView.showBoundary);
    EXPECT_EQ(interaction.vertexCutMode + interaction.edgeCutMode + interaction.faceCutMode, 0);
}

TEST_F(CutModes, ClickCutsOnlyWithTheKindWhoseHighlightPickedTheElement)
{
    buildBipyramid(6);
    toggleVertexCut();
    toggleFaceCut();
    interaction.picked.kind = 3; // the face highlight ran last
    interaction.picked.element = 0;
    applyCut();
    EXPECT_EQ(currentModel.faceCount, 11);
    EXPECT_EQ(currentModel.vertexCount, 8); // triangle 0 was not read as vertex 0
    EXPECT_EQ(interaction.faceCutMode, 0);
    EXPECT_EQ(interaction.vertexCutMode, 1);

    // Enter undoes the cut the click made.
    undoCut();
    EXPECT_EQ(currentModel.faceCount, 12);
}

TEST_F(CutModes, WithoutAKnownPickEveryModeOnCutsTheSameIndex)
{
    buildBipyramid(6);
    toggleVertexCut();
    toggleFaceCut();
    interaction.picked.kind = 0;
    interaction.picked.element = 0;
    applyCut();
    // Vertex 0 split into six, then triangle 0 (holding the vertex itself now) removed.
    EXPECT_EQ(currentModel.vertexCount, 12);
    EXPECT_EQ(currentModel.faceCount, 11);
    EXPECT_EQ(interaction.vertexCutMode + interaction.faceCutMode, 0);
    // The face cut was the last change: it is the one Enter undoes.
    undoCut();
    EXPECT_EQ(currentModel.faceCount, 12);
    EXPECT_EQ(currentModel.vertexCount, 13);
}

TEST_F(CutModes, InitPutsEverythingBack)
{
    buildBipyramid(6);
    toggleEdgeCut();
    interaction.picked.element = findEdge(currentModel, 0, 2);
    applyCut();
    initCutModes();
    EXPECT_EQ(interaction.cuts.pendingEdge, -1);
    EXPECT_EQ(interaction.edgeCutMode, 0);
    EXPECT_EQ(interaction.cutKind, 0);
    EXPECT_FALSE(interaction.cutModeActive);
}

} // namespace
