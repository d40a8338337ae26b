// Cutting the mesh: splitting a vertex into one copy per triangle corner,
// opening the mesh along one edge or a pair of edges, removing a triangle,
// and undoing the last of these cuts. Each cut reports what it did; the cut
// modes, the display flags they force and the flash that shows a cut belong
// to the application.
#pragma once

#include "base/outcome.h"

// Kinds of cut; also which highlight picked an element.
enum CutKind { cutKindNone = 0, cutKindVertex = 1, cutKindEdge = 2, cutKindFace = 3 };

// What one cut or undo did.
enum CutEffect {
    cutRefused,          // nothing changed (a pick that cannot be cut, nothing to undo)
    cutFirstEdgeKept,    // the first edge of a two-click cut waits for the second click
    cutMade,             // the mesh changed and its topology was rebuilt
    cutMadeOnSecondEdge, // a two-click edge cut was made by its second click
};
struct CutResult {
    CutEffect effect;
    // The rebuild's outcome when the mesh changed; outcomeOk otherwise.
    Outcome outcome;
};

// Vertices appended by the last vertex or edge cut (0 when it changed nothing).
extern int cutAddedCount;
// The vertices an edge cut copied: the copy of cutSource1 is the last vertex,
// the copy of cutSource2 (two-copy cut) the one before it.
extern int cutSource1, cutSource2;
// The first edge of a two-click edge cut, -1 when none waits.
extern int pendingEdge;
// Kind of the cut that made the last change of the mesh and can still be
// undone, cutKindNone when there is none.
extern int undoRecordKind;
// The vertex split by the last vertex cut.
extern int undoVertex;

// Splits vertex v so that every triangle at v gets its own copy.
CutResult cutVertex(int v);
// Opens the mesh along edge position e (boundary to boundary, from its end on
// the boundary, or, on two clicks, along e and a second edge sharing a vertex).
CutResult cutEdge(int e);
// Removes triangle f; it is kept just past faceCount for the undo.
CutResult cutFace(int f);
// Undoes the cut that made the last change of the mesh, while nothing else has
// changed it: cutMade when there was such a cut (even if its copies could not
// all be merged back), cutRefused when there was none.
CutResult undoLastCut();

// Merges the copies made by the last vertex cut back into vertex v.
Outcome undoVertexCut(int v);
// Merges the copies made by the last edge cut back into cutSource1 and cutSource2.
Outcome undoEdgeCut();
// Puts the triangle removed by the last face cut back, as the last triangle,
// with every vertex the cut dropped back at its former number.
Outcome undoFaceCut();

// Forgets the pending first edge and the undo record. To be called whenever
// the mesh is replaced or changed other than by a cut (a new model, a
// subdivision step), since both describe the mesh as it was.
void forgetPendingCut();
// Puts every cut value back to program start (nothing pending, no undo record).
void initCutState();

// Keeps a copy of the pending edge and the undo record (with what the undo
// needs to put back), and puts that copy back: an edit that is refused after
// it began leaves them as they were.
void keepCutRecord();
void restoreCutRecord();
