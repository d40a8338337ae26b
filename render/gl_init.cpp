// initGL for the main window's current client size. Kept apart so that
// programs drawing without a main window (tests, benchmarks) link without it.
#include "app/main_window.h"
#include "render/gl_setup.h"

void initGL() { initGLForSize(clientWidth, clientHeight); }
