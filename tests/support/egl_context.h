// An offscreen OpenGL compatibility context on Mesa's surfaceless platform,
// so that drawing code runs and is read back without any X server.
#pragma once

// Creates (once) and makes current a context with a width x height pbuffer,
// RGBA 8 bits and 16+ depth bits. Returns false when no context can be had.
bool makeOffscreenContext(int width = 256, int height = 256);
