// The display layers a frame is made of, the three pick highlights of the
// cut modes, the unprojection of the cursor they use, and the border flash
// that shows a cut at once. Every layer draws the model through the
// normalisation of the view state, leaves white as the current colour and
// the modelview stack as it found it.
#pragma once

#include "model/mesh.h"

// The three axes from the origin, x red, y green, z blue, length 1.
void drawAxes();
// Every vertex as a white point of size 4.
void drawVertices(const Mesh& mesh);
// The three sides of every face in light grey (shared sides twice).
void drawEdges(const Mesh& mesh);
// Every face, lit on the side facing the viewer, textured by faceMode;
// blended additively at half intensity with transparency on.
void drawFaces(const Mesh& mesh);
// One green segment along each face normal through the face's centroid.
void drawNormals(const Mesh& mesh);
// Every boundary edge: the longest loop red, the other boundary edges green.
void drawBorders(const Mesh& mesh);
// The longest boundary loop, thick red.
void drawBoundary(const Mesh& mesh);
// The mesh edges laid out in the (u,v) plane.
void drawUvPlane(const Mesh& mesh);
// The loaded texture image on a square, first row at the top.
void drawTexture();

// Picks the vertex nearest the cursor and marks it red; returns it, -1 when there is none.
int highlightVertex(const Mesh& mesh);
// Picks the edge whose midpoint is nearest the cursor, draws it red, and
// draws the borders; returns it, -1 when there is none.
int highlightEdge(const Mesh& mesh);
// Picks the face whose centroid is nearest the cursor and outlines it red;
// returns it, -1 when there is none.
int highlightFace(const Mesh& mesh);

// The point of the scene under the cursor, in the coordinates the layers
// draw in, from the depth already drawn in the frame in progress.
void cursorToModel(double& x, double& y, double& z);

// Draws the borders over the back buffer as it is, presents it, then pauses 250 ms.
void flashBorders(const Mesh& mesh);
