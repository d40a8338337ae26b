// View state fields, reset, save and restore, and the coordinate normalisation.
#include "render/view_state.h"

#include "model/mesh.h"

ViewValues currentView;
ViewValues savedView = zeroedViewValues();

ViewValues zeroedViewValues()
{
    ViewValues v;
    v.cameraDistance = v.modelScale = 0.0;
    v.showFaces = false;
    v.faceMode = v.savedFaceMode = 0;
    v.cursorTracked = false;
    return v;
}


unsigned int uniformColor = 255u | (128u << 8) | (64u << 16);
int textureTiling = 256;
bool texturedModelOn = false;
bool flatViewSaved = false;
bool axesOnlyForced = false;
bool transparencyBeforeForce = false;
bool keyPLatch = true, keyMLatch = true;

void resetView()
{
    currentView.cameraDistance = 3.0;
    currentView.modelScale = 1.0;
    currentView.viewAngleY = currentView.viewAngleX = currentView.viewAngleZ = 0.0;
    currentView.panX = currentView.panY = 0.0;
    currentView.withAnimation = false;
    currentView.withTransparency = false;
    currentView.showAxes = currentView.showVertices = currentView.showEdges = false;
    currentView.showFaces = true;
    currentView.showNormals = currentView.showBorders = currentView.showBoundary = currentView.showUvPlane = currentView.showTexture = false;
    currentView.faceMode = faceModeColor;
    currentView.savedFaceMode = faceModeColor;
}

void saveView() { savedView = currentView; }

void restoreView() { currentView = savedView; }

void holdFlatView(bool texture)
{
    resetView();
    if (texture)
        currentView.showTexture = true;
    else
        currentView.showUvPlane = true;
    currentView.cursorTracked = false;
    currentView.faceMode = texture ? faceModeImage : faceModeBlack;
}

void initViewState()
{
    resetView();
    currentView.cursorTracked = true;
    currentView.lastCursorX = currentView.lastCursorY = 0.0;
    uniformColor = 255u | (128u << 8) | (64u << 16);
    textureTiling = 256;
    texturedModelOn = false;
    flatViewSaved = false;
    axesOnlyForced = false;
    transparencyBeforeForce = false;
    keyPLatch = keyMLatch = true;
    savedView = zeroedViewValues();
}

double viewRadius(const Mesh& mesh) { return mesh.modelRadius != 0.0 ? mesh.modelRadius : 1.0; }

double normalizedX(const Mesh& mesh, int i) { return (mesh.vertexX[i] - mesh.modelCenter[0]) * currentView.modelScale / viewRadius(mesh); }
double normalizedY(const Mesh& mesh, int i) { return (mesh.vertexY[i] - mesh.modelCenter[1]) * currentView.modelScale / viewRadius(mesh); }
double normalizedZ(const Mesh& mesh, int i) { return (mesh.vertexZ[i] - mesh.modelCenter[2]) * currentView.modelScale / viewRadius(mesh); }
