// Mouse interaction, sampled once per frame before it is drawn: dragging
// turns the view; a click in a cut mode and Enter after it are reported to
// the caller, which cuts and undoes.
#pragma once

// What one sample saw of the buttons and keys the application acts on.
struct MouseActions {
    // The left button is held down.
    bool leftDown = false;
    // Enter is held down.
    bool enterDown = false;
};

// Samples the cursor and the buttons: turns the view while a button is held
// inside the active area, unless a cut mode is on (there the application
// turns a new press into a cut).
MouseActions trackMouse(bool cutModeActive);
