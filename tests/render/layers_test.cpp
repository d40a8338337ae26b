// The display layers drawn offscreen and read back pixel by pixel.
#include <cmath>

#include "app/menu_commands.h"
#include "render/frame.h"
#include "tests/render/render_fixture.h"

namespace {
constexpr int background = 38; // the clear colour 0.15 as a byte

class Layers : public RenderTest {
protected:
    // Vertex i where the layers draw it.
    static std::array<double, 3> at(int i) { return {normalizedX(currentModel, i), normalizedY(currentModel, i), normalizedZ(currentModel, i)}; }
    static std::array<double, 3> midpoint(int i, int j)
    {
        auto a = at(i), b = at(j);
        return {(a[0] + b[0]) / 2, (a[1] + b[1]) / 2, (a[2] + b[2]) / 2};
    }
    static Rgb brightestNear(const std::array<double, 3>& p) { return RenderTest::brightestNear(p[0], p[1], p[2]); }

    // Sets the edge table by hand: the given edges, the first loopLength of
    // them the longest loop, the first boundaryCount of them boundary edges.
    static void setEdges(const std::vector<std::array<int, 2>>& edges, int loopLength, int boundaryCount)
    {
        currentModel.edgeCount = static_cast<int>(edges.size());
        allocIntArray(currentModel.edgeA, currentModel.edgeCount);
        allocIntArray(currentModel.edgeB, currentModel.edgeCount);
        allocIntArray(currentModel.edgeFace1, currentModel.edgeCount);
        allocIntArray(currentModel.edgeFace2, currentModel.edgeCount);
        for (int e = 0; e < currentModel.edgeCount; ++e) {
            currentModel.edgeA[e] = edges[e][0];
            currentModel.edgeB[e] = edges[e][1];
            currentModel.edgeFace2[e] = e < boundaryCount ? -1 : 0;
        }
        currentModel.boundaryLoopLength = loopLength;
        currentModel.boundaryEdgeCount = boundaryCount;
        currentModel.topologyBuilt = true;
    }

    // An outer square loop (vertices 0-3, edges 0-3), an inner triangle loop
    // (vertices 4-6, edges 4-6) and one inner edge 0-4 (edge 7).
    static void setTwoLoops()
    {
        setMesh({{-1, -1, 0}, {1, -1, 0}, {1, 1, 0}, {-1, 1, 0}, {-0.3, -0.3, 0}, {0.3, -0.3, 0}, {0, 0.3, 0}}, {});
        setEdges({{0, 1}, {1, 2}, {2, 3}, {0, 3}, {4, 5}, {5, 6}, {4, 6}, {0, 4}}, 4, 7);
    }

    static bool isRed(Rgb p) { return p[0] > 150 && p[1] < 60 && p[2] < 60; }
    static bool isGreen(Rgb p) { return p[1] > 150 && p[0] < 60 && p[2] < 60; }
    static bool isBlue(Rgb p) { return p[2] > 150 && p[0] < 60 && p[1] < 60; }
    static bool isBackground(Rgb p) { return p == Rgb{background, background, background}; }

    static void expectWhiteAndUnchangedStack(GLint depth)
    {
        auto c = currentColor();
        EXPECT_EQ(c[0], 1.0f);
        EXPECT_EQ(c[1], 1.0f);
        EXPECT_EQ(c[2], 1.0f);
        GLint now;
        glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &now);
        EXPECT_EQ(now, depth);
        EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
        EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
        EXPECT_FALSE(glIsEnabled(GL_BLEND));
        EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
        GLboolean writes;
        glGetBooleanv(GL_DEPTH_WRITEMASK, &writes);
        EXPECT_TRUE(writes);
    }

    static float lineWidth()
    {
        float w;
        glGetFloatv(GL_LINE_WIDTH, &w);
        return w;
    }
};

// Two squares facing the viewer: the front one (-1..1) at z 0.5 and a smaller one (-0.5..0.5) behind it at z -0.5.
void setSquareBehindSquare()
{
    std::vector<std::array<double, 3>> v;
    std::vector<std::array<int, 3>> f;
    addSquare(v, f, 1.0, 0.5);
    addSquare(v, f, 0.5, -0.5);
    setMesh(v, f);
}
} // namespace

TEST_F(Layers, AxesEndInRedGreenAndBlue)
{
    currentView.viewAngleY = 30.0;
    currentView.viewAngleX = 25.0;
    beginFrame();
    drawAxes();
    EXPECT_TRUE(isRed(brightestNear({0.9, 0, 0})));
    EXPECT_TRUE(isGreen(brightestNear({0, 0.9, 0})));
    EXPECT_TRUE(isBlue(brightestNear({0, 0, 0.9})));
    // Length 1 whatever the scale: nothing beyond the end.
    currentView.modelScale = 3.0;
    beginFrame();
    drawAxes();
    EXPECT_TRUE(isBackground(brightestNear({1.3, 0, 0})));
    EXPECT_EQ(lineWidth(), 0.6f);
}

TEST_F(Layers, FacesInModeOneTakeTheUniformColour)
{
    std::vector<std::array<double, 3>> v;
    std::vector<std::array<int, 3>> f;
    addSquare(v, f, 1.0, 0.0);
    setMesh(v, f);
    beginFrame();
    drawFaces(currentModel);
    Rgb p = pixelAt(0.1, 0.2, 0.0);
    ASSERT_GT(p[0], 60);
    EXPECT_NEAR(double(p[1]) / p[0], 128.0 / 255.0, 0.04);
    EXPECT_NEAR(double(p[2]) / p[0], 64.0 / 255.0, 0.04);

    uniformColor = 0x00FF0000; // blue
    updateColorTexture();
    beginFrame();
    drawFaces(currentModel);
    p = pixelAt(0.1, 0.2, 0.0);
    EXPECT_EQ(p[0], 0);
    EXPECT_EQ(p[1], 0);
    EXPECT_GT(p[2], 60);

    // Seen from behind the square is lit the same: its normal turns to the viewer.
    currentView.viewAngleY = 180.0;
    beginFrame();
    drawFaces(currentModel);
    Rgb back = pixelAt(0.1, 0.2, 0.0);
    EXPECT_NEAR(back[2], p[2], 3);
}

TEST_F(Layers, BlackFacesHideEdgesBehindThemUnlessTransparent)
{
    setSquareBehindSquare();
    currentView.faceMode = 0;
    beginFrame();
    drawFaces(currentModel);
    EXPECT_EQ(pixelAt(0.7, -0.2, 0.5), (Rgb{0, 0, 0}));
    drawEdges(currentModel);
    // The left side of the back square lies behind the front square.
    EXPECT_EQ(brightestNear({-0.5, 0.1, -0.5}), (Rgb{0, 0, 0}));
    // The front square's own sides show.
    EXPECT_GT(brightestNear({1.0, 0.2, 0.5})[0], 150);

    currentView.withTransparency = true;
    beginFrame();
    drawFaces(currentModel);
    drawEdges(currentModel);
    Rgb seen = brightestNear({-0.5, 0.1, -0.5});
    EXPECT_GT(seen[0], 150);
    EXPECT_EQ(seen[0], seen[1]);
    // Black faces add nothing to the background.
    EXPECT_TRUE(isBackground(pixelAt(0.7, -0.2, 0.5)));
}

TEST_F(Layers, TransparentFacesAddUpAtHalfIntensity)
{
    setSquareBehindSquare();
    currentView.withTransparency = true;
    beginFrame();
    drawFaces(currentModel);
    Rgb one = pixelAt(0.75, -0.1, 0.5);  // the front square alone
    Rgb two = pixelAt(0.1, -0.1, 0.5);   // both squares
    EXPECT_GT(one[0], background);
    EXPECT_GT(two[0], one[0] + 10);
    EXPECT_GT(two[1], one[1]);
    // Opaque, the front square alone decides.
    currentView.withTransparency = false;
    beginFrame();
    drawFaces(currentModel);
    Rgb opaque = pixelAt(0.1, -0.1, 0.5);
    EXPECT_NEAR(opaque[0], pixelAt(0.75, -0.1, 0.5)[0], 4);
}

TEST_F(Layers, FacesWithoutImageInModeTwoArePlainGrey)
{
    std::vector<std::array<double, 3>> v;
    std::vector<std::array<int, 3>> f;
    addSquare(v, f, 1.0, 0.0);
    setMesh(v, f);
    currentView.faceMode = 2;
    beginFrame();
    drawFaces(currentModel);
    Rgb p = pixelAt(0.1, 0.2, 0.0);
    EXPECT_GT(p[0], 60);
    EXPECT_EQ(p[0], p[1]);
    EXPECT_EQ(p[1], p[2]);
}

TEST_F(Layers, TextureSquareShowsTheFirstRowAtTheTop)
{
    // Quadrants: top-left red, top-right green, bottom-left blue, bottom-right black.
    for (int row = 0; row < textureSize; ++row)
        for (int column = 0; column < textureSize; ++column) {
            unsigned char* p = textureImages.textureImage + 3 * (row * textureSize + column);
            bool top = row < textureSize / 2, left = column < textureSize / 2;
            p[0] = top && left ? 255 : 0;
            p[1] = top && !left ? 255 : 0;
            p[2] = !top && left ? 255 : 0;
        }
    glBindTexture(GL_TEXTURE_2D, textureIds[2]);
    setTextureParams();
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, textureSize, textureSize, 0, GL_RGB, GL_UNSIGNED_BYTE, textureImages.textureImage);
    textureImages.textureLoaded = true;

    currentView.viewAngleY = 40.0; // the frame holds the camera at its start while the image is shown
    holdFlatView(true);
    EXPECT_TRUE(currentView.showTexture);
    EXPECT_EQ(currentView.faceMode, 2);
    EXPECT_EQ(currentView.viewAngleY, 0.0);
    beginFrame();
    drawTexture();
    EXPECT_TRUE(isRed(pixelAt(-0.5, 0.5, 0)));
    EXPECT_TRUE(isGreen(pixelAt(0.5, 0.5, 0)));
    EXPECT_TRUE(isBlue(pixelAt(-0.5, -0.5, 0)));
    EXPECT_EQ(pixelAt(0.5, -0.5, 0), (Rgb{0, 0, 0}));
    EXPECT_TRUE(isBackground(pixelAt(1.2, 0, 0)));

    // Tiling 512: two copies side by side and two down.
    textureTiling = 512;
    beginFrame();
    drawTexture();
    EXPECT_TRUE(isRed(pixelAt(-0.75, 0.75, 0)));
    EXPECT_TRUE(isGreen(pixelAt(-0.25, 0.75, 0)));
    EXPECT_TRUE(isRed(pixelAt(0.25, 0.75, 0)));
    EXPECT_TRUE(isBlue(pixelAt(-0.75, 0.25, 0)));
    EXPECT_TRUE(isRed(pixelAt(-0.75, -0.25, 0)));
}

TEST_F(Layers, TheTextureDisplayKeepsTheViewToReturnToAndHoldsTheCamera)
{
    currentView.cameraDistance = 5.0;
    currentView.showEdges = true;
    onMenuCommand(cmdShowTexture);
    EXPECT_TRUE(flatViewSaved);
    EXPECT_EQ(savedView.cameraDistance, 5.0);
    EXPECT_TRUE(savedView.showEdges);
    EXPECT_FALSE(savedView.showTexture);
    currentView.cameraDistance = 7.0; // a key press between frames
    interaction.picked = renderFrame(currentModel, interaction);
    EXPECT_EQ(currentView.cameraDistance, 3.0);
    EXPECT_FALSE(currentView.cursorTracked);
    EXPECT_FALSE(currentView.showEdges);
    onMenuCommand(cmdShowTexture);
    EXPECT_FALSE(currentView.showTexture);
    EXPECT_EQ(currentView.cameraDistance, 5.0);
    EXPECT_TRUE(currentView.showEdges);
}

TEST_F(Layers, BordersRedForTheLongestLoopGreenForTheOthers)
{
    setTwoLoops();
    beginFrame();
    drawBorders(currentModel);
    EXPECT_TRUE(isRed(brightestNear(midpoint(0, 1))));
    EXPECT_TRUE(isRed(brightestNear(midpoint(0, 3))));
    EXPECT_TRUE(isGreen(brightestNear(midpoint(4, 5))));
    EXPECT_TRUE(isGreen(brightestNear(midpoint(5, 6))));
    EXPECT_TRUE(isBackground(brightestNear(midpoint(0, 4)))); // an inner edge
}

TEST_F(Layers, BoundaryDrawsTheLongestLoopOnlyThick)
{
    setTwoLoops();
    glLineWidth(1.0f);
    beginFrame();
    drawBoundary(currentModel);
    EXPECT_TRUE(isRed(brightestNear(midpoint(1, 2))));
    EXPECT_TRUE(isBackground(brightestNear(midpoint(4, 5))));
    EXPECT_EQ(lineWidth(), 0.6f);
}

TEST_F(Layers, AClosedModelHasNoBorders)
{
    setTwoLoops();
    currentModel.boundaryLoopLength = 0;
    currentModel.boundaryEdgeCount = 0;
    beginFrame();
    auto before = allPixels();
    drawBorders(currentModel);
    drawBoundary(currentModel);
    EXPECT_EQ(allPixels(), before);
}

TEST_F(Layers, VerticesEdgesAndNormals)
{
    // One triangle in the plane z = 0, counter-clockwise: its normal is +z.
    setMesh({{-1, -1, 0}, {1, -1, 0}, {0, 1, 0}}, {{0, 1, 2}});
    currentView.viewAngleY = 60.0;
    beginFrame();
    drawVertices(currentModel);
    float size;
    glGetFloatv(GL_POINT_SIZE, &size);
    EXPECT_EQ(size, 4.0f);
    EXPECT_EQ(brightestNear(at(2)), (Rgb{255, 255, 255}));

    beginFrame();
    drawEdges(currentModel);
    EXPECT_EQ(brightestNear(midpoint(0, 1)), (Rgb{204, 204, 204}));
    EXPECT_EQ(brightestNear(midpoint(1, 2)), (Rgb{204, 204, 204}));

    beginFrame();
    drawNormals(currentModel);
    const double cx = (normalizedX(currentModel, 0) + normalizedX(currentModel, 1) + normalizedX(currentModel, 2)) / 3;
    const double cy = (normalizedY(currentModel, 0) + normalizedY(currentModel, 1) + normalizedY(currentModel, 2)) / 3;
    EXPECT_TRUE(isGreen(brightestNear({cx, cy, 0.15})));
    EXPECT_TRUE(isGreen(brightestNear({cx, cy, -0.15})));
    EXPECT_TRUE(isBackground(brightestNear({cx, cy, 0.3})));
    // The segment follows the scale.
    currentView.modelScale = 2.0;
    beginFrame();
    drawNormals(currentModel);
    EXPECT_TRUE(isGreen(brightestNear({2 * cx, 2 * cy, 0.3})));
}

TEST_F(Layers, UvPlaneLaysTheEdgesOutFlat)
{
    setTwoLoops();
    currentModel.vertexU = {-1, 1, 1, -1, -0.3, 0.3, 0};
    currentModel.vertexV = {-1, -1, 1, 1, -0.3, -0.3, 0.3};
    currentModel.uvComputed = true;
    currentView.viewAngleX = 70.0;
    onMenuCommand(cmdShowUvPlane);
    EXPECT_TRUE(currentView.showUvPlane && flatViewSaved);
    EXPECT_EQ(savedView.viewAngleX, 70.0);
    holdFlatView(false);
    EXPECT_EQ(currentView.viewAngleX, 0.0);
    EXPECT_EQ(currentView.faceMode, 0);
    EXPECT_FALSE(currentView.cursorTracked);
    beginFrame();
    drawUvPlane(currentModel);
    EXPECT_EQ(brightestNear({-1, 0, 0}), (Rgb{204, 204, 204}));
    EXPECT_EQ(brightestNear({-0.65, -0.65, 0}), (Rgb{204, 204, 204})); // the inner edge 0-4
    EXPECT_TRUE(isBackground(pixelAt(0.6, 0.5, 0)));
}

TEST_F(Layers, UvPlaneWithoutCoordinatesDrawsNothing)
{
    setTwoLoops();
    currentView.showUvPlane = true;
    beginFrame();
    auto before = allPixels();
    drawUvPlane(currentModel);
    EXPECT_EQ(allPixels(), before);
}

TEST_F(Layers, EveryLayerLeavesWhiteTheStackAndTheSwitchesAsFound)
{
    setTwoLoops();
    setMesh({{-1, -1, 0}, {1, -1, 0}, {1, 1, 0}, {-1, 1, 0}, {-0.3, -0.3, 0}, {0.3, -0.3, 0}, {0, 0.3, 0}},
            {{0, 1, 4}, {1, 5, 4}, {1, 2, 5}, {2, 6, 5}, {2, 3, 6}, {3, 4, 6}, {3, 0, 4}});
    setEdges({{0, 1}, {1, 2}, {2, 3}, {0, 3}, {4, 5}, {5, 6}, {4, 6}, {0, 4}}, 4, 7);
    currentModel.vertexU.assign(7, 0.1);
    currentModel.vertexV.assign(7, 0.2);
    currentModel.uvComputed = true;
    textureImages.textureLoaded = true;
    void (*layers[])() = {
        drawAxes,
        [] { drawVertices(currentModel); },
        [] { drawEdges(currentModel); },
        [] { drawFaces(currentModel); },
        [] { drawNormals(currentModel); },
        [] { drawBorders(currentModel); },
        [] { drawBoundary(currentModel); },
        [] { drawUvPlane(currentModel); },
        drawTexture,
        [] { highlightVertex(currentModel); },
        [] { highlightEdge(currentModel); },
        [] { highlightFace(currentModel); },
    };
    for (int mode = 0; mode < 3; ++mode)
        for (bool transparent : {false, true})
            for (auto layer : layers) {
                currentView.faceMode = mode;
                currentView.withTransparency = transparent;
                beginFrame();
                glDisable(GL_TEXTURE_2D);
                GLint depth;
                glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
                layer();
                expectWhiteAndUnchangedStack(depth);
            }
}

TEST_F(Layers, AnEmptyStoreDrawsNothing)
{
    // Counts that claim more than the arrays hold are not believed either.
    currentModel.vertexCount = 5;
    currentModel.faceCount = 3;
    currentModel.edgeCount = 4;
    currentModel.boundaryEdgeCount = 2;
    currentModel.boundaryLoopLength = 2;
    currentModel.topologyBuilt = true;
    currentModel.uvComputed = true;
    currentView.showUvPlane = true;
    beginFrame();
    auto before = allPixels();
    for (auto layer : {drawVertices, drawEdges, drawFaces, drawNormals, drawBorders, drawBoundary, drawUvPlane})
        layer(currentModel);
    EXPECT_EQ(allPixels(), before);
}

TEST_F(Layers, FacesAndEdgesNamingMissingVerticesAreLeftOut)
{
    std::vector<std::array<double, 3>> v;
    std::vector<std::array<int, 3>> f;
    addSquare(v, f, 1.0, 0.0);
    v.push_back({0.2, 0.7, 0.4});
    f.push_back({0, 2, 4});
    currentView.viewAngleY = 35.0;
    auto picture = [](bool highlights) {
        beginFrame();
        drawFaces(currentModel);
        drawEdges(currentModel);
        drawNormals(currentModel);
        drawBorders(currentModel);
        if (highlights) {
            interaction.picked.element = highlightEdge(currentModel);
            interaction.picked.element = highlightFace(currentModel);
        }
        return allPixels();
    };
    setMesh(v, f);
    currentModel.faceCount = 2; // the square alone
    setEdges({{0, 1}, {1, 2}, {2, 3}, {0, 3}}, 4, 4);
    const auto expected = picture(false);
    // The same store with a third face and a fifth edge naming vertex 4, which is not in use.
    currentModel.faceCount = 3;
    currentModel.vertexCount = 4;
    setEdges({{0, 1}, {1, 2}, {2, 3}, {0, 3}, {2, 4}}, 4, 5);
    EXPECT_EQ(picture(false), expected);
    // Indices past every array, and negative ones.
    currentModel.faceC[2] = 1000000;
    currentModel.edgeB[4] = -7;
    EXPECT_EQ(picture(false), expected);
    putCursor(viewWidth / 2, viewHeight / 2);
    picture(true);
    currentModel.faceA[0] = -1;
    picture(true);
    EXPECT_EQ(interaction.picked.element, 1);
}
