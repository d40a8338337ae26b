// Puts small hand-made meshes straight into the model store for tests.
#pragma once

#include "model/mesh.h"

#include <array>
#include <vector>

// Replaces the store's mesh by these vertices and triangles (no topology
// built), sets modelLoaded, and computes modelCenter and modelRadius as the
// reader does.
void setMesh(const std::vector<std::array<double, 3>>& vertices, const std::vector<std::array<int, 3>>& faces);

// A regular grid of (n+1) x (n+1) vertices on [0,1]^2 (z = 0) split into 2 n^2 triangles.
void setGridMesh(int n);

// Position of the edge joining the two vertices (any order) in the built edge
// table of the mesh, the lowest such position, or -1 when there is none.
int findEdge(const Mesh& mesh, int v1, int v2);
