// The kept picture of the layers and the copies of what they read.
#include "render/scene_cache.h"

#include <GL/gl.h>

#include <cstring>
#include <vector>

#include "model/mesh.h"
#include "render/view_state.h"
#include "render/textures.h"

namespace {
// The values the layers read: the view, the GL state they draw under, and the revisions of the mesh and of the texture images.
struct SceneValues {
    double modelview[16], projection[16];
    int viewport[4];
    float lineWidth, pointSize;
    ViewValues view;
    unsigned int uniformColor;
    int textureTiling;
    bool textureLoaded;
    std::uint64_t revision;
    unsigned long long textureRevision;
    bool topologyBuilt, uvComputed;
    bool operator==(const SceneValues&) const = default;
};

// A picture is kept, drawn under `keptValues`.
bool kept = false;
SceneValues keptValues = {};
// The values as the last check found them, before the layers drew.
SceneValues checkedValues = {};
// The colour (RGBA) and depth of the viewport as the layers left them.
std::vector<unsigned char> keptColor;
std::vector<unsigned int> keptDepth;

SceneValues currentValues(const Mesh& mesh)
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
    v.textureLoaded = textureImages.textureLoaded;
    v.revision = mesh.revision;
    v.textureRevision = textureRevision();
    v.topologyBuilt = mesh.topologyBuilt;
    v.uvComputed = mesh.uvComputed;
    return v;
}

size_t pixelsOf(const int viewport[4])
{
    return viewport[2] > 0 && viewport[3] > 0 ? static_cast<size_t>(viewport[2]) * static_cast<size_t>(viewport[3])
                                              : 0;
}
} // namespace

bool keptSceneCurrent(const Mesh& mesh)
{
    checkedValues = currentValues(mesh);
    return kept && checkedValues == keptValues;
}

void restoreScene()
{
    const int* viewport = keptValues.viewport;
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
    kept = true;
}

void forgetScene() { kept = false; }
