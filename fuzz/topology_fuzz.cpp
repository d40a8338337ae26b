// The topology builder on triangle lists derived from the input: up to a few
// hundred vertices and any corner values, negative and out of range ones
// included. The builder must agree with the literal build (same refusal
// text, or the same vertices, triangles and edge table), leave a coherent
// store, and give the same table when it is run again on its own result.
#include <climits>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "base/store.h"
#include "model/topology.h"
#include "platform/platform_script.h"
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
    if (vertexCount != r.vertexCount || faceCount != r.faceCount)
        return "counts of vertices or triangles differ";
    if (edgeCount != r.edgeCount || boundaryEdgeCount != r.boundaryEdgeCount ||
        boundaryLoopLength != r.boundaryLoopLength)
        return "edge counts differ: " + std::to_string(edgeCount) + "/" + std::to_string(r.edgeCount) + " " +
               std::to_string(boundaryEdgeCount) + "/" + std::to_string(r.boundaryEdgeCount) + " " +
               std::to_string(boundaryLoopLength) + "/" + std::to_string(r.boundaryLoopLength);
    if (!sameRange(vertexX, r.x, vertexCount) || !sameRange(vertexY, r.y, vertexCount) ||
        !sameRange(vertexZ, r.z, vertexCount))
        return "vertex coordinates differ";
    if (!sameRange(faceA, r.faceA, faceCount) || !sameRange(faceB, r.faceB, faceCount) ||
        !sameRange(faceC, r.faceC, faceCount))
        return "triangle corners differ";
    if (!sameRange(edgeA, r.edgeA, edgeCount) || !sameRange(edgeB, r.edgeB, edgeCount) ||
        !sameRange(edgeFace1, r.edgeFace1, edgeCount) || !sameRange(edgeFace2, r.edgeFace2, edgeCount))
        return "edge tables differ";
    if (edgeCapacity < edgeCount || edgeA.size() < static_cast<size_t>(edgeCapacity) ||
        edgeFace2.size() < static_cast<size_t>(edgeCapacity))
        return "edge capacity " + std::to_string(edgeCapacity) + " does not fit the arrays";
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
    allocDoubleArray(vertexX, vertices);
    allocDoubleArray(vertexY, vertices);
    allocDoubleArray(vertexZ, vertices);
    for (int v = 0; v < vertices; ++v) {
        vertexX[v] = v;
        vertexY[v] = v % 7;
        vertexZ[v] = -v;
    }
    allocIntArray(faceA, faces);
    allocIntArray(faceB, faces);
    allocIntArray(faceC, faces);
    for (int f = 0; f < faces; ++f) {
        faceA[f] = cornerFrom(in.word(), vertices);
        faceB[f] = cornerFrom(in.word(), vertices);
        faceC[f] = cornerFrom(in.word(), vertices);
    }
    vertexCount = vertices;
    faceCount = faces;
    modelLoaded = true;

    const TopologyOracleResult expected = topologyOracleOfStore();
    const Outcome built = buildTopology();
    const bool refused = built != outcomeOk;
    const std::string refusal = outcomeText(built);
    if (refused != !expected.fatalText.empty() || (refused && refusal != expected.fatalText))
        requireNoFault("builder ends with \"" + refusal + "\", the literal build with \"" + expected.fatalText + "\"",
                       "refusal");
    // A refused mesh stays as it was given, corners out of range included; only
    // the edge table must be gone.
    if (refused) {
        if (topologyBuilt || edgeCount != 0)
            requireNoFault("an edge table survived the refusal", "refusal");
        resetHarnessState();
        return 0;
    }
    requireNoFault(storeInvariantFault(), "store after the build");
    requireNoFault(differenceFrom(expected), "builder against the literal build");

    // Built again on its own result, the table must come out the same.
    const TopologyOracleResult again = topologyOracleOfStore();
    const Outcome rebuilt = rebuildTopology();
    if (rebuilt != outcomeOk)
        requireNoFault(std::string("a built mesh is refused when built again: ") + outcomeText(rebuilt), "rebuild");
    requireNoFault(differenceFrom(again), "rebuild against the literal build");
    requireNoFault(differenceFrom(expected), "rebuild against the first build");

    // findEdge gives the lowest position of a pair, or -1.
    InputBytes probe{data, size};
    for (int k = 0; k < 16; ++k) {
        const int u = cornerFrom(probe.word(), vertexCount > 0 ? vertexCount : 1);
        const int v = cornerFrom(probe.word(), vertexCount > 0 ? vertexCount : 1);
        int literal = -1;
        for (int e = 0; e < edgeCount && literal < 0; ++e)
            if (edgeA[e] == (u < v ? u : v) && edgeB[e] == (u < v ? v : u))
                literal = e;
        if (findEdge(u, v) != literal)
            requireNoFault("findEdge(" + std::to_string(u) + ", " + std::to_string(v) + ") gives " +
                               std::to_string(findEdge(u, v)) + ", the scan " + std::to_string(literal),
                           "findEdge");
    }
    resetHarnessState();
    return 0;
}
