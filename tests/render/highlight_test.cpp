// The pick highlights of the cut modes, the cursor unprojection they measure
// from, and the border flash after a cut.
#include <cmath>

#include "tests/render/render_fixture.h"

namespace {
class Highlights : public RenderTest {
protected:
    static std::array<double, 3> at(int i) { return {normalizedX(currentModel, i), normalizedY(currentModel, i), normalizedZ(currentModel, i)}; }

    // Puts the cursor over the pixel where a point of the view is drawn.
    static void cursorOver(const std::array<double, 3>& p)
    {
        auto w = project(p[0], p[1], p[2]);
        putCursor(static_cast<int>(std::lround(w[0])), viewHeight - static_cast<int>(std::lround(w[1])));
    }

    // The square (-1..1) at z 0 as vertices 0-3 and faces 0-1, with its edge table.
    static void setSquare(const std::vector<std::array<double, 3>>& more = {},
                          const std::vector<std::array<int, 3>>& moreFaces = {})
    {
        std::vector<std::array<double, 3>> v;
        std::vector<std::array<int, 3>> f;
        addSquare(v, f, 1.0, 0.0);
        v.insert(v.end(), more.begin(), more.end());
        f.insert(f.end(), moreFaces.begin(), moreFaces.end());
        setMesh(v, f);
        // The boundary loop 0-1-2-3, then the two diagonals, whose midpoints coincide.
        const int ends[6][2] = {{0, 1}, {1, 2}, {2, 3}, {0, 3}, {0, 2}, {1, 3}};
        currentModel.edgeCount = 6;
        allocIntArray(currentModel.edgeA, 6);
        allocIntArray(currentModel.edgeB, 6);
        allocIntArray(currentModel.edgeFace1, 6);
        allocIntArray(currentModel.edgeFace2, 6);
        for (int e = 0; e < 6; ++e) {
            currentModel.edgeA[e] = ends[e][0];
            currentModel.edgeB[e] = ends[e][1];
            currentModel.edgeFace2[e] = e < 4 ? -1 : 1;
        }
        currentModel.boundaryEdgeCount = 4;
        currentModel.boundaryLoopLength = 4;
        currentModel.topologyBuilt = true;
    }

    static bool isRed(Rgb p) { return p[0] > 150 && p[1] < 60 && p[2] < 60; }
};
} // namespace

TEST_F(Highlights, CursorToModelGivesTheDrawnPointUnderTheCursor)
{
    setSquare();
    currentView.viewAngleY = 30.0;
    currentView.viewAngleX = -20.0;
    scriptViewOriginX = 108; // the view's client origin on the screen
    scriptViewOriginY = 150;
    beginFrame();
    drawFaces(currentModel);
    putCursor(40, 50);
    double x, y, z;
    cursorToModel(x, y, z);
    // On the square, at window column 40 and row 128 - 50 counted from the bottom.
    EXPECT_NEAR(z, 0.0, 0.02);
    EXPECT_LT(std::fabs(x), 1.0);
    EXPECT_LT(std::fabs(y), 1.0);
    auto w = project(x, y, z);
    EXPECT_NEAR(w[0], 40.0, 1e-6);
    EXPECT_NEAR(w[1], 78.0, 1e-6);
    // The same pixel is where the face is: its depth was read back.
    float depth = 0;
    glReadPixels(40, 78, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
    EXPECT_NEAR(w[2], depth, 1e-6);
}

TEST_F(Highlights, OverTheBackgroundOrOutsideTheViewTheCursorIsOnTheFarPlane)
{
    setSquare();
    beginFrame();
    drawFaces(currentModel);
    for (auto [cx, cy] : {std::pair{3, 5}, std::pair{-40, 20}, std::pair{60, 500}}) {
        putCursor(cx, cy);
        double x, y, z;
        cursorToModel(x, y, z);
        EXPECT_NEAR(project(x, y, z)[2], 1.0, 1e-6);
    }
}

TEST_F(Highlights, VertexTiesGoToTheLowerIndex)
{
    // Vertices 4 and 5 are the same point; 6 lies elsewhere.
    setSquare({{0.3, 0.2, 0.0}, {0.3, 0.2, 0.0}, {-0.4, -0.5, 0.0}});
    beginFrame();
    drawFaces(currentModel);
    cursorOver(at(4));
    interaction.picked.element = highlightVertex(currentModel);
    EXPECT_EQ(interaction.picked.element, 4);
    EXPECT_TRUE(isRed(pixelAt(at(4)[0], at(4)[1], at(4)[2])));
    EXPECT_EQ(currentColor()[1], 1.0f);

    cursorOver(at(6));
    beginFrame();
    drawFaces(currentModel);
    interaction.picked.element = highlightVertex(currentModel);
    EXPECT_EQ(interaction.picked.element, 6);
}

TEST_F(Highlights, EdgeTiesGoToTheLowerIndexAndTheBordersShow)
{
    setSquare();
    beginFrame();
    drawFaces(currentModel);
    // Both diagonals (edges 4 and 5) have their midpoint at the centre.
    cursorOver({0.0, 0.0, 0.0});
    interaction.picked.element = highlightEdge(currentModel);
    EXPECT_EQ(interaction.picked.element, 4);
    EXPECT_TRUE(isRed(brightestNear(0.5, 0.5, 0.0)));    // diagonal 0-2, picked
    EXPECT_FALSE(isRed(brightestNear(0.5, -0.5, 0.0)));  // diagonal 1-3
    EXPECT_TRUE(isRed(brightestNear(1.0, 0.3, 0.0)));    // the border loop

    beginFrame();
    drawFaces(currentModel);
    cursorOver({0.0, -1.0, 0.0});
    interaction.picked.element = highlightEdge(currentModel);
    EXPECT_EQ(interaction.picked.element, 0);
}

TEST_F(Highlights, FaceTiesGoToTheLowerIndex)
{
    // Faces 2 and 3 repeat face 0 (corners 0, 1, 2).
    setSquare({}, {{0, 1, 2}, {0, 1, 2}});
    std::swap(currentModel.faceA[0], currentModel.faceA[1]);
    std::swap(currentModel.faceB[0], currentModel.faceB[1]);
    std::swap(currentModel.faceC[0], currentModel.faceC[1]); // now face 1 is (0, 1, 2) too
    beginFrame();
    drawFaces(currentModel);
    cursorOver({1.0 / 3.0, -1.0 / 3.0, 0.0});
    interaction.picked.element = highlightFace(currentModel);
    EXPECT_EQ(interaction.picked.element, 1);
    EXPECT_TRUE(isRed(brightestNear(0.0, -1.0, 0.0))); // side 0-1 of the picked face
}

TEST_F(Highlights, NothingToScanPicksNothingAndDrawsNothing)
{
    // No model at all.
    beginFrame();
    auto before = allPixels();
    for (auto highlight : {highlightVertex, highlightEdge, highlightFace}) {
        interaction.picked.element = 3;
        interaction.picked.element = highlight(currentModel);
        EXPECT_EQ(interaction.picked.element, -1);
    }
    EXPECT_EQ(allPixels(), before);

    // Faces but no edge table yet: the edge count is not believed.
    std::vector<std::array<double, 3>> v;
    std::vector<std::array<int, 3>> f;
    addSquare(v, f, 1.0, 0.0);
    setMesh(v, f);
    currentModel.edgeCount = 5;
    interaction.picked.element = 2;
    interaction.picked.element = highlightEdge(currentModel);
    EXPECT_EQ(interaction.picked.element, -1);
    EXPECT_EQ(allPixels(), before);
}

TEST_F(Highlights, FlashDrawsTheBordersOverTheFramePresentsAndPauses)
{
    setSquare();
    beginFrame();
    drawFaces(currentModel);
    Rgb face = pixelAt(0.2, 0.3, 0.0);
    flashBorders(currentModel);
    EXPECT_EQ(scriptPresentCount, 1);
    EXPECT_EQ(scriptSleeps, std::vector<int>{250});
    EXPECT_TRUE(isRed(brightestNear(-1.0, 0.4, 0.0)));
    EXPECT_EQ(pixelAt(0.2, 0.3, 0.0), face); // nothing cleared
}
