// The picture of the layers kept from one cut-mode frame to the next. While
// a cut mode is on the view does not turn with the mouse, so most frames
// differ from the last one by the highlight only: such a frame puts back the
// colour and depth the layers gave last time instead of drawing them again.
// "Nothing changed" is checked against copies of everything the layers read
// (camera, viewport, line width and point size, view state, the revisions of
// the texture uploads and of the model), so it cannot go stale; the light and
// material, set once at start, are not compared.
#pragma once

#include "model/mesh.h"

// Everything the layers of this frame would read equals what they read when
// the kept picture was drawn (the camera must already be set).
bool keptSceneCurrent(const Mesh& mesh);
// Puts the kept colour and depth back over the view; the GL state is left as found.
void restoreScene();
// Reads back the colour and depth the layers just drew, with copies of what
// they read (the values as keptSceneCurrent found them before the layers drew).
void keepScene();
// Drops the kept picture (outside the cut modes, where it would only cost memory).
void forgetScene();
