// The Windows platform's own state, shared by its files: the main window, its
// status bar and GL view, and what the message loop needs to know.
#pragma once

#include <windows.h>

#include <string>

// The main frame window (class "MaClasse"); null until made.
extern HWND mainWindow;
// The status bar child of the main window; one part, simple text.
extern HWND statusBar;
// The GL child window (class "gl_child_wnd"), its own device context and its context.
extern HWND glWindow;
extern HDC glDC;
extern HGLRC glContext;
// Modal boxes and dialogs open right now: no frame is drawn meanwhile (their
// own message loops dispatch the view's paint requests).
extern int win32DialogDepth;
// A menu of the bar is open: no frame meanwhile, so that a click that picks
// an item never reaches the view.
extern bool win32MenuOpen;
// Frames may be drawn: the scene is prepared and the message loop runs.
extern bool win32FramesEnabled;
// Busy spells begun and not yet ended: the wait cursor is shown.
extern int win32BusyDepth;

// Creates the main window's classes and windows (platformCreateMainWindow).
bool win32CreateWindows(const std::string& title, int outerWidth, int outerHeight, const std::string& statusText);
// True when a frame may be drawn now.
bool win32MayPaint();
// A path from the system (dialogs, dropped files, the command line) in the
// program's own form: UTF-8 with '/' as the separator.
std::string win32PathFromSystem(const wchar_t* path);
