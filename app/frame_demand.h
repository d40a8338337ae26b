// Whether the picture needs another frame, asked by the message loop after
// each frame: an idle program draws nothing and waits for the next event.
// Every event (input, resize, expose, menu command, closed dialog) draws at
// least one frame on its own; this tells whether more must follow without one.
#pragma once

// True while the picture can still change with no new event: the view turns
// by itself, a polled key or button is held (keys move the camera, buttons
// drag the view), or the frame just drawn changed the view, the model or the
// textures, whose change shows only in the next frame (the keys' steps, the
// axes-only rule, a cut). Each call remembers what it saw, against which the
// next call compares.
bool pictureNeedsFrame();
