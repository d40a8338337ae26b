// OBJ text in blocks: the vertex lines, the (u,v) lines, the face lines.
#include "model/obj_text.h"

#include <charconv>

namespace {
// Room kept free for one line: three shortest doubles of at most 24 characters each, or three index pairs.
constexpr size_t longestLine = 128;

struct ObjWriter {
    std::vector<char>& buffer;
    void (*sink)(const char*, size_t, void*);
    void* context;
    size_t used = 0;

    void makeRoom()
    {
        if (buffer.size() - used < longestLine) {
            sink(buffer.data(), used, context);
            used = 0;
        }
    }
    void text(const char* s)
    {
        while (*s)
            buffer[used++] = *s++;
    }
    void real(double value)
    {
        used = static_cast<size_t>(std::to_chars(&buffer[used], buffer.data() + buffer.size(), value).ptr -
                                   buffer.data());
    }
    void integer(int value)
    {
        used = static_cast<size_t>(std::to_chars(&buffer[used], buffer.data() + buffer.size(), value).ptr -
                                   buffer.data());
    }
    // "a/a" with (u,v), "a" without, for a 0-based vertex index.
    void corner(int vertex, bool withUv)
    {
        integer(vertex + 1);
        if (withUv) {
            text("/");
            integer(vertex + 1);
        }
    }
};
} // namespace

void formatObjText(const ObjSource& source, std::vector<char>& block,
                   void (*sink)(const char* data, size_t size, void* context), void* context)
{
    ObjWriter out{block, sink, context};
    const bool withUv = source.withUv;
    out.text(withUv ? "# Vormelin : modèle et coordonnées (u,v)\n" : "# Vormelin : modèle\n");
    for (int i = 0; i < source.vertexCount; ++i) {
        out.makeRoom();
        out.text("v ");
        out.real(source.x[i]);
        out.text(" ");
        out.real(source.y[i]);
        out.text(" ");
        out.real(source.z[i]);
        out.text("\n");
    }
    for (int i = 0; withUv && i < source.vertexCount; ++i) {
        out.makeRoom();
        out.text("vt ");
        out.real((1.0 + source.u[i]) / 2.0);
        out.text(" ");
        out.real(1.0 - (1.0 + source.v[i]) / 2.0);
        out.text("\n");
    }
    for (int i = 0; i < source.faceCount; ++i) {
        out.makeRoom();
        out.text("f ");
        out.corner(source.a[i], withUv);
        out.text(" ");
        out.corner(source.b[i], withUv);
        out.text(" ");
        out.corner(source.c[i], withUv);
        out.text("\n");
    }
    sink(block.data(), out.used, context);
}
