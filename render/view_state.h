// The view state: display flags, camera values and face colouring mode that
// decide what a frame shows and from where, with one saved copy.
#pragma once

// The 23 values that saveView keeps and restoreView brings back, as one
// struct so that saving and restoring are assignments.
struct ViewValues {
    // Eye distance along z; Up and Down arrow keys.
    double cameraDistance;
    // Factor of the coordinate normalisation; Left and Right arrow keys.
    double modelScale;
    // The three view rotations in degrees, applied about Y, then X, then Z.
    double viewAngleY, viewAngleX, viewAngleZ;
    // Shift of the eye and of the scene.
    double panX, panY;
    // The view turns by itself.
    bool withAnimation;
    // Faces are blended additively.
    bool withTransparency;
    // Layer switches of the display menu.
    bool showAxes, showVertices, showEdges, showFaces, showNormals, showBorders, showBoundary, showUvPlane,
        showTexture;
    // How faces are coloured (a FaceMode); also the bound texture's index.
    int faceMode;
    // The faceMode to return to when faces are shown again.
    int savedFaceMode;
    // The previous cursor sample may be used for a drag step.
    bool cursorTracked;
    // Cursor position of the previous frame's sample, in screen pixels.
    double lastCursorX, lastCursorY;
    bool operator==(const ViewValues&) const = default;
};
// The view as shown.
extern ViewValues currentView;
// The one saved copy of the view.
extern ViewValues savedView;

// Each saved value under its own name, as every layer and command reads it.
extern double& cameraDistance;
extern double& modelScale;
extern double &viewAngleY, &viewAngleX, &viewAngleZ;
extern double &panX, &panY;
extern bool& withAnimation;
extern bool& withTransparency;
extern bool &showAxes, &showVertices, &showEdges, &showFaces, &showNormals, &showBorders, &showBoundary,
    &showUvPlane, &showTexture;
extern int& faceMode;
extern int& savedFaceMode;
extern bool& cursorTracked;
extern double &lastCursorX, &lastCursorY;

// Values of faceMode.
enum FaceMode { faceModeBlack = 0, faceModeColor = 1, faceModeImage = 2 };

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

// The cut modes, switched by the menu commands: 1 while the mode is on. The
// frame runs the pick highlight of each mode that is on.
extern int vertexCutMode, edgeCutMode, faceCutMode;
// A cut mode is on: the frame runs the pick highlights, a click cuts, the mouse does not turn the view.
extern bool cutModeActive;

// Puts the camera and the layer flags back to their start values.
void resetView();
// Copies the 23 saved values into savedView.
void saveView();
// Copies savedView back into the 23 values.
void restoreView();
// While the (u,v)-plane display (texture false) or the texture display
// (texture true) is shown, the camera and the layer flags stay at their start
// values with that display alone on, and the mouse does not turn the view;
// the frame holds them so just before drawing the display.
void holdFlatView(bool texture);
// Puts every view field, saved copy included, back to its value at program start.
void initViewState();
// Vertex i in view coordinates: (coordinate - centre) * modelScale / radius.
double normalizedX(int i);
double normalizedY(int i);
double normalizedZ(int i);
// The radius the normalisation divides by: modelRadius, or 1 when that is 0.
double viewRadius();
