// Coherence checks of the model store that hold after every operation the
// user can trigger (load, cut, undo, subdivision, parameterization): corners
// in range, no unused vertex once the topology is built, an edge table that
// matches the triangles, counts and flags that agree with one another.
// Shared by the unit tests and the fuzz targets, so it uses no test framework.
#pragma once

#include <string>

// Empty when the store is coherent, otherwise a description of the first
// fault found. Reads the store only.
std::string storeInvariantFault();

// Empty when the cut-mode state is coherent (modes 0 or 1, cutModeActive only
// while a mode is on, cutKind in 0 .. 3), otherwise what is wrong.
std::string cutStateFault();
