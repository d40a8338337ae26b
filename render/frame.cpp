// The frame: camera, keyboard, layers in their order, axes-only rule, highlights.
#include "render/frame.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "model/cutting.h"
#include "platform/platform.h"
#include "render/layers.h"
#include "render/mouse.h"
#include "render/scene_cache.h"
#include "render/view_points.h"
#include "render/view_state.h"
#include "render/textures.h"

namespace {
// Per-frame steps of the keys and the animation.
constexpr double zoomIn = 0.99, zoomOut = 1.01;
constexpr double nearestDistance = 1.5, farthestDistance = 15.0;
constexpr double smallestScale = 0.1, largestScale = 10.0;
constexpr int smallestTiling = 64, largestTiling = 2048;
constexpr double panStep = 0.01;
constexpr double animateY = 0.13, animateX = 0.21, animateZ = 0.3;

bool axesOnly()
{
    return currentView.showAxes && !currentView.showVertices && !currentView.showEdges && !currentView.showNormals && !currentView.showBorders && !currentView.showBoundary &&
           !currentView.showFaces;
}
} // namespace

void pollKeyboard()
{
    if (platformKeyDown(keyUp)) {
        currentView.cameraDistance *= zoomIn;
        if (currentView.cameraDistance < nearestDistance)
            currentView.cameraDistance = nearestDistance;
    }
    if (platformKeyDown(keyDown)) {
        currentView.cameraDistance *= zoomOut;
        if (currentView.cameraDistance > farthestDistance)
            currentView.cameraDistance = farthestDistance;
    }
    if (platformKeyDown(keyLeft)) {
        currentView.modelScale *= zoomIn;
        if (currentView.modelScale < smallestScale)
            currentView.modelScale = smallestScale;
    }
    if (platformKeyDown(keyRight)) {
        currentView.modelScale *= zoomOut;
        if (currentView.modelScale > largestScale)
            currentView.modelScale = largestScale;
    }
    // Texture tiling acts once per press, and only on the image texture.
    if (currentView.faceMode == faceModeImage) {
        if (platformKeyDown(keyP)) {
            if (keyPLatch) {
                keyPLatch = false;
                textureTiling *= 2;
                if (textureTiling > largestTiling)
                    textureTiling = largestTiling;
            }
        } else {
            keyPLatch = true;
        }
        if (platformKeyDown(keyM)) {
            if (keyMLatch) {
                keyMLatch = false;
                textureTiling /= 2;
                if (textureTiling < smallestTiling)
                    textureTiling = smallestTiling;
            }
        } else {
            keyMLatch = true;
        }
    }
    if (platformKeyDown(keyC))
        currentView.panX += panStep;
    if (platformKeyDown(keyD))
        currentView.panY += panStep;
    if (platformKeyDown(keyS))
        currentView.panY += panStep;
    if (platformKeyDown(keyW))
        currentView.panX -= panStep;
    if (platformKeyDown(keyX))
        currentView.panY -= panStep;
}

void applyCamera()
{
    if (currentView.faceMode >= 0 && currentView.faceMode < 3)
        glBindTexture(GL_TEXTURE_2D, textureIds[currentView.faceMode]);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslated(currentView.panX, currentView.panY, 0.0);
    gluLookAt(currentView.panX, currentView.panY, currentView.cameraDistance, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0);
    if (currentView.withAnimation) {
        currentView.viewAngleY += animateY;
        currentView.viewAngleX += animateX;
        currentView.viewAngleZ += animateZ;
    }
    glRotated(currentView.viewAngleY, 0.0, 1.0, 0.0);
    glRotated(currentView.viewAngleX, 1.0, 0.0, 0.0);
    glRotated(currentView.viewAngleZ, 0.0, 0.0, 1.0);
    pollKeyboard();
}

void applyAxesOnlyRule()
{
    if (!axesOnlyForced && axesOnly()) {
        transparencyBeforeForce = currentView.withTransparency;
        currentView.withTransparency = true;
        axesOnlyForced = true;
    }
    if (axesOnlyForced && !axesOnly()) {
        currentView.withTransparency = transparencyBeforeForce;
        axesOnlyForced = false;
    }
}

namespace {
// The display layers in their fixed order.
void drawLayers(const Mesh& mesh)
{
    if (!currentView.showUvPlane && !currentView.showTexture)
        drawFaces(mesh);
    if (currentView.showAxes)
        drawAxes();
    if (currentView.showVertices)
        drawVertices(mesh);
    if (currentView.showEdges)
        drawEdges(mesh);
    if (currentView.showNormals)
        drawNormals(mesh);
    if (currentView.showBorders)
        drawBorders(mesh);
    if (currentView.showBoundary)
        drawBoundary(mesh);
}
} // namespace

Pick renderFrame(const Mesh& mesh, const Interaction& interaction)
{
    applyCamera();
    if (currentView.showUvPlane) {
        holdFlatView(false);
        drawUvPlane(mesh);
    }
    if (currentView.showTexture) {
        holdFlatView(true);
        drawTexture();
    }
    // Nothing below changes the mesh or the normalisation: the layers and the
    // highlights share one computation of the view points.
    holdViewPoints();
    // In a cut mode only the highlight changes while the cursor moves: the
    // layers' picture of the last frame is put back when nothing it shows changed.
    const bool sceneKept = interaction.cutModeActive && keptSceneCurrent(mesh);
    if (sceneKept)
        restoreScene();
    else
        drawLayers(mesh);
    if (interaction.cutModeActive && !sceneKept)
        keepScene();
    if (!interaction.cutModeActive)
        forgetScene();
    applyAxesOnlyRule();
    Pick picked = interaction.picked;
    if (interaction.cutModeActive) {
        // Each highlight picks; the last one drawn is the one a click cuts.
        if (interaction.vertexCutMode == 1)
            picked = {highlightVertex(mesh), cutKindVertex};
        if (interaction.edgeCutMode == 1)
            picked = {highlightEdge(mesh), cutKindEdge};
        if (interaction.faceCutMode == 1)
            picked = {highlightFace(mesh), cutKindFace};
    }
    releaseViewPoints();
    return picked;
}

