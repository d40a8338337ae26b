// The mesh's bytes come from the core's writers; the file is written here, whole or not at all.
#include "app/mesh_save.h"

#include <new>

#include "app/output_file.h"
#include "model/mesh_formats.h"
#include "model/off_file.h"

bool writeMeshFile(const Mesh& mesh, const std::string& path)
{
    std::string bytes;
    try {
        if (hasExtension(path, "ply"))
            bytes = plyBytes(mesh);
        else if (hasExtension(path, "stl"))
            bytes = stlBytes(mesh);
        else if (hasExtension(path, "obj"))
            bytes = objBytes(mesh);
        else
            return writeModelFile(mesh, path);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return writeWholeFile(path, bytes.data(), bytes.size());
}
