// The view state: start values, reset, and the coordinate normalisation.
#include <gtest/gtest.h>

#include "app/main_window.h"
#include "app/session.h"
#include "tests/support/platform_script.h"
#include "render/view_state.h"
#include "tests/support/mesh_builder.h"

namespace {
class ViewState : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetProgramState();
        scriptReset();
    }
};

// Gives every saved field a value unlike its start value.
void changeEverySavedField(double base)
{
    currentView.cameraDistance = base + 1;
    currentView.modelScale = base + 2;
    currentView.viewAngleY = base + 3;
    currentView.viewAngleX = base + 4;
    currentView.viewAngleZ = base + 5;
    currentView.panX = base + 6;
    currentView.panY = base + 7;
    currentView.withAnimation = currentView.withTransparency = currentView.showAxes = currentView.showVertices = currentView.showEdges = true;
    currentView.showFaces = false;
    currentView.showNormals = currentView.showBorders = currentView.showBoundary = currentView.showUvPlane = currentView.showTexture = true;
    currentView.faceMode = 2;
    currentView.savedFaceMode = 0;
    currentView.cursorTracked = false;
    currentView.lastCursorX = base + 8;
    currentView.lastCursorY = base + 9;
}

void expectStartCamera()
{
    EXPECT_EQ(currentView.cameraDistance, 3.0);
    EXPECT_EQ(currentView.modelScale, 1.0);
    EXPECT_EQ(currentView.viewAngleY, 0.0);
    EXPECT_EQ(currentView.viewAngleX, 0.0);
    EXPECT_EQ(currentView.viewAngleZ, 0.0);
    EXPECT_EQ(currentView.panX, 0.0);
    EXPECT_EQ(currentView.panY, 0.0);
    EXPECT_FALSE(currentView.withAnimation || currentView.withTransparency || currentView.showAxes || currentView.showVertices || currentView.showEdges || currentView.showNormals ||
                 currentView.showBorders || currentView.showBoundary || currentView.showUvPlane || currentView.showTexture);
    EXPECT_TRUE(currentView.showFaces);
    EXPECT_EQ(currentView.faceMode, 1);
    EXPECT_EQ(currentView.savedFaceMode, 1);
}
} // namespace

TEST_F(ViewState, StartValues)
{
    expectStartCamera();
    EXPECT_TRUE(currentView.cursorTracked);
    EXPECT_EQ(currentView.lastCursorX, 0.0);
    EXPECT_EQ(currentView.lastCursorY, 0.0);
    EXPECT_EQ(uniformColor, 0x004080FFu);
    EXPECT_EQ(textureTiling, 256);
    EXPECT_FALSE(texturedModelOn || flatViewSaved || axesOnlyForced || transparencyBeforeForce);
    EXPECT_TRUE(keyPLatch && keyMLatch);
}

TEST_F(ViewState, ResetLeavesColourTilingCursorAndModeFlagsAlone)
{
    changeEverySavedField(10);
    uniformColor = 0x00123456;
    textureTiling = 1024;
    texturedModelOn = flatViewSaved = axesOnlyForced = transparencyBeforeForce = true;
    keyPLatch = keyMLatch = false;
    resetView();
    expectStartCamera();
    EXPECT_FALSE(currentView.cursorTracked);
    EXPECT_EQ(currentView.lastCursorX, 18.0);
    EXPECT_EQ(currentView.lastCursorY, 19.0);
    EXPECT_EQ(uniformColor, 0x00123456u);
    EXPECT_EQ(textureTiling, 1024);
    EXPECT_TRUE(texturedModelOn && flatViewSaved && axesOnlyForced && transparencyBeforeForce);
    EXPECT_FALSE(keyPLatch || keyMLatch);
}

TEST_F(ViewState, NormalisationCentresAndScales)
{
    setMesh({{1, 2, 3}, {3, 2, 3}, {2, 6, 1}}, {{0, 1, 2}});
    // centre (2, 10/3, 7/3), radius 8/3 (on y)
    EXPECT_DOUBLE_EQ(normalizedX(currentModel, 0), -1.0 / (8.0 / 3.0));
    EXPECT_DOUBLE_EQ(normalizedY(currentModel, 2), (6.0 - 10.0 / 3.0) / (8.0 / 3.0));
    EXPECT_DOUBLE_EQ(normalizedY(currentModel, 2), 1.0);
    currentView.modelScale = 2.5;
    EXPECT_DOUBLE_EQ(normalizedZ(currentModel, 2), (1.0 - 7.0 / 3.0) * 2.5 / (8.0 / 3.0));
    // The exact operation order: difference, times the scale, over the radius.
    EXPECT_EQ(normalizedX(currentModel, 1), (currentModel.vertexX[1] - currentModel.modelCenter[0]) * currentView.modelScale / currentModel.modelRadius);
}

TEST_F(ViewState, AModelAtOnePointDrawsAtTheOrigin)
{
    setMesh({{4, 4, 4}, {4, 4, 4}, {4, 4, 4}}, {{0, 1, 2}});
    ASSERT_EQ(currentModel.modelRadius, 0.0);
    EXPECT_EQ(viewRadius(currentModel), 1.0);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(normalizedX(currentModel, i), 0.0);
        EXPECT_EQ(normalizedY(currentModel, i), 0.0);
        EXPECT_EQ(normalizedZ(currentModel, i), 0.0);
    }
}
