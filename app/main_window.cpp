// The main window's event handling.
#include "app/main_window.h"

#include "app/cut_modes.h"
#include "app/menu_commands.h"
#include "app/model_commands.h"
#include "app/session.h"
#include "render/frame.h"
#include "render/gl_setup.h"
#include "render/mouse.h"
#include "render/view_state.h"
#include "render/textures.h"
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

void onModelFileDropped(const std::string& path)
{
    // Like a menu command, the drop ends the possibility to undo the last cut with Enter.
    interaction.cutPickPending = false;
    loadModelFile(path);
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
    currentModel = Mesh();
    platformQuit(0);
}

void sampleMouse()
{
    Interaction& in = interaction;
    const MouseActions mouse = trackMouse(in.cutModeActive);
    // A new press of the left button in a cut mode cuts the picked element;
    // Enter after such a click undoes the cut.
    bool cutClick = false, undoKey = false;
    if (in.cutModeActive) {
        if (in.clickLatch && mouse.leftDown) {
            in.clickLatch = false;
            cutClick = true;
            in.cutPickPending = true;
        }
        if (!mouse.leftDown)
            in.clickLatch = true;
    }
    if (in.cutPickPending && mouse.enterDown) {
        undoKey = true;
        in.cutPickPending = false;
    }
    if (cutClick)
        applyCut();
    if (undoKey)
        undoCut();
}

void paintFrame()
{
    sampleMouse();
    interaction.picked = renderFrame(currentModel, interaction);
    platformPresent();
}

void initGL() { initGLForSize(clientWidth, clientHeight); }

void resetProgramState()
{
    currentModel = Mesh();
    initViewState();
    interaction = Interaction();
    initCutModes();
    initTextureState(textureImages);
    clientWidth = 640;
    clientHeight = 640;
    renderActive = true;
}
