// Loop subdivision of a mesh: every triangle is split in
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

#include "base/outcome.h"
#include "base/progress.h"
#include "model/mesh.h"

// Number of triangles from which a step uses a second thread (below it a
// thread costs more than it saves); the result is the same either way.
inline constexpr int subdivisionThreadFaceCount = 50000;

// One step on the mesh, without rebuilding the derived data: the
// refined mesh replaces the old one and the edge table and (u,v) coordinates
// are discarded (flags cleared). A step whose counts would not fit in an int,
// a face naming a vertex that does not exist, missing memory or no model is
// refused with its outcome and leaves the mesh unchanged. The progress, when
// given, is told between the step's phases (table, triangles and rings, moved
// vertices), never inside them; it only observes.
Outcome refineLoopStep(Mesh& mesh, int threadFaceCount = subdivisionThreadFaceCount, const Progress* progress = nullptr);

// Loop's beta for a vertex with n triangles around it.
double loopBeta(int n);
