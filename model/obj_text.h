// OBJ text of a mesh, with or without its (u,v): shared by the OBJ save and
// the (u,v) export. Every number is the shortest text that reads back as the
// same double.
#pragma once

#include <cstddef>
#include <vector>

// The arrays the text shows. Without (u,v) (withUv false, u and v unused): "v x y z" lines and
// "f a b c" (1-based). With them: "vt s t" lines after the vertices, with
// s = (1 + u) / 2 and t = 1 - (1 + v) / 2 (image rows from the top), and
// corners "a/a" (position and texture coordinate share their number).
struct ObjSource {
    int vertexCount = 0;
    int faceCount = 0;
    const double* x = nullptr;
    const double* y = nullptr;
    const double* z = nullptr;
    bool withUv = false;
    const double* u = nullptr;
    const double* v = nullptr;
    const int* a = nullptr;
    const int* b = nullptr;
    const int* c = nullptr;
};

// Bytes of the block the text is gathered in before each hand-over.
inline constexpr size_t objBlockSize = 1 << 20;

// Formats the text through block (objBlockSize bytes, had by the caller so
// that a lack of memory shows before anything else is done); each filled part
// goes to sink(data, size, context), the last one included.
void formatObjText(const ObjSource& source, std::vector<char>& block,
                   void (*sink)(const char* data, size_t size, void* context), void* context);
