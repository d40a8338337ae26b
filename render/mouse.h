// Mouse interaction, sampled once per frame before it is drawn: dragging
// turns the view; a click in a cut mode and Enter after it are reported to
// the caller, which cuts and undoes.
#pragma once

// What one sample asks of the application, in this order.
struct MouseActions {
    // A new press of the left button in a cut mode: cut the picked element.
    bool cutClick;
    // Enter after such a click: undo the cut.
    bool undoKey;
};

// The left button was seen released since the last click in a cut mode.
extern bool clickLatch;
// A click has cut and Enter may still undo it; every menu command clears it.
extern bool cutPickPending;

// Samples the cursor and the buttons: turns the view while a button is held
// inside the active area; a new press in a cut mode asks for a cut (and sets
// cutPickPending), Enter while cutPickPending asks for the undo (and clears it).
MouseActions trackMouse();
// Puts clickLatch and cutPickPending back to their program-start values; for test fixtures.
void initMouseState();
