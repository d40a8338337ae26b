// What the user is doing with the cut modes and the mouse: which cut modes
// are on, what the last frame picked, the click latch, and the record of the
// cuts (the pending first edge of a two-click cut, what the undo needs).
// The application owns the one value and changes it; the view only reads it.
#pragma once

#include "model/cutting.h"

// The element a frame's pick highlight chose, and the kind of cut it is for.
struct Pick {
    // Index of the vertex, edge or face nearest the cursor; -1 when the
    // highlight had nothing to choose from.
    int element = -1;
    // The cut kind whose highlight chose the element (a CutKind; cutKindNone when unknown).
    int kind = cutKindNone;
};

struct Interaction {
    // The cut modes, switched by the menu commands: 1 while the mode is on. The
    // frame runs the pick highlight of each mode that is on.
    int vertexCutMode = 0, edgeCutMode = 0, faceCutMode = 0;
    // A cut mode is on: the frame runs the pick highlights, a click cuts, the mouse does not turn the view.
    bool cutModeActive = false;
    // What the last frame's highlight picked; a click cuts only with that kind,
    // so that an index is never read as an element of another kind.
    Pick picked;
    // The kind of the cut mode last switched on (a CutKind), cutKindNone when none is on.
    int cutKind = cutKindNone;
    // The left button was seen released since the last click in a cut mode.
    bool clickLatch = true;
    // A click has cut and Enter may still undo it; every menu command clears it.
    bool cutPickPending = false;
    // The pending first edge and the undo record of the cuts.
    CutRecord cuts;
    // The "model has no opening" notice was shown for the model on screen.
    bool closedWarned = false;
};
