// initGL for the main window's current client size. Kept apart so that
// programs drawing without a main window (tests, benchmarks) link without it.
#include "render/gl_setup.h"

// Size of the main window's client area, kept by the main window.
extern int clientWidth, clientHeight;

void initGL() { initGLForSize(clientWidth, clientHeight); }
