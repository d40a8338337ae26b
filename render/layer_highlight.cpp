// The pick highlights of the three cut modes and the unprojection of the
// cursor they measure from. Each scans its elements in index order and keeps
// a candidate only when it is strictly nearer, so ties go to the lowest index.
#include <GL/glu.h>

#include <cmath>

#include "model/mesh.h"
#include "platform/platform.h"
#include "render/layer_support.h"
#include "render/layers.h"
#include "render/view_points.h"
#include "model/cutting.h"


namespace {
double distanceTo(double x, double y, double z, const double p[3])
{
    const double dx = x - p[0], dy = y - p[1], dz = z - p[2];
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}
} // namespace

void cursorToModel(double& x, double& y, double& z)
{
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    int cx = 0, cy = 0;
    platformCursorPos(cx, cy);
    platformScreenToView(cx, cy);
    double modelview[16], projection[16];
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    const double winX = cx;
    const double winY = viewport[3] - cy;
    // A cursor outside the view reads nothing: it is taken as over the background.
    GLfloat depth = 1.0f;
    glReadPixels(static_cast<GLint>(winX), static_cast<GLint>(winY), 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
    x = y = z = 0.0;
    gluUnProject(winX, winY, depth, modelview, projection, viewport, &x, &y, &z);
}

int highlightVertex(const Mesh& mesh)
{
    int pickedElement = 0;
    double p[3];
    cursorToModel(p[0], p[1], p[2]);
    const int vertices = drawableVertexCount(mesh);
    if (vertices <= 0) {
        return -1;
    }
    const double* v = viewPointsOf(mesh, vertices);
    double best = distanceTo(v[0], v[1], v[2], p);
    for (int i = 1; i < vertices; ++i) {
        const double d = distanceTo(v[3 * i], v[3 * i + 1], v[3 * i + 2], p);
        if (d < best) {
            pickedElement = i;
            best = d;
        }
    }
    glColor3d(1.0, 0.0, 0.0);
    glBegin(GL_POINTS);
    viewVertex(mesh, pickedElement);
    glEnd();
    glColor3d(1.0, 1.0, 1.0);
    return pickedElement;
}

int highlightEdge(const Mesh& mesh)
{
    int pickedElement = 0;
    double p[3];
    cursorToModel(p[0], p[1], p[2]);
    const int edges = drawableEdgeCount(mesh, mesh.edgeCount);
    const int vertices = drawableVertexCount(mesh);
    if (edges <= 0) {
        return -1;
    }
    const double* v = viewPointsOf(mesh, vertices);
    double best = 10000.0;
    for (int e = 0; e < edges; ++e) {
        const int a = mesh.edgeA[e], b = mesh.edgeB[e];
        if (!isDrawable(a, vertices) || !isDrawable(b, vertices))
            continue;
        const double* A = v + 3 * a;
        const double* B = v + 3 * b;
        const double d = distanceTo((A[0] + B[0]) / 2.0, (A[1] + B[1]) / 2.0, (A[2] + B[2]) / 2.0, p);
        if (d < best) {
            pickedElement = e;
            best = d;
        }
    }
    glPushMatrix();
    glColor3d(1.0, 0.0, 0.0);
    glBegin(GL_LINES);
    viewSegment(mesh, mesh.edgeA[pickedElement], mesh.edgeB[pickedElement], vertices);
    viewSegment(mesh, mesh.edgeB[pickedElement], mesh.edgeA[pickedElement], vertices);
    glEnd();
    drawBorders(mesh);
    glPopMatrix();
    glColor3d(1.0, 1.0, 1.0);
    return pickedElement;
}

int highlightFace(const Mesh& mesh)
{
    int pickedElement = 0;
    double p[3];
    cursorToModel(p[0], p[1], p[2]);
    const int faces = drawableFaceCount(mesh);
    const int vertices = drawableVertexCount(mesh);
    if (faces <= 0) {
        return -1;
    }
    const double* v = viewPointsOf(mesh, vertices);
    double best = 10000.0;
    for (int f = 0; f < faces; ++f) {
        const int a = mesh.faceA[f], b = mesh.faceB[f], c = mesh.faceC[f];
        if (!isDrawableFace(a, b, c, vertices))
            continue;
        const double* A = v + 3 * a;
        const double* B = v + 3 * b;
        const double* C = v + 3 * c;
        const double d = distanceTo((A[0] + B[0] + C[0]) / 3.0, (A[1] + B[1] + C[1]) / 3.0,
                                    (A[2] + B[2] + C[2]) / 3.0, p);
        if (d < best) {
            pickedElement = f;
            best = d;
        }
    }
    const int a = mesh.faceA[pickedElement], b = mesh.faceB[pickedElement], c = mesh.faceC[pickedElement];
    glColor3d(1.0, 0.0, 0.0);
    glBegin(GL_LINES);
    viewSegment(mesh, a, b, vertices);
    viewSegment(mesh, b, c, vertices);
    viewSegment(mesh, c, a, vertices);
    glEnd();
    glColor3d(1.0, 1.0, 1.0);
    return pickedElement;
}
