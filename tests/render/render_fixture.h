// Shared set-up of the drawing tests: one offscreen context per test program,
// the start-up GL state, a camera like the frame's, and pixel read-back.
#pragma once

#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "app/main_window.h"
#include "app/session.h"
#include "tests/support/platform_script.h"
#include "render/gl_setup.h"
#include "render/layers.h"
#include "render/view_state.h"
#include "tests/support/egl_context.h"
#include "tests/support/mesh_builder.h"
#include "render/textures.h"
#include "texture/texture.h"

// Size of the offscreen view every drawing test uses.
inline constexpr int viewWidth = 128;
inline constexpr int viewHeight = 128;

using Rgb = std::array<int, 3>;

class RenderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetProgramState();
        scriptReset();
        interaction.picked.element = 0;
        ASSERT_TRUE(makeOffscreenContext(viewWidth, viewHeight));
        static bool started = false;
        if (!started) {
            glMatrixMode(GL_MODELVIEW);
            glLoadIdentity();
            setBasicGlState();
            initGLForSize(viewWidth, viewHeight);
            // The program's first frame always draws the lit faces; Mesa brings
            // the colour material in step with the current colour at such a draw.
            setMesh({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{0, 1, 2}});
            glBindTexture(GL_TEXTURE_2D, textureIds[1]);
            drawFaces(currentModel);
            currentModel = Mesh();
            started = true;
        }
        updateColorTexture();
        resizeGlView(viewWidth, viewHeight);
        glLineWidth(1.0f);
        glPointSize(1.0f);
        glColor4d(1.0, 1.0, 1.0, 1.0);
        // As every frame's face layer leaves it (initGL leaves texturing on).
        glDisable(GL_TEXTURE_2D);
        // The view of the cursor: the GL view's client origin on the screen.
        scriptViewOriginX = 0;
        scriptViewOriginY = 0;
        while (glGetError() != GL_NO_ERROR) {
        }
    }

    void TearDown() override { EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)); }

    // What the frame does before its layers: bind the face texture, clear, set the camera.
    static void beginFrame()
    {
        glBindTexture(GL_TEXTURE_2D, textureIds[currentView.faceMode]);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glTranslated(currentView.panX, currentView.panY, 0.0);
        gluLookAt(currentView.panX, currentView.panY, currentView.cameraDistance, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0);
        glRotated(currentView.viewAngleY, 0.0, 1.0, 0.0);
        glRotated(currentView.viewAngleX, 1.0, 0.0, 0.0);
        glRotated(currentView.viewAngleZ, 0.0, 0.0, 1.0);
    }

    // Colour of the window pixel at column x, row y counted from the bottom.
    static Rgb pixel(int x, int y)
    {
        unsigned char p[4] = {};
        glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
        return {p[0], p[1], p[2]};
    }

    // Window position of a point given in the coordinates the layers draw in.
    static std::array<double, 3> project(double x, double y, double z)
    {
        double modelview[16], projection[16];
        GLint viewport[4];
        glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
        glGetDoublev(GL_PROJECTION_MATRIX, projection);
        glGetIntegerv(GL_VIEWPORT, viewport);
        std::array<double, 3> w{};
        gluProject(x, y, z, modelview, projection, viewport, &w[0], &w[1], &w[2]);
        return w;
    }

    // Colour of the pixel a point is drawn at.
    static Rgb pixelAt(double x, double y, double z)
    {
        auto w = project(x, y, z);
        return pixel(static_cast<int>(w[0]), static_cast<int>(w[1]));
    }

    // The brightest pixel (by its largest channel) in the 3 x 3 block around a point; lines are thin.
    static Rgb brightestNear(double x, double y, double z)
    {
        auto w = project(x, y, z);
        Rgb best = {0, 0, 0};
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                Rgb p = pixel(static_cast<int>(w[0]) + dx, static_cast<int>(w[1]) + dy);
                if (std::max({p[0], p[1], p[2]}) > std::max({best[0], best[1], best[2]}))
                    best = p;
            }
        return best;
    }

    // Every pixel of the view, RGBA.
    static std::vector<unsigned char> allPixels()
    {
        std::vector<unsigned char> p(viewWidth * viewHeight * 4);
        glReadPixels(0, 0, viewWidth, viewHeight, GL_RGBA, GL_UNSIGNED_BYTE, p.data());
        return p;
    }

    // Every depth value of the view.
    static std::vector<float> allDepths()
    {
        std::vector<float> d(viewWidth * viewHeight);
        glReadPixels(0, 0, viewWidth, viewHeight, GL_DEPTH_COMPONENT, GL_FLOAT, d.data());
        return d;
    }

    // The current colour, as floats.
    static std::array<float, 4> currentColor()
    {
        std::array<float, 4> c{};
        glGetFloatv(GL_CURRENT_COLOR, c.data());
        return c;
    }

    // Puts the cursor over the GL view's client pixel (cx, cy), y counted from the top.
    static void putCursor(int cx, int cy)
    {
        scriptCursorX = scriptViewOriginX + cx;
        scriptCursorY = scriptViewOriginY + cy;
    }
};

// A square of two triangles at height z, from -h to h on x and y, appended to the given lists.
inline void addSquare(std::vector<std::array<double, 3>>& v, std::vector<std::array<int, 3>>& f, double h, double z)
{
    int base = static_cast<int>(v.size());
    v.push_back({-h, -h, z});
    v.push_back({h, -h, z});
    v.push_back({h, h, z});
    v.push_back({-h, h, z});
    f.push_back({base, base + 1, base + 2});
    f.push_back({base, base + 2, base + 3});
}
