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
    return showAxes && !showVertices && !showEdges && !showNormals && !showBorders && !showBoundary &&
           !showFaces;
}
} // namespace

void pollKeyboard()
{
    if (platformKeyDown(keyUp)) {
        cameraDistance *= zoomIn;
        if (cameraDistance < nearestDistance)
            cameraDistance = nearestDistance;
    }
    if (platformKeyDown(keyDown)) {
        cameraDistance *= zoomOut;
        if (cameraDistance > farthestDistance)
            cameraDistance = farthestDistance;
    }
    if (platformKeyDown(keyLeft)) {
        modelScale *= zoomIn;
        if (modelScale < smallestScale)
            modelScale = smallestScale;
    }
    if (platformKeyDown(keyRight)) {
        modelScale *= zoomOut;
        if (modelScale > largestScale)
            modelScale = largestScale;
    }
    // Texture tiling acts once per press, and only on the image texture.
    if (faceMode == faceModeImage) {
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
        panX += panStep;
    if (platformKeyDown(keyD))
        panY += panStep;
    if (platformKeyDown(keyS))
        panY += panStep;
    if (platformKeyDown(keyW))
        panX -= panStep;
    if (platformKeyDown(keyX))
        panY -= panStep;
}

void applyCamera()
{
    if (faceMode >= 0 && faceMode < 3)
        glBindTexture(GL_TEXTURE_2D, textureIds[faceMode]);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslated(panX, panY, 0.0);
    gluLookAt(panX, panY, cameraDistance, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0);
    if (withAnimation) {
        viewAngleY += animateY;
        viewAngleX += animateX;
        viewAngleZ += animateZ;
    }
    glRotated(viewAngleY, 0.0, 1.0, 0.0);
    glRotated(viewAngleX, 1.0, 0.0, 0.0);
    glRotated(viewAngleZ, 0.0, 0.0, 1.0);
    pollKeyboard();
}

void applyAxesOnlyRule()
{
    if (!axesOnlyForced && axesOnly()) {
        transparencyBeforeForce = withTransparency;
        withTransparency = true;
        axesOnlyForced = true;
    }
    if (axesOnlyForced && !axesOnly()) {
        withTransparency = transparencyBeforeForce;
        axesOnlyForced = false;
    }
}

namespace {
// The display layers in their fixed order.
void drawLayers()
{
    if (!showUvPlane && !showTexture)
        drawFaces();
    if (showAxes)
        drawAxes();
    if (showVertices)
        drawVertices();
    if (showEdges)
        drawEdges();
    if (showNormals)
        drawNormals();
    if (showBorders)
        drawBorders();
    if (showBoundary)
        drawBoundary();
}
} // namespace

void renderFrame()
{
    applyCamera();
    if (showUvPlane) {
        holdFlatView(false);
        drawUvPlane();
    }
    if (showTexture) {
        holdFlatView(true);
        drawTexture();
    }
    // Nothing below changes the mesh or the normalisation: the layers and the
    // highlights share one computation of the view points.
    holdViewPoints();
    // In a cut mode only the highlight changes while the cursor moves: the
    // layers' picture of the last frame is put back when nothing it shows changed.
    const bool sceneKept = cutModeActive && keptSceneCurrent();
    if (sceneKept)
        restoreScene();
    else
        drawLayers();
    if (cutModeActive && !sceneKept)
        keepScene();
    if (!cutModeActive)
        forgetScene();
    applyAxesOnlyRule();
    if (cutModeActive) {
        // Each highlight picks into pickedElement; the last one drawn is the one a click cuts.
        if (vertexCutMode == 1) {
            highlightVertex();
            pickedCutKind = cutKindVertex;
        }
        if (edgeCutMode == 1) {
            highlightEdge();
            pickedCutKind = cutKindEdge;
        }
        if (faceCutMode == 1) {
            highlightFace();
            pickedCutKind = cutKindFace;
        }
    }
    releaseViewPoints();
}

