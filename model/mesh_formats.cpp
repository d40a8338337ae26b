// Telling the model file formats apart, and writing a mesh as PLY, STL or OBJ.
#include "model/mesh_formats.h"

#include <sys/stat.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <new>

#include "model/format_text.h"
#include "model/obj_text.h"
#include "model/off_file.h"

// ---- Telling the formats apart

namespace {

// The first line of the data that is neither blank nor a comment ('#', or '*' as OFF files allow).
std::string_view firstSignificantLine(std::string_view data)
{
    while (!data.empty()) {
        size_t feed = data.find('\n');
        std::string_view line = data.substr(0, feed);
        data = feed == std::string_view::npos ? std::string_view() : data.substr(feed + 1);
        Words words{line.data(), line.data() + line.size()};
        if (!words.atEnd() && *words.p != '#' && *words.p != '*')
            return std::string_view(words.p, static_cast<size_t>(words.end - words.p));
    }
    return {};
}

} // namespace

MeshFormat meshFormatOf(const std::string& path, std::string_view data)
{
    size_t slash = path.find_last_of('/');
    size_t dot = path.find_last_of('.');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) {
        std::string_view extension = std::string_view(path).substr(dot + 1);
        if (sameWordIgnoringCase(extension, "off"))
            return meshFormatOff;
        if (sameWordIgnoringCase(extension, "ply"))
            return meshFormatPly;
        if (sameWordIgnoringCase(extension, "stl"))
            return meshFormatStl;
        if (sameWordIgnoringCase(extension, "obj"))
            return meshFormatObj;
    }
    if (data.starts_with("ply\n") || data.starts_with("ply\r\n"))
        return meshFormatPly;
    if (isBinaryStlSize(data.data(), data.size()))
        return meshFormatStl;
    std::string_view line = firstSignificantLine(data);
    Words words{line.data(), line.data() + line.size()};
    std::string_view first = words.next();
    if (first == "OFF")
        return meshFormatOff;
    if (sameWordIgnoringCase(first, "solid"))
        return meshFormatStl;
    for (const char* statement : {"v", "vt", "vn", "f", "o", "g", "s", "usemtl", "mtllib"})
        if (first == statement)
            return meshFormatObj;
    return meshFormatUnknown;
}

// ---- Writing

std::string plyBytes(const Mesh& mesh)
{
    std::string header = "ply\nformat binary_little_endian 1.0\ncomment Vormelin\nelement vertex " +
                         std::to_string(mesh.vertexCount) +
                         "\nproperty double x\nproperty double y\nproperty double z\nelement face " +
                         std::to_string(mesh.faceCount) + "\nproperty list uchar int vertex_indices\nend_header\n";
    std::string out(header.size() + 24 * static_cast<size_t>(mesh.vertexCount) + 13 * static_cast<size_t>(mesh.faceCount),
                    '\0');
    std::memcpy(out.data(), header.data(), header.size());
    char* p = out.data() + header.size();
    for (int i = 0; i < mesh.vertexCount; ++i, p += 24) {
        storeLittle(p, mesh.vertexX[i]);
        storeLittle(p + 8, mesh.vertexY[i]);
        storeLittle(p + 16, mesh.vertexZ[i]);
    }
    for (int i = 0; i < mesh.faceCount; ++i, p += 13) {
        *p = 3;
        storeLittle(p + 1, static_cast<std::int32_t>(mesh.faceA[i]));
        storeLittle(p + 5, static_cast<std::int32_t>(mesh.faceB[i]));
        storeLittle(p + 9, static_cast<std::int32_t>(mesh.faceC[i]));
    }
    return out;
}

std::string stlBytes(const Mesh& mesh)
{
    std::string out(84 + 50 * static_cast<size_t>(mesh.faceCount), '\0');
    // The header must not start with "solid", which would announce the text form.
    const char title[] = "Vormelin : modèle en triangles";
    std::memset(out.data(), ' ', 80);
    std::memcpy(out.data(), title, sizeof title - 1);
    storeLittle(out.data() + 80, static_cast<std::uint32_t>(mesh.faceCount));
    char* p = out.data() + 84;
    for (int i = 0; i < mesh.faceCount; ++i, p += 50) {
        const int corner[3] = {mesh.faceA[i], mesh.faceB[i], mesh.faceC[i]};
        double v[3][3];
        for (int k = 0; k < 3; ++k) {
            v[k][0] = mesh.vertexX[corner[k]];
            v[k][1] = mesh.vertexY[corner[k]];
            v[k][2] = mesh.vertexZ[corner[k]];
        }
        const double e1[3] = {v[1][0] - v[0][0], v[1][1] - v[0][1], v[1][2] - v[0][2]};
        const double e2[3] = {v[2][0] - v[0][0], v[2][1] - v[0][1], v[2][2] - v[0][2]};
        double n[3] = {e1[1] * e2[2] - e1[2] * e2[1], e1[2] * e2[0] - e1[0] * e2[2], e1[0] * e2[1] - e1[1] * e2[0]};
        const double length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
        for (double& c : n)
            c = length > 0.0 && std::isfinite(length) ? c / length : 0.0;
        for (int k = 0; k < 3; ++k)
            storeLittle(p + 4 * k, static_cast<float>(n[k]));
        for (int k = 0; k < 3; ++k)
            for (int j = 0; j < 3; ++j)
                storeLittle(p + 12 + 12 * k + 4 * j, static_cast<float>(v[k][j]));
        // The attribute word stays 0.
    }
    return out;
}

namespace {
void appendBlock(const char* data, size_t size, void* text) { static_cast<std::string*>(text)->append(data, size); }
} // namespace

std::string objBytes(const Mesh& mesh)
{
    ObjSource source;
    source.vertexCount = mesh.vertexCount;
    source.faceCount = mesh.faceCount;
    source.x = mesh.vertexX.data();
    source.y = mesh.vertexY.data();
    source.z = mesh.vertexZ.data();
    source.withUv = mesh.uvComputed;
    source.u = mesh.vertexU.data();
    source.v = mesh.vertexV.data();
    source.a = mesh.faceA.data();
    source.b = mesh.faceB.data();
    source.c = mesh.faceC.data();
    std::vector<char> block(objBlockSize);
    std::string text;
    formatObjText(source, block, appendBlock, &text);
    return text;
}

// ---- Reading and writing files

namespace {

// The whole content of a regular file; false (with the reason) when it does not open or read.
bool readWholeFile(const std::string& path, std::string& bytes, std::string& reason)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        reason = "le fichier ne peut pas être ouvert";
        return false;
    }
    bytes.clear();
    char block[1 << 16];
    size_t got;
    while ((got = std::fread(block, 1, sizeof block, file)) > 0)
        bytes.append(block, got);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed)
        reason = "le fichier n'a pas pu être lu jusqu'au bout";
    return !failed;
}

} // namespace

bool hasExtension(const std::string& path, const char* extension)
{
    size_t slash = path.find_last_of('/');
    size_t dot = path.find_last_of('.');
    return dot != std::string::npos && (slash == std::string::npos || dot > slash) &&
           sameWordIgnoringCase(std::string_view(path).substr(dot + 1), extension);
}

Outcome readMeshFile(const std::string& path, Mesh& mesh, std::string& reason)
{
    // OFF files, the system's own, are read as they stream in; the others whole.
    if (hasExtension(path, "off"))
        return readModelFile(path, mesh, reason);
    mesh = Mesh();
    reason.clear();
    struct stat info;
    if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        reason = stat(path.c_str(), &info) != 0 ? "le fichier ne peut pas être ouvert" : "ce n'est pas un fichier ordinaire";
        return outcomeFaultyModel;
    }
    std::string bytes;
    bool read = false;
    try {
        read = readWholeFile(path, bytes, reason);
    } catch (const std::bad_alloc&) {
        reason = "mémoire insuffisante pour lire ce modèle";
    }
    if (!read)
        return outcomeFaultyModel;
    bool sound = false;
    switch (meshFormatOf(path, bytes)) {
    case meshFormatOff:
        sound = parseModelText(bytes.c_str(), bytes.size(), mesh, reason);
        break;
    case meshFormatPly:
        sound = readPly(bytes.data(), bytes.size(), mesh, reason);
        break;
    case meshFormatStl:
        sound = readStl(bytes.data(), bytes.size(), mesh, reason);
        break;
    case meshFormatObj:
        sound = readObj(bytes.data(), bytes.size(), mesh, reason);
        break;
    case meshFormatUnknown:
        reason = "format inconnu (OFF, PLY, STL ou OBJ attendu)";
        break;
    }
    if (!sound) {
        mesh = Mesh();
        return outcomeFaultyModel;
    }
    mesh.modelPath = path;
    touchMesh(mesh);
    return outcomeOk;
}
