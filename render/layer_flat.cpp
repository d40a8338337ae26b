// The two flat displays: the mesh in its (u,v) plane and the texture image on
// a square. Both hold the camera at its start values while they are shown.
#include "model/store.h"
#include "render/layer_support.h"
#include "render/layers.h"

namespace {
// Keeps the view to return to (once) and holds the camera at its start values.
void holdFlatView()
{
    if (!flatViewSaved) {
        saveView();
        flatViewSaved = true;
    }
    resetView();
}
} // namespace

void drawUvPlane()
{
    holdFlatView();
    showUvPlane = true;
    cursorTracked = false;
    faceMode = 0;

    // A cut made while this display is on drops the (u,v) coordinates: then there is nothing to lay out.
    int vertices = drawableVertexCount();
    if (!uvComputed || vertexU.size() < static_cast<size_t>(vertices) ||
        vertexV.size() < static_cast<size_t>(vertices))
        return;
    int edges = drawableEdgeCount(edgeCount);
    glColor3d(0.8, 0.8, 0.8);
    glBegin(GL_LINES);
    for (int e = 0; e < edges; ++e) {
        int a = edgeA[e], b = edgeB[e];
        glVertex3d(vertexU[a], vertexV[a], 0.0);
        glVertex3d(vertexU[b], vertexV[b], 0.0);
        glVertex3d(vertexU[b], vertexV[b], 0.0);
        glVertex3d(vertexU[a], vertexV[a], 0.0);
    }
    glEnd();
    glColor3d(1.0, 1.0, 1.0);
}

void drawTexture()
{
    double s = textureTiling / 256.0;
    holdFlatView();
    showTexture = true;
    cursorTracked = false;
    faceMode = 2;

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
