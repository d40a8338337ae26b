// What the viewer's logic needs from the window system, in its own words.
// The logic (model, param, render, texture, app) talks to the desktop only
// through these functions. Two implementations exist: the real one on the
// desktop toolkit (platform/qt) and a scripted one for tests
// (platform_script.cpp, driven through platform_script.h).
#pragma once

#include <string>
#include <vector>

// Icon of a message box.
enum PlatformIcon { iconNone, iconInformation, iconError };

// Shows a modal box owned by the main window (when there is one) with one OK
// button; returns when the user closes it.
void platformMessageBox(PlatformIcon icon, const std::string& caption, const std::string& text);

// One entry of an open dialog's type list, such as {"Fichier off (*.off)", "*.off"}.
struct PlatformFileFilter {
    std::string label;
    std::string pattern;
};

// Shows a modal open-file dialog (existing files only); the first filter is
// selected. Returns true and the chosen full path, or false when cancelled.
bool platformOpenFileDialog(const std::string& title, const std::vector<PlatformFileFilter>& filters,
                            std::string& path);

// Shows the colour chooser starting from color (0x00BBGGRR). Returns true
// and the chosen colour in color, or false (color unchanged) when cancelled.
bool platformChooseColor(unsigned int& color);

// Sets the main window's title.
void platformSetWindowTitle(const std::string& title);

// Replaces the text of the status bar's single part.
void platformSetStatusText(const std::string& text);

// A screen rectangle in pixels; right and bottom are one past the last pixel.
struct PlatformRect {
    int left;
    int top;
    int right;
    int bottom;
};

// The main window's outer rectangle (frame, title bar and menu included) in screen pixels.
PlatformRect platformMainWindowRect();

// The cursor position in screen pixels.
void platformCursorPos(int& x, int& y);

// Converts a screen position into the GL view's client coordinates
// (origin at its top-left corner, y growing downwards).
void platformScreenToView(int& x, int& y);

// Keys and buttons that the frame polls.
enum PlatformKey {
    keyLeftButton,
    keyRightButton,
    keyEnter,
    keyEscape,
    keyUp,
    keyDown,
    keyLeft,
    keyRight,
    keyC,
    keyD,
    keyS,
    keyW,
    keyX,
    keyP,
    keyM,
    platformKeyCount
};

// True while the key or button is held down, as of the last input the program took.
bool platformKeyDown(PlatformKey key);

// Presents the GL view's back buffer.
void platformPresent();

// Pauses the program for the given number of milliseconds.
void platformSleepMs(int milliseconds);

// Opens a document (the help page) with the desktop's default viewer.
void platformOpenDocument(const std::string& path);

// The folder that holds the running program, without a trailing '/'.
std::string platformProgramDir();

// Asks the message loop to end with the given status once control returns to it.
void platformQuit(int status);

// Ends the process at once with the given status. When platformExitHook is
// set, it is called instead (a test harness takes over; it must not return).
[[noreturn]] void platformExitProcess(int status);

// Replacement for the process end, for harnesses that must survive a fatal error; null normally.
extern void (*platformExitHook)(int status);

// Shows the wait cursor and the text in the status bar at once, before a long command runs on this thread.
void platformBeginBusy(const std::string& text);
// Puts the normal cursor back (the caller then restores the status text).
void platformEndBusy();
