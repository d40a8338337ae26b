// What the cut operations share among themselves: the undo record, the
// vertices added and dropped, and the fan walks over the edge table.
#pragma once

#include <vector>

#include "model/cutting.h"
#include "model/mesh.h"

// The undo record is of this kind and still describes the mesh in use.
bool undoRecordValid(const Mesh& mesh, const CutRecord& cuts, int kind);
// Records that the cut of this kind just made can be undone (after its rebuild).
void recordUndo(const Mesh& mesh, CutRecord& cuts, int kind);

// Marks the mesh as changed by a cut or an undo: the pending edge and any
// older undo record no longer describe it.
void meshChangedByCut(CutRecord& cuts);

// Makes every vertex array hold at least n entries (old values kept, new ones 0).
void ensureVertexRoom(Mesh& mesh, int n);
// Appends a copy of vertex source as vertex vertexCount and counts it.
void appendVertexCopy(Mesh& mesh, int source);

// Notes, just before the rebuild that ends a cut, the vertices that no
// triangle in use uses any more (the rebuild drops them), with their numbers
// and coordinates.
void noteDroppedVertices(const Mesh& mesh, CutRecord& cuts);
// At the start of an undo: puts the noted vertices back at their former
// numbers and renumbers the triangles in use, so the numbering is again the
// one the cut left before its rebuild. False (nothing changed) when the
// vertex count is not the one the rebuild left.
bool restoreDroppedVertices(Mesh& mesh, CutRecord& cuts);

// Lists, from the current edge table, the edge positions of every triangle
// holding vertex m1 or m2 (m2 -1: none), each list in increasing order; the
// triangles a walk moving those vertices reaches. Used by fanNextEdge.
void buildFanIndex(const Mesh& mesh, int m1, int m2);
// The first edge position, in increasing order, other than current and
// excluded, that has triangle t as edgeFace1 or edgeFace2 and vertex m1 or m2
// as an end (m2 -1: one vertex only); -1 when there is none. Same answer as
// a full scan of the table, which it uses for triangles buildFanIndex did not list.
int fanNextEdge(const Mesh& mesh, int t, int current, int excluded, int m1, int m2);

// How a fan walk ends.
struct FanWalk {
    int start;     // the edge the walk starts from, on its second side
    int excluded;  // an edge never moved to, -1 for none
    int moved1;    // the vertex (or first of two) being moved
    int moved2;    // the second vertex being moved, -1 for a one-vertex walk
    int stopEdge;  // the walk ends on reaching this edge; -1: it ends on reaching the boundary
};
// Signature of the next-edge search a walk uses.
using FanNextFn = int (*)(const Mesh& mesh, int t, int current, int excluded, int m1, int m2);
// Walks the fan without changing anything: appends to triangles every
// triangle handled, in order, and sets firstEdge to the first edge moved to.
// Returns false when the walk cannot reach its end: no triangle on the side
// to take, no next edge, or more steps than the walk has states (it runs in
// circles). The next-edge search is fanNextEdge unless another one is given.
bool walkFan(const Mesh& mesh, const FanWalk& walk, std::vector<int>& triangles, int& firstEdge, FanNextFn next = fanNextEdge);
