// Helpers shared by the layer files: how many entries of the model arrays a
// layer may read, and the vertex calls in view coordinates.
#pragma once

#include <GL/gl.h>

#include "render/view_state.h"

// vertexCount, limited to the coordinate arrays actually held.
int drawableVertexCount();
// faceCount, limited to the corner arrays actually held.
int drawableFaceCount();
// The first count entries of the edge table that may be read: none while the
// topology is not built, and never more than the edge arrays hold.
int drawableEdgeCount(int count);

// Vertex i of the model at its view position.
inline void viewVertex(int i) { glVertex3d(normalizedX(i), normalizedY(i), normalizedZ(i)); }
