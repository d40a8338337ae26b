// The two flat displays: the mesh in its (u,v) plane and the texture image on
// a square. The frame holds the camera at its start values while they are shown.
// The (u,v) edges are the picture of one immediate-mode line list, handed to
// GL as one indexed array draw of the same single-precision points.
#include <vector>

#include "model/mesh.h"
#include "render/layer_support.h"
#include "render/layers.h"

namespace {
// The (u,v) points as GL draws them, and the ends of every edge there and back.
std::vector<float> flatPoints;
std::vector<GLuint> flatIndices;

} // namespace

void drawUvPlane(const Mesh& mesh)
{
    // A cut made while this display is on drops the (u,v) coordinates: then there is nothing to lay out.
    const int vertices = drawableVertexCount(mesh);
    if (!mesh.uvComputed || mesh.vertexU.size() < static_cast<size_t>(vertices) ||
        mesh.vertexV.size() < static_cast<size_t>(vertices))
        return;
    const int edges = drawableEdgeCount(mesh, mesh.edgeCount);
    glColor3d(0.8, 0.8, 0.8);
    if (edges > 0) {
        // The (u,v) points once each, the edges as index pairs there and back.
        if (flatPoints.size() < 3 * static_cast<size_t>(vertices))
            flatPoints.resize(3 * static_cast<size_t>(vertices));
        if (flatIndices.size() < 4 * static_cast<size_t>(edges))
            flatIndices.resize(4 * static_cast<size_t>(edges));
        float* p = flatPoints.data();
        for (int i = 0; i < vertices; ++i) {
            p[3 * i] = static_cast<float>(mesh.vertexU[i]);
            p[3 * i + 1] = static_cast<float>(mesh.vertexV[i]);
            p[3 * i + 2] = 0.0f;
        }
        GLuint* out = flatIndices.data();
        for (int e = 0; e < edges; ++e) {
            const int a = mesh.edgeA[e], b = mesh.edgeB[e];
            if (!isDrawable(a, vertices) || !isDrawable(b, vertices))
                continue;
            out[0] = out[3] = static_cast<GLuint>(a);
            out[1] = out[2] = static_cast<GLuint>(b);
            out += 4;
        }
        glEnableClientState(GL_VERTEX_ARRAY);
        glVertexPointer(3, GL_FLOAT, 0, flatPoints.data());
        glDrawElements(GL_LINES, static_cast<GLsizei>(out - flatIndices.data()), GL_UNSIGNED_INT, flatIndices.data());
        glDisableClientState(GL_VERTEX_ARRAY);
    }
    glColor3d(1.0, 1.0, 1.0);
}

void drawTexture()
{
    double s = textureTiling / 256.0;
    glEnable(GL_LIGHTING);
    glEnable(GL_TEXTURE_2D);
    // The first image row is texture row 0: it goes to the top of the square.
    glBegin(GL_POLYGON);
    glNormal3d(0.0, 0.0, 1.0);
    glTexCoord2d(0.0, s);
    glVertex3d(-1.0, -1.0, 0.0);
    glTexCoord2d(s, s);
    glVertex3d(1.0, -1.0, 0.0);
    glTexCoord2d(s, 0.0);
    glVertex3d(1.0, 1.0, 0.0);
    glTexCoord2d(0.0, 0.0);
    glVertex3d(-1.0, 1.0, 0.0);
    glEnd();
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
}
