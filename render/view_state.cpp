// View state fields, reset, save and restore, and the coordinate normalisation.
#include "render/view_state.h"

#include "base/store.h"

ViewValues currentView = {3.0,  1.0,   0.0,   0.0,   0.0,   0.0,   0.0,  false, false, false, false, false,
                          true, false, false, false, false, false, faceModeColor, faceModeColor, true,  0.0, 0.0};
ViewValues savedView = {};

double& cameraDistance = currentView.cameraDistance;
double& modelScale = currentView.modelScale;
double& viewAngleY = currentView.viewAngleY;
double& viewAngleX = currentView.viewAngleX;
double& viewAngleZ = currentView.viewAngleZ;
double& panX = currentView.panX;
double& panY = currentView.panY;
bool& withAnimation = currentView.withAnimation;
bool& withTransparency = currentView.withTransparency;
bool& showAxes = currentView.showAxes;
bool& showVertices = currentView.showVertices;
bool& showEdges = currentView.showEdges;
bool& showFaces = currentView.showFaces;
bool& showNormals = currentView.showNormals;
bool& showBorders = currentView.showBorders;
bool& showBoundary = currentView.showBoundary;
bool& showUvPlane = currentView.showUvPlane;
bool& showTexture = currentView.showTexture;
int& faceMode = currentView.faceMode;
int& savedFaceMode = currentView.savedFaceMode;
bool& cursorTracked = currentView.cursorTracked;
double& lastCursorX = currentView.lastCursorX;
double& lastCursorY = currentView.lastCursorY;

unsigned int uniformColor = 255u | (128u << 8) | (64u << 16);
int textureTiling = 256;
bool texturedModelOn = false;
bool flatViewSaved = false;
bool axesOnlyForced = false;
bool transparencyBeforeForce = false;
bool keyPLatch = true, keyMLatch = true;
int vertexCutMode = 0, edgeCutMode = 0, faceCutMode = 0;
bool cutModeActive = false;

void resetView()
{
    cameraDistance = 3.0;
    modelScale = 1.0;
    viewAngleY = viewAngleX = viewAngleZ = 0.0;
    panX = panY = 0.0;
    withAnimation = false;
    withTransparency = false;
    showAxes = showVertices = showEdges = false;
    showFaces = true;
    showNormals = showBorders = showBoundary = showUvPlane = showTexture = false;
    faceMode = faceModeColor;
    savedFaceMode = faceModeColor;
}

void saveView() { savedView = currentView; }

void restoreView() { currentView = savedView; }

void holdFlatView(bool texture)
{
    resetView();
    if (texture)
        showTexture = true;
    else
        showUvPlane = true;
    cursorTracked = false;
    faceMode = texture ? faceModeImage : faceModeBlack;
}

void initViewState()
{
    resetView();
    cursorTracked = true;
    lastCursorX = lastCursorY = 0.0;
    uniformColor = 255u | (128u << 8) | (64u << 16);
    textureTiling = 256;
    texturedModelOn = false;
    flatViewSaved = false;
    axesOnlyForced = false;
    transparencyBeforeForce = false;
    keyPLatch = keyMLatch = true;
    savedView = {};
    vertexCutMode = edgeCutMode = faceCutMode = 0;
    cutModeActive = false;
}

double viewRadius() { return modelRadius != 0.0 ? modelRadius : 1.0; }

double normalizedX(int i) { return (vertexX[i] - modelCenter[0]) * modelScale / viewRadius(); }
double normalizedY(int i) { return (vertexY[i] - modelCenter[1]) * modelScale / viewRadius(); }
double normalizedZ(int i) { return (vertexZ[i] - modelCenter[2]) * modelScale / viewRadius(); }
