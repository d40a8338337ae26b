// The vertex, edge and normal layers. Each is the picture of an immediate-mode
// list (points, the three sides of every face, one segment per face); the
// same single-precision vertices go to GL in one array draw, in the same order.
#include <cmath>
#include <vector>

#include "base/store.h"
#include "render/layer_support.h"
#include "render/layers.h"
#include "render/view_points.h"

namespace {
// Corner indices of the sides of every face: A B, B C, C A.
std::vector<GLuint> sideIndices;
// Two ends per face of the normal segments.
std::vector<float> normalEnds;

void drawFloatPoints(GLenum mode, const float* points, GLsizei count)
{
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, points);
    glDrawArrays(mode, 0, count);
    glDisableClientState(GL_VERTEX_ARRAY);
}
} // namespace

void drawVertices()
{
    const int vertices = drawableVertexCount();
    glColor3d(1.0, 1.0, 1.0);
    glPointSize(4.0f);
    if (vertices > 0)
        drawFloatPoints(GL_POINTS, viewPointsAsFloats(vertices), vertices);
    glColor3d(1.0, 1.0, 1.0);
}

void drawEdges()
{
    const int faces = drawableFaceCount();
    const int vertices = drawableVertexCount();
    glColor3d(0.8, 0.8, 0.8);
    if (faces > 0) {
        if (sideIndices.size() < 6 * static_cast<size_t>(faces))
            sideIndices.resize(6 * static_cast<size_t>(faces));
        GLuint* out = sideIndices.data();
        const int* fa = faceA.data();
        const int* fb = faceB.data();
        const int* fc = faceC.data();
        for (int f = 0; f < faces; ++f) {
            const int a = fa[f], b = fb[f], c = fc[f];
            if (!isDrawableFace(a, b, c, vertices))
                continue;
            out[0] = out[5] = static_cast<GLuint>(a);
            out[1] = out[2] = static_cast<GLuint>(b);
            out[3] = out[4] = static_cast<GLuint>(c);
            out += 6;
        }
        glEnableClientState(GL_VERTEX_ARRAY);
        glVertexPointer(3, GL_FLOAT, 0, viewPointsAsFloats(vertices));
        glDrawElements(GL_LINES, static_cast<GLsizei>(out - sideIndices.data()), GL_UNSIGNED_INT, sideIndices.data());
        glDisableClientState(GL_VERTEX_ARRAY);
    }
    glColor3d(1.0, 1.0, 1.0);
}

void drawNormals()
{
    const int faces = drawableFaceCount();
    const double length = 0.2 * modelScale;
    glColor3d(0.0, 1.0, 0.0);
    if (faces > 0) {
        const int vertices = drawableVertexCount();
        const double* v = viewPointsOf(vertices);
        if (normalEnds.size() < 6 * static_cast<size_t>(faces))
            normalEnds.resize(6 * static_cast<size_t>(faces));
        float* out = normalEnds.data();
        for (int f = 0; f < faces; ++f) {
            const int a = faceA[f], b = faceB[f], c = faceC[f];
            if (!isDrawableFace(a, b, c, vertices))
                continue;
            const double* P = v + 3 * a;
            const double* Q = v + 3 * b;
            const double* R = v + 3 * c;
            double n[3];
            faceNormal(P, Q, R, n);
            const double size = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
            // A face with collinear corners has no normal: its segment shrinks to the centroid.
            if (size > 0.0)
                for (double& x : n)
                    x = x / size;
            for (int k = 0; k < 3; ++k) {
                const double centroid = (P[k] + Q[k] + R[k]) / 3.0;
                out[k] = static_cast<float>(centroid - length * n[k]);
                out[3 + k] = static_cast<float>(centroid + length * n[k]);
            }
            out += 6;
        }
        drawFloatPoints(GL_LINES, normalEnds.data(), static_cast<GLsizei>(out - normalEnds.data()) / 3);
    }
    glColor3d(1.0, 1.0, 1.0);
}
