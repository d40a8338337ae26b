// One frame of the view, once the mouse has been sampled (render/mouse.h):
// the camera step (texture, modelview, animation, keyboard), the display
// layers in their fixed order, the axes-only transparency rule and the pick
// highlights of the cut modes. Presenting it is the caller's step.
#pragma once

#include "model/mesh.h"
#include "render/interaction.h"

// Draws one frame of the mesh into the back buffer of the current context;
// returns what the pick highlights of the cut modes chose (the interaction's
// last pick when no cut mode is on).
Pick renderFrame(const Mesh& mesh, const Interaction& interaction);
// The first step of a frame: binds the texture of the face mode, clears,
// builds the modelview, animates and polls the keyboard.
void applyCamera();
// Polls the keys held down in this frame (zoom, scale, texture tiling, pan);
// the changes show from the next frame.
void pollKeyboard();
// The axes-only rule: transparency is forced on while only the axes are shown,
// and put back as it was once anything else is shown again.
void applyAxesOnlyRule();
