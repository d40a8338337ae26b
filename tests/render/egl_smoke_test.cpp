// The offscreen context that every drawing test relies on works here.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include "tests/support/egl_context.h"

TEST(OffscreenContext, ClearsAndReadsBack)
{
    ASSERT_TRUE(makeOffscreenContext(64, 64));
    glClearColor(1.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    unsigned char pixel[4] = {};
    glReadPixels(10, 10, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    EXPECT_EQ(pixel[0], 255);
    EXPECT_EQ(pixel[1], 0);
}
