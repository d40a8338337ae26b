// The kept picture of the layers and the copies of what they read.
#include "render/scene_cache.h"

#include <GL/gl.h>

#include <cstring>
#include <vector>

#include "base/store.h"
#include "render/view_state.h"
#include "texture/texture.h"

int scenesRestored = 0;

namespace {
// The values the layers read besides the model's arrays.
struct SceneValues {
    double modelview[16], projection[16];
    int viewport[4];
    float lineWidth, pointSize;
    ViewValues view;
    unsigned int uniformColor;
    int textureTiling;
    bool textureLoaded;
    int vertexCount, faceCount, edgeCount, boundaryEdgeCount, boundaryLoopLength;
    bool topologyBuilt, uvComputed;
    double modelCenter[3], modelRadius;
    bool operator==(const SceneValues&) const = default;
};

// A picture is kept, drawn under `keptValues` from the arrays copied below.
bool kept = false;
SceneValues keptValues = {};
// The values as the last check found them, before the layers drew.
SceneValues checkedValues = {};
std::vector<double> keptX, keptY, keptZ, keptU, keptV;
std::vector<int> keptFaceA, keptFaceB, keptFaceC, keptEdgeA, keptEdgeB, keptEdgeFace1, keptEdgeFace2;
std::vector<unsigned char> keptTexture, keptColorTexture;
// The colour (RGBA) and depth of the viewport as the layers left them.
std::vector<unsigned char> keptColor;
std::vector<unsigned int> keptDepth;

SceneValues currentValues()
{
    SceneValues v{};
    glGetDoublev(GL_MODELVIEW_MATRIX, v.modelview);
    glGetDoublev(GL_PROJECTION_MATRIX, v.projection);
    glGetIntegerv(GL_VIEWPORT, v.viewport);
    glGetFloatv(GL_LINE_WIDTH, &v.lineWidth);
    glGetFloatv(GL_POINT_SIZE, &v.pointSize);
    v.view = currentView;
    // The cursor's bookkeeping does not change the picture.
    v.view.cursorTracked = false;
    v.view.lastCursorX = v.view.lastCursorY = 0.0;
    v.uniformColor = uniformColor;
    v.textureTiling = textureTiling;
    v.textureLoaded = textureLoaded;
    v.vertexCount = vertexCount;
    v.faceCount = faceCount;
    v.edgeCount = edgeCount;
    v.boundaryEdgeCount = boundaryEdgeCount;
    v.boundaryLoopLength = boundaryLoopLength;
    v.topologyBuilt = topologyBuilt;
    v.uvComputed = uvComputed;
    for (int k = 0; k < 3; ++k)
        v.modelCenter[k] = modelCenter[k];
    v.modelRadius = modelRadius;
    return v;
}

// Whole arrays are compared and copied, whatever the counts say.
template <typename T> bool same(const std::vector<T>& array, const std::vector<T>& copy)
{
    return array.size() == copy.size() &&
           (array.empty() || std::memcmp(array.data(), copy.data(), array.size() * sizeof(T)) == 0);
}

bool sameBytes(const unsigned char* bytes, const std::vector<unsigned char>& copy, size_t n)
{
    return copy.size() == n && std::memcmp(bytes, copy.data(), n) == 0;
}

size_t pixelsOf(const int viewport[4])
{
    return viewport[2] > 0 && viewport[3] > 0 ? static_cast<size_t>(viewport[2]) * static_cast<size_t>(viewport[3])
                                              : 0;
}
} // namespace

bool keptSceneCurrent()
{
    checkedValues = currentValues();
    if (!kept || !(checkedValues == keptValues))
        return false;
    return same(vertexX, keptX) && same(vertexY, keptY) && same(vertexZ, keptZ) && same(vertexU, keptU) &&
           same(vertexV, keptV) && same(faceA, keptFaceA) && same(faceB, keptFaceB) && same(faceC, keptFaceC) &&
           same(edgeA, keptEdgeA) && same(edgeB, keptEdgeB) && same(edgeFace1, keptEdgeFace1) &&
           same(edgeFace2, keptEdgeFace2) && sameBytes(textureImage, keptTexture, textureBytes) &&
           sameBytes(colorImage, keptColorTexture, textureBytes);
}

void restoreScene()
{
    const int* viewport = keptValues.viewport;
    ++scenesRestored;
    if (pixelsOf(viewport) == 0)
        return;
    glPushAttrib(GL_ENABLE_BIT | GL_DEPTH_BUFFER_BIT | GL_COLOR_BUFFER_BIT | GL_CURRENT_BIT);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0.0, viewport[2], 0.0, viewport[3], -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glDisable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glRasterPos2i(0, 0);
    glDrawPixels(viewport[2], viewport[3], GL_RGBA, GL_UNSIGNED_BYTE, keptColor.data());
    // Depth alone, every value written as it was read.
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_ALWAYS);
    glDepthMask(GL_TRUE);
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
    glDrawPixels(viewport[2], viewport[3], GL_DEPTH_COMPONENT, GL_UNSIGNED_INT, keptDepth.data());
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopAttrib();
}

void keepScene()
{
    keptValues = checkedValues;
    const int* viewport = keptValues.viewport;
    const size_t pixels = pixelsOf(viewport);
    if (keptColor.size() < 4 * pixels)
        keptColor.resize(4 * pixels);
    if (keptDepth.size() < pixels)
        keptDepth.resize(pixels);
    if (pixels > 0) {
        glReadPixels(viewport[0], viewport[1], viewport[2], viewport[3], GL_RGBA, GL_UNSIGNED_BYTE, keptColor.data());
        glReadPixels(viewport[0], viewport[1], viewport[2], viewport[3], GL_DEPTH_COMPONENT, GL_UNSIGNED_INT,
                     keptDepth.data());
    }
    keptX = vertexX;
    keptY = vertexY;
    keptZ = vertexZ;
    keptU = vertexU;
    keptV = vertexV;
    keptFaceA = faceA;
    keptFaceB = faceB;
    keptFaceC = faceC;
    keptEdgeA = edgeA;
    keptEdgeB = edgeB;
    keptEdgeFace1 = edgeFace1;
    keptEdgeFace2 = edgeFace2;
    keptTexture.assign(textureImage, textureImage + textureBytes);
    keptColorTexture.assign(colorImage, colorImage + textureBytes);
    kept = true;
}

void forgetScene() { kept = false; }
