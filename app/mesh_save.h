// Writing a mesh in the format its file name asks for.
#pragma once

#include <string>

#include "model/mesh.h"

// The mesh written at path in the format its extension names (.ply, .stl,
// .obj, any case; OFF for anything else), whole or not at all. False when it
// could not be written (an existing file is then left as it was).
bool writeMeshFile(const Mesh& mesh, const std::string& path);
