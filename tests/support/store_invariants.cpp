// Coherence checks of the model store.
#include "tests/support/store_invariants.h"

#include <cmath>
#include <cstdint>
#include <sstream>
#include <unordered_map>
#include <vector>

#include "render/view_state.h"
#include "model/cutting.h"
#include "app/cut_modes.h"
#include "base/store.h"

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

std::string edgeTableFault()
{
    if (!fits(edgeA.size(), edgeCount) || !fits(edgeB.size(), edgeCount) || !fits(edgeFace1.size(), edgeCount) ||
        !fits(edgeFace2.size(), edgeCount))
        return "edgeCount " + std::to_string(edgeCount) + " exceeds the edge arrays";
    if (boundaryLoopLength < 0 || boundaryEdgeCount < boundaryLoopLength || edgeCount < boundaryEdgeCount)
        return "boundary counts out of order: loop " + std::to_string(boundaryLoopLength) + ", boundary " +
               std::to_string(boundaryEdgeCount) + ", edges " + std::to_string(edgeCount);
    if (faceCount == 0 && edgeCount != 0)
        return "edges without triangles";
    if ((boundaryEdgeCount == 0) != (boundaryLoopLength == 0))
        return "boundary edges without a longest loop, or a loop without boundary edges";

    for (int e = 0; e < edgeCount; ++e) {
        std::ostringstream where;
        where << "edge " << e << " (" << edgeA[e] << ", " << edgeB[e] << ", faces " << edgeFace1[e] << ", "
              << edgeFace2[e] << "): ";
        if (edgeA[e] < 0 || edgeB[e] >= vertexCount || edgeA[e] > edgeB[e])
            return where.str() + "ends out of range or out of order";
        if (edgeFace1[e] < 0 || edgeFace1[e] >= faceCount)
            return where.str() + "first triangle out of range";
        if (edgeFace2[e] < -1 || edgeFace2[e] >= faceCount)
            return where.str() + "second triangle out of range";
        if ((e < boundaryEdgeCount) != (edgeFace2[e] == -1))
            return where.str() + "boundary edges do not stand first";
    }

    // A triangle that repeats a corner makes the table follow rules of its
    // own (the first triangle's sides are stored as they come); only the
    // ranges above are checked then.
    for (int f = 0; f < faceCount; ++f)
        if (faceA[f] == faceB[f] || faceB[f] == faceC[f] || faceC[f] == faceA[f])
            return "";

    std::unordered_map<std::uint64_t, EdgeUse> uses;
    uses.reserve(static_cast<size_t>(edgeCount) * 2);
    for (int e = 0; e < edgeCount; ++e) {
        EdgeUse& u = uses[edgeKey(edgeA[e], edgeB[e])];
        if (u.position >= 0)
            return "edge (" + std::to_string(edgeA[e]) + ", " + std::to_string(edgeB[e]) + ") stands at " +
                   std::to_string(u.position) + " and at " + std::to_string(e);
        u.position = e;
    }
    for (int f = 0; f < faceCount; ++f) {
        const int c[3] = {faceA[f], faceB[f], faceC[f]};
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
        std::string where = "edge " + std::to_string(e) + " (" + std::to_string(edgeA[e]) + ", " +
                            std::to_string(edgeB[e]) + "): ";
        if (u.uses == 0)
            return where + "no triangle has this side";
        if (u.uses > 2)
            return where + std::to_string(u.uses) + " triangles share it";
        if (edgeFace1[e] != u.faces[0] || edgeFace2[e] != u.faces[1])
            return where + "triangles " + std::to_string(edgeFace1[e]) + ", " + std::to_string(edgeFace2[e]) +
                   " recorded, " + std::to_string(u.faces[0]) + ", " + std::to_string(u.faces[1]) + " expected";
    }

    // The longest loop stands first in walking order and closes.
    if (boundaryLoopLength > 0) {
        const int start = edgeA[0];
        int at = edgeB[0];
        for (int e = 1; e < boundaryLoopLength; ++e) {
            if (edgeA[e] == at)
                at = edgeB[e];
            else if (edgeB[e] == at)
                at = edgeA[e];
            else
                return "loop edge " + std::to_string(e) + " does not leave vertex " + std::to_string(at);
        }
        if (at != start)
            return "the longest loop does not come back to vertex " + std::to_string(start);
    }
    return "";
}

} // namespace

std::string storeInvariantFault()
{
    if (vertexCount < 0 || faceCount < 0 || edgeCount < 0 || boundaryEdgeCount < 0 || boundaryLoopLength < 0)
        return "a negative count";
    if (!modelLoaded) {
        if (vertexCount != 0 || faceCount != 0 || edgeCount != 0 || boundaryEdgeCount != 0 ||
            boundaryLoopLength != 0)
            return "counts left without a model";
        if (topologyBuilt || uvComputed)
            return "derived flags set without a model";
        return "";
    }
    if (!fits(vertexX.size(), vertexCount) || !fits(vertexY.size(), vertexCount) ||
        !fits(vertexZ.size(), vertexCount))
        return "vertexCount " + std::to_string(vertexCount) + " exceeds the coordinate arrays";
    if (!fits(faceA.size(), faceCount) || !fits(faceB.size(), faceCount) || !fits(faceC.size(), faceCount))
        return "faceCount " + std::to_string(faceCount) + " exceeds the corner arrays";
    for (int f = 0; f < faceCount; ++f) {
        const int c[3] = {faceA[f], faceB[f], faceC[f]};
        for (int k = 0; k < 3; ++k)
            if (c[k] < 0 || c[k] >= vertexCount)
                return "triangle " + std::to_string(f) + " has corner " + std::to_string(c[k]) + " with " +
                       std::to_string(vertexCount) + " vertices";
    }
    if (uvComputed && !topologyBuilt)
        return "uvComputed without topologyBuilt";
    if (!topologyBuilt)
        return "";

    std::vector<char> used(static_cast<size_t>(vertexCount), 0);
    for (int f = 0; f < faceCount; ++f) {
        used[static_cast<size_t>(faceA[f])] = 1;
        used[static_cast<size_t>(faceB[f])] = 1;
        used[static_cast<size_t>(faceC[f])] = 1;
    }
    for (int v = 0; v < vertexCount; ++v)
        if (!used[static_cast<size_t>(v)])
            return "vertex " + std::to_string(v) + " is used by no triangle";

    std::string fault = edgeTableFault();
    if (!fault.empty())
        return fault;

    if (uvComputed) {
        if (!fits(vertexU.size(), vertexCount) || !fits(vertexV.size(), vertexCount))
            return "vertexCount exceeds the (u,v) arrays";
        for (int v = 0; v < vertexCount; ++v)
            if (!std::isfinite(vertexU[v]) || !std::isfinite(vertexV[v]))
                return "vertex " + std::to_string(v) + " has a (u,v) pair that is not finite";
    }
    return "";
}

std::string cutStateFault()
{
    for (int mode : {vertexCutMode, edgeCutMode, faceCutMode})
        if (mode != 0 && mode != 1)
            return "a cut mode is neither 0 nor 1";
    if (cutModeActive && vertexCutMode == 0 && edgeCutMode == 0 && faceCutMode == 0)
        return "cutModeActive while every cut mode is off";
    if (cutKind < 0 || cutKind > 3)
        return "cutKind " + std::to_string(cutKind) + " out of range";
    return "";
}
