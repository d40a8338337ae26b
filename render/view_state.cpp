// View state fields, reset, save and restore, and the coordinate normalisation.
#include "render/view_state.h"

#include "model/store.h"

double cameraDistance = 3.0;
double modelScale = 1.0;
double viewAngleY = 0.0, viewAngleX = 0.0, viewAngleZ = 0.0;
double panX = 0.0, panY = 0.0;
bool withAnimation = false;
bool withTransparency = false;
bool showAxes = false, showVertices = false, showEdges = false, showFaces = true, showNormals = false,
     showBorders = false, showBoundary = false, showUvPlane = false, showTexture = false;
int faceMode = 1;
int savedFaceMode = 1;
bool cursorTracked = true;
double lastCursorX = 0.0, lastCursorY = 0.0;
unsigned int uniformColor = 255u | (128u << 8) | (64u << 16);
int textureTiling = 256;
bool texturedModelOn = false;
bool flatViewSaved = false;
bool axesOnlyForced = false;
bool transparencyBeforeForce = false;
bool keyPLatch = true, keyMLatch = true;
SavedView savedView = {};

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
    faceMode = 1;
    savedFaceMode = 1;
}

void saveView()
{
    savedView = {cameraDistance, modelScale, viewAngleY,    viewAngleX,   viewAngleZ,   panX,
                 panY,           withAnimation, withTransparency, showAxes, showVertices, showEdges,
                 showFaces,      showNormals,   showBorders,  showBoundary, showUvPlane,  showTexture,
                 faceMode,       savedFaceMode, cursorTracked, lastCursorX, lastCursorY};
}

void restoreView()
{
    const SavedView& s = savedView;
    cameraDistance = s.cameraDistance;
    modelScale = s.modelScale;
    viewAngleY = s.viewAngleY;
    viewAngleX = s.viewAngleX;
    viewAngleZ = s.viewAngleZ;
    panX = s.panX;
    panY = s.panY;
    withAnimation = s.withAnimation;
    withTransparency = s.withTransparency;
    showAxes = s.showAxes;
    showVertices = s.showVertices;
    showEdges = s.showEdges;
    showFaces = s.showFaces;
    showNormals = s.showNormals;
    showBorders = s.showBorders;
    showBoundary = s.showBoundary;
    showUvPlane = s.showUvPlane;
    showTexture = s.showTexture;
    faceMode = s.faceMode;
    savedFaceMode = s.savedFaceMode;
    cursorTracked = s.cursorTracked;
    lastCursorX = s.lastCursorX;
    lastCursorY = s.lastCursorY;
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
}

double viewRadius() { return modelRadius != 0.0 ? modelRadius : 1.0; }

double normalizedX(int i) { return (vertexX[i] - modelCenter[0]) * modelScale / viewRadius(); }
double normalizedY(int i) { return (vertexY[i] - modelCenter[1]) * modelScale / viewRadius(); }
double normalizedZ(int i) { return (vertexZ[i] - modelCenter[2]) * modelScale / viewRadius(); }
