// The view state: start values, reset, and the coordinate normalisation.
#include <gtest/gtest.h>

#include "app/main_window.h"
#include "base/store.h"
#include "platform/platform_script.h"
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
    cameraDistance = base + 1;
    modelScale = base + 2;
    viewAngleY = base + 3;
    viewAngleX = base + 4;
    viewAngleZ = base + 5;
    panX = base + 6;
    panY = base + 7;
    withAnimation = withTransparency = showAxes = showVertices = showEdges = true;
    showFaces = false;
    showNormals = showBorders = showBoundary = showUvPlane = showTexture = true;
    faceMode = 2;
    savedFaceMode = 0;
    cursorTracked = false;
    lastCursorX = base + 8;
    lastCursorY = base + 9;
}

void expectStartCamera()
{
    EXPECT_EQ(cameraDistance, 3.0);
    EXPECT_EQ(modelScale, 1.0);
    EXPECT_EQ(viewAngleY, 0.0);
    EXPECT_EQ(viewAngleX, 0.0);
    EXPECT_EQ(viewAngleZ, 0.0);
    EXPECT_EQ(panX, 0.0);
    EXPECT_EQ(panY, 0.0);
    EXPECT_FALSE(withAnimation || withTransparency || showAxes || showVertices || showEdges || showNormals ||
                 showBorders || showBoundary || showUvPlane || showTexture);
    EXPECT_TRUE(showFaces);
    EXPECT_EQ(faceMode, 1);
    EXPECT_EQ(savedFaceMode, 1);
}
} // namespace

TEST_F(ViewState, StartValues)
{
    expectStartCamera();
    EXPECT_TRUE(cursorTracked);
    EXPECT_EQ(lastCursorX, 0.0);
    EXPECT_EQ(lastCursorY, 0.0);
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
    EXPECT_FALSE(cursorTracked);
    EXPECT_EQ(lastCursorX, 18.0);
    EXPECT_EQ(lastCursorY, 19.0);
    EXPECT_EQ(uniformColor, 0x00123456u);
    EXPECT_EQ(textureTiling, 1024);
    EXPECT_TRUE(texturedModelOn && flatViewSaved && axesOnlyForced && transparencyBeforeForce);
    EXPECT_FALSE(keyPLatch || keyMLatch);
}

TEST_F(ViewState, NormalisationCentresAndScales)
{
    setMesh({{1, 2, 3}, {3, 2, 3}, {2, 6, 1}}, {{0, 1, 2}});
    // centre (2, 10/3, 7/3), radius 8/3 (on y)
    EXPECT_DOUBLE_EQ(normalizedX(0), -1.0 / (8.0 / 3.0));
    EXPECT_DOUBLE_EQ(normalizedY(2), (6.0 - 10.0 / 3.0) / (8.0 / 3.0));
    EXPECT_DOUBLE_EQ(normalizedY(2), 1.0);
    modelScale = 2.5;
    EXPECT_DOUBLE_EQ(normalizedZ(2), (1.0 - 7.0 / 3.0) * 2.5 / (8.0 / 3.0));
    // The exact operation order: difference, times the scale, over the radius.
    EXPECT_EQ(normalizedX(1), (vertexX[1] - modelCenter[0]) * modelScale / modelRadius);
}

TEST_F(ViewState, AModelAtOnePointDrawsAtTheOrigin)
{
    setMesh({{4, 4, 4}, {4, 4, 4}, {4, 4, 4}}, {{0, 1, 2}});
    ASSERT_EQ(modelRadius, 0.0);
    EXPECT_EQ(viewRadius(), 1.0);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(normalizedX(i), 0.0);
        EXPECT_EQ(normalizedY(i), 0.0);
        EXPECT_EQ(normalizedZ(i), 0.0);
    }
}
