// Mouse sampling: drag rotation, and the click and the Enter that the application turns into a cut and its undo.
#include "render/mouse.h"

#include "platform/platform.h"
#include "render/view_state.h"

bool clickLatch = true;
bool cutPickPending = false;

namespace {
// Margins of the main window's outer rectangle inside which the cursor does
// not turn the view (title and menu bars at the top, status bar at the bottom).
constexpr int sideMargin = 10;
constexpr int topMargin = 50;
constexpr int bottomMargin = 35;
// Pixels of cursor movement per degree of rotation.
constexpr double pixelsPerDegree = 1.5;
} // namespace

MouseActions trackMouse()
{
    MouseActions actions = {false, false};
    PlatformRect r = platformMainWindowRect();
    int x = 0, y = 0;
    platformCursorPos(x, y);
    if (x < r.left + sideMargin || x > r.right - sideMargin || y < r.top + topMargin ||
        y > r.bottom - bottomMargin)
        cursorTracked = false;

    bool leftDown = platformKeyDown(keyLeftButton);
    if (cursorTracked && !cutModeActive) {
        if (leftDown) {
            viewAngleY += (x - lastCursorX) / pixelsPerDegree;
            viewAngleX += (y - lastCursorY) / pixelsPerDegree;
        }
        if (platformKeyDown(keyRightButton)) {
            viewAngleX += (y - lastCursorY) / pixelsPerDegree;
            viewAngleZ += (x - lastCursorX) / pixelsPerDegree;
        }
    }
    // The sample is always kept, so a skipped step still gives the next one its reference.
    lastCursorX = x;
    lastCursorY = y;
    cursorTracked = true;

    if (cutModeActive) {
        if (clickLatch && leftDown) {
            clickLatch = false;
            actions.cutClick = true;
            cutPickPending = true;
        }
        if (!leftDown)
            clickLatch = true;
    }
    if (cutPickPending && platformKeyDown(keyEnter)) {
        actions.undoKey = true;
        cutPickPending = false;
    }
    return actions;
}

void initMouseState()
{
    clickLatch = true;
    cutPickPending = false;
}
