// The main window's reactions to the window system: resizing, keys, menu
// highlighting, idle time with its frames, and the end of the window. The window itself is
// made by the platform layer; this is what the program does with its events.
#pragma once

#include <string>

#include "platform/platform.h"

// Width of the GL view's area in pixels, kept up to date on every resize.
extern int clientWidth;
// Height of the GL view's area in pixels, kept up to date on every resize.
extern int clientHeight;
// The window can be seen (not minimised, not hidden): idle time draws frames.
extern bool renderActive;

// Kinds of resize, as the window system reports them.
enum ResizeKind {
    resizeRestored = 0,
    resizeMinimized = 1,
    resizeMaximized = 2,
    resizeHidden = 4,
};

// A resize of the main window: the GL view's area is now width x height
// pixels; drawing stops while the window is minimised or hidden.
void layoutChildren(int kind, int width, int height);
// A key pressed while the main window has the focus: Escape ends the program with status 0.
void onMainKeyDown(PlatformKey key);
// A top-level menu (topLevel, value = its position) or an item (value = its
// command id) is highlighted.
void onMenuHighlight(bool topLevel, int value);
// A model file dropped onto the window: opened as the open dialog opens the file chosen.
void onModelFileDropped(const std::string& path);
// Menu tracking ended: the default guidance comes back.
void onMenuTrackingEnd();
// The event queue is empty: one frame when the window can be seen.
void onIdle();
// The main window is going away: the model is released and the program ends with status 0.
void onMainWindowDestroyed();

// Samples the mouse for a frame and runs what it asks: a click in a cut mode
// cuts, Enter after it undoes.
void sampleMouse();
// One frame of the GL view: the mouse sampled, the frame drawn, the back buffer presented.
void paintFrame();
// The full OpenGL state of the GL view, once at start, for its current client
// size (clientWidth x clientHeight).
void initGL();

// Puts every module back to its state at program start: the model released,
// the view, the cut modes and their record, the mouse, the textures and the
// main window's size. For tests and fuzz targets, which run many sessions in
// one process.
void resetProgramState();
