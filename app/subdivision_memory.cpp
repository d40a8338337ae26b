// The weighing of a subdivision's memory. Each term counts the bytes of the
// arrays one part of the command allocates, at the size they are reserved
// (pages reserved and not yet touched still count against an address-space
// limit); the parameterization, whose multigrid hierarchy has no simple
// shape, is counted per unknown from what it was measured to take (about
// 850 bytes per unknown on meshes of 0.5 and 1.9 million vertices), with a
// margin.
#include "app/subdivision_memory.h"

#include <algorithm>
#include <climits>
#include <cstddef>

namespace {

constexpr long long doubleBytes = 8, intBytes = 4;
// Bytes the parameterization takes per unknown, all included.
constexpr long long parameterizationBytesPerUnknown = 1300;

// The copy of the mesh the edit guard keeps: coordinates, triangles, the
// edge arrays at their capacity (at most V + F + E) and the (u,v) pairs.
long long guardCopy(long long V, long long F, long long E, bool parameterized)
{
    return 3 * doubleBytes * V + 3 * intBytes * F + 4 * intBytes * (V + F + E) + (parameterized ? 2 * doubleBytes * V : 0);
}

// The Loop step proper: its new arrays and its working tables.
long long loopStep(long long V, long long F, long long E)
{
    const long long newVertices = 3 * doubleBytes * (V + E);
    const long long newFaces = 3 * intBytes * 4 * F;
    // Split-edge table: five ints per edge; buckets: a start per vertex and
    // up to two slots per triangle side; ring summaries: four ints per vertex.
    const long long table = 5 * intBytes * E + 8 * (V + 1) + 2 * intBytes * 3 * F + 4 * intBytes * V;
    return newVertices + newFaces + table;
}

// The topology built on a mesh of V vertices and F triangles: four edge
// arrays and the chain links reserved for 3F edges, the vertex chains, marks
// and renumbering, and the boundary loop search's arrays (counted as if a
// third of the edges were on the boundary).
long long topology(long long V, long long F)
{
    const long long edgeRoom = 3 * F;
    return 5 * intBytes * edgeRoom + (2 * intBytes + 1) * V + 8 * intBytes * F;
}

} // namespace

long long subdivisionMemoryNeed(long long V, long long F, long long E, bool parameterized)
{
    V = std::max(V, 0LL);
    F = std::max(F, 0LL);
    E = std::max(E, 0LL);
    const long long refinedV = V + E, refinedF = 4 * F;
    const long long after = parameterized ? parameterizationBytesPerUnknown * refinedV + topology(refinedV, refinedF)
                                          : topology(refinedV, refinedF);
    return guardCopy(V, F, E, parameterized) + loopStep(V, F, E) + after;
}

long long subdivisionMemoryNeed(const Mesh& mesh)
{
    const long long F = mesh.faceCount;
    const long long E = mesh.topologyBuilt ? mesh.edgeCount : (3 * F + 1) / 2;
    return subdivisionMemoryNeed(mesh.vertexCount, F, E, mesh.uvComputed);
}

Outcome checkSubdivisionMemory(const Mesh& mesh, long long available)
{
    if (available < 0 || !mesh.modelLoaded)
        return outcomeOk;
    // Counts the step itself refuses (too large for an int, or longer than
    // the arrays) are left to it, with their own outcome.
    const long long F = mesh.faceCount, V = mesh.vertexCount;
    if (F > INT_MAX / 4 || V < 0 || F < 0 || mesh.faceA.size() < static_cast<std::size_t>(F) || mesh.faceB.size() < static_cast<std::size_t>(F) ||
        mesh.faceC.size() < static_cast<std::size_t>(F) || mesh.vertexX.size() < static_cast<std::size_t>(V))
        return outcomeOk;
    return subdivisionMemoryNeed(mesh) > available ? outcomeSubdivisionMemory : outcomeOk;
}
