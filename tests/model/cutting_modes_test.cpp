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
    EXPECT_EQ(cutKind, 1);
    EXPECT_TRUE(cutModeActive);
    EXPECT_FALSE(currentView.cursorTracked);
    toggleVertexCut();
    EXPECT_FALSE(currentView.showVertices);
    EXPECT_TRUE(currentView.showNormals);
    EXPECT_FALSE(cutModeActive);
    EXPECT_EQ(cutKind, 1); // switching off keeps the kind

    currentView.cursorTracked = true;
    toggleEdgeCut();
    EXPECT_TRUE(currentView.showEdges);
    EXPECT_TRUE(currentView.showBoundary);
    EXPECT_FALSE(currentView.showNormals);
    EXPECT_EQ(cutKind, 2);
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
    EXPECT_EQ(cutKind, 3);
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
    EXPECT_FALSE(cutModeActive); // any mode going off clears it
    toggleEdgeCut();
    EXPECT_FALSE(currentView.showEdges);
    EXPECT_FALSE(currentView.showBoundary);
    EXPECT_EQ(vertexCutMode + edgeCutMode + faceCutMode, 0);
}

TEST_F(CutModes, ClickCutsOnlyWithTheKindWhoseHighlightPickedTheElement)
{
    buildBipyramid(6);
    toggleVertexCut();
    toggleFaceCut();
    pickedCutKind = 3; // the face highlight ran last
    pickedElement = 0;
    applyCut();
    EXPECT_EQ(faceCount, 11);
    EXPECT_EQ(vertexCount, 8); // triangle 0 was not read as vertex 0
    EXPECT_EQ(faceCutMode, 0);
    EXPECT_EQ(vertexCutMode, 1);

    // Enter undoes the cut the click made.
    undoCut();
    EXPECT_EQ(faceCount, 12);
}

TEST_F(CutModes, WithoutAKnownPickEveryModeOnCutsTheSameIndex)
{
    buildBipyramid(6);
    toggleVertexCut();
    toggleFaceCut();
    pickedCutKind = 0;
    pickedElement = 0;
    applyCut();
    // Vertex 0 split into six, then triangle 0 (holding the vertex itself now) removed.
    EXPECT_EQ(vertexCount, 12);
    EXPECT_EQ(faceCount, 11);
    EXPECT_EQ(vertexCutMode + faceCutMode, 0);
    // The face cut was the last change: it is the one Enter undoes.
    undoCut();
    EXPECT_EQ(faceCount, 12);
    EXPECT_EQ(vertexCount, 13);
}

TEST_F(CutModes, InitPutsEverythingBack)
{
    buildBipyramid(6);
    toggleEdgeCut();
    pickedElement = findEdge(0, 2);
    applyCut();
    initCutModes();
    EXPECT_EQ(pendingEdge, -1);
    EXPECT_EQ(edgeCutMode, 0);
    EXPECT_EQ(cutKind, 0);
    EXPECT_FALSE(cutModeActive);
}

} // namespace
