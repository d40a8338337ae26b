// The coherence of a mesh: what holds after every operation of the core.
#include "model/mesh_check.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <unordered_map>
#include <vector>

namespace {

std::uint64_t edgeKey(int u, int v)
{
    int lo = u < v ? u : v, hi = u < v ? v : u;
    return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(lo)) << 32) | static_cast<std::uint32_t>(hi);
}

bool fits(size_t size, int count) { return count >= 0 && static_cast<size_t>(count) <= size; }

// The triangles met on one edge, in the order a scan of the triangles (sides
// A-B, B-C, C-A) meets them.
struct EdgeUse {
    int position = -1;  // its position in the edge table, -1 when absent
    int faces[2] = {-1, -1};
    int uses = 0;
};

std::string edgeTableFault(const Mesh& mesh)
{
    if (!fits(mesh.edgeA.size(), mesh.edgeCount) || !fits(mesh.edgeB.size(), mesh.edgeCount) || !fits(mesh.edgeFace1.size(), mesh.edgeCount) ||
        !fits(mesh.edgeFace2.size(), mesh.edgeCount))
        return "edgeCount " + std::to_string(mesh.edgeCount) + " exceeds the edge arrays";
    if (mesh.boundaryLoopLength < 0 || mesh.boundaryEdgeCount < mesh.boundaryLoopLength || mesh.edgeCount < mesh.boundaryEdgeCount)
        return "boundary counts out of order: loop " + std::to_string(mesh.boundaryLoopLength) + ", boundary " +
               std::to_string(mesh.boundaryEdgeCount) + ", edges " + std::to_string(mesh.edgeCount);
    if (mesh.faceCount == 0 && mesh.edgeCount != 0)
        return "edges without triangles";
    if ((mesh.boundaryEdgeCount == 0) != (mesh.boundaryLoopLength == 0))
        return "boundary edges without a longest loop, or a loop without boundary edges";

    for (int e = 0; e < mesh.edgeCount; ++e) {
        std::ostringstream where;
        where << "edge " << e << " (" << mesh.edgeA[e] << ", " << mesh.edgeB[e] << ", faces " << mesh.edgeFace1[e] << ", "
              << mesh.edgeFace2[e] << "): ";
        if (mesh.edgeA[e] < 0 || mesh.edgeB[e] >= mesh.vertexCount || mesh.edgeA[e] > mesh.edgeB[e])
            return where.str() + "ends out of range or out of order";
        if (mesh.edgeFace1[e] < 0 || mesh.edgeFace1[e] >= mesh.faceCount)
            return where.str() + "first triangle out of range";
        if (mesh.edgeFace2[e] < -1 || mesh.edgeFace2[e] >= mesh.faceCount)
            return where.str() + "second triangle out of range";
        if ((e < mesh.boundaryEdgeCount) != (mesh.edgeFace2[e] == -1))
            return where.str() + "boundary edges do not stand first";
    }

    // A triangle that repeats a corner makes the table follow rules of its
    // own (the first triangle's sides are stored as they come); only the
    // ranges above are checked then.
    for (int f = 0; f < mesh.faceCount; ++f)
        if (mesh.faceA[f] == mesh.faceB[f] || mesh.faceB[f] == mesh.faceC[f] || mesh.faceC[f] == mesh.faceA[f])
            return "";

    std::unordered_map<std::uint64_t, EdgeUse> uses;
    uses.reserve(static_cast<size_t>(mesh.edgeCount) * 2);
    for (int e = 0; e < mesh.edgeCount; ++e) {
        EdgeUse& u = uses[edgeKey(mesh.edgeA[e], mesh.edgeB[e])];
        if (u.position >= 0)
            return "edge (" + std::to_string(mesh.edgeA[e]) + ", " + std::to_string(mesh.edgeB[e]) + ") stands at " +
                   std::to_string(u.position) + " and at " + std::to_string(e);
        u.position = e;
    }
    for (int f = 0; f < mesh.faceCount; ++f) {
        const int c[3] = {mesh.faceA[f], mesh.faceB[f], mesh.faceC[f]};
        for (int k = 0; k < 3; ++k) {
            auto it = uses.find(edgeKey(c[k], c[(k + 1) % 3]));
            if (it == uses.end())
                return "side (" + std::to_string(c[k]) + ", " + std::to_string(c[(k + 1) % 3]) + ") of triangle " +
                       std::to_string(f) + " is missing from the edge table";
            EdgeUse& u = it->second;
            if (u.uses < 2)
                u.faces[u.uses] = f;
            ++u.uses;
        }
    }
    for (const auto& [key, u] : uses) {
        const int e = u.position;
        std::string where = "edge " + std::to_string(e) + " (" + std::to_string(mesh.edgeA[e]) + ", " +
                            std::to_string(mesh.edgeB[e]) + "): ";
        if (u.uses == 0)
            return where + "no triangle has this side";
        if (u.uses > 2)
            return where + std::to_string(u.uses) + " triangles share it";
        if (mesh.edgeFace1[e] != u.faces[0] || mesh.edgeFace2[e] != u.faces[1])
            return where + "triangles " + std::to_string(mesh.edgeFace1[e]) + ", " + std::to_string(mesh.edgeFace2[e]) +
                   " recorded, " + std::to_string(u.faces[0]) + ", " + std::to_string(u.faces[1]) + " expected";
    }

    // The longest loop stands first in walking order and closes.
    if (mesh.boundaryLoopLength > 0) {
        const int start = mesh.edgeA[0];
        int at = mesh.edgeB[0];
        for (int e = 1; e < mesh.boundaryLoopLength; ++e) {
            if (mesh.edgeA[e] == at)
                at = mesh.edgeB[e];
            else if (mesh.edgeB[e] == at)
                at = mesh.edgeA[e];
            else
                return "loop edge " + std::to_string(e) + " does not leave vertex " + std::to_string(at);
        }
        if (at != start)
            return "the longest loop does not come back to vertex " + std::to_string(start);
    }
    return "";
}

} // namespace

std::string meshFault(const Mesh& mesh)
{
    if (mesh.vertexCount < 0 || mesh.faceCount < 0 || mesh.edgeCount < 0 || mesh.boundaryEdgeCount < 0 || mesh.boundaryLoopLength < 0)
        return "a negative count";
    if (!mesh.modelLoaded) {
        if (mesh.vertexCount != 0 || mesh.faceCount != 0 || mesh.edgeCount != 0 || mesh.boundaryEdgeCount != 0 ||
            mesh.boundaryLoopLength != 0)
            return "counts left without a model";
        if (mesh.topologyBuilt || mesh.uvComputed)
            return "derived flags set without a model";
        return "";
    }
    if (!fits(mesh.vertexX.size(), mesh.vertexCount) || !fits(mesh.vertexY.size(), mesh.vertexCount) ||
        !fits(mesh.vertexZ.size(), mesh.vertexCount))
        return "vertexCount " + std::to_string(mesh.vertexCount) + " exceeds the coordinate arrays";
    if (!fits(mesh.faceA.size(), mesh.faceCount) || !fits(mesh.faceB.size(), mesh.faceCount) || !fits(mesh.faceC.size(), mesh.faceCount))
        return "faceCount " + std::to_string(mesh.faceCount) + " exceeds the corner arrays";
    for (int f = 0; f < mesh.faceCount; ++f) {
        const int c[3] = {mesh.faceA[f], mesh.faceB[f], mesh.faceC[f]};
        for (int k = 0; k < 3; ++k)
            if (c[k] < 0 || c[k] >= mesh.vertexCount)
                return "triangle " + std::to_string(f) + " has corner " + std::to_string(c[k]) + " with " +
                       std::to_string(mesh.vertexCount) + " vertices";
    }
    if (mesh.uvComputed && !mesh.topologyBuilt)
        return "uvComputed without topologyBuilt";
    if (!mesh.topologyBuilt)
        return "";

    std::vector<char> used(static_cast<size_t>(mesh.vertexCount), 0);
    for (int f = 0; f < mesh.faceCount; ++f) {
        used[static_cast<size_t>(mesh.faceA[f])] = 1;
        used[static_cast<size_t>(mesh.faceB[f])] = 1;
        used[static_cast<size_t>(mesh.faceC[f])] = 1;
    }
    for (int v = 0; v < mesh.vertexCount; ++v)
        if (!used[static_cast<size_t>(v)])
            return "vertex " + std::to_string(v) + " is used by no triangle";

    std::string fault = edgeTableFault(mesh);
    if (!fault.empty())
        return fault;

    if (mesh.uvComputed) {
        if (!fits(mesh.vertexU.size(), mesh.vertexCount) || !fits(mesh.vertexV.size(), mesh.vertexCount))
            return "vertexCount exceeds the (u,v) arrays";
        for (int v = 0; v < mesh.vertexCount; ++v)
            if (!std::isfinite(mesh.vertexU[v]) || !std::isfinite(mesh.vertexV[v]))
                return "vertex " + std::to_string(v) + " has a (u,v) pair that is not finite";
    }
    return "";
}

void checkMeshAfterEdit(const Mesh& mesh, const char* edit)
{
#if !defined(NDEBUG) || defined(VORMELIN_CHECK_MESH)
    const std::string fault = meshFault(mesh);
    if (!fault.empty()) {
        std::fprintf(stderr, "vormelin: the mesh is incoherent after %s: %s\n", edit, fault.c_str());
        std::abort();
    }
#else
    (void)mesh;
    (void)edit;
#endif
}
