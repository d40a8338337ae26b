// The face layer drawn literally: one polygon per face in immediate mode with
// double-precision calls. The picture the faster face layer must reproduce
// pixel for pixel.
#pragma once

#include <GL/gl.h>

#include <cmath>

#include "app/session.h"
#include "render/view_state.h"
#include "render/textures.h"
#include "texture/texture.h"

inline void drawFacesImmediate()
{
    const double s = textureTiling / 256.0;
    glColor3d(0.8, 0.8, 0.8);
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_LIGHTING);
    if (currentView.faceMode != 2 || currentModel.uvComputed)
        glEnable(GL_TEXTURE_2D);
    if (currentView.withTransparency) {
        glDepthMask(GL_FALSE);
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE);
        glColor4d(0.5, 0.5, 0.5, 0.5);
    }
    glPushMatrix();
    double m[16];
    glGetDoublev(GL_MODELVIEW_MATRIX, m);
    double w[3];
    for (int i = 0; i < 3; ++i)
        w[i] = m[i * 4 + 2] + m[i * 4 + 3];
    for (int f = 0; f < currentModel.faceCount; ++f) {
        const int A = currentModel.faceA[f], B = currentModel.faceB[f], C = currentModel.faceC[f];
        const double P[3] = {normalizedX(currentModel, A), normalizedY(currentModel, A), normalizedZ(currentModel, A)};
        const double Q[3] = {normalizedX(currentModel, B), normalizedY(currentModel, B), normalizedZ(currentModel, B)};
        const double R[3] = {normalizedX(currentModel, C), normalizedY(currentModel, C), normalizedZ(currentModel, C)};
        const double u[3] = {Q[0] - P[0], Q[1] - P[1], Q[2] - P[2]};
        const double v[3] = {R[0] - P[0], R[1] - P[1], R[2] - P[2]};
        double n[3] = {u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0]};
        if (n[0] * w[0] + n[1] * w[1] + n[2] * w[2] < 0.0)
            for (double& x : n)
                x = -x;
        const double length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
        if (length > 0.0) {
            for (double& x : n)
                x = x / length;
        } else {
            n[0] = 0.0;
            n[1] = 0.0;
            n[2] = 1.0;
        }
        glBegin(GL_POLYGON);
        glNormal3d(n[0], n[1], n[2]);
        const int corner[3] = {A, B, C};
        const double* point[3] = {P, Q, R};
        const double fixed[3][2] = {{0.0, 0.0}, {s, 0.0}, {s, s}};
        for (int k = 0; k < 3; ++k) {
            if (currentView.faceMode == 2 && textureImages.textureLoaded && currentModel.uvComputed)
                glTexCoord2d((1.0 + currentModel.vertexU[corner[k]]) * s / 2.0, (1.0 + currentModel.vertexV[corner[k]]) * s / 2.0);
            else if (currentView.faceMode != 2 || textureImages.textureLoaded)
                glTexCoord2d(fixed[k][0], fixed[k][1]);
            glVertex3d(point[k][0], point[k][1], point[k][2]);
        }
        glEnd();
    }
    glPopMatrix();
    if (currentView.withTransparency) {
        glColor4d(1.0, 1.0, 1.0, 1.0);
        glDisable(GL_BLEND);
        glDepthMask(GL_TRUE);
    }
    if (currentView.faceMode != 2 || currentModel.uvComputed)
        glDisable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glColor3d(1.0, 1.0, 1.0);
}
