// Loop subdivision of the mesh in the model store: every triangle is split in
// four, a new vertex is placed on every edge and every old vertex is moved,
// with Loop's weights inside and the boundary rules on open borders.
//
// Numbering of a step on V vertices and F triangles with E distinct edges:
// vertices 0 .. V-1 are the moved old vertices, V .. V+E-1 the edge vertices
// in the order in which the triangle loop (triangle by triangle, sides B-C,
// C-A, A-B) first meets their edges; triangle j is the middle triangle of old
// triangle j, and F + 3j, F + 3j + 1, F + 3j + 2 are its corner triangles at
// A, B and C.
#pragma once

#include <vector>

// One subdivision step on the store's mesh, then the derived data renewed: the
// topology, or the parameterization when the mesh had (u,v) coordinates. A
// step whose counts would not fit in an int, or a face naming a vertex that
// does not exist, gets an error box and leaves the mesh as it was.
void subdivideLoop();

// The step without rebuilding the derived data: the refined mesh replaces the
// old one and the edge table and (u,v) coordinates are discarded (flags
// cleared). True when done; false when refused (error box shown, store
// unchanged) or when no model is loaded.
bool refineLoopStep();

// Number of triangles from which a step uses a second thread (below it a
// thread costs more than it saves); the result is the same either way.
extern int subdivisionThreadFaceCount;

// Loop's beta for a vertex with n triangles around it.
double loopBeta(int n);

// Coordinates of vertices 0 .. V-1 as they were before the step; every new
// position is computed from these. Exist only during a step.
extern std::vector<double> oldX, oldY, oldZ;

// ---- The split-edge table: one entry per distinct edge of the triangles being
// split, in the order of first registration. Exists only during a step (or
// between prepareSplitEdgeTable and releaseSplitEdgeTable).

// Smaller end vertex of each entry.
extern std::vector<int> splitEdgeLow;
// Larger end vertex of each entry.
extern std::vector<int> splitEdgeHigh;
// New vertex made on each entry's edge, -1 until it is made.
extern std::vector<int> splitEdgeVertex;
// The first two corners opposite the edge, in triangle order and within a
// triangle sides A-B, B-C, C-A; the second is -1 on an edge of one triangle.
extern std::vector<int> splitEdgeOpposite1, splitEdgeOpposite2;
// Number of entries in the table.
extern int splitEdgeCount;

// Makes an empty table with room for every side of the store's faceCount
// triangles. False (and no table) when a corner lies outside 0 .. vertexCount-1
// or the face arrays are shorter than faceCount. May throw std::bad_alloc.
bool prepareSplitEdgeTable();
// Frees the table.
void releaseSplitEdgeTable();
// Adds the unordered pair unless it is there; returns its entry either way.
int registerSplitEdge(int v1, int v2);
// The entry of the unordered pair. A pair that is not in the table gets the
// error box "Modèle impossible" and entry 0 (or -1 when the table is empty).
int findSplitEdge(int v1, int v2);
// Computes the vertex of an entry's edge from the coordinates before the step
// (midpoint on an edge of one triangle, 3/8 3/8 1/8 1/8 otherwise), stores it
// at index vertexCount, records it in splitEdgeVertex, increases vertexCount
// and returns its index.
int makeEdgeVertex(int entry);
