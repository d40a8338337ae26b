// The fixed-function OpenGL state of the GL view: the basic state set when
// its context is made current, the projection kept in step with its size,
// and the full state (lights, material, textures) set once at start.
// Everything here issues GL calls on the current context only; the window
// and the context themselves belong to the platform layer.
#pragma once

// The basic state of a new context: smooth shading, grey clear colour, clear
// depth 1, depth test with GL_LEQUAL, nicest perspective correction.
void setBasicGlState();
// The GL view was resized to width x height client pixels: viewport over it
// all, 45-degree perspective with near plane 0.1 and far plane 100, modelview
// current and identity.
void resizeGlView(int width, int height);
// The full OpenGL state, once at start, for a client area of width x height
// pixels: projection with planes 0.6 and 20, colour material, light 0,
// normalisation, the three textures, line smoothing.
void initGLForSize(int width, int height);
// The view's size changed without the user (the window manager's frame came
// late): the viewport follows and the projection keeps its near and far
// planes; only its width over height changes.
void followGlViewSize(int width, int height);
