// The frame: camera, keyboard steps and bounds, animation, the axes-only
// rule, presenting, and the pick highlights and clicks of the cut modes.
#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <utility>
#include <vector>

#include "app/main_window.h"
#include "model/cutting.h"
#include "app/cut_modes.h"
#include "app/session.h"
#include "model/topology.h"
#include "tests/support/platform_script.h"
#include "render/frame.h"
#include "render/gl_setup.h"
#include "render/layers.h"
#include "render/mouse.h"
#include "render/scene_cache.h"
#include "render/view_state.h"
#include "tests/support/egl_context.h"
#include "tests/support/mesh_builder.h"
#include "render/textures.h"
#include "texture/texture.h"

namespace {

constexpr int side = 128;

class Frame : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetProgramState();
        scriptReset();
        interaction.picked.element = -1;
        ASSERT_TRUE(makeOffscreenContext(side, side));
        static bool started = false;
        if (!started) {
            initGLForSize(side, side);
            started = true;
        }
        resizeGlView(side, side);
        // The GL view's client area starts at the window's (108, 150); the cursor over its centre.
        scriptViewOriginX = 108;
        scriptViewOriginY = 150;
        scriptCursorX = 108 + side / 2;
        scriptCursorY = 150 + side / 2;
        currentView.lastCursorX = scriptCursorX;
        currentView.lastCursorY = scriptCursorY;
    }

    // Frames with the key held, then released.
    static void holdKey(PlatformKey key, int frames)
    {
        scriptKeys[key] = true;
        for (int i = 0; i < frames; ++i)
            interaction.picked = renderFrame(currentModel, interaction);
        scriptKeys[key] = false;
    }

    // Where the current modelview takes a point.
    static std::array<double, 3> eyePoint(double x, double y, double z)
    {
        double m[16];
        glGetDoublev(GL_MODELVIEW_MATRIX, m);
        return {m[0] * x + m[4] * y + m[8] * z + m[12], m[1] * x + m[5] * y + m[9] * z + m[13],
                m[2] * x + m[6] * y + m[10] * z + m[14]};
    }

    static void expectNear(std::array<double, 3> a, std::array<double, 3> b)
    {
        for (int i = 0; i < 3; ++i)
            EXPECT_NEAR(a[i], b[i], 1e-5) << "coordinate " << i; // GL keeps floats
    }

    // A closed double pyramid over a hexagon, apex 0 towards the viewer.
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

TEST_F(Frame, CameraLooksAtTheOriginFromThePannedEye)
{
    currentView.panX = 0.3;
    currentView.panY = -0.4;
    currentView.cameraDistance = 5.0;
    applyCamera();
    // The origin lies straight ahead of the eye, shifted by the pan.
    expectNear(eyePoint(0, 0, 0), {0.3, -0.4, -std::sqrt(0.09 + 0.16 + 25.0)});
}

TEST_F(Frame, RotationsTurnAboutYThenXThenZ)
{
    currentView.viewAngleY = 90.0;
    applyCamera();
    expectNear(eyePoint(1, 0, 0), {0, 0, -4});
    currentView.viewAngleY = 0.0;
    currentView.viewAngleX = 90.0;
    applyCamera();
    expectNear(eyePoint(0, 1, 0), {0, 0, -2});
    currentView.viewAngleX = 0.0;
    currentView.viewAngleZ = 90.0;
    applyCamera();
    expectNear(eyePoint(1, 0, 0), {0, 1, -3});
    // Y first: (0, 0, 1) turned 90 degrees about X goes to (0, -1, 0), then about Y stays there.
    currentView.viewAngleY = 90.0;
    currentView.viewAngleX = 90.0;
    currentView.viewAngleZ = 0.0;
    applyCamera();
    expectNear(eyePoint(0, 0, 1), {0, -1, -3});
}

TEST_F(Frame, AnimationTurnsEveryFrameBeforeTheRotations)
{
    currentView.withAnimation = true;
    interaction.picked = renderFrame(currentModel, interaction);
    interaction.picked = renderFrame(currentModel, interaction);
    EXPECT_DOUBLE_EQ(currentView.viewAngleY, 0.26);
    EXPECT_DOUBLE_EQ(currentView.viewAngleX, 0.42);
    EXPECT_DOUBLE_EQ(currentView.viewAngleZ, 0.6);
    // This frame's increments are in the rotation it builds.
    currentView.viewAngleY = 89.87;
    currentView.viewAngleX = -0.21;
    currentView.viewAngleZ = -0.3;
    applyCamera();
    expectNear(eyePoint(1, 0, 0), {0, 0, -4});
}

TEST_F(Frame, ADragTurnsTheViewInTheSameFrame)
{
    scriptKeys[keyLeftButton] = true;
    scriptCursorX += 135; // 90 degrees about Y
    sampleMouse();
    applyCamera();
    EXPECT_DOUBLE_EQ(currentView.viewAngleY, 90.0);
    expectNear(eyePoint(1, 0, 0), {0, 0, -4});
}

TEST_F(Frame, ArrowKeysStepOnePercentPerFrameUpToTheirBounds)
{
    holdKey(keyUp, 1);
    EXPECT_DOUBLE_EQ(currentView.cameraDistance, 3.0 * 0.99);
    holdKey(keyUp, 200);
    EXPECT_EQ(currentView.cameraDistance, 1.5);
    holdKey(keyDown, 1);
    EXPECT_DOUBLE_EQ(currentView.cameraDistance, 1.5 * 1.01);
    holdKey(keyDown, 300);
    EXPECT_EQ(currentView.cameraDistance, 15.0);
    holdKey(keyLeft, 1);
    EXPECT_DOUBLE_EQ(currentView.modelScale, 0.99);
    holdKey(keyLeft, 300);
    EXPECT_EQ(currentView.modelScale, 0.1);
    holdKey(keyRight, 600);
    EXPECT_EQ(currentView.modelScale, 10.0);
}

TEST_F(Frame, KeysActFromTheNextFrame)
{
    scriptKeys[keyUp] = true;
    applyCamera();
    EXPECT_DOUBLE_EQ(currentView.cameraDistance, 2.97);
    expectNear(eyePoint(0, 0, 0), {0, 0, -3.0}); // this frame still used the old distance
}

TEST_F(Frame, PanKeysAddTheirStepsEveryFrameDAndSTogether)
{
    scriptKeys[keyD] = true;
    scriptKeys[keyS] = true;
    interaction.picked = renderFrame(currentModel, interaction);
    interaction.picked = renderFrame(currentModel, interaction);
    EXPECT_DOUBLE_EQ(currentView.panY, 0.04);
    scriptKeys[keyD] = scriptKeys[keyS] = false;
    holdKey(keyX, 1);
    EXPECT_DOUBLE_EQ(currentView.panY, 0.03);
    holdKey(keyC, 3);
    EXPECT_DOUBLE_EQ(currentView.panX, 0.03);
    holdKey(keyW, 1);
    EXPECT_DOUBLE_EQ(currentView.panX, 0.02);
}

TEST_F(Frame, TilingKeysActOncePerPressOnlyOnTheImageTexture)
{
    holdKey(keyP, 3);
    EXPECT_EQ(textureTiling, 256);
    currentView.faceMode = 2;
    holdKey(keyP, 3);
    EXPECT_EQ(textureTiling, 512);
    interaction.picked = renderFrame(currentModel, interaction); // released: the latch is set again
    holdKey(keyP, 1);
    EXPECT_EQ(textureTiling, 1024);
    for (int i = 0; i < 3; ++i) {
        interaction.picked = renderFrame(currentModel, interaction);
        holdKey(keyP, 2);
    }
    EXPECT_EQ(textureTiling, 2048);

    textureTiling = 256;
    int expected[] = {128, 64, 64};
    for (int step : expected) {
        interaction.picked = renderFrame(currentModel, interaction);
        holdKey(keyM, 4);
        EXPECT_EQ(textureTiling, step);
    }
}

TEST_F(Frame, TilingLatchIsOnlyExaminedOnTheImageTexture)
{
    currentView.faceMode = 2;
    holdKey(keyP, 1);
    EXPECT_FALSE(keyPLatch);
    currentView.faceMode = 1;
    interaction.picked = renderFrame(currentModel, interaction); // P up, but the latch is not looked at
    EXPECT_FALSE(keyPLatch);
    currentView.faceMode = 2;
    holdKey(keyP, 1);
    EXPECT_EQ(textureTiling, 512);
}

TEST_F(Frame, AxesOnlyForcesTransparencyAndPutsItBack)
{
    currentView.showAxes = true;
    currentView.showFaces = false;
    currentView.faceMode = 0;
    interaction.picked = renderFrame(currentModel, interaction);
    EXPECT_TRUE(currentView.withTransparency);
    EXPECT_TRUE(axesOnlyForced);
    interaction.picked = renderFrame(currentModel, interaction);
    EXPECT_TRUE(currentView.withTransparency);

    currentView.showEdges = true;
    interaction.picked = renderFrame(currentModel, interaction);
    EXPECT_FALSE(currentView.withTransparency);
    EXPECT_FALSE(axesOnlyForced);

    // Transparency already on stays on when the rule lets go.
    currentView.withTransparency = true;
    currentView.showEdges = false;
    interaction.picked = renderFrame(currentModel, interaction);
    currentView.showFaces = true;
    interaction.picked = renderFrame(currentModel, interaction);
    EXPECT_TRUE(currentView.withTransparency);
    EXPECT_FALSE(axesOnlyForced);

    // No axes: no rule.
    initViewState();
    currentView.showFaces = false;
    interaction.picked = renderFrame(currentModel, interaction);
    EXPECT_FALSE(currentView.withTransparency);
}

TEST_F(Frame, FacesAreDrawnBlackWhenSwitchedOffAndPaintPresents)
{
    buildBipyramid();
    currentView.showFaces = false;
    currentView.faceMode = 0;
    paintFrame();
    EXPECT_EQ(scriptPresentCount, 1);
    unsigned char p[4] = {};
    glReadPixels(side / 2, side / 2, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    EXPECT_EQ(p[0], 0);
    EXPECT_EQ(p[1], 0);
    EXPECT_EQ(p[2], 0);
    paintFrame();
    EXPECT_EQ(scriptPresentCount, 2);
}

TEST_F(Frame, VertexModeHighlightsUnderTheCursorAndAClickCutsItThenEnterUndoes)
{
    buildBipyramid();
    toggleVertexCut();
    paintFrame();
    EXPECT_EQ(interaction.picked.element, 0); // the apex faces the viewer at the centre
    EXPECT_EQ(interaction.picked.kind, 1);

    scriptKeys[keyLeftButton] = true;
    paintFrame();
    EXPECT_EQ(currentModel.vertexCount, 13);
    EXPECT_EQ(currentModel.boundaryLoopLength, 12);
    EXPECT_EQ(interaction.vertexCutMode, 0);
    paintFrame(); // still held: no second cut
    EXPECT_EQ(currentModel.vertexCount, 13);

    scriptKeys[keyLeftButton] = false;
    scriptKeys[keyEnter] = true;
    paintFrame();
    EXPECT_EQ(currentModel.vertexCount, 8);
    EXPECT_EQ(currentModel.boundaryEdgeCount, 0);
}

TEST_F(Frame, FaceModeCutsTheFaceUnderTheCursor)
{
    buildBipyramid();
    scriptCursorX += 20; // over a top triangle, away from the apex
    currentView.lastCursorX = scriptCursorX;
    toggleFaceCut();
    paintFrame();
    ASSERT_GE(interaction.picked.element, 0);
    EXPECT_EQ(interaction.picked.kind, 3);
    EXPECT_EQ(currentModel.faceA[interaction.picked.element], 0); // a triangle at the apex
    int picked = interaction.picked.element;
    int a = currentModel.faceA[picked], b = currentModel.faceB[picked], c = currentModel.faceC[picked];
    scriptKeys[keyLeftButton] = true;
    paintFrame();
    EXPECT_EQ(currentModel.faceCount, 11);
    EXPECT_EQ((std::array{currentModel.faceA[11], currentModel.faceB[11], currentModel.faceC[11]}), (std::array{a, b, c}));
}

TEST_F(Frame, ACutModeFrameFromTheKeptPictureEqualsOneDrawnAfresh)
{
    auto picture = [] {
        std::vector<unsigned char> rgba(side * side * 4);
        std::vector<unsigned int> depth(side * side);
        glReadPixels(0, 0, side, side, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
        glReadPixels(0, 0, side, side, GL_DEPTH_COMPONENT, GL_UNSIGNED_INT, depth.data());
        return std::make_pair(rgba, depth);
    };
    buildBipyramid();
    scriptCursorX += 20;
    currentView.viewAngleX = 25.0;
    for (auto toggle : {toggleVertexCut, toggleEdgeCut, toggleFaceCut}) {
        toggle();
        // The first frames settle what the layers leave (point size, line width).
        for (int k = 0; k < 3; ++k)
            interaction.picked = renderFrame(currentModel, interaction);
        interaction.picked = renderFrame(currentModel, interaction);
        const auto kept = picture();
        const int picked = interaction.picked.element;
        forgetScene();
        interaction.picked = renderFrame(currentModel, interaction);
        EXPECT_EQ(picture(), kept);
        EXPECT_EQ(interaction.picked.element, picked);
        // A vertex moved in place keeps every count: its new revision has the next frame drawn afresh.
        currentModel.vertexY[2] += 0.4;
        touchMesh(currentModel);
        interaction.picked = renderFrame(currentModel, interaction);
        const auto moved = picture();
        EXPECT_NE(moved, kept);
        forgetScene();
        interaction.picked = renderFrame(currentModel, interaction);
        EXPECT_EQ(picture(), moved);
        toggle();
    }
}

TEST_F(Frame, CutModesWithoutAModelDrawAndClickHarmlessly)
{
    toggleVertexCut();
    toggleEdgeCut();
    toggleFaceCut();
    paintFrame();
    EXPECT_EQ(interaction.picked.element, -1);
    EXPECT_EQ(interaction.picked.kind, 3);
    scriptKeys[keyLeftButton] = true;
    paintFrame();
    EXPECT_EQ(interaction.faceCutMode, 0);
    EXPECT_EQ(currentModel.vertexCount, 0);
}

} // namespace
