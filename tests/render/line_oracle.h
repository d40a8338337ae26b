// The vertex, edge and normal layers drawn literally in immediate mode with
// double-precision calls: the pictures the array drawing must reproduce.
#pragma once

#include <GL/gl.h>

#include <cmath>

#include "app/session.h"
#include "render/view_state.h"

inline void immediateVertex(int i) { glVertex3d(normalizedX(currentModel, i), normalizedY(currentModel, i), normalizedZ(currentModel, i)); }

inline void drawVerticesImmediate()
{
    glColor3d(1.0, 1.0, 1.0);
    glPointSize(4.0f);
    glBegin(GL_POINTS);
    for (int i = 0; i < currentModel.vertexCount; ++i)
        immediateVertex(i);
    glEnd();
    glColor3d(1.0, 1.0, 1.0);
}

inline void drawEdgesImmediate()
{
    glColor3d(0.8, 0.8, 0.8);
    glBegin(GL_LINES);
    for (int f = 0; f < currentModel.faceCount; ++f) {
        immediateVertex(currentModel.faceA[f]);
        immediateVertex(currentModel.faceB[f]);
        immediateVertex(currentModel.faceB[f]);
        immediateVertex(currentModel.faceC[f]);
        immediateVertex(currentModel.faceC[f]);
        immediateVertex(currentModel.faceA[f]);
    }
    glEnd();
    glColor3d(1.0, 1.0, 1.0);
}

inline void drawNormalsImmediate()
{
    glColor3d(0.0, 1.0, 0.0);
    const double L = 0.2 * currentView.modelScale;
    for (int f = 0; f < currentModel.faceCount; ++f) {
        const int A = currentModel.faceA[f], B = currentModel.faceB[f], C = currentModel.faceC[f];
        const double P[3] = {normalizedX(currentModel, A), normalizedY(currentModel, A), normalizedZ(currentModel, A)};
        const double Q[3] = {normalizedX(currentModel, B), normalizedY(currentModel, B), normalizedZ(currentModel, B)};
        const double R[3] = {normalizedX(currentModel, C), normalizedY(currentModel, C), normalizedZ(currentModel, C)};
        const double u[3] = {Q[0] - P[0], Q[1] - P[1], Q[2] - P[2]};
        const double v[3] = {R[0] - P[0], R[1] - P[1], R[2] - P[2]};
        double n[3] = {u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0]};
        const double length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
        if (length > 0.0)
            for (double& x : n)
                x = x / length;
        double c[3];
        for (int k = 0; k < 3; ++k)
            c[k] = (P[k] + Q[k] + R[k]) / 3.0;
        glBegin(GL_LINES);
        glVertex3d(c[0] - L * n[0], c[1] - L * n[1], c[2] - L * n[2]);
        glVertex3d(c[0] + L * n[0], c[1] + L * n[1], c[2] + L * n[2]);
        glEnd();
    }
    glColor3d(1.0, 1.0, 1.0);
}

// The (u,v) edges of drawUvPlane's step 3, drawn literally.
inline void drawUvEdgesImmediate()
{
    glColor3d(0.8, 0.8, 0.8);
    glBegin(GL_LINES);
    for (int e = 0; e < currentModel.edgeCount; ++e) {
        const int a = currentModel.edgeA[e], b = currentModel.edgeB[e];
        glVertex3d(currentModel.vertexU[a], currentModel.vertexV[a], 0.0);
        glVertex3d(currentModel.vertexU[b], currentModel.vertexV[b], 0.0);
        glVertex3d(currentModel.vertexU[b], currentModel.vertexV[b], 0.0);
        glVertex3d(currentModel.vertexU[a], currentModel.vertexV[a], 0.0);
    }
    glEnd();
    glColor3d(1.0, 1.0, 1.0);
}
