// The cut modes as the user meets them: the three menu switches with the
// display flags each forces while it is on, the click that cuts the picked
// element, Enter that undoes the last cut, and the border flash that shows
// both at once. The cuts themselves are the model's (model/cutting.h); the
// mode flags are the interaction's (app/session.h), which the frame reads.
#pragma once

#include "model/cutting.h"

// Menu "Découper un sommet": switches the vertex cut mode on or off.
void toggleVertexCut();
// Menu "Découper une arête": switches the edge cut mode on or off.
void toggleEdgeCut();
// Menu "Découper une face": switches the face cut mode on or off.
void toggleFaceCut();

// The click in a cut mode: cuts interaction.picked.element with every cut whose mode is on
// (vertex, then edge, then face), each only with the kind whose highlight
// picked it. A cut that is made or refused for its pick leaves its mode; the
// vertex cut and the two-click edge cut flash the borders. A cut whose result
// cannot be built is refused with an error box and changes nothing. Returns
// what the last cut run did.
CutResult applyCut();
// Enter after a click: undoes the last cut when it can still be undone (an
// undo whose result cannot be built is refused with an error box and changes
// nothing), then flashes the borders in every case.
CutResult undoCut();

// Puts the modes back to program start (off, no forced flags kept) along with
// the model's cut record; for test fixtures.
void initCutModes();
