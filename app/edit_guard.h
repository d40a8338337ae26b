// What makes every edit of a loaded model refusable: the model, its derived
// data and the cut record are kept aside before the edit, and put back when
// the edit (or the rebuild that follows it) is refused. Once a model is
// open, no command ends the program; the user's work stays as it was.
#pragma once

#include <string>

#include "base/outcome.h"
#include "model/cutting.h"

// Keeps a copy of the model on screen (every array, count, flag and its
// revision), of the cut record and of the notice flag. False when the memory
// for the copy cannot be had (nothing kept).
bool keepModelBeforeEdit();
// Puts the kept copy back as the model on screen, with the cut record.
void putModelBack();

// Runs a cut (or an undo, as cut(element)) with the model kept aside: a
// result the topology builder refuses, or missing memory, puts everything
// back and is returned with its outcome.
CutResult guardedCut(CutResult (*cut)(Mesh&, CutRecord&, int), int element);
// undoLastCut in the form guardedCut takes (the element is not used).
CutResult undoAsCut(Mesh& mesh, CutRecord& cuts, int element);
