// The vertex, edge and normal layers.
#include <cmath>

#include "model/store.h"
#include "render/layer_support.h"
#include "render/layers.h"

void drawVertices()
{
    const int vertices = drawableVertexCount();
    glColor3d(1.0, 1.0, 1.0);
    glPointSize(4.0f);
    glBegin(GL_POINTS);
    for (int i = 0; i < vertices; ++i)
        viewVertex(i);
    glEnd();
    glColor3d(1.0, 1.0, 1.0);
}

void drawEdges()
{
    const int faces = drawableFaceCount();
    glColor3d(0.8, 0.8, 0.8);
    glBegin(GL_LINES);
    for (int f = 0; f < faces; ++f) {
        const int a = faceA[f], b = faceB[f], c = faceC[f];
        viewVertex(a);
        viewVertex(b);
        viewVertex(b);
        viewVertex(c);
        viewVertex(c);
        viewVertex(a);
    }
    glEnd();
    glColor3d(1.0, 1.0, 1.0);
}

void drawNormals()
{
    const int faces = drawableFaceCount();
    const double length = 0.2 * modelScale;
    glColor3d(0.0, 1.0, 0.0);
    for (int f = 0; f < faces; ++f) {
        const int a = faceA[f], b = faceB[f], c = faceC[f];
        const double P[3] = {normalizedX(a), normalizedY(a), normalizedZ(a)};
        const double Q[3] = {normalizedX(b), normalizedY(b), normalizedZ(b)};
        const double R[3] = {normalizedX(c), normalizedY(c), normalizedZ(c)};
        const double e1[3] = {Q[0] - P[0], Q[1] - P[1], Q[2] - P[2]};
        const double e2[3] = {R[0] - P[0], R[1] - P[1], R[2] - P[2]};
        double n[3] = {e1[1] * e2[2] - e1[2] * e2[1], e1[2] * e2[0] - e1[0] * e2[2], e1[0] * e2[1] - e1[1] * e2[0]};
        const double size = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
        // A face with collinear corners has no normal: its segment shrinks to the centroid.
        if (size > 0.0)
            for (double& x : n)
                x = x / size;
        double centroid[3];
        for (int k = 0; k < 3; ++k)
            centroid[k] = (P[k] + Q[k] + R[k]) / 3.0;
        glBegin(GL_LINES);
        glVertex3d(centroid[0] - length * n[0], centroid[1] - length * n[1], centroid[2] - length * n[2]);
        glVertex3d(centroid[0] + length * n[0], centroid[1] + length * n[1], centroid[2] + length * n[2]);
        glEnd();
    }
    glColor3d(1.0, 1.0, 1.0);
}
