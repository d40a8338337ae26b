// The offscreen view on Windows: a hidden window with its own WGL context
// (RGBA 8 bits, 16 depth bits, double-buffered like the window's view).
// Frames are drawn into a framebuffer object of the wanted size when the
// driver has them (a hidden window's own pixels need not exist: no window
// system promises them for a window that was never shown), else into the
// hidden window's back buffer; both are read back, never shown.
#include "platform/offscreen/offscreen_gl.h"

#include <windows.h>

#include <GL/gl.h>
#include <GL/glext.h>

namespace {
HWND window = nullptr;
HDC deviceContext = nullptr;
HGLRC context = nullptr;
int windowWidth = 0, windowHeight = 0;
GLuint framebuffer = 0, colorBuffer = 0, depthBuffer = 0;

const wchar_t className[] = L"offscreen_gl_wnd";

// The framebuffer-object functions of the context, when it has them.
PFNGLGENFRAMEBUFFERSEXTPROC genFramebuffers = nullptr;
PFNGLBINDFRAMEBUFFEREXTPROC bindFramebuffer = nullptr;
PFNGLGENRENDERBUFFERSEXTPROC genRenderbuffers = nullptr;
PFNGLBINDRENDERBUFFEREXTPROC bindRenderbuffer = nullptr;
PFNGLRENDERBUFFERSTORAGEEXTPROC renderbufferStorage = nullptr;
PFNGLFRAMEBUFFERRENDERBUFFEREXTPROC framebufferRenderbuffer = nullptr;
PFNGLCHECKFRAMEBUFFERSTATUSEXTPROC checkFramebufferStatus = nullptr;

template <typename T> T function(const char* name)
{
    return reinterpret_cast<T>(reinterpret_cast<void*>(wglGetProcAddress(name)));
}

// Draws into a framebuffer object of the window's size when the context can;
// otherwise the back buffer stays the target.
void useFramebufferObject(int width, int height)
{
    genFramebuffers = function<PFNGLGENFRAMEBUFFERSEXTPROC>("glGenFramebuffersEXT");
    bindFramebuffer = function<PFNGLBINDFRAMEBUFFEREXTPROC>("glBindFramebufferEXT");
    genRenderbuffers = function<PFNGLGENRENDERBUFFERSEXTPROC>("glGenRenderbuffersEXT");
    bindRenderbuffer = function<PFNGLBINDRENDERBUFFEREXTPROC>("glBindRenderbufferEXT");
    renderbufferStorage = function<PFNGLRENDERBUFFERSTORAGEEXTPROC>("glRenderbufferStorageEXT");
    framebufferRenderbuffer = function<PFNGLFRAMEBUFFERRENDERBUFFEREXTPROC>("glFramebufferRenderbufferEXT");
    checkFramebufferStatus = function<PFNGLCHECKFRAMEBUFFERSTATUSEXTPROC>("glCheckFramebufferStatusEXT");
    if (!genFramebuffers || !bindFramebuffer || !genRenderbuffers || !bindRenderbuffer || !renderbufferStorage ||
        !framebufferRenderbuffer || !checkFramebufferStatus)
        return;
    genFramebuffers(1, &framebuffer);
    bindFramebuffer(GL_FRAMEBUFFER_EXT, framebuffer);
    genRenderbuffers(1, &colorBuffer);
    bindRenderbuffer(GL_RENDERBUFFER_EXT, colorBuffer);
    renderbufferStorage(GL_RENDERBUFFER_EXT, GL_RGBA8, width, height);
    framebufferRenderbuffer(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, GL_RENDERBUFFER_EXT, colorBuffer);
    genRenderbuffers(1, &depthBuffer);
    bindRenderbuffer(GL_RENDERBUFFER_EXT, depthBuffer);
    renderbufferStorage(GL_RENDERBUFFER_EXT, GL_DEPTH_COMPONENT16, width, height);
    framebufferRenderbuffer(GL_FRAMEBUFFER_EXT, GL_DEPTH_ATTACHMENT_EXT, GL_RENDERBUFFER_EXT, depthBuffer);
    if (checkFramebufferStatus(GL_FRAMEBUFFER_EXT) != GL_FRAMEBUFFER_COMPLETE_EXT) {
        // Not usable: back to the window's own buffers (the context goes with the window).
        bindFramebuffer(GL_FRAMEBUFFER_EXT, 0);
        return;
    }
    glDrawBuffer(GL_COLOR_ATTACHMENT0_EXT);
    glReadBuffer(GL_COLOR_ATTACHMENT0_EXT);
}

void destroyWindow()
{
    if (context) {
        wglMakeCurrent(nullptr, nullptr);
        // The framebuffer object and its buffers go with the context.
        wglDeleteContext(context);
        context = nullptr;
        framebuffer = colorBuffer = depthBuffer = 0;
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
    glDrawBuffer(GL_BACK);
    glReadBuffer(GL_BACK);
    useFramebufferObject(width, height);
    return true;
}
