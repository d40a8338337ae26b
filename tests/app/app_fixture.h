// Shared set-up of the application tests: every module back to its start
// state, the scripted platform cleared, and small models at hand.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "app/main_window.h"
#include "model/cutting.h"
#include "app/session.h"
#include "model/topology.h"
#include "tests/support/platform_script.h"
#include "render/gl_setup.h"
#include "render/mouse.h"
#include "render/view_state.h"
#include "tests/support/egl_context.h"
#include "tests/support/mesh_builder.h"
#include "render/textures.h"
#include "texture/texture.h"

class AppTest : public ::testing::Test {
public:
    void SetUp() override
    {
        resetProgramState();
        scriptReset();
    }

    // A current offscreen context with the program's start-up GL state.
    static void useGl()
    {
        ASSERT_TRUE(makeOffscreenContext(128, 128));
        static bool started = false;
        if (!started) {
            setBasicGlState();
            initGLForSize(128, 128);
            started = true;
        }
    }

    // A closed cube of 8 vertices and 12 triangles, topology built.
    static void setClosedCube()
    {
        setMesh({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {0, 0, 1}, {1, 0, 1}, {1, 1, 1}, {0, 1, 1}},
                {{0, 2, 1}, {0, 3, 2}, {4, 5, 6}, {4, 6, 7}, {0, 1, 5}, {0, 5, 4},
                 {1, 2, 6}, {1, 6, 5}, {2, 3, 7}, {2, 7, 6}, {3, 0, 4}, {3, 4, 7}});
        buildTopology(currentModel);
    }

    // A flat disc-like grid of 2 n^2 triangles, topology built.
    static void setOpenGrid(int n = 4)
    {
        setGridMesh(n);
        buildTopology(currentModel);
    }

    static std::string dataPath(const std::string& name) { return std::string(SOURCE_DIR) + "/data/" + name; }
};
