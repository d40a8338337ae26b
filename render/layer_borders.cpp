// The boundary layers: every border edge, the longest loop alone, and the
// flash that shows the borders at once after a cut.
#include "model/mesh.h"
#include "platform/platform.h"
#include "render/layer_support.h"
#include "render/layers.h"

namespace {
// Edge-table entries first .. last-1 as segments drawn there and back.
void borderSegments(const Mesh& mesh, int first, int last)
{
    const int vertices = drawableVertexCount(mesh);
    glBegin(GL_LINES);
    for (int e = first; e < last; ++e) {
        viewSegment(mesh, mesh.edgeA[e], mesh.edgeB[e], vertices);
        viewSegment(mesh, mesh.edgeB[e], mesh.edgeA[e], vertices);
    }
    glEnd();
}
} // namespace

void drawBorders(const Mesh& mesh)
{
    int loopEnd = drawableEdgeCount(mesh, mesh.boundaryLoopLength);
    int bordersEnd = drawableEdgeCount(mesh, mesh.boundaryEdgeCount);
    glColor3d(1.0, 0.0, 0.0);
    borderSegments(mesh, 0, loopEnd);
    glColor3d(0.0, 1.0, 0.0);
    borderSegments(mesh, loopEnd, bordersEnd);
    glColor3d(1.0, 1.0, 1.0);
}

void drawBoundary(const Mesh& mesh)
{
    const int loopEnd = drawableEdgeCount(mesh, mesh.boundaryLoopLength);
    const int vertices = drawableVertexCount(mesh);
    glColor3d(1.0, 0.0, 0.0);
    glLineWidth(2.0f);
    glBegin(GL_LINES);
    for (int e = 0; e < loopEnd; ++e)
        viewSegment(mesh, mesh.edgeA[e], mesh.edgeB[e], vertices);
    glEnd();
    glLineWidth(0.6f);
    glColor3d(1.0, 1.0, 1.0);
}

void flashBorders(const Mesh& mesh)
{
    drawBorders(mesh);
    platformPresent();
    platformSleepMs(250);
}
