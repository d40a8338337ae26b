// The main window on Win32: its class and procedure, the status bar, the GL
// child window with its pixel format and context, the menu bar built from the
// command table, dropped files, and the message loop.
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <GL/gl.h>

#include "app/frame_demand.h"
#include "app/main_window.h"
#include "app/menu_commands.h"
#include "app/model_commands.h"
#include "base/utf16.h"
#include "platform/platform.h"
#include "platform/platform_app.h"
#include "platform/win32/win32_platform.h"
#include "render/gl_setup.h"
#include "render/view_state.h"

namespace {

const wchar_t mainClassName[] = L"MaClasse";
const wchar_t glClassName[] = L"gl_child_wnd";
// The status bar's text at creation (WM_CREATE runs inside CreateWindowExW).
std::wstring startStatusText;
// A frame is being drawn: no other frame may start inside it.
bool painting = false;
// The message loop was asked to end.
bool quitRequested = false;

// A start-up failure: a box with no owner, the error icon, the short word as
// the text and the failure as the caption.
void startupFailure(const wchar_t* text, const wchar_t* caption)
{
    ++win32DialogDepth;
    MessageBoxW(nullptr, text, caption, MB_OK | MB_ICONERROR);
    --win32DialogDepth;
}

// The GL child's device context, pixel format and context, made current for
// the life of the process. False after one box on failure; what was made stays.
bool setupPixelFormat(HWND window)
{
    glDC = GetDC(window);
    if (!glDC) {
        startupFailure(L"Erreur", L"GetDC failed.");
        return false;
    }
    PIXELFORMATDESCRIPTOR pfd = {};
    pfd.nSize = sizeof pfd;
    pfd.nVersion = 1;
    pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    pfd.iPixelType = PFD_TYPE_RGBA;
    pfd.cColorBits = 24;
    pfd.cDepthBits = 16;
    pfd.iLayerType = PFD_MAIN_PLANE;
    const int format = ChoosePixelFormat(glDC, &pfd);
    if (format < 1) {
        startupFailure(L"GL Erreur", L"ChoosePixelFormat failed.");
        return false;
    }
    if (!SetPixelFormat(glDC, format, &pfd)) {
        startupFailure(L"GL Erreur", L"SetPixelFormat failed.");
        return false;
    }
    glContext = wglCreateContext(glDC);
    if (!glContext) {
        startupFailure(L"GL Erreur", L"wglCreateContext failed.");
        return false;
    }
    if (!wglMakeCurrent(glDC, glContext)) {
        startupFailure(L"GL Erreur", L"wglMakeCurrent failed.");
        return false;
    }
    setBasicGlState();
    return true;
}

bool releaseGL(HWND window)
{
    if (!glDC)
        return false;
    wglMakeCurrent(nullptr, nullptr);
    if (glContext)
        wglDeleteContext(glContext);
    glContext = nullptr;
    ReleaseDC(window, glDC);
    glDC = nullptr;
    return true;
}

LRESULT CALLBACK glWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        setupPixelFormat(window);
        return 0;
    case WM_DESTROY:
        releaseGL(window);
        return 0;
    case WM_SIZE:
        if (glContext)
            resizeGlView(LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_PAINT:
        // A paint request: one frame at once, when the program may draw now.
        if (win32MayPaint()) {
            painting = true;
            paintFrame();
            painting = false;
        }
        ValidateRect(window, nullptr);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

HWND createGlChild(HWND parent, const wchar_t* className)
{
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    wc.style = CS_VREDRAW | CS_HREDRAW | CS_OWNDC;
    wc.lpfnWndProc = glWindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = className;
    if (!RegisterClassExW(&wc)) {
        WNDCLASSEXW known = {};
        known.cbSize = sizeof known;
        if (!GetClassInfoExW(instance, className, &known))
            return nullptr;
    }
    return CreateWindowExW(WS_EX_CLIENTEDGE, className, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, 100, 100, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(100)), instance, nullptr);
}

// The polled key of a virtual key, or -1.
int polledKey(WPARAM vk)
{
    switch (vk) {
    case VK_RETURN: return keyEnter;
    case VK_ESCAPE: return keyEscape;
    case VK_UP: return keyUp;
    case VK_DOWN: return keyDown;
    case VK_LEFT: return keyLeft;
    case VK_RIGHT: return keyRight;
    case 'C': return keyC;
    case 'D': return keyD;
    case 'S': return keyS;
    case 'W': return keyW;
    case 'X': return keyX;
    case 'P': return keyP;
    case 'M': return keyM;
    default: return -1;
    }
}

// WM_SIZE of the main window: the status bar along the bottom at its own
// height, the GL view over the whole client area, and the app told.
void layoutMainWindow(WPARAM kind, LPARAM size)
{
    const int width = LOWORD(size), height = HIWORD(size);
    if (statusBar) {
        RECT r = {};
        GetWindowRect(statusBar, &r);
        const int h = r.bottom - r.top;
        MoveWindow(statusBar, 0, height - h, width, h, TRUE);
    }
    if (glWindow)
        MoveWindow(glWindow, 0, 0, width, height, TRUE);
    layoutChildren(static_cast<int>(kind), width, height);
}

// A file dropped on the window opens as if chosen in the open dialog.
void openDroppedFile(HDROP drop)
{
    const UINT length = DragQueryFileW(drop, 0, nullptr, 0);
    std::wstring file(length + 1, L'\0');
    const bool got = length > 0 && DragQueryFileW(drop, 0, file.data(), length + 1) == length;
    DragFinish(drop);
    if (!got || !win32FramesEnabled || win32DialogDepth > 0)
        return;
    file.resize(length);
    loadModelFile(win32PathFromSystem(file.c_str()));
}

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE: {
        glWindow = createGlChild(window, glClassName);
        INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES};
        InitCommonControlsEx(&controls);
        statusBar = CreateStatusWindowW(WS_CHILD | WS_VISIBLE, startStatusText.c_str(), window,
                                        static_cast<UINT>(-1));
        // The GL view lies under the whole client area, the status bar's strip
        // included: the bar goes above it, and the view leaves the bar's pixels alone.
        if (statusBar)
            SetWindowPos(statusBar, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        DragAcceptFiles(window, TRUE);
        return 0;
    }
    case WM_SIZE:
        layoutMainWindow(wParam, lParam);
        return 0;
    case WM_KEYDOWN: {
        // Every key is consumed; a held key's repeats are not new presses.
        const int key = polledKey(wParam);
        if (key >= 0 && (lParam & 0x40000000) == 0)
            onMainKeyDown(static_cast<PlatformKey>(key));
        return 0;
    }
    case WM_COMMAND:
        if (HIWORD(wParam) == 0 && lParam == 0) {
            // The closed menu may still be painted over the view: one frame
            // first, so that no box or long command leaves it there.
            if (glWindow)
                UpdateWindow(glWindow);
            onMenuCommand(LOWORD(wParam));
        }
        return 0;
    case WM_ENTERMENULOOP:
        win32MenuOpen = true;
        return 0;
    case WM_MENUSELECT: {
        const HMENU menu = reinterpret_cast<HMENU>(lParam);
        // Flags 0xFFFF with no menu: the menu closed; the loop's end tells it.
        if (HIWORD(wParam) == 0xFFFF && !menu)
            return 0;
        onMenuHighlight(menu == GetMenu(window), LOWORD(wParam));
        return 0;
    }
    case WM_EXITMENULOOP:
        win32MenuOpen = false;
        onMenuTrackingEnd();
        return 0;
    case WM_SETCURSOR:
        if (win32BusyDepth > 0 && win32DialogDepth == 0) {
            SetCursor(LoadCursorW(nullptr, IDC_WAIT));
            return TRUE;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    case WM_DROPFILES:
        openDroppedFile(reinterpret_cast<HDROP>(wParam));
        return 0;
    case WM_DESTROY:
        onMainWindowDestroyed();
        quitRequested = true;
        mainWindow = nullptr;
        statusBar = nullptr;
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

} // namespace

bool win32MayPaint()
{
    return win32FramesEnabled && glContext && renderActive && !painting && win32DialogDepth == 0 && !win32MenuOpen &&
           !quitRequested;
}

// ---- What the entry uses ----

bool platformCreateMainWindow(const std::string& title, int outerWidth, int outerHeight,
                              const std::string& statusText)
{
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = mainWindowProc;
    wc.hInstance = instance;
    wc.hIcon = static_cast<HICON>(LoadImageW(nullptr, IDI_APPLICATION, IMAGE_ICON, 0, 0, LR_SHARED | LR_DEFAULTSIZE));
    wc.hCursor = static_cast<HCURSOR>(LoadImageW(nullptr, IDC_ARROW, IMAGE_CURSOR, 0, 0, LR_SHARED | LR_DEFAULTSIZE));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = mainClassName;
    if (!RegisterClassExW(&wc)) {
        startupFailure(L"Erreur", L"Registration failed.");
        return false;
    }
    startStatusText = utf8ToWide(statusText);
    mainWindow = CreateWindowExW(0, mainClassName, utf8ToWide(title).c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                                 CW_USEDEFAULT, CW_USEDEFAULT, outerWidth, outerHeight, nullptr, nullptr, instance,
                                 nullptr);
    if (!mainWindow) {
        startupFailure(L"Erreur", L"Creation failed.");
        return false;
    }
    ShowWindow(mainWindow, SW_SHOW);
    UpdateWindow(mainWindow);
    return true;
}

void platformAttachMenu(const std::vector<PlatformMenuEntry>& menu)
{
    if (!mainWindow)
        return;
    HMENU bar = CreateMenu();
    HMENU current = nullptr;
    for (const PlatformMenuEntry& entry : menu) {
        switch (entry.kind) {
        case menuPopup:
            current = CreatePopupMenu();
            AppendMenuW(bar, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(current), utf8ToWide(entry.label).c_str());
            break;
        case menuItem:
            if (current)
                AppendMenuW(current, MF_STRING, static_cast<UINT_PTR>(entry.id), utf8ToWide(entry.label).c_str());
            break;
        case menuSeparator:
            if (current)
                AppendMenuW(current, MF_SEPARATOR, 0, nullptr);
            break;
        }
    }
    SetMenu(mainWindow, bar);
}

int platformRunLoop()
{
    win32FramesEnabled = true;
    MSG msg;
    for (;;) {
        if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                quitRequested = true;
                return static_cast<int>(msg.wParam);
            }
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
            continue;
        }
        if (win32MayPaint()) {
            painting = true;
            paintFrame();
            painting = false;
            // Nothing can change the picture until the next message: wait for it.
            if (!pictureNeedsFrame())
                WaitMessage();
        } else {
            WaitMessage();
        }
    }
}
