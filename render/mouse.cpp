// Mouse sampling: drag rotation, and the buttons and keys the application turns into a cut and its undo.
#include "render/mouse.h"

#include "platform/platform.h"
#include "render/view_state.h"

namespace {
// Margins of the main window's outer rectangle inside which the cursor does
// not turn the view (title and menu bars at the top, status bar at the bottom).
constexpr int sideMargin = 10;
constexpr int topMargin = 50;
constexpr int bottomMargin = 35;
// Pixels of cursor movement per degree of rotation.
constexpr double pixelsPerDegree = 1.5;
} // namespace

MouseActions trackMouse(bool cutModeActive)
{
    MouseActions actions;
    PlatformRect r = platformMainWindowRect();
    int x = 0, y = 0;
    platformCursorPos(x, y);
    if (x < r.left + sideMargin || x > r.right - sideMargin || y < r.top + topMargin ||
        y > r.bottom - bottomMargin)
        currentView.cursorTracked = false;

    bool leftDown = platformKeyDown(keyLeftButton);
    if (currentView.cursorTracked && !cutModeActive) {
        if (leftDown) {
            currentView.viewAngleY += (x - currentView.lastCursorX) / pixelsPerDegree;
            currentView.viewAngleX += (y - currentView.lastCursorY) / pixelsPerDegree;
        }
        if (platformKeyDown(keyRightButton)) {
            currentView.viewAngleX += (y - currentView.lastCursorY) / pixelsPerDegree;
            currentView.viewAngleZ += (x - currentView.lastCursorX) / pixelsPerDegree;
        }
    }
    // The sample is always kept, so a skipped step still gives the next one its reference.
    currentView.lastCursorX = x;
    currentView.lastCursorY = y;
    currentView.cursorTracked = true;

    actions.leftDown = leftDown;
    actions.enterDown = platformKeyDown(keyEnter);
    return actions;
}
