// The main window's event handling.
#include "app/main_window.h"

#include "app/cut_modes.h"
#include "app/menu_commands.h"
#include "base/store.h"
#include "render/frame.h"
#include "render/gl_setup.h"
#include "render/mouse.h"
#include "render/view_state.h"
#include "texture/texture.h"

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

void sampleMouse()
{
    const MouseActions actions = trackMouse();
    if (actions.cutClick)
        applyCut();
    if (actions.undoKey)
        undoCut();
}

void paintFrame()
{
    sampleMouse();
    renderFrame();
    platformPresent();
}

void initGL() { initGLForSize(clientWidth, clientHeight); }

void resetProgramState()
{
    releaseModel();
    initViewState();
    initCutModes();
    initMouseState();
    initTextureState();
    clientWidth = 640;
    clientHeight = 640;
    renderActive = true;
}
