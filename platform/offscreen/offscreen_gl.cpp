// The EGL display, pbuffer and context of the offscreen view.
#include "platform/offscreen/offscreen_gl.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>

namespace {
// The surfaceless display, once initialised.
EGLDisplay display = EGL_NO_DISPLAY;
// The one context and its pbuffer, with the pbuffer's size.
EGLContext context = EGL_NO_CONTEXT;
EGLSurface surface = EGL_NO_SURFACE;
int surfaceWidth = 0, surfaceHeight = 0;
} // namespace

bool makeOffscreenGlContext(int width, int height)
{
    if (display == EGL_NO_DISPLAY) {
        auto getPlatformDisplay =
            reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(eglGetProcAddress("eglGetPlatformDisplayEXT"));
        if (!getPlatformDisplay)
            return false;
        EGLDisplay found = getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
        if (found == EGL_NO_DISPLAY || !eglInitialize(found, nullptr, nullptr))
            return false;
        display = found;
        if (!eglBindAPI(EGL_OPENGL_API))
            return false;
    }
    if (context != EGL_NO_CONTEXT && width == surfaceWidth && height == surfaceHeight)
        return eglMakeCurrent(display, surface, surface, context);

    const EGLint configAttributes[] = {EGL_SURFACE_TYPE, EGL_PBUFFER_BIT, EGL_RED_SIZE, 8, EGL_GREEN_SIZE, 8,
                                       EGL_BLUE_SIZE, 8, EGL_ALPHA_SIZE, 8, EGL_DEPTH_SIZE, 16,
                                       EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT, EGL_NONE};
    EGLConfig config;
    EGLint found = 0;
    if (!eglChooseConfig(display, configAttributes, &config, 1, &found) || found < 1)
        return false;
    if (surface != EGL_NO_SURFACE) {
        eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
        eglDestroySurface(display, surface);
        surface = EGL_NO_SURFACE;
    }
    const EGLint surfaceAttributes[] = {EGL_WIDTH, width, EGL_HEIGHT, height, EGL_NONE};
    surface = eglCreatePbufferSurface(display, config, surfaceAttributes);
    if (surface == EGL_NO_SURFACE)
        return false;
    if (context == EGL_NO_CONTEXT) {
        context = eglCreateContext(display, config, EGL_NO_CONTEXT, nullptr);
        if (context == EGL_NO_CONTEXT)
            return false;
    }
    surfaceWidth = width;
    surfaceHeight = height;
    return eglMakeCurrent(display, surface, surface, context);
}
