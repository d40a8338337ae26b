// The face layer. Every face is one lit triangle whose normal is turned
// toward the viewer, textured through the texture bound for the frame.
//
// The picture is that of one polygon per face in immediate mode; the triangles
// are handed to GL in a few large vertex-array draws instead, in the same order,
// with the same single-precision values and each triangle's corners in the order
// GL rasterizes a polygon's, which gives the same fragments.
// The arrays are refilled in every frame (view coordinates and normals follow
// the camera and the scale) and only reallocated when the mesh grows.
#include <algorithm>
#include <cmath>
#include <vector>

#include "base/store.h"
#include "render/layer_support.h"
#include "render/layers.h"
#include "render/view_points.h"
#include "render/textures.h"
#include "texture/texture.h"

namespace {
// One triangle corner as GL reads it: texture coordinate, normal, position.
struct Corner {
    float s, t;
    float nx, ny, nz;
    float x, y, z;
};

// Three corners per face, in face order (each face's corners as Q, R, P).
std::vector<Corner> corners;

// Faces handed to GL per draw call (about 3 MB of corners).
constexpr int facesPerDraw = 32768;

// How the corners of a face get their texture coordinates.
enum TexCoordRule { texCoordsFromUv, texCoordsFixed, texCoordsNone };

// Writes the corners of faces 0 .. faces-1 whose corners are among the first
// `vertices`; w is the viewer direction in model coordinates. Returns how many
// faces were written.
int fillCorners(const double* v, int vertices, int faces, const double w[3], TexCoordRule rule, double s)
{
    if (corners.size() < 3 * static_cast<size_t>(faces))
        corners.resize(3 * static_cast<size_t>(faces));
    const int* fa = faceA.data();
    const int* fb = faceB.data();
    const int* fc = faceC.data();
    const double* u = vertexU.data();
    const double* uv = vertexV.data();
    const float fs = static_cast<float>(s);
    Corner* out = corners.data();
    for (int f = 0; f < faces; ++f) {
        const int a = fa[f], b = fb[f], c = fc[f];
        if (!isDrawableFace(a, b, c, vertices))
            continue;
        const double* P = v + 3 * a;
        const double* Q = v + 3 * b;
        const double* R = v + 3 * c;
        double n[3];
        faceNormal(P, Q, R, n);
        double nx = n[0], ny = n[1], nz = n[2];
        if (nx * w[0] + ny * w[1] + nz * w[2] < 0.0) {
            nx = -nx;
            ny = -ny;
            nz = -nz;
        }
        const double length = std::sqrt(nx * nx + ny * ny + nz * nz);
        if (length > 0.0) {
            nx = nx / length;
            ny = ny / length;
            nz = nz / length;
        } else {
            // Collinear corners: no direction to light; a fixed one keeps the normal finite.
            nx = 0.0;
            ny = 0.0;
            nz = 1.0;
        }
        const float fnx = static_cast<float>(nx), fny = static_cast<float>(ny), fnz = static_cast<float>(nz);
        // GL rasterizes a three-corner polygon as the triangle Q, R, P; handing the
        // corners over in that order gives the very same fragments.
        const int ids[3] = {b, c, a};
        const double* points[3] = {Q, R, P};
        for (int k = 0; k < 3; ++k) {
            Corner& corner = out[k];
            corner.nx = fnx;
            corner.ny = fny;
            corner.nz = fnz;
            corner.x = static_cast<float>(points[k][0]);
            corner.y = static_cast<float>(points[k][1]);
            corner.z = static_cast<float>(points[k][2]);
            if (rule == texCoordsFromUv) {
                corner.s = static_cast<float>((1.0 + u[ids[k]]) * s / 2.0);
                corner.t = static_cast<float>((1.0 + uv[ids[k]]) * s / 2.0);
            }
        }
        if (rule == texCoordsFixed) {
            // (0, 0) at P, (s, 0) at Q, (s, s) at R.
            out[0].s = fs;
            out[0].t = 0.0f;
            out[1].s = fs;
            out[1].t = fs;
            out[2].s = 0.0f;
            out[2].t = 0.0f;
        }
        out += 3;
    }
    return static_cast<int>(out - corners.data()) / 3;
}
} // namespace

void drawFaces()
{
    const double s = textureTiling / 256.0;
    const bool texturing = faceMode != faceModeImage || uvComputed;
    glColor3d(0.8, 0.8, 0.8);
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_LIGHTING);
    if (texturing)
        glEnable(GL_TEXTURE_2D);
    if (withTransparency) {
        glDepthMask(GL_FALSE);
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE);
        glColor4d(0.5, 0.5, 0.5, 0.5);
    }
    glPushMatrix();
    double m[16];
    glGetDoublev(GL_MODELVIEW_MATRIX, m);
    // Column-major: row r, column c is m[4 c + r]. Rows 2 and 3 summed give the eye's +z.
    const double w[3] = {m[2] + m[3], m[6] + m[7], m[10] + m[11]};

    const int vertices = drawableVertexCount();
    const int faces = drawableFaceCount();
    const bool uvUsable = uvComputed && vertexU.size() >= static_cast<size_t>(vertices) &&
                          vertexV.size() >= static_cast<size_t>(vertices);
    TexCoordRule rule = texCoordsNone;
    if (faceMode == faceModeImage && textureLoaded && uvUsable)
        rule = texCoordsFromUv;
    else if (faceMode != faceModeImage || textureLoaded)
        rule = texCoordsFixed;

    if (faces > 0) {
        const int drawn = fillCorners(viewPointsOf(vertices), vertices, faces, w, rule, s);
        const GLsizei stride = sizeof(Corner);
        glEnableClientState(GL_VERTEX_ARRAY);
        glEnableClientState(GL_NORMAL_ARRAY);
        glVertexPointer(3, GL_FLOAT, stride, &corners[0].x);
        glNormalPointer(GL_FLOAT, stride, &corners[0].nx);
        if (rule != texCoordsNone) {
            glEnableClientState(GL_TEXTURE_COORD_ARRAY);
            glTexCoordPointer(2, GL_FLOAT, stride, &corners[0].s);
        }
        // In slices: GL copies client arrays into its own memory for each draw,
        // and a slice of moderate size reuses that memory instead of mapping fresh pages.
        for (int first = 0; first < drawn; first += facesPerDraw)
            glDrawArrays(GL_TRIANGLES, 3 * first, 3 * std::min(facesPerDraw, drawn - first));
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
        glDisableClientState(GL_NORMAL_ARRAY);
        glDisableClientState(GL_VERTEX_ARRAY);
    }

    glPopMatrix();
    if (withTransparency) {
        glColor4d(1.0, 1.0, 1.0, 1.0);
        glDisable(GL_BLEND);
        glDepthMask(GL_TRUE);
    }
    if (texturing)
        glDisable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glColor3d(1.0, 1.0, 1.0);
}
