// The coherence of a mesh: corners in range, no unused vertex once the
// topology is built, an edge table that matches the triangles (positions,
// triangles on each side, boundary edges first, the longest loop first in
// walking order), counts and flags that agree with one another, finite (u,v).
// The tests and fuzz targets check it after every step; debug and sanitizer
// builds check it after every edit of the model on screen.
#pragma once

#include <string>

#include "model/mesh.h"

// Empty when the mesh is coherent, otherwise a description of the first fault found.
std::string meshFault(const Mesh& mesh);

// In debug and sanitizer builds, ends the process with the fault on the
// standard error stream when the mesh is not coherent after the edit named;
// does nothing in release builds.
void checkMeshAfterEdit(const Mesh& mesh, const char* edit);
