// The OpenGL state of the GL view: at start-up, after a resize, and the
// basic state of a new context.
#include <cmath>

#include "tests/render/render_fixture.h"

namespace {
std::array<double, 16> matrix(GLenum which)
{
    std::array<double, 16> m{};
    glGetDoublev(which, m.data());
    return m;
}

// The projection gluPerspective makes, for comparison.
std::array<double, 16> perspective(double aspect, double zNear, double zFar)
{
    GLint mode;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    gluPerspective(45.0, aspect, zNear, zFar);
    auto m = matrix(GL_PROJECTION_MATRIX);
    glPopMatrix();
    glMatrixMode(mode);
    return m;
}

// The near and far planes of a perspective projection matrix.
void planesOf(const std::array<double, 16>& p, double& zNear, double& zFar)
{
    zNear = p[14] / (p[10] - 1.0);
    zFar = p[14] / (p[10] + 1.0);
}

void expectViewport(int width, int height)
{
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[0], 0);
    EXPECT_EQ(viewport[1], 0);
    EXPECT_EQ(viewport[2], width);
    EXPECT_EQ(viewport[3], height);
}

void expectFloats(GLenum light, GLenum what, std::array<float, 4> expected, bool material = false)
{
    std::array<float, 4> v{};
    if (material)
        glGetMaterialfv(light, what, v.data());
    else
        glGetLightfv(light, what, v.data());
    for (int i = 0; i < 4; ++i)
        EXPECT_FLOAT_EQ(v[i], expected[i]) << "component " << i;
}

class GlSetup : public RenderTest {};
} // namespace

TEST_F(GlSetup, StartUpStateFollowsTheClientSize)
{
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    unsigned int oldIds[3] = {textureIds[0], textureIds[1], textureIds[2]};
    initGLForSize(100, 50);

    expectViewport(100, 50);
    auto p = matrix(GL_PROJECTION_MATRIX);
    auto expected = perspective(2.0, 0.6, 20.0);
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(p[i], expected[i], 1e-6) << "entry " << i;
    double zNear, zFar;
    planesOf(p, zNear, zFar);
    EXPECT_NEAR(zNear, 0.6, 1e-5);
    EXPECT_NEAR(zFar, 20.0, 1e-3);
    GLint mode;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);

    for (GLenum on : {GL_DEPTH_TEST, GL_COLOR_MATERIAL, GL_LIGHT0, GL_NORMALIZE, GL_TEXTURE_2D, GL_LINE_SMOOTH})
        EXPECT_TRUE(glIsEnabled(on)) << std::hex << on;
    for (GLenum off : {GL_LIGHTING, GL_BLEND, GL_CULL_FACE, GL_ALPHA_TEST})
        EXPECT_FALSE(glIsEnabled(off)) << std::hex << off;
    GLint value;
    glGetIntegerv(GL_COLOR_MATERIAL_FACE, &value);
    EXPECT_EQ(value, GL_FRONT_AND_BACK);
    glGetIntegerv(GL_COLOR_MATERIAL_PARAMETER, &value);
    EXPECT_EQ(value, GL_AMBIENT_AND_DIFFUSE);
    GLint twoSided;
    glGetIntegerv(GL_LIGHT_MODEL_TWO_SIDE, &twoSided);
    EXPECT_EQ(twoSided, GL_FALSE);

    // The light position is kept in eye coordinates, taken through the identity.
    expectFloats(GL_LIGHT0, GL_POSITION, {10, 10, 10, 1});
    expectFloats(GL_LIGHT0, GL_AMBIENT, {0.2f, 0.2f, 0.2f, 1});
    expectFloats(GL_LIGHT0, GL_DIFFUSE, {0.5f, 0.5f, 0.5f, 1});
    expectFloats(GL_LIGHT0, GL_SPECULAR, {0.9f, 0.9f, 0.9f, 1});
    for (GLenum face : {GL_FRONT, GL_BACK}) {
        expectFloats(face, GL_SPECULAR, {0.9f, 0.9f, 0.9f, 1}, true);
        float shininess = 0;
        glGetMaterialfv(face, GL_SHININESS, &shininess);
        EXPECT_EQ(shininess, 128.0f);
    }

    // Three new texture names: black, the uniform colour, and one still empty.
    for (unsigned int id : textureIds) {
        EXPECT_NE(id, 0u);
        for (unsigned int old : oldIds)
            EXPECT_NE(id, old);
    }
    EXPECT_NE(textureIds[0], textureIds[1]);
    EXPECT_NE(textureIds[1], textureIds[2]);
    std::vector<unsigned char> image(textureBytes);
    glBindTexture(GL_TEXTURE_2D, textureIds[0]);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, image.data());
    EXPECT_EQ(image[0] + image[textureBytes / 2] + image[textureBytes - 1], 0);
    glBindTexture(GL_TEXTURE_2D, textureIds[1]);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, image.data());
    EXPECT_EQ(image[0], 255);
    EXPECT_EQ(image[1], 128);
    EXPECT_EQ(image[2], 64);
    glBindTexture(GL_TEXTURE_2D, textureIds[2]);
    GLint width = -1;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    EXPECT_EQ(width, 0);

    float clear[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    EXPECT_FLOAT_EQ(clear[0], 0.15f);
    EXPECT_FLOAT_EQ(clear[3], 0.5f);
    glGetIntegerv(GL_DEPTH_FUNC, &value);
    EXPECT_EQ(value, GL_LEQUAL);
    glGetIntegerv(GL_SHADE_MODEL, &value);
    EXPECT_EQ(value, GL_SMOOTH);
    glGetIntegerv(GL_PERSPECTIVE_CORRECTION_HINT, &value);
    EXPECT_EQ(value, GL_NICEST);
    float width1 = 0;
    glGetFloatv(GL_LINE_WIDTH, &width1);
    EXPECT_EQ(width1, 1.0f);
}

TEST_F(GlSetup, TheLightStaysFixedRelativeToTheEye)
{
    // Whatever modelview is current at start-up carries the light position once.
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslated(0.0, 0.0, -5.0);
    initGLForSize(viewWidth, viewHeight);
    expectFloats(GL_LIGHT0, GL_POSITION, {10, 10, 5, 1});
    glLoadIdentity();
    initGLForSize(viewWidth, viewHeight);
    // A later camera does not move it.
    beginFrame();
    expectFloats(GL_LIGHT0, GL_POSITION, {10, 10, 10, 1});
}

TEST_F(GlSetup, ResizeSetsViewportAndTheWiderPlanes)
{
    glMatrixMode(GL_MODELVIEW);
    glTranslated(1.0, 2.0, 3.0);
    resizeGlView(300, 200);
    expectViewport(300, 200);
    auto p = matrix(GL_PROJECTION_MATRIX);
    auto expected = perspective(1.5, 0.1, 100.0);
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(p[i], expected[i], 1e-6) << "entry " << i;
    double zNear, zFar;
    planesOf(p, zNear, zFar);
    EXPECT_NEAR(zNear, 0.1, 1e-6);
    EXPECT_NEAR(zFar, 100.0, 1e-2);
    GLint mode;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
    auto m = matrix(GL_MODELVIEW_MATRIX);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(m[i], i % 5 == 0 ? 1.0 : 0.0);
}

TEST_F(GlSetup, AViewWithNoHeightKeepsAFiniteProjection)
{
    resizeGlView(300, 0);
    auto p = matrix(GL_PROJECTION_MATRIX);
    for (double x : p)
        EXPECT_TRUE(std::isfinite(x));
    resizeGlView(viewWidth, viewHeight);
}

TEST_F(GlSetup, BasicStateOfANewContext)
{
    glShadeModel(GL_FLAT);
    glClearColor(1, 1, 1, 1);
    glClearDepth(0.5);
    glDisable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    setBasicGlState();
    GLint value;
    glGetIntegerv(GL_SHADE_MODEL, &value);
    EXPECT_EQ(value, GL_SMOOTH);
    float clear[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    EXPECT_FLOAT_EQ(clear[0], 0.15f);
    EXPECT_FLOAT_EQ(clear[1], 0.15f);
    EXPECT_FLOAT_EQ(clear[2], 0.15f);
    EXPECT_FLOAT_EQ(clear[3], 0.5f);
    float depth;
    glGetFloatv(GL_DEPTH_CLEAR_VALUE, &depth);
    EXPECT_EQ(depth, 1.0f);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    glGetIntegerv(GL_DEPTH_FUNC, &value);
    EXPECT_EQ(value, GL_LEQUAL);
}
