// Cutting the mesh: splitting a vertex into one copy per triangle corner,
// opening the mesh along one edge or a pair of edges, removing a triangle,
// and undoing the last of these cuts. Each cut reports what it did; the cut
// modes, the display flags they force and the flash that shows a cut belong
// to the application.
#pragma once

#include <cstdint>
#include <vector>

#include "base/outcome.h"
#include "model/mesh.h"

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

// What the pending first edge was picked in: its ends and the mesh's
// revision, to recognise a position that no longer names it.
struct PendingEdgeMark {
    int a = -1, b = -1;
    std::uint64_t revision = 0;
};

// The cut state that outlives one cut: the pending first edge of a two-click
// cut and the record the undo of the last cut needs. One value, so that an
// edit that is refused after it began puts it back by assignment.
struct CutRecord {
    // Vertices appended by the last vertex or edge cut (0 when it changed nothing).
    int cutAddedCount = 0;
    // The vertices an edge cut copied: the copy of cutSource1 is the last vertex,
    // the copy of cutSource2 (two-copy cut) the one before it.
    int cutSource1 = 0, cutSource2 = 0;
    // The first edge of a two-click edge cut, -1 when none waits.
    int pendingEdge = -1;
    PendingEdgeMark pendingMark;
    // Kind of the cut that made the last change of the mesh and can still be
    // undone, cutKindNone when there is none.
    int undoRecordKind = cutKindNone;
    // The vertex split by the last vertex cut.
    int undoVertex = -1;
    // Revision of the mesh as the last cut left it; the undo runs only on that mesh.
    std::uint64_t undoRevision = 0;
    // Vertex count when the dropped vertices were noted, and the vertices the
    // cut's rebuild dropped: their numbers (increasing) and coordinates.
    int countAtNote = 0;
    std::vector<int> droppedIndex;
    std::vector<double> droppedX, droppedY, droppedZ;
    // The corners of the triangle removed by the last face cut, in the vertex numbering before the cut.
    int removedCorners[3] = {0, 0, 0};
};

// Splits vertex v so that every triangle at v gets its own copy.
CutResult cutVertex(Mesh& mesh, CutRecord& cuts, int v);
// Opens the mesh along edge position e (boundary to boundary, from its end on
// the boundary, or, on two clicks, along e and a second edge sharing a vertex).
CutResult cutEdge(Mesh& mesh, CutRecord& cuts, int e);
// Removes triangle f; it is kept just past faceCount for the undo.
CutResult cutFace(Mesh& mesh, CutRecord& cuts, int f);
// Undoes the cut that made the last change of the mesh, while nothing else has
// changed it: cutMade when there was such a cut (even if its copies could not
// all be merged back), cutRefused when there was none.
CutResult undoLastCut(Mesh& mesh, CutRecord& cuts);

// Merges the copies made by the last vertex cut back into vertex v.
Outcome undoVertexCut(Mesh& mesh, CutRecord& cuts, int v);
// Merges the copies made by the last edge cut back into cutSource1 and cutSource2.
Outcome undoEdgeCut(Mesh& mesh, CutRecord& cuts);
// Puts the triangle removed by the last face cut back, as the last triangle,
// with every vertex the cut dropped back at its former number.
Outcome undoFaceCut(Mesh& mesh, CutRecord& cuts);

// Forgets the pending first edge and the undo record. To be called whenever
// the mesh is replaced or changed other than by a cut (a new model, a
// subdivision step), since both describe the mesh as it was.
void forgetPendingCut(CutRecord& cuts);
