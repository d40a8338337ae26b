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

// Vertex index i names one of the first `vertices` vertices. Faces and edges
// naming any other are left out of every picture rather than read out of bounds.
inline bool isDrawable(int i, int vertices) { return i >= 0 && i < vertices; }

// Vertex i of the model at its view position.
inline void viewVertex(int i) { glVertex3d(normalizedX(i), normalizedY(i), normalizedZ(i)); }

// The segment from vertex a to vertex b, when both can be drawn.
inline void viewSegment(int a, int b, int vertices)
{
    if (isDrawable(a, vertices) && isDrawable(b, vertices)) {
        viewVertex(a);
        viewVertex(b);
    }
}
