// Model files besides OFF: PLY (text and both binary byte orders), STL (text
// and binary) and OBJ, read into a new mesh and written from one. Every
// reader takes the whole file in memory and fills an empty Mesh: counts,
// arrays at their exact size, polygons split by the rule of
// model/polygon_mesh.h, modelLoaded, centre and radius. A faulty file gives
// false and a French reason that says where ("ligne N : ..." in text,
// "octet N : ..." in binary data); the mesh must then be dropped. Memory
// stays in proportion to the file's size whatever its counts announce; a
// lack of memory is a failure too ("mémoire insuffisante pour lire ce modèle").
// The writers below throw std::bad_alloc when the bytes do not fit in memory.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "base/outcome.h"
#include "model/mesh.h"

enum MeshFormat { meshFormatOff, meshFormatPly, meshFormatStl, meshFormatObj, meshFormatUnknown };

// The format of a model file: by the extension of path (.off, .ply, .stl,
// .obj, any case); with none of these, by the content, data being the file's
// bytes (the whole file: the binary STL rule needs its size): an "OFF" first
// word, "ply" on the first line, a binary STL size (84 + 50 x the count at
// byte 80), "solid" as first word, or an OBJ statement as first significant line.
MeshFormat meshFormatOf(const std::string& path, std::string_view data);

// PLY: "ascii", "binary_little_endian" or "binary_big_endian"; x, y, z of the
// "vertex" element in any numeric type; the "vertex_indices" (or
// "vertex_index") list of the "face" element, any integer count and index
// type; every other element and property skipped by its declared size.
bool readPly(const char* data, size_t size, Mesh& mesh, std::string& reason);

// STL: binary exactly when size == 84 + 50 x the count at byte 80 (little
// endian), text otherwise. Corners of equal coordinates (as doubles: -0 and
// +0 are equal) become one vertex, numbered in order of first appearance,
// with the coordinates of that first corner. A text facet of more than three
// vertices is a polygon.
bool readStl(const char* data, size_t size, Mesh& mesh, std::string& reason);

// OBJ: "v x y z" (further numbers ignored), "f" with corners i, i/t, i//n or
// i/t/n, negative indices counting back from the last vertex read; every other
// statement (o, g, s, usemtl, mtllib, vt, vn, l, p, ...) is ignored, so that
// several objects or groups make one mesh. A backslash at the end of a line
// does not join it with the next one.
bool readObj(const char* data, size_t size, Mesh& mesh, std::string& reason);

// The mesh as binary little-endian PLY: x, y, z as doubles (exact), faces as
// a uchar count and int indices.
std::string plyBytes(const Mesh& mesh);

// The mesh as binary STL: an 80-byte header, the triangle count, and per
// triangle its unit normal (0 for a degenerate one), its corners as floats and
// a zero attribute word.
std::string stlBytes(const Mesh& mesh);

// The mesh as OBJ text, "v" and "f" lines with every number the shortest text
// that reads back as the same double; with the (u,v) of the mesh (uvComputed)
// exactly the (u,v) export's text (model/obj_text.h).
std::string objBytes(const Mesh& mesh);

// Reads the model file at path in whichever of the four formats it is (by its
// extension, else by its content) into mesh, which it replaces: the reader's
// mesh with modelPath naming the file and a new revision, no topology. A file
// that does not open, is not a regular file, is of no known format or is
// faulty gives outcomeFaultyModel with the reason, and an empty mesh.
Outcome readMeshFile(const std::string& path, Mesh& mesh, std::string& reason);

// The path's file name ends in "." and the extension, in any case.
bool hasExtension(const std::string& path, const char* extension);
