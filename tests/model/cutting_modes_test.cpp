// The cut modes: the display flags they force and put back, and which cut a click makes.
#include "app/cut_modes.h"
#include "tests/model/cutting_support.h"

namespace {

using CutModes = CutTest;

TEST_F(CutModes, EachModeForcesItsFlagsAndPutsBackWhatWasThere)
{
    showNormals = true;
    showBoundary = false;
    showEdges = false;
    showVertices = false;
    showFaces = false;

    toggleVertexCut();
    EXPECT_TRUE(showVertices);
    EXPECT_FALSE(showNormals);
    EXPECT_EQ(cutKind, 1);
    EXPECT_TRUE(cutModeActive);
    EXPECT_FALSE(cursorTracked);
    toggleVertexCut();
    EXPECT_FALSE(showVertices);
    EXPECT_TRUE(showNormals);
    EXPECT_FALSE(cutModeActive);
    EXPECT_EQ(cutKind, 1); // switching off keeps the kind

    cursorTracked = true;
    toggleEdgeCut();
    EXPECT_TRUE(showEdges);
    EXPECT_TRUE(showBoundary);
    EXPECT_FALSE(showNormals);
    EXPECT_EQ(cutKind, 2);
    EXPECT_FALSE(cursorTracked);
    toggleEdgeCut();
    EXPECT_FALSE(showEdges);
    EXPECT_FALSE(showBoundary);
    EXPECT_TRUE(showNormals);

    toggleFaceCut();
    EXPECT_TRUE(showEdges);
    EXPECT_TRUE(showFaces);
    EXPECT_FALSE(showNormals);
    EXPECT_EQ(faceMode, 1); // only the flag is forced
    EXPECT_EQ(cutKind, 3);
    toggleFaceCut();
    EXPECT_FALSE(showEdges);
    EXPECT_FALSE(showFaces);
    EXPECT_TRUE(showNormals);
}

TEST_F(CutModes, EachModeKeepsItsOwnSavedFlags)
{
    toggleVertexCut(); // saves showVertices false
    showVertices = false;
    toggleEdgeCut(); // saves showEdges false, showBoundary false
    toggleVertexCut();
    EXPECT_FALSE(showVertices);
    EXPECT_FALSE(cutModeActive); // any mode going off clears it
    toggleEdgeCut();
    EXPECT_FALSE(showEdges);
    EXPECT_FALSE(showBoundary);
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
