// The main window's event handling.
#include "app/main_window.h"

#include "app/status_guidance.h"
#include "model/store.h"
#include "render/frame.h"

int clientWidth = 640;
int clientHeight = 640;
bool renderActive = true;

void layoutChildren(int kind, int width, int height)
{
    clientWidth = width;
    clientHeight = height;
    renderActive = kind != resizeMinimized && kind != resizeHidden;
}

void onMainKeyDown(PlatformKey key)
{
    if (key == keyEscape)
        platformQuit(0);
}

void onMenuHighlight(bool topLevel, int value)
{
    if (topLevel)
        showPopupGuidance(value);
    else
        showCommandGuidance(value);
}

void onMenuTrackingEnd() { setStatusText(defaultStatusText); }

void onIdle()
{
    if (renderActive)
        paintFrame();
}

void onMainWindowDestroyed()
{
    renderActive = false;
    releaseModel();
    platformQuit(0);
}
