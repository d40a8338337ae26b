// The display layers a frame is made of, the three pick highlights of the
// cut modes, the unprojection of the cursor they use, and the border flash
// that shows a cut at once. Every layer draws the model through the
// normalisation of the view state, leaves white as the current colour and
// the modelview stack as it found it.
#pragma once

// Index of the vertex, edge or face (by the active cut mode) nearest the
// cursor, rewritten in every frame by the highlight of that mode; -1 when the
// highlight had nothing to choose from.
extern int pickedElement;
// The cut kind whose highlight chose pickedElement in the last frame (a
// CutKind; cutKindNone when unknown); a click cuts only with that kind, so
// that an index is never read as an element of another kind.
extern int pickedCutKind;

// Sides the edge layer handed to GL in its last drawing; the sides hidden
// behind what was already drawn are left out.
extern int edgeSidesDrawn;

// The three axes from the origin, x red, y green, z blue, length 1.
void drawAxes();
// Every vertex as a white point of size 4.
void drawVertices();
// The three sides of every face in light grey (shared sides twice).
void drawEdges();
// Every face, lit on the side facing the viewer, textured by faceMode;
// blended additively at half intensity with transparency on.
void drawFaces();
// One green segment along each face normal through the face's centroid.
void drawNormals();
// Every boundary edge: the longest loop red, the other boundary edges green.
void drawBorders();
// The longest boundary loop, thick red.
void drawBoundary();
// The mesh edges laid out in the (u,v) plane.
void drawUvPlane();
// The loaded texture image on a square, first row at the top.
void drawTexture();

// Picks the vertex nearest the cursor into pickedElement and marks it red.
void highlightVertex();
// Picks the edge whose midpoint is nearest the cursor into pickedElement,
// draws it red, and draws the borders.
void highlightEdge();
// Picks the face whose centroid is nearest the cursor into pickedElement and outlines it red.
void highlightFace();

// The point of the scene under the cursor, in the coordinates the layers
// draw in, from the depth already drawn in the frame in progress.
void cursorToModel(double& x, double& y, double& z);

// Draws the borders over the back buffer as it is, presents it, then pauses 250 ms.
void flashBorders();
