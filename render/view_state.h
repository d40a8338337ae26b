// The view state: display flags, camera values and face colouring mode that
// decide what a frame shows and from where, with one saved copy.
#pragma once

#include "model/mesh.h"

// The 23 values that saveView keeps and restoreView brings back, as one
// struct so that saving and restoring are assignments.
struct ViewValues {
    // Eye distance along z; Up and Down arrow keys.
    double cameraDistance = 3.0;
    // Factor of the coordinate normalisation; Left and Right arrow keys.
    double modelScale = 1.0;
    // The three view rotations in degrees, applied about Y, then X, then Z.
    double viewAngleY = 0.0, viewAngleX = 0.0, viewAngleZ = 0.0;
    // Shift of the eye and of the scene.
    double panX = 0.0, panY = 0.0;
    // The view turns by itself.
    bool withAnimation = false;
    // Faces are blended additively.
    bool withTransparency = false;
    // Layer switches of the display menu.
    bool showAxes = false, showVertices = false, showEdges = false, showFaces = true, showNormals = false,
         showBorders = false, showBoundary = false, showUvPlane = false, showTexture = false;
    // How faces are coloured (a FaceMode); also the bound texture's index.
    int faceMode = 1;
    // The faceMode to return to when faces are shown again.
    int savedFaceMode = 1;
    // The previous cursor sample may be used for a drag step.
    bool cursorTracked = true;
    // Cursor position of the previous frame's sample, in screen pixels.
    double lastCursorX = 0.0, lastCursorY = 0.0;
    bool operator==(const ViewValues&) const = default;
};
// Every saved value zero or false: the saved copy before the first save.
ViewValues zeroedViewValues();
// The view as shown.
extern ViewValues currentView;
// The one saved copy of the view.
extern ViewValues savedView;

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
double normalizedX(const Mesh& mesh, int i);
double normalizedY(const Mesh& mesh, int i);
double normalizedZ(const Mesh& mesh, int i);
// The radius the normalisation divides by: modelRadius, or 1 when that is 0.
double viewRadius(const Mesh& mesh);
