// The OBJ text of the model with its (u,v), written in blocks.
#include "app/uv_export.h"

#include <charconv>
#include <vector>

#include "app/output_file.h"
#include "app/session.h"

namespace {
// Output is gathered in a block of this size before each write.
constexpr size_t blockSize = 1 << 20;
// Room kept free for one line: three shortest doubles of at most 24 characters each, or three index pairs.
constexpr size_t longestLine = 128;

struct ObjWriter {
    OutputFile& file;
    std::vector<char> buffer = std::vector<char>(blockSize);
    size_t used = 0;

    void makeRoom()
    {
        if (buffer.size() - used < longestLine) {
            writeOutput(file, buffer.data(), used);
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
    // "a/a" for a 0-based vertex index: the position and the texture coordinate share the 1-based number.
    void corner(int vertex)
    {
        integer(vertex + 1);
        text("/");
        integer(vertex + 1);
    }
};
} // namespace

bool writeUvObjFile(const std::string& path)
{
    OutputFile file;
    // The block is had before the file exists, so that a lack of memory leaves no file.
    ObjWriter out{file};
    if (!beginOutputFile(file, path))
        return false;
    out.text("# Vormelin : modèle et coordonnées (u,v)\n");
    for (int i = 0; i < currentModel.vertexCount; ++i) {
        out.makeRoom();
        out.text("v ");
        out.real(currentModel.vertexX[i]);
        out.text(" ");
        out.real(currentModel.vertexY[i]);
        out.text(" ");
        out.real(currentModel.vertexZ[i]);
        out.text("\n");
    }
    for (int i = 0; i < currentModel.vertexCount; ++i) {
        out.makeRoom();
        out.text("vt ");
        out.real((1.0 + currentModel.vertexU[i]) / 2.0);
        out.text(" ");
        out.real(1.0 - (1.0 + currentModel.vertexV[i]) / 2.0);
        out.text("\n");
    }
    for (int i = 0; i < currentModel.faceCount; ++i) {
        out.makeRoom();
        out.text("f ");
        out.corner(currentModel.faceA[i]);
        out.text(" ");
        out.corner(currentModel.faceB[i]);
        out.text(" ");
        out.corner(currentModel.faceC[i]);
        out.text("\n");
    }
    writeOutput(file, out.buffer.data(), out.used);
    return finishOutputFile(file);
}
