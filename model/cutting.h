// Cutting the mesh: splitting a vertex into one copy per triangle corner,
// opening the mesh along one edge or a pair of edges, removing a triangle,
// and undoing the last of these cuts. Each cut kind has a mode, switched by
// its menu command, that forces some display flags while it is on.
#pragma once

// The vertex cut mode is on (0 or 1).
extern int vertexCutMode;
// The edge cut mode is on (0 or 1).
extern int edgeCutMode;
// The face cut mode is on (0 or 1).
extern int faceCutMode;
// A cut mode is on: the frame runs the pick highlights and a click cuts.
extern bool cutModeActive;
// The mode switched on most recently: 1 vertex, 2 edge, 3 face, 0 before any; chooses what undoCut undoes.
extern int cutKind;
// Vertices appended by the last vertex or edge cut (0 when it changed nothing).
extern int cutAddedCount;
// The vertices an edge cut copied: the copy of cutSource1 is the last vertex,
// the copy of cutSource2 (two-copy cut) the one before it.
extern int cutSource1, cutSource2;
// The first edge of a two-click edge cut, -1 when none waits.
extern int pendingEdge;
// The cut kind whose highlight chose pickedElement in the last frame (1 vertex,
// 2 edge, 3 face; 0 when unknown); a click cuts only with that kind, so that an
// index is never read as an element of another kind.
extern int pickedCutKind;

// Menu "Découper un sommet": switches the vertex cut mode on or off.
void toggleVertexCut();
// Menu "Découper une arête": switches the edge cut mode on or off.
void toggleEdgeCut();
// Menu "Découper une face": switches the face cut mode on or off.
void toggleFaceCut();

// The click in a cut mode: cuts pickedElement with every cut whose mode is on
// (vertex, then edge, then face).
void applyCut();
// Enter after a click: undoes the last cut of the kind in cutKind, then
// flashes the borders. Does nothing when that cut can no longer be undone.
void undoCut();

// Splits vertex v so that every triangle at v gets its own copy.
void cutVertex(int v);
// Opens the mesh along edge position e (boundary to boundary, from its end on
// the boundary, or, on two clicks, along e and a second edge sharing a vertex).
void cutEdge(int e);
// Removes triangle f; it is kept just past faceCount for the undo.
void cutFace(int f);

// Merges the copies made by the last vertex cut back into vertex v.
void undoVertexCut(int v);
// Merges the copies made by the last edge cut back into cutSource1 and cutSource2.
void undoEdgeCut();
// Puts the triangle removed by the last face cut back, as the last triangle,
// with every vertex the cut dropped back at its former number.
void undoFaceCut();

// Forgets the pending first edge and the undo record. To be called whenever
// the mesh is replaced or changed other than by a cut (a new model, a
// subdivision step), since both describe the mesh as it was.
void forgetPendingCut();

// Puts every cut-mode value back to program start (modes off, nothing pending,
// no undo record); for test fixtures.
void initCutState();
