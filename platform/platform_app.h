// What the program's entry needs from the window system, beyond what the
// logic uses while it runs: the main window with its GL view and status bar,
// its menu bar, and the message loop. Only the desktop implementation
// (platform/qt) provides these; tests of the entry supply their own.
#pragma once

#include <string>
#include <vector>

// What one entry of the menu table is.
enum PlatformMenuKind { menuPopup, menuItem, menuSeparator };

// One entry of the menu table: a top-level menu (label), an item of the last
// top-level menu (label, command id) or a separator in it.
struct PlatformMenuEntry {
    PlatformMenuKind kind;
    const char* label;
    int id;
};

// Creates and shows the main window with the title and the given outer size
// (frame included), a status bar holding statusText, and the GL view filling
// the rest with its double-buffered context current. Returns false, after
// telling the user, when the window or the view could not be made.
bool platformCreateMainWindow(const std::string& title, int outerWidth, int outerHeight,
                              const std::string& statusText);

// Builds the main window's menu bar from the table, in order.
void platformAttachMenu(const std::vector<PlatformMenuEntry>& menu);

// Runs the message loop: events, and one frame whenever the queue is empty
// and the window can be seen. Returns the status given to platformQuit.
int platformRunLoop();
