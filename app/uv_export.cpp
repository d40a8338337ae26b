// The OBJ text of the model with its (u,v), written in blocks.
#include "app/uv_export.h"

#include <vector>

#include "app/output_file.h"
#include "app/session.h"
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
    source.vertexCount = currentModel.vertexCount;
    source.faceCount = currentModel.faceCount;
    source.x = currentModel.vertexX.data();
    source.y = currentModel.vertexY.data();
    source.z = currentModel.vertexZ.data();
    source.withUv = true;
    source.u = currentModel.vertexU.data();
    source.v = currentModel.vertexV.data();
    source.a = currentModel.faceA.data();
    source.b = currentModel.faceB.data();
    source.c = currentModel.faceC.data();
    formatObjText(source, block, writeBlock, &file);
    return finishOutputFile(file);
}
