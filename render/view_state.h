// The view state: display flags, camera values and face colouring mode that
// decide what a frame shows and from where, with one saved copy.
#pragma once

// Eye distance along z; Up and Down arrow keys.
extern double cameraDistance;
// Factor of the coordinate normalisation; Left and Right arrow keys.
extern double modelScale;
// The three view rotations in degrees, applied about Y, then X, then Z.
extern double viewAngleY, viewAngleX, viewAngleZ;
// Shift of the eye and of the scene.
extern double panX, panY;
// The view turns by itself.
extern bool withAnimation;
// Faces are blended additively.
extern bool withTransparency;
// Layer switches of the display menu.
extern bool showAxes, showVertices, showEdges, showFaces, showNormals, showBorders, showBoundary,
    showUvPlane, showTexture;
// 0 faces black, 1 uniform colour, 2 textured by the image; also the bound texture's index.
extern int faceMode;
// The faceMode to return to when faces are shown again.
extern int savedFaceMode;
// The previous cursor sample may be used for a drag step.
extern bool cursorTracked;
// Cursor position of the previous frame's sample, in screen pixels.
extern double lastCursorX, lastCursorY;
// Colour of faces in mode 1, 0x00BBGGRR.
extern unsigned int uniformColor;
// Texture coordinate scale times 256; keys P and M.
extern int textureTiling;
// The "Modèle texturé" mode is on.
extern bool texturedModelOn;
// saveView was done when the (u,v)-plane or texture display began.
extern bool flatViewSaved;
// Transparency was switched on by the axes-only rule.
extern bool axesOnlyForced;
// withTransparency as it was when the axes-only rule switched it on.
extern bool transparencyBeforeForce;
// The P / M key was seen released since its last action.
extern bool keyPLatch, keyMLatch;

// The 23 values that saveView keeps.
struct SavedView {
    double cameraDistance, modelScale, viewAngleY, viewAngleX, viewAngleZ, panX, panY;
    bool withAnimation, withTransparency, showAxes, showVertices, showEdges, showFaces, showNormals,
        showBorders, showBoundary, showUvPlane, showTexture;
    int faceMode, savedFaceMode;
    bool cursorTracked;
    double lastCursorX, lastCursorY;
};
// The one saved copy of the view.
extern SavedView savedView;

// Puts the camera and the layer flags back to their start values.
void resetView();
// Copies the 23 saved values into savedView.
void saveView();
// Copies savedView back into the 23 values.
void restoreView();
// Puts every view field, saved copy included, back to its value at program start.
void initViewState();
// Vertex i in view coordinates: (coordinate - centre) * modelScale / radius.
double normalizedX(int i);
double normalizedY(int i);
double normalizedZ(int i);
// The radius the normalisation divides by: modelRadius, or 1 when that is 0.
double viewRadius();
