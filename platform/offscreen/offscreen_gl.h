// An offscreen OpenGL compatibility context through EGL on Mesa's surfaceless
// platform: drawing with no window, no X server and no display at all (the
// command line's snapshots).
#pragma once

// Creates (on the first call) and makes current a context drawing into a
// width x height pbuffer, RGBA 8 bits and 16 depth bits, as the window's GL
// view has them. A call with another size replaces the pbuffer and keeps the
// context. False when no such context can be had.
bool makeOffscreenGlContext(int width, int height);
