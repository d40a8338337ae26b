// What the PLY, STL and OBJ reader targets share: the reader runs on the raw
// bytes into a fresh mesh. A refusal must come with a reason that says where;
// a mesh read must be whole (counts, exact array sizes, corners in range,
// finite coordinates, centre and radius as computed), and the same mesh must
// come back from its own PLY and OBJ texts; its STL must read back too.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "model/mesh.h"
#include "model/mesh_formats.h"

using MeshReader = bool (*)(const char*, size_t, Mesh&, std::string&);

// Ends the run with the description (a finding).
[[noreturn]] inline void meshFinding(const std::string& what)
{
    std::fprintf(stderr, "\n*** %s\n", what.c_str());
    std::abort();
}

inline std::string meshFault(const Mesh& mesh)
{
    if (!mesh.modelLoaded || mesh.vertexCount < 1 || mesh.faceCount < 1)
        return "a mesh read without vertices, faces or the loaded flag";
    const size_t v = static_cast<size_t>(mesh.vertexCount), f = static_cast<size_t>(mesh.faceCount);
    if (mesh.vertexX.size() != v || mesh.vertexY.size() != v || mesh.vertexZ.size() != v || mesh.faceA.size() != f ||
        mesh.faceB.size() != f || mesh.faceC.size() != f)
        return "arrays not at their exact size";
    for (size_t i = 0; i < v; ++i)
        if (!std::isfinite(mesh.vertexX[i]) || !std::isfinite(mesh.vertexY[i]) || !std::isfinite(mesh.vertexZ[i]))
            return "a non-finite coordinate was accepted";
    for (size_t i = 0; i < f; ++i)
        for (int c : {mesh.faceA[i], mesh.faceB[i], mesh.faceC[i]})
            if (c < 0 || c >= mesh.vertexCount)
                return "a corner out of range";
    Mesh again = mesh;
    computeCenterAndRadius(again);
    for (int k = 0; k < 3; ++k)
        if (!(again.modelCenter[k] == mesh.modelCenter[k]) && !std::isnan(again.modelCenter[k]))
            return "centre not computed";
    return "";
}

inline bool sameMesh(const Mesh& a, const Mesh& b)
{
    return a.vertexCount == b.vertexCount && a.faceCount == b.faceCount && a.vertexX == b.vertexX &&
           a.vertexY == b.vertexY && a.vertexZ == b.vertexZ && a.faceA == b.faceA && a.faceB == b.faceB &&
           a.faceC == b.faceC;
}

inline void readBack(MeshReader reader, const std::string& bytes, const Mesh& want, bool exact, const char* what)
{
    Mesh mesh;
    std::string reason;
    if (!reader(bytes.data(), bytes.size(), mesh, reason))
        meshFinding(std::string(what) + " written from a mesh read does not read back: " + reason);
    if (exact ? !sameMesh(mesh, want) : mesh.faceCount != want.faceCount)
        meshFinding(std::string(what) + " written from a mesh read reads back as another mesh");
}

inline int fuzzMeshReader(const std::uint8_t* data, size_t size, MeshReader reader)
{
    Mesh mesh;
    std::string reason;
    if (!reader(reinterpret_cast<const char*>(data), size, mesh, reason)) {
        if (reason.compare(0, 6, "ligne ") != 0 && reason.compare(0, 6, "octet ") != 0)
            meshFinding("a refusal without its place: \"" + reason + "\"");
        return 0;
    }
    std::string fault = meshFault(mesh);
    if (!fault.empty())
        meshFinding(fault);
    readBack(readPly, plyBytes(mesh), mesh, true, "PLY");
    readBack(readObj, objBytes(mesh), mesh, true, "OBJ");
    // STL holds floats: it reads back (welded anew) when every coordinate is a finite float.
    bool floats = true;
    for (const std::vector<double>* a : {&mesh.vertexX, &mesh.vertexY, &mesh.vertexZ})
        for (double x : *a)
            floats = floats && std::isfinite(static_cast<float>(x));
    if (floats)
        readBack(readStl, stlBytes(mesh), mesh, false, "STL");
    return 0;
}
