// The vertex, edge and normal layers. Each is the picture of an immediate-mode
// list (points, the three sides of every face, one segment per face); the
// same single-precision vertices go to GL in array draws, in the same order.
//
// The edge layer leaves out the sides whose every fragment fails the depth
// test against what is already drawn (the faces hide them): such a side
// writes nothing, so the picture stays the same. A side is left out only when
// its nearest end is farther, by a safe margin, than the farthest depth
// drawn anywhere its fragments could fall.
#include <algorithm>
#include <cmath>
#include <vector>

#include "model/mesh.h"
#include "render/layer_support.h"
#include "render/layers.h"
#include "render/view_points.h"


namespace {
// Corner indices of the sides of every face: A B, B C, C A.
std::vector<GLuint> sideIndices;
// Sides handed to GL per draw call: GL copies and expands each draw's lines
// into memory of its own, which a draw of moderate size reuses from one call
// to the next instead of touching fresh pages.
constexpr int sidesPerDraw = 32768;
// Two ends per face of the normal segments.
std::vector<float> normalEnds;

// The depth buffer of the view as the layers before left it, and its
// farthest value over each tile of tileSize x tileSize pixels.
std::vector<float> depthRead;
std::vector<float> tileFarthest;
constexpr int tileSize = 8;
// Per vertex: window x, y and depth, and whether the vertex projects safely
// (inside the clip volume, finite); 0 when it does not.
std::vector<float> windowPoints;
// A side is hidden when its nearest depth exceeds the farthest drawn depth by
// this much: far above the rounding of GL's own transform and depth buffer.
constexpr float depthMargin = 1e-4f;

// What the hidden-side test needs of the frame.
struct DepthView {
    int x, y, width, height; // viewport
    int tilesX, tilesY;
    float reach;             // how far from a side's ends its fragments may fall, in pixels
};

// Reads the depth drawn so far and projects the vertices. False when no side
// can be left out (no depth test, nothing drawn, no view).
bool prepareHiddenSides(const float* points, int vertices, DepthView& view)
{
    GLint func = 0;
    glGetIntegerv(GL_DEPTH_FUNC, &func);
    if (!glIsEnabled(GL_DEPTH_TEST) || (func != GL_LEQUAL && func != GL_LESS))
        return false;
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    if (viewport[2] <= 0 || viewport[3] <= 0 || viewport[2] > 16384 || viewport[3] > 16384)
        return false;
    GLfloat lineWidth = 1.0f;
    glGetFloatv(GL_LINE_WIDTH, &lineWidth);
    view = {viewport[0], viewport[1], viewport[2], viewport[3], (viewport[2] + tileSize - 1) / tileSize,
            (viewport[3] + tileSize - 1) / tileSize, lineWidth / 2.0f + 2.0f};
    if (!(view.reach < 64.0f))
        return false;
    const size_t pixels = static_cast<size_t>(view.width) * static_cast<size_t>(view.height);
    if (depthRead.size() < pixels)
        depthRead.resize(pixels);
    glReadPixels(view.x, view.y, view.width, view.height, GL_DEPTH_COMPONENT, GL_FLOAT, depthRead.data());
    const size_t tiles = static_cast<size_t>(view.tilesX) * static_cast<size_t>(view.tilesY);
    if (tileFarthest.size() < tiles)
        tileFarthest.resize(tiles);
    std::fill(tileFarthest.begin(), tileFarthest.begin() + static_cast<long>(tiles), 0.0f);
    bool anyDrawn = false;
    for (int row = 0; row < view.height; ++row) {
        const float* d = depthRead.data() + static_cast<size_t>(row) * static_cast<size_t>(view.width);
        float* tile = tileFarthest.data() + static_cast<size_t>(row / tileSize) * static_cast<size_t>(view.tilesX);
        for (int column = 0; column < view.width; ++column) {
            float& farthest = tile[column / tileSize];
            farthest = std::max(farthest, d[column]);
            anyDrawn = anyDrawn || d[column] < 1.0f;
        }
    }
    if (!anyDrawn)
        return false;

    double modelview[16], projection[16];
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    GLfloat range[2] = {0.0f, 1.0f};
    glGetFloatv(GL_DEPTH_RANGE, range);
    double m[16]; // projection times modelview, column-major
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r) {
            double sum = 0.0;
            for (int k = 0; k < 4; ++k)
                sum += projection[4 * k + r] * modelview[4 * c + k];
            m[4 * c + r] = sum;
        }
    float* out = windowPoints.data();
    if (windowPoints.size() < 4 * static_cast<size_t>(vertices)) {
        windowPoints.resize(4 * static_cast<size_t>(vertices));
        out = windowPoints.data();
    }
    for (int i = 0; i < vertices; ++i) {
        const double px = points[3 * i], py = points[3 * i + 1], pz = points[3 * i + 2];
        const double cx = m[0] * px + m[4] * py + m[8] * pz + m[12];
        const double cy = m[1] * px + m[5] * py + m[9] * pz + m[13];
        const double cz = m[2] * px + m[6] * py + m[10] * pz + m[14];
        const double cw = m[3] * px + m[7] * py + m[11] * pz + m[15];
        float* w = out + 4 * i;
        // Inside the clip volume only: a side reaching outside it is clipped, and kept.
        const bool safe = cw > 1e-6 && cx >= -cw && cx <= cw && cy >= -cw && cy <= cw && cz >= -cw && cz <= cw;
        w[3] = safe ? 1.0f : 0.0f;
        if (!safe)
            continue;
        w[0] = static_cast<float>(view.x + (cx / cw + 1.0) * view.width / 2.0);
        w[1] = static_cast<float>(view.y + (cy / cw + 1.0) * view.height / 2.0);
        w[2] = static_cast<float>(range[0] + (cz / cw + 1.0) * (range[1] - range[0]) / 2.0);
    }
    return true;
}

// Every fragment of the side from vertex a to vertex b fails the depth test.
inline bool sideHidden(int a, int b, const DepthView& view)
{
    const float* A = windowPoints.data() + 4 * a;
    const float* B = windowPoints.data() + 4 * b;
    if (A[3] == 0.0f || B[3] == 0.0f)
        return false;
    const float left = std::min(A[0], B[0]) - view.reach - static_cast<float>(view.x);
    const float right = std::max(A[0], B[0]) + view.reach - static_cast<float>(view.x);
    const float bottom = std::min(A[1], B[1]) - view.reach - static_cast<float>(view.y);
    const float top = std::max(A[1], B[1]) + view.reach - static_cast<float>(view.y);
    // Fragments outside the viewport meet depths that were not read.
    if (!(left >= 0.0f && bottom >= 0.0f && right < static_cast<float>(view.width) &&
          top < static_cast<float>(view.height)))
        return false;
    const float nearest = std::min(A[2], B[2]) - depthMargin;
    const int x0 = static_cast<int>(left) / tileSize, x1 = static_cast<int>(right) / tileSize;
    const int y0 = static_cast<int>(bottom) / tileSize, y1 = static_cast<int>(top) / tileSize;
    for (int ty = y0; ty <= y1; ++ty) {
        const float* row = tileFarthest.data() + static_cast<size_t>(ty) * static_cast<size_t>(view.tilesX);
        for (int tx = x0; tx <= x1; ++tx)
            if (!(nearest > row[tx]))
                return false;
    }
    return true;
}

// Draws `count` vertices of x y z floats as points or as lines (two vertices each).
void drawFloatPoints(GLenum mode, const float* points, GLsizei count)
{
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, points);
    // In draws of as many vertices as a draw of sides has (an even count, so lines stay whole).
    for (GLsizei first = 0; first < count; first += 2 * sidesPerDraw)
        glDrawArrays(mode, first, std::min<GLsizei>(2 * sidesPerDraw, count - first));
    glDisableClientState(GL_VERTEX_ARRAY);
}
} // namespace

void drawVertices(const Mesh& mesh)
{
    const int vertices = drawableVertexCount(mesh);
    glColor3d(1.0, 1.0, 1.0);
    glPointSize(4.0f);
    if (vertices > 0)
        drawFloatPoints(GL_POINTS, viewPointsAsFloats(mesh, vertices), vertices);
    glColor3d(1.0, 1.0, 1.0);
}

void drawEdges(const Mesh& mesh)
{
    const int faces = drawableFaceCount(mesh);
    const int vertices = drawableVertexCount(mesh);
    glColor3d(0.8, 0.8, 0.8);
    if (faces > 0) {
        const float* points = viewPointsAsFloats(mesh, vertices);
        DepthView view{};
        const bool cull = prepareHiddenSides(points, vertices, view);
        if (sideIndices.size() < 6 * static_cast<size_t>(faces))
            sideIndices.resize(6 * static_cast<size_t>(faces));
        GLuint* out = sideIndices.data();
        const int* fa = mesh.faceA.data();
        const int* fb = mesh.faceB.data();
        const int* fc = mesh.faceC.data();
        for (int f = 0; f < faces; ++f) {
            const int a = fa[f], b = fb[f], c = fc[f];
            if (!isDrawableFace(a, b, c, vertices))
                continue;
            const int sides[3][2] = {{a, b}, {b, c}, {c, a}};
            for (const auto& side : sides) {
                if (cull && sideHidden(side[0], side[1], view))
                    continue;
                out[0] = static_cast<GLuint>(side[0]);
                out[1] = static_cast<GLuint>(side[1]);
                out += 2;
            }
        }

        glEnableClientState(GL_VERTEX_ARRAY);
        glVertexPointer(3, GL_FLOAT, 0, points);
        const long long indices = out - sideIndices.data();
        for (long long first = 0; first < indices; first += 2 * sidesPerDraw)
            glDrawElements(GL_LINES, static_cast<GLsizei>(std::min<long long>(2 * sidesPerDraw, indices - first)),
                           GL_UNSIGNED_INT, sideIndices.data() + first);
        glDisableClientState(GL_VERTEX_ARRAY);
    }
    glColor3d(1.0, 1.0, 1.0);
}

void drawNormals(const Mesh& mesh)
{
    const int faces = drawableFaceCount(mesh);
    const double length = 0.2 * currentView.modelScale;
    glColor3d(0.0, 1.0, 0.0);
    if (faces > 0) {
        const int vertices = drawableVertexCount(mesh);
        const double* v = viewPointsOf(mesh, vertices);
        if (normalEnds.size() < 6 * static_cast<size_t>(faces))
            normalEnds.resize(6 * static_cast<size_t>(faces));
        float* out = normalEnds.data();
        for (int f = 0; f < faces; ++f) {
            const int a = mesh.faceA[f], b = mesh.faceB[f], c = mesh.faceC[f];
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
