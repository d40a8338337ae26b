// The (u,v) export: the current model with its parameterization as a
// Wavefront OBJ file, for texturing in other programs.
#pragma once

#include <string>

// Writes "v x y z" for every vertex, "vt s t" with s = (1 + u) / 2 and
// t = 1 - (1 + v) / 2 (image rows from the top, as the texture display shows
// them), and "f a/a b/b c/c" for every triangle (1-based). Every number is
// the shortest text that reads back as the same double. The model must have
// its (u,v) (uvComputed). False when the file could not be written; nothing
// is left at path then (an existing file stays as it was).
bool writeUvObjFile(const std::string& path);
