// Helpers shared by the layer files: how many entries of the model arrays a
// layer may read, and the vertex calls in view coordinates.
#pragma once

#include "model/mesh.h"

#include <GL/gl.h>

#include "render/view_state.h"

// vertexCount, limited to the coordinate arrays actually held.
int drawableVertexCount(const Mesh& mesh);
// faceCount, limited to the corner arrays actually held.
int drawableFaceCount(const Mesh& mesh);
// The first count entries of the edge table that may be read: none while the
// topology is not built, and never more than the edge arrays hold.
int drawableEdgeCount(const Mesh& mesh, int count);

// Vertex index i names one of the first `vertices` vertices. Faces and edges
// naming any other are left out of every picture rather than read out of bounds.
inline bool isDrawable(int i, int vertices) { return i >= 0 && i < vertices; }

// A face with corners a, b, c names only drawable vertices.
inline bool isDrawableFace(int a, int b, int c, int vertices)
{
    return isDrawable(a, vertices) && isDrawable(b, vertices) && isDrawable(c, vertices);
}

// The normal of the triangle P, Q, R by the right-hand rule, not normalised:
// (Q - P) x (R - P).
inline void faceNormal(const double* P, const double* Q, const double* R, double n[3])
{
    const double e1x = Q[0] - P[0], e1y = Q[1] - P[1], e1z = Q[2] - P[2];
    const double e2x = R[0] - P[0], e2y = R[1] - P[1], e2z = R[2] - P[2];
    n[0] = e1y * e2z - e1z * e2y;
    n[1] = e1z * e2x - e1x * e2z;
    n[2] = e1x * e2y - e1y * e2x;
}

// Vertex i of the model at its view position.
inline void viewVertex(const Mesh& mesh, int i)
{
    glVertex3d(normalizedX(mesh, i), normalizedY(mesh, i), normalizedZ(mesh, i));
}

// The segment from vertex a to vertex b, when both can be drawn.
inline void viewSegment(const Mesh& mesh, int a, int b, int vertices)
{
    if (isDrawable(a, vertices) && isDrawable(b, vertices)) {
        viewVertex(mesh, a);
        viewVertex(mesh, b);
    }
}
