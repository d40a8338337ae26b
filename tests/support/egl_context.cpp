// The tests draw into the same offscreen context the command line's snapshots use.
#include "tests/support/egl_context.h"

#include "platform/offscreen/offscreen_gl.h"

bool makeOffscreenContext(int width, int height) { return makeOffscreenGlContext(width, height); }
