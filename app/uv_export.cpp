// The OBJ text of the model with its (u,v), written in blocks.
#include "app/uv_export.h"

#include <vector>

#include "app/output_file.h"
#include "base/store.h"
#include "model/obj_text.h"

namespace {
void writeBlock(const char* data, size_t size, void* file) { writeOutput(*static_cast<OutputFile*>(file), data, size); }
} // namespace

bool writeUvObjFile(const std::string& path)
{
    OutputFile file;
    // The block is had before the file exists, so that a lack of memory leaves no file.
    std::vector<char> block(objBlockSize);
    if (!beginOutputFile(file, path))
        return false;
    ObjSource source;
    source.vertexCount = vertexCount;
    source.faceCount = faceCount;
    source.x = vertexX.data();
    source.y = vertexY.data();
    source.z = vertexZ.data();
    source.withUv = true;
    source.u = vertexU.data();
    source.v = vertexV.data();
    source.a = faceA.data();
    source.b = faceB.data();
    source.c = faceC.data();
    formatObjText(source, block, writeBlock, &file);
    return finishOutputFile(file);
}
