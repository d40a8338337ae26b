// View coordinates of every vertex, into buffers kept from frame to frame
// (they only grow with the mesh). Outside a frame every ask computes them
// afresh; during a frame (between holdViewPoints and releaseViewPoints) they
// are computed once and shared by the layers and the pick highlights.
#pragma once

#include "model/mesh.h"

// Vertices 0 .. vertices-1 at normalizedX/Y/Z, x y z in turn, as doubles.
const double* viewPointsOf(const Mesh& mesh, int vertices);
// The same points as the single-precision values GL draws them at.
const float* viewPointsAsFloats(const Mesh& mesh, int vertices);

// From now until releaseViewPoints the mesh and the normalisation stay as
// they are: each kind of point is computed at its first ask and then reused.
void holdViewPoints();
// Ends the hold: the next ask computes afresh.
void releaseViewPoints();
