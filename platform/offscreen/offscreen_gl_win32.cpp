// The offscreen view on Windows: a hidden window of the wanted size with its
// own WGL context (RGBA 8 bits, 16 depth bits, double-buffered like the
// window's view); frames are drawn into its back buffer and read back from
// there, never shown.
#include "platform/offscreen/offscreen_gl.h"

#include <windows.h>

#include <GL/gl.h>

namespace {
HWND window = nullptr;
HDC deviceContext = nullptr;
HGLRC context = nullptr;
int windowWidth = 0, windowHeight = 0;

const wchar_t className[] = L"offscreen_gl_wnd";

void destroyWindow()
{
    if (context) {
        wglMakeCurrent(nullptr, nullptr);
        wglDeleteContext(context);
        context = nullptr;
    }
    if (deviceContext)
        ReleaseDC(window, deviceContext);
    deviceContext = nullptr;
    if (window)
        DestroyWindow(window);
    window = nullptr;
}
} // namespace

bool makeOffscreenGlContext(int width, int height)
{
    if (context && width == windowWidth && height == windowHeight)
        return wglMakeCurrent(deviceContext, context) != FALSE;
    // Another size: a window of that size and a context of its own.
    destroyWindow();
    static bool registered = false;
    HINSTANCE instance = GetModuleHandleW(nullptr);
    if (!registered) {
        WNDCLASSW wc = {};
        wc.style = CS_OWNDC;
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = instance;
        wc.lpszClassName = className;
        if (!RegisterClassW(&wc))
            return false;
        registered = true;
    }
    // A pop-up window has no frame: its client area is the whole size.
    window = CreateWindowExW(WS_EX_TOOLWINDOW, className, L"", WS_POPUP, 0, 0, width, height, nullptr, nullptr,
                             instance, nullptr);
    if (!window)
        return false;
    deviceContext = GetDC(window);
    PIXELFORMATDESCRIPTOR pfd = {};
    pfd.nSize = sizeof pfd;
    pfd.nVersion = 1;
    pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    pfd.iPixelType = PFD_TYPE_RGBA;
    pfd.cColorBits = 24;
    pfd.cAlphaBits = 8;
    pfd.cDepthBits = 16;
    pfd.iLayerType = PFD_MAIN_PLANE;
    const int format = ChoosePixelFormat(deviceContext, &pfd);
    if (format == 0 || !SetPixelFormat(deviceContext, format, &pfd)) {
        destroyWindow();
        return false;
    }
    context = wglCreateContext(deviceContext);
    if (!context || !wglMakeCurrent(deviceContext, context)) {
        destroyWindow();
        return false;
    }
    windowWidth = width;
    windowHeight = height;
    glReadBuffer(GL_BACK);
    glDrawBuffer(GL_BACK);
    return true;
}
