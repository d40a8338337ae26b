// The offscreen frame, its read-back and its PNG file.
#include "app/snapshot.h"

#include <GL/gl.h>

#include <cstring>
#include <vector>

#include "app/image_encode.h"
#include "app/output_file.h"
#include "app/session.h"
#include "model/mesh_formats.h"
#include "render/frame.h"
#include "render/gl_setup.h"
#include "render/textures.h"
#include "render/view_state.h"
#include "texture/texture.h"

SnapshotSettings snapshotSettings;
bool (*snapshotContextMaker)(int width, int height) = nullptr;

namespace {
// The GL state of the offscreen view was set up (once per run; every snapshot has the same size).
bool glStateReady = false;

// The view state as the menu commands leave it for the settings: the start
// view, then "Modèle texturé", the layer switches, transparency and the camera.
void applySettings()
{
    const SnapshotSettings& s = snapshotSettings;
    resetView();
    axesOnlyForced = false;
    if (s.textured) {
        currentView.faceMode = faceModeImage;
        texturedModelOn = true;
    }
    if (s.layersGiven) {
        currentView.showAxes = s.axes;
        currentView.showVertices = s.vertices;
        currentView.showEdges = s.edges;
        currentView.showNormals = s.normals;
        currentView.showBorders = s.borders;
        currentView.showBoundary = s.boundary;
        currentView.showUvPlane = s.uvPlane;
        currentView.showTexture = s.texture;
        if (!s.faces) {
            // As the menu switch does: the face mode is kept for when faces come back.
            currentView.showFaces = false;
            currentView.savedFaceMode = currentView.faceMode;
            currentView.faceMode = faceModeBlack;
        }
    }
    if (s.transparency)
        currentView.withTransparency = true;
    if (s.viewAngleX)
        currentView.viewAngleX = *s.viewAngleX;
    if (s.viewAngleY)
        currentView.viewAngleY = *s.viewAngleY;
    if (s.viewAngleZ)
        currentView.viewAngleZ = *s.viewAngleZ;
    if (s.cameraDistance)
        currentView.cameraDistance = *s.cameraDistance;
    if (s.modelScale)
        currentView.modelScale = *s.modelScale;
    if (s.panX)
        currentView.panX = *s.panX;
    if (s.panY)
        currentView.panY = *s.panY;
    // The window shows a flat display with its held view and face texture, and
    // an axes-only view with its forced transparency, from their second frame
    // on; the snapshot shows that lasting state.
    if (currentView.showUvPlane || currentView.showTexture)
        holdFlatView(currentView.showTexture);
    applyAxesOnlyRule();
}
} // namespace

bool snapshotNeedsUv()
{
    const SnapshotSettings& s = snapshotSettings;
    return s.textured || (s.layersGiven && (s.boundary || s.uvPlane));
}

Outcome writeSnapshot(const std::string& path)
{
    const int width = snapshotSettings.width, height = snapshotSettings.height;
    if (!snapshotContextMaker || !snapshotContextMaker(width, height))
        return outcomeNoOffscreenView;
    if (!glStateReady) {
        // What the window's view does once its context exists, then at start for its size.
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        setBasicGlState();
        if (snapshotSettings.color)
            uniformColor = *snapshotSettings.color;
        initGLForSize(width, height);
        // The window's first frame always shows the start view, whose lit face
        // layer leaves the colour material in step with its grey and texturing
        // off (initGL leaves it on); a layer drawn first here must find the
        // state the window's would. A degenerate triangle draws no pixel.
        glColor3d(0.8, 0.8, 0.8);
        glEnable(GL_LIGHTING);
        glBegin(GL_TRIANGLES);
        for (int corner = 0; corner < 3; ++corner) {
            glNormal3d(0.0, 0.0, 1.0);
            glVertex3d(0.0, 0.0, 0.0);
        }
        glEnd();
        glDisable(GL_LIGHTING);
        glDisable(GL_TEXTURE_2D);
        glColor3d(1.0, 1.0, 1.0);
        glStateReady = true;
    }
    if (textureImages.textureLoaded)
        uploadImageTexture();
    applySettings();
    renderFrame(currentModel, interaction);

    // Rows come bottom first from GL; the encoders put them top first.
    const int rowBytes = width * 3;
    std::vector<unsigned char> pixels(static_cast<size_t>(rowBytes) * height);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());

    std::vector<unsigned char> encoded;
    const bool jpeg = hasExtension(path, "jpg") || hasExtension(path, "jpeg");
    if (!(jpeg ? encodeJpeg(pixels.data(), width, height, encoded) : encodePng(pixels.data(), width, height, encoded)))
        return outcomeNoMemory;
    return writeWholeFile(path, reinterpret_cast<const char*>(encoded.data()), encoded.size()) ? outcomeOk
                                                                                                : outcomeFileNotWritten;
}
