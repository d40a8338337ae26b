// The array drawing of the face, edge, vertex and normal layers gives the
// picture of the literal immediate-mode drawing: the same depth everywhere and
// the same colours, the faces' within one level per channel (their light is
// computed on the CPU, which may round differently from GL).
#include <algorithm>
#include <cstdlib>
#include <random>

#include "model/cutting.h"
#include "model/subdivision.h"
#include "model/topology.h"
#include "tests/render/face_oracle.h"
#include "tests/render/line_oracle.h"
#include "tests/render/render_fixture.h"

namespace {
// A bumpy open sheet of n x n quads with (u,v) on the unit disc, plus a few
// faces whose corners are collinear or coincide.
void setBumpySheet(int n, unsigned seed)
{
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> jitter(-0.3, 0.3);
    std::vector<std::array<double, 3>> v;
    std::vector<std::array<int, 3>> f;
    for (int j = 0; j <= n; ++j)
        for (int i = 0; i <= n; ++i) {
            double x = 2.0 * i / n - 1.0, y = 2.0 * j / n - 1.0;
            v.push_back({x * 3.0 + 7.0, y * 3.0 - 2.0, jitter(random) + std::sin(3 * x) * 0.8});
        }
    for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i) {
            int a = j * (n + 1) + i, b = a + 1, c = a + n + 1, d = c + 1;
            f.push_back({a, b, d});
            f.push_back({a, d, c});
        }
    f.push_back({0, 1, 2});   // collinear corners
    f.push_back({5, 5, 5});   // one point
    f.push_back({3, 3, n + 4});
    setMesh(v, f);
    currentModel.vertexU.assign(v.size(), 0.0);
    currentModel.vertexV.assign(v.size(), 0.0);
    for (size_t i = 0; i < v.size(); ++i) {
        double x = (v[i][0] - 7.0) / 3.0, y = (v[i][1] + 2.0) / 3.0;
        currentModel.vertexU[i] = x / std::sqrt(2.0);
        currentModel.vertexV[i] = y / std::sqrt(2.0);
    }
    currentModel.uvComputed = true;
}

// Loads a striped picture into the image texture.
void loadStripes()
{
    for (int i = 0; i < textureBytes; i += 3) {
        int pixelIndex = i / 3;
        int row = pixelIndex / textureSize, column = pixelIndex % textureSize;
        textureImages.textureImage[i] = static_cast<unsigned char>(row * 7);
        textureImages.textureImage[i + 1] = static_cast<unsigned char>(column * 5);
        textureImages.textureImage[i + 2] = static_cast<unsigned char>((row ^ column) * 3);
    }
    glBindTexture(GL_TEXTURE_2D, textureIds[2]);
    setTextureParams();
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, textureSize, textureSize, 0, GL_RGB, GL_UNSIGNED_BYTE, textureImages.textureImage);
    textureImages.textureLoaded = true;
}

class FastPath : public RenderTest {
protected:
    // Draws a layer both ways over the same opaque faces and compares every pixel and depth.
    void expectSameLayer(void (*literal)(), void (*fast)(), const char* what)
    {
        SCOPED_TRACE(what);
        beginFrame();
        drawFacesImmediate();
        literal();
        std::vector<unsigned char> expected = allPixels();
        std::vector<float> expectedDepth = allDepths();
        beginFrame();
        drawFacesImmediate();
        fast();
        EXPECT_EQ(allPixels(), expected);
        EXPECT_EQ(allDepths(), expectedDepth);
        EXPECT_EQ(glIsEnabled(GL_VERTEX_ARRAY), GL_FALSE);
    }

    // Draws the faces both ways under the current view state and compares every
    // pixel (within one level per channel) and depth.
    void expectSamePicture(const char* what)
    {
        SCOPED_TRACE(what);
        beginFrame();
        drawFacesImmediate();
        drawEdges(currentModel); // lines on top show any depth difference too
        std::vector<unsigned char> expected = allPixels();
        std::vector<float> expectedDepth = allDepths();
        beginFrame();
        drawFaces(currentModel);
        drawEdges(currentModel);
        std::vector<unsigned char> actual = allPixels();
        std::vector<float> actualDepth = allDepths();
        int lit = 0;
        for (size_t i = 0; i < actual.size(); i += 4)
            lit += actual[i] != 38 || actual[i + 1] != 38;
        EXPECT_GT(lit, viewWidth * viewHeight / 10) << "the picture is nearly empty";
        size_t beyondOneLevel = 0;
        for (size_t i = 0; i < actual.size(); ++i)
            beyondOneLevel += std::abs(actual[i] - expected[i]) > 1;
        EXPECT_EQ(beyondOneLevel, 0u);
        EXPECT_EQ(actualDepth, expectedDepth);
        EXPECT_EQ(glIsEnabled(GL_VERTEX_ARRAY), GL_FALSE);
        EXPECT_EQ(glIsEnabled(GL_NORMAL_ARRAY), GL_FALSE);
        EXPECT_EQ(glIsEnabled(GL_TEXTURE_COORD_ARRAY), GL_FALSE);
    }
};
} // namespace

TEST_F(FastPath, SamePictureInEveryModeAndView)
{
    setBumpySheet(24, 7);
    loadStripes();
    currentView.viewAngleY = 33.0;
    currentView.viewAngleX = -51.0;
    currentView.viewAngleZ = 12.5;
    currentView.modelScale = 1.37;
    textureTiling = 512;
    for (int mode = 0; mode < 3; ++mode) {
        currentView.faceMode = mode;
        currentView.withTransparency = false;
        expectSamePicture(mode == 0 ? "mode 0" : mode == 1 ? "mode 1" : "mode 2 with (u,v)");
        currentView.withTransparency = true;
        expectSamePicture("with transparency");
    }
    // The view from behind flips every normal toward the viewer.
    currentView.viewAngleY = 180.0 + 20.0;
    currentView.faceMode = 2;
    currentView.withTransparency = false;
    expectSamePicture("from behind");
    // An image but no (u,v): fixed texture coordinates.
    currentModel.uvComputed = false;
    expectSamePicture("mode 2 without (u,v)");
    // No image and no (u,v): no texture coordinates, plain grey.
    textureImages.textureLoaded = false;
    expectSamePicture("mode 2 without image");
    // No image but (u,v): texturing on, still no texture coordinates.
    currentModel.uvComputed = true;
    expectSamePicture("mode 2 with (u,v) but no image");
}

TEST_F(FastPath, SamePictureAfterTheMeshShrinksAndGrows)
{
    setBumpySheet(30, 3);
    currentView.faceMode = 1;
    currentView.viewAngleX = 40.0;
    expectSamePicture("large mesh");
    setBumpySheet(6, 4);
    expectSamePicture("smaller mesh in the same buffers");
    currentView.modelScale = 0.7;
    expectSamePicture("new scale");
    setBumpySheet(40, 5);
    expectSamePicture("grown mesh");
    setBumpySheet(130, 6);
    expectSamePicture("more faces than one draw call takes");
}

TEST_F(FastPath, KeptArraysFollowEveryChangeOfTheMeshAndTheMode)
{
    // The face layer keeps its arrays between frames; each change below keeps
    // the counts, or comes back to counts it had, so only the contents tell.
    setBumpySheet(20, 11);
    currentModel.faceCount -= 3; // without the degenerate faces, so that the topology builds
    ASSERT_EQ(buildTopology(currentModel), outcomeOk);
    loadStripes();
    currentView.faceMode = 1;
    currentView.viewAngleX = 30.0;
    expectSamePicture("first frame");
    currentModel.vertexZ[30] += 0.5;
    touchMesh(currentModel); // every change of the mesh comes with a new revision
    expectSamePicture("a vertex moved in place");
    ASSERT_EQ(cutFace(currentModel, interaction.cuts, 7).effect, cutMade);
    expectSamePicture("a face cut");
    ASSERT_EQ(undoLastCut(currentModel, interaction.cuts).effect, cutMade);
    expectSamePicture("the cut undone: the same counts, another face order");
    ASSERT_EQ(refineLoopStep(currentModel), outcomeOk);
    expectSamePicture("subdivided");
    setBumpySheet(20, 11);
    currentView.faceMode = 2;
    expectSamePicture("(u,v) on the image");
    currentModel.vertexU[25] += 0.2;
    touchMesh(currentModel);
    expectSamePicture("one (u,v) changed");
    textureTiling = 1024;
    expectSamePicture("another tiling");
    currentView.faceMode = 0;
    expectSamePicture("black faces");
    uniformColor = 0x00208040;
    updateColorTexture();
    currentView.faceMode = 1;
    expectSamePicture("another uniform colour");
}

TEST_F(FastPath, SamePointsEdgesAndNormals)
{
    setBumpySheet(16, 9);
    currentView.viewAngleY = -25.0;
    currentView.viewAngleX = 60.0;
    currentView.modelScale = 1.2;
    currentView.faceMode = 0;
    for (float width : {1.0f, 0.6f, 2.0f}) {
        glLineWidth(width);
        glPointSize(width);
        expectSameLayer(drawVerticesImmediate, [] { drawVertices(currentModel); }, "vertices");
        expectSameLayer(drawEdgesImmediate, [] { drawEdges(currentModel); }, "edges");
        expectSameLayer(drawNormalsImmediate, [] { drawNormals(currentModel); }, "normals");
    }
    currentView.modelScale = 0.4;
    expectSameLayer(drawNormalsImmediate, [] { drawNormals(currentModel); }, "normals at another scale");
    glLineWidth(1.0f);
    setBumpySheet(130, 6);
    expectSameLayer(drawEdgesImmediate, [] { drawEdges(currentModel); }, "edges in more than one draw call");
    expectSameLayer(drawNormalsImmediate, [] { drawNormals(currentModel); }, "normals in more than one draw call");

    // A finely cut square behind a larger one: the edge layer leaves out the
    // sides the front square hides, and the picture stays the same.
    std::vector<std::array<double, 3>> v;
    std::vector<std::array<int, 3>> f;
    addSquare(v, f, 1.0, 0.3);
    for (int i = 0; i < 12; ++i)
        addSquare(v, f, 0.05 + 0.07 * i, -0.2 - 0.01 * i);
    setMesh(v, f);
    currentView.modelScale = 1.0;
    currentView.viewAngleY = currentView.viewAngleX = 0.0;
    glLineWidth(1.0f);
    expectSameLayer(drawEdgesImmediate, [] { drawEdges(currentModel); }, "edges behind a square");
    currentView.viewAngleY = 50.0; // some of them come out from behind it
    expectSameLayer(drawEdgesImmediate, [] { drawEdges(currentModel); }, "edges partly behind a square");
}

TEST_F(FastPath, SameUvPlane)
{
    setBumpySheet(12, 2);
    // The edge table of the sheet: every side of every face once, in a fixed order.
    std::vector<std::array<int, 2>> sides;
    for (int f = 0; f < currentModel.faceCount; ++f) {
        int corner[3] = {currentModel.faceA[f], currentModel.faceB[f], currentModel.faceC[f]};
        for (int k = 0; k < 3; ++k) {
            int a = std::min(corner[k], corner[(k + 1) % 3]), b = std::max(corner[k], corner[(k + 1) % 3]);
            if (a != b && std::find(sides.begin(), sides.end(), std::array<int, 2>{a, b}) == sides.end())
                sides.push_back({a, b});
        }
    }
    currentModel.edgeCount = static_cast<int>(sides.size());
    allocIntArray(currentModel.edgeA, currentModel.edgeCount);
    allocIntArray(currentModel.edgeB, currentModel.edgeCount);
    for (int e = 0; e < currentModel.edgeCount; ++e) {
        currentModel.edgeA[e] = sides[e][0];
        currentModel.edgeB[e] = sides[e][1];
    }
    currentModel.topologyBuilt = true;
    for (float width : {1.0f, 0.6f}) {
        glLineWidth(width);
        beginFrame();
        drawUvEdgesImmediate();
        auto expected = allPixels();
        beginFrame();
        drawUvPlane(currentModel);
        EXPECT_EQ(allPixels(), expected);
    }
}
