// Mouse interaction, sampled once per frame: dragging turns the view, a click
// in a cut mode cuts the highlighted element, and Enter then undoes that cut.
#pragma once

// The left button was seen released since the last click in a cut mode.
extern bool clickLatch;
// A click has cut and Enter may still undo it; every menu command clears it.
extern bool cutPickPending;

// Samples the cursor and the buttons: turns the view while a button is held
// inside the active area, cuts on a click in a cut mode, undoes on Enter.
void trackMouse();
// Puts clickLatch and cutPickPending back to their program-start values; for test fixtures.
void initMouseState();
