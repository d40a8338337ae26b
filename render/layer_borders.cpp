// The boundary layers: every border edge, the longest loop alone, and the
// flash that shows the borders at once after a cut.
#include "base/store.h"
#include "platform/platform.h"
#include "render/layer_support.h"
#include "render/layers.h"

namespace {
// Edge-table entries first .. last-1 as segments drawn there and back.
void borderSegments(int first, int last)
{
    const int vertices = drawableVertexCount();
    glBegin(GL_LINES);
    for (int e = first; e < last; ++e) {
        viewSegment(edgeA[e], edgeB[e], vertices);
        viewSegment(edgeB[e], edgeA[e], vertices);
    }
    glEnd();
}
} // namespace

void drawBorders()
{
    int loopEnd = drawableEdgeCount(boundaryLoopLength);
    int bordersEnd = drawableEdgeCount(boundaryEdgeCount);
    glColor3d(1.0, 0.0, 0.0);
    borderSegments(0, loopEnd);
    glColor3d(0.0, 1.0, 0.0);
    borderSegments(loopEnd, bordersEnd);
    glColor3d(1.0, 1.0, 1.0);
}

void drawBoundary()
{
    const int loopEnd = drawableEdgeCount(boundaryLoopLength);
    const int vertices = drawableVertexCount();
    glColor3d(1.0, 0.0, 0.0);
    glLineWidth(2.0f);
    glBegin(GL_LINES);
    for (int e = 0; e < loopEnd; ++e)
        viewSegment(edgeA[e], edgeB[e], vertices);
    glEnd();
    glLineWidth(0.6f);
    glColor3d(1.0, 1.0, 1.0);
}

void flashBorders()
{
    drawBorders();
    platformPresent();
    platformSleepMs(250);
}
