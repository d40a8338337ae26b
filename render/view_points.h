// View coordinates of every vertex, computed afresh for the layer that asks,
// into buffers kept from frame to frame (they only grow with the mesh).
#pragma once

// Vertices 0 .. vertices-1 at normalizedX/Y/Z, x y z in turn, as doubles.
const double* viewPointsOf(int vertices);
// The same points as the single-precision values GL draws them at.
const float* viewPointsAsFloats(int vertices);
