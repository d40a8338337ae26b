// Mouse sampling: drag rotation, the dead margins of the window, the click
// that cuts once per press, and the Enter undo.
#include <gtest/gtest.h>

#include <cmath>

#include "app/main_window.h"
#include "model/cutting.h"
#include "app/cut_modes.h"
#include "app/session.h"
#include "model/topology.h"
#include "tests/support/platform_script.h"
#include "render/layers.h"
#include "render/mouse.h"
#include "render/view_state.h"
#include "tests/support/egl_context.h"
#include "tests/support/mesh_builder.h"

namespace {

class Mouse : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetProgramState();
        scriptReset();
        interaction.picked.element = -1;
        ASSERT_TRUE(makeOffscreenContext(64, 64));
    }

    // One frame's sample with the cursor at (x, y).
    static void sampleAt(int x, int y)
    {
        scriptCursorX = x;
        scriptCursorY = y;
        sampleMouse();
    }

    static void expectAngles(double y, double x, double z)
    {
        EXPECT_DOUBLE_EQ(currentView.viewAngleY, y);
        EXPECT_DOUBLE_EQ(currentView.viewAngleX, x);
        EXPECT_DOUBLE_EQ(currentView.viewAngleZ, z);
    }

    // A closed double pyramid over a hexagon; vertex 0 has six triangles.
    static void buildBipyramid()
    {
        std::vector<std::array<double, 3>> v = {{0, 0, 1}, {0, 0, -1}};
        std::vector<std::array<int, 3>> f;
        for (int i = 0; i < 6; ++i)
            v.push_back({std::cos(i * M_PI / 3), std::sin(i * M_PI / 3), 0});
        for (int i = 0; i < 6; ++i) {
            f.push_back({0, 2 + i, 2 + (i + 1) % 6});
            f.push_back({1, 2 + (i + 1) % 6, 2 + i});
        }
        setMesh(v, f);
        buildTopology(currentModel);
    }
};

TEST_F(Mouse, LeftDragTurnsAboutYAndXByTwoThirdsOfADegreePerPixel)
{
    sampleAt(400, 400);
    scriptKeys[keyLeftButton] = true;
    sampleAt(430, 415);
    expectAngles(20.0, 10.0, 0.0);
    EXPECT_EQ(currentView.lastCursorX, 430);
    EXPECT_EQ(currentView.lastCursorY, 415);
}

TEST_F(Mouse, RightDragTurnsAboutZAndXAndBothButtonsAddUp)
{
    sampleAt(400, 400);
    scriptKeys[keyRightButton] = true;
    sampleAt(430, 415);
    expectAngles(0.0, 10.0, 20.0);
    scriptKeys[keyLeftButton] = true;
    sampleAt(460, 430);
    expectAngles(20.0, 30.0, 40.0);
}

TEST_F(Mouse, NoButtonNoTurn)
{
    sampleAt(400, 400);
    sampleAt(500, 500);
    expectAngles(0.0, 0.0, 0.0);
}

TEST_F(Mouse, DeadMarginsNeverTurnTheViewButTheSampleIsKept)
{
    // The window's outer rectangle is (100, 100) - (740, 740).
    scriptKeys[keyLeftButton] = true;
    scriptKeys[keyRightButton] = true;
    struct Move {
        int x0, y0, x1, y1;
    };
    for (Move m : {Move{105, 400, 109, 403}, Move{735, 400, 731, 403}, Move{400, 120, 403, 149},
                   Move{400, 730, 403, 706}}) {
        sampleAt(m.x0, m.y0);
        sampleAt(m.x1, m.y1);
        expectAngles(0.0, 0.0, 0.0);
        EXPECT_TRUE(currentView.cursorTracked);
    }
    // The last pixels of the active area still turn it.
    for (Move m : {Move{110, 400, 110, 403}, Move{730, 400, 730, 403}, Move{400, 150, 400, 153},
                   Move{400, 705, 400, 702}}) {
        initViewState();
        sampleAt(m.x0, m.y0);
        sampleAt(m.x1, m.y1);
        EXPECT_NE(currentView.viewAngleX, 0.0) << m.x0 << "," << m.y0;
    }
    // Coming in from the margin, the step is measured from the sample taken there.
    initViewState();
    sampleAt(105, 400);
    sampleAt(135, 400);
    expectAngles(20.0, 0.0, 20.0);
}

TEST_F(Mouse, ClearedTrackingSkipsOneStep)
{
    sampleAt(400, 400);
    scriptKeys[keyLeftButton] = true;
    currentView.cursorTracked = false; // a menu was open, or a cut mode began
    sampleAt(460, 400);
    expectAngles(0.0, 0.0, 0.0);
    sampleAt(490, 400);
    expectAngles(20.0, 0.0, 0.0);
}

TEST_F(Mouse, OnePressCutsOnceAndTheViewDoesNotTurnInACutMode)
{
    buildBipyramid();
    toggleEdgeCut();
    sampleAt(400, 400);
    scriptKeys[keyRightButton] = true;
    sampleAt(460, 430);
    expectAngles(0.0, 0.0, 0.0);
    scriptKeys[keyRightButton] = false;

    // Two clicks in the edge mode: the first only waits for the second.
    interaction.picked.element = findEdge(currentModel, 0, 2);
    scriptKeys[keyLeftButton] = true;
    for (int frame = 0; frame < 5; ++frame)
        sampleAt(400 + frame, 400);
    EXPECT_EQ(interaction.cuts.pendingEdge, findEdge(currentModel, 0, 2));
    EXPECT_EQ(currentModel.vertexCount, 8);
    expectAngles(0.0, 0.0, 0.0);
    EXPECT_FALSE(interaction.clickLatch);

    scriptKeys[keyLeftButton] = false;
    sampleAt(400, 400);
    EXPECT_TRUE(interaction.clickLatch);
    interaction.picked.element = findEdge(currentModel, 0, 5);
    scriptKeys[keyLeftButton] = true;
    for (int frame = 0; frame < 5; ++frame)
        sampleAt(400, 400);
    EXPECT_EQ(currentModel.vertexCount, 9);
    EXPECT_EQ(scriptSleeps.size(), 1u);
    EXPECT_TRUE(interaction.cutPickPending);
}

TEST_F(Mouse, EnterUndoesTheCutOnceAndAMenuCommandMakesItFinal)
{
    buildBipyramid();
    toggleVertexCut();
    interaction.picked.element = 0;
    sampleAt(400, 400);
    scriptKeys[keyLeftButton] = true;
    sampleAt(400, 400);
    ASSERT_EQ(currentModel.vertexCount, 13);
    scriptKeys[keyLeftButton] = false;
    sampleAt(400, 400);

    scriptKeys[keyEnter] = true;
    sampleAt(400, 400);
    EXPECT_EQ(currentModel.vertexCount, 8);
    EXPECT_FALSE(interaction.cutPickPending);
    EXPECT_EQ(scriptSleeps.size(), 2u); // the cut's flash and the undo's
    sampleAt(400, 400);                 // Enter still held: nothing more
    scriptKeys[keyEnter] = false;
    EXPECT_EQ(scriptSleeps.size(), 2u);

    // Cut again, then any menu command: Enter no longer undoes.
    toggleVertexCut();
    interaction.cutPickPending = false;
    sampleAt(400, 400);
    scriptKeys[keyLeftButton] = true;
    sampleAt(400, 400);
    ASSERT_EQ(currentModel.vertexCount, 13);
    interaction.cutPickPending = false; // what every menu command does
    scriptKeys[keyEnter] = true;
    sampleAt(400, 400);
    EXPECT_EQ(currentModel.vertexCount, 13);
}

TEST_F(Mouse, EnterWithoutACutDoesNothing)
{
    buildBipyramid();
    scriptKeys[keyEnter] = true;
    sampleAt(400, 400);
    EXPECT_EQ(currentModel.vertexCount, 8);
    EXPECT_TRUE(scriptSleeps.empty());
}

TEST_F(Mouse, EnterAfterTheFirstOfTwoClicksKeepsThePendingEdge)
{
    buildBipyramid();
    toggleEdgeCut();
    interaction.picked.element = findEdge(currentModel, 0, 2);
    sampleAt(400, 400);
    scriptKeys[keyLeftButton] = true;
    sampleAt(400, 400);
    scriptKeys[keyLeftButton] = false;
    scriptKeys[keyEnter] = true;
    sampleAt(400, 400);
    scriptKeys[keyEnter] = false;
    EXPECT_EQ(currentModel.vertexCount, 8);
    EXPECT_EQ(interaction.cuts.pendingEdge, findEdge(currentModel, 0, 2));
    // Nothing to undo: the Enter only flashes the borders.
    EXPECT_EQ(scriptSleeps, std::vector<int>{250});

    interaction.picked.element = findEdge(currentModel, 0, 4);
    scriptKeys[keyLeftButton] = true;
    sampleAt(400, 400);
    EXPECT_EQ(currentModel.vertexCount, 9);
}

TEST_F(Mouse, ClickWithNothingPickedLeavesTheModeHarmlessly)
{
    toggleFaceCut();
    scriptKeys[keyLeftButton] = true;
    sampleAt(400, 400);
    EXPECT_EQ(interaction.faceCutMode, 0);
    EXPECT_FALSE(interaction.cutModeActive);
    scriptKeys[keyLeftButton] = false;
    scriptKeys[keyEnter] = true;
    sampleAt(400, 400);
    EXPECT_EQ(currentModel.faceCount, 0);
}

} // namespace
