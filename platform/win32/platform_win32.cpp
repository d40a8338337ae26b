// The platform layer on Win32: boxes, dialogs, the main window's title,
// status text and geometry, cursor, keys, presenting, pauses, the help page,
// busy spells and the process end. Texts are UTF-8 inside the program and
// UTF-16 at every call below (the W forms).
#include <windows.h>

#include <commdlg.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "base/file_system.h"
#include "base/utf16.h"
#include "platform/platform.h"
#include "platform/win32/win32_platform.h"

HWND mainWindow = nullptr;
HWND statusBar = nullptr;
HWND glWindow = nullptr;
HDC glDC = nullptr;
HGLRC glContext = nullptr;
int win32DialogDepth = 0;
bool win32MenuOpen = false;
bool win32FramesEnabled = false;
int win32BusyDepth = 0;

void (*platformExitHook)(int status) = nullptr;

namespace {

// The colour chooser's 16 custom colours: black at start, kept for the session only.
COLORREF customColors[16];

// Marks a modal box or dialog as open for its lifetime: no frame meanwhile.
struct ModalScope {
    ModalScope() { ++win32DialogDepth; }
    ~ModalScope()
    {
        --win32DialogDepth;
        // The dialog's own loop may have changed the current context's window.
        if (glDC && glContext)
            wglMakeCurrent(glDC, glContext);
    }
};

HWND dialogOwner() { return mainWindow && IsWindow(mainWindow) ? mainWindow : nullptr; }

// The system's virtual key of each polled key.
int virtualKey(PlatformKey key)
{
    switch (key) {
    case keyLeftButton: return VK_LBUTTON;
    case keyRightButton: return VK_RBUTTON;
    case keyEnter: return VK_RETURN;
    case keyEscape: return VK_ESCAPE;
    case keyUp: return VK_UP;
    case keyDown: return VK_DOWN;
    case keyLeft: return VK_LEFT;
    case keyRight: return VK_RIGHT;
    case keyC: return 'C';
    case keyD: return 'D';
    case keyS: return 'S';
    case keyW: return 'W';
    case keyX: return 'X';
    case keyP: return 'P';
    case keyM: return 'M';
    default: return 0;
    }
}

// The system's form of a path: '\' as the separator.
std::wstring systemPath(const std::string& path)
{
    std::wstring wide = utf8ToWide(path);
    for (wchar_t& c : wide)
        if (c == L'/')
            c = L'\\';
    return wide;
}

} // namespace

std::string win32PathFromSystem(const wchar_t* path)
{
    std::string text = wideToUtf8(path);
    for (char& c : text)
        if (c == '\\')
            c = '/';
    return text;
}

// ---- What the logic uses ----

void platformMessageBox(PlatformIcon icon, const std::string& caption, const std::string& text)
{
    UINT style = MB_OK;
    if (icon == iconInformation)
        style |= MB_ICONINFORMATION;
    else if (icon == iconError)
        style |= MB_ICONERROR;
    ModalScope scope;
    MessageBoxW(dialogOwner(), utf8ToWide(text).c_str(), utf8ToWide(caption).c_str(), style);
}

bool platformOpenFileDialog(const std::string& title, const std::vector<PlatformFileFilter>& filters,
                            std::string& path)
{
    // "label\0pattern\0" for each filter, then one more "\0".
    std::wstring filterText;
    for (const PlatformFileFilter& f : filters) {
        filterText += utf8ToWide(f.label);
        filterText += L'\0';
        filterText += utf8ToWide(f.pattern);
        filterText += L'\0';
    }
    filterText += L'\0';
    // Room for a long path; the dialog starts on the given one.
    std::vector<wchar_t> file(32768, L'\0');
    const std::wstring start = systemPath(path);
    if (start.size() < file.size())
        std::copy(start.begin(), start.end(), file.begin());
    const std::wstring caption = utf8ToWide(title);

    OPENFILENAMEW ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = dialogOwner();
    ofn.lpstrFilter = filterText.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrTitle = caption.c_str();
    ofn.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_EXPLORER;
    ModalScope scope;
    if (!GetOpenFileNameW(&ofn))
        return false;
    path = win32PathFromSystem(file.data());
    return true;
}

bool platformChooseColor(unsigned int& color)
{
    CHOOSECOLORW cc = {};
    cc.lStructSize = sizeof cc;
    cc.hwndOwner = dialogOwner();
    cc.rgbResult = static_cast<COLORREF>(color);
    cc.lpCustColors = customColors;
    cc.Flags = CC_RGBINIT;
    ModalScope scope;
    if (!ChooseColorW(&cc))
        return false;
    color = static_cast<unsigned int>(cc.rgbResult);
    return true;
}

void platformSetWindowTitle(const std::string& title)
{
    if (mainWindow)
        SetWindowTextW(mainWindow, utf8ToWide(title).c_str());
}

void platformSetStatusText(const std::string& text)
{
    if (statusBar)
        SetWindowTextW(statusBar, utf8ToWide(text).c_str());
}

PlatformRect platformMainWindowRect()
{
    RECT r = {};
    if (!mainWindow || !GetWindowRect(mainWindow, &r))
        return {0, 0, 0, 0};
    return {r.left, r.top, r.right, r.bottom};
}

void platformCursorPos(int& x, int& y)
{
    POINT p = {};
    GetCursorPos(&p);
    x = p.x;
    y = p.y;
}

void platformScreenToView(int& x, int& y)
{
    if (!glWindow)
        return;
    POINT p = {x, y};
    ScreenToClient(glWindow, &p);
    x = p.x;
    y = p.y;
}

bool platformKeyDown(PlatformKey key)
{
    const int vk = virtualKey(key);
    return vk != 0 && (GetKeyState(vk) & 0x8000) != 0;
}

void platformPresent()
{
    if (glDC)
        SwapBuffers(glDC);
}

void platformSleepMs(int milliseconds)
{
    if (milliseconds > 0)
        Sleep(static_cast<DWORD>(milliseconds));
}

void platformOpenDocument(const std::string& path)
{
    ShellExecuteW(dialogOwner(), L"open", systemPath(path).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

std::string platformProgramDir() { return runningProgramDir(); }

void platformQuit(int status) { PostQuitMessage(status); }

void platformExitProcess(int status)
{
    if (platformExitHook)
        platformExitHook(status);
    std::fflush(nullptr);
    std::_Exit(status);
}

void platformBeginBusy(const std::string& text)
{
    ++win32BusyDepth;
    SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    platformSetStatusText(text);
    // The command that follows keeps the thread: paint the text now.
    if (statusBar)
        UpdateWindow(statusBar);
}

void platformEndBusy()
{
    if (win32BusyDepth > 0 && --win32BusyDepth == 0)
        SetCursor(LoadCursorW(nullptr, IDC_ARROW));
}
