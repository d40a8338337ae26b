// The topology builder on triangle lists derived from the input: up to a few
// hundred vertices and any corner values, negative and out of range ones
// included. The builder must agree with the literal build (same refusal
// text, or the same vertices, triangles and edge table), leave a coherent
// store, and give the same table when it is run again on its own result.
#include <climits>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "app/session.h"
#include "model/topology.h"
#include "tests/support/mesh_builder.h"
#include "tests/support/platform_script.h"
#include "tests/support/store_invariants.h"
#include "tests/support/topology_oracle.h"

namespace {

// Most words name a vertex; the top few give the values a faulty file could hold.
int cornerFrom(std::uint16_t word, int vertices)
{
    switch (word) {
    case 0xffff: return -1;
    case 0xfffe: return vertices;
    case 0xfffd: return INT_MIN;
    case 0xfffc: return INT_MAX;
    case 0xfffb: return vertices + 1;
    default: return word % vertices;
    }
}

template <typename T> bool sameRange(const std::vector<T>& a, const std::vector<T>& b, int count)
{
    if (a.size() < static_cast<size_t>(count) || b.size() < static_cast<size_t>(count))
        return false;
    for (int i = 0; i < count; ++i)
        if (!(a[i] == b[i]) && !(a[i] != a[i] && b[i] != b[i]))
            return false;
    return true;
}

// Empty when the store holds what the literal build gives.
std::string differenceFrom(const TopologyOracleResult& r)
{
    if (currentModel.vertexCount != r.vertexCount || currentModel.faceCount != r.faceCount)
        return "counts of vertices or triangles differ";
    if (currentModel.edgeCount != r.edgeCount || currentModel.boundaryEdgeCount != r.boundaryEdgeCount ||
        currentModel.boundaryLoopLength != r.boundaryLoopLength)
        return "edge counts differ: " + std::to_string(currentModel.edgeCount) + "/" + std::to_string(r.edgeCount) + " " +
               std::to_string(currentModel.boundaryEdgeCount) + "/" + std::to_string(r.boundaryEdgeCount) + " " +
               std::to_string(currentModel.boundaryLoopLength) + "/" + std::to_string(r.boundaryLoopLength);
    if (!sameRange(currentModel.vertexX, r.x, currentModel.vertexCount) || !sameRange(currentModel.vertexY, r.y, currentModel.vertexCount) ||
        !sameRange(currentModel.vertexZ, r.z, currentModel.vertexCount))
        return "vertex coordinates differ";
    if (!sameRange(currentModel.faceA, r.faceA, currentModel.faceCount) || !sameRange(currentModel.faceB, r.faceB, currentModel.faceCount) ||
        !sameRange(currentModel.faceC, r.faceC, currentModel.faceCount))
        return "triangle corners differ";
    if (!sameRange(currentModel.edgeA, r.edgeA, currentModel.edgeCount) || !sameRange(currentModel.edgeB, r.edgeB, currentModel.edgeCount) ||
        !sameRange(currentModel.edgeFace1, r.edgeFace1, currentModel.edgeCount) || !sameRange(currentModel.edgeFace2, r.edgeFace2, currentModel.edgeCount))
        return "edge tables differ";
    if (currentModel.edgeCapacity < currentModel.edgeCount || currentModel.edgeA.size() < static_cast<size_t>(currentModel.edgeCapacity) ||
        currentModel.edgeFace2.size() < static_cast<size_t>(currentModel.edgeCapacity))
        return "edge capacity " + std::to_string(currentModel.edgeCapacity) + " does not fit the arrays";
    return "";
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    resetHarnessState();
    InputBytes in{data, size};
    const int vertices = 1 + in.word() % 400;
    const int faces = static_cast<int>((size - in.at) / 6);
    if (faces > 3000)
        return 0;
    allocDoubleArray(currentModel.vertexX, vertices);
    allocDoubleArray(currentModel.vertexY, vertices);
    allocDoubleArray(currentModel.vertexZ, vertices);
    for (int v = 0; v < vertices; ++v) {
        currentModel.vertexX[v] = v;
        currentModel.vertexY[v] = v % 7;
        currentModel.vertexZ[v] = -v;
    }
    allocIntArray(currentModel.faceA, faces);
    allocIntArray(currentModel.faceB, faces);
    allocIntArray(currentModel.faceC, faces);
    for (int f = 0; f < faces; ++f) {
        currentModel.faceA[f] = cornerFrom(in.word(), vertices);
        currentModel.faceB[f] = cornerFrom(in.word(), vertices);
        currentModel.faceC[f] = cornerFrom(in.word(), vertices);
    }
    currentModel.vertexCount = vertices;
    currentModel.faceCount = faces;
    currentModel.modelLoaded = true;

    const TopologyOracleResult expected = topologyOracleOfStore();
    const Outcome built = buildTopology(currentModel);
    const bool refused = built != outcomeOk;
    const std::string refusal = outcomeText(built);
    if (refused != !expected.fatalText.empty() || (refused && refusal != expected.fatalText))
        requireNoFault("builder ends with \"" + refusal + "\", the literal build with \"" + expected.fatalText + "\"",
                       "refusal");
    // A refused mesh stays as it was given, corners out of range included; only
    // the edge table must be gone.
    if (refused) {
        if (currentModel.topologyBuilt || currentModel.edgeCount != 0)
            requireNoFault("an edge table survived the refusal", "refusal");
        resetHarnessState();
        return 0;
    }
    requireNoFault(storeInvariantFault(), "store after the build");
    requireNoFault(differenceFrom(expected), "builder against the literal build");

    // Built again on its own result, the table must come out the same.
    const TopologyOracleResult again = topologyOracleOfStore();
    const Outcome rebuilt = rebuildTopology(currentModel);
    if (rebuilt != outcomeOk)
        requireNoFault(std::string("a built mesh is refused when built again: ") + outcomeText(rebuilt), "rebuild");
    requireNoFault(differenceFrom(again), "rebuild against the literal build");
    requireNoFault(differenceFrom(expected), "rebuild against the first build");

    // findEdge gives the lowest position of a pair, or -1.
    InputBytes probe{data, size};
    for (int k = 0; k < 16; ++k) {
        const int u = cornerFrom(probe.word(), currentModel.vertexCount > 0 ? currentModel.vertexCount : 1);
        const int v = cornerFrom(probe.word(), currentModel.vertexCount > 0 ? currentModel.vertexCount : 1);
        int literal = -1;
        for (int e = 0; e < currentModel.edgeCount && literal < 0; ++e)
            if (currentModel.edgeA[e] == (u < v ? u : v) && currentModel.edgeB[e] == (u < v ? v : u))
                literal = e;
        if (findEdge(currentModel, u, v) != literal)
            requireNoFault("findEdge(" + std::to_string(u) + ", " + std::to_string(v) + ") gives " +
                               std::to_string(findEdge(currentModel, u, v)) + ", the scan " + std::to_string(literal),
                           "findEdge");
    }
    resetHarnessState();
    return 0;
}
