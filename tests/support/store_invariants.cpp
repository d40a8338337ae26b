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
#include "app/session.h"

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
    if (!fits(currentModel.edgeA.size(), currentModel.edgeCount) || !fits(currentModel.edgeB.size(), currentModel.edgeCount) || !fits(currentModel.edgeFace1.size(), currentModel.edgeCount) ||
        !fits(currentModel.edgeFace2.size(), currentModel.edgeCount))
        return "edgeCount " + std::to_string(currentModel.edgeCount) + " exceeds the edge arrays";
    if (currentModel.boundaryLoopLength < 0 || currentModel.boundaryEdgeCount < currentModel.boundaryLoopLength || currentModel.edgeCount < currentModel.boundaryEdgeCount)
        return "boundary counts out of order: loop " + std::to_string(currentModel.boundaryLoopLength) + ", boundary " +
               std::to_string(currentModel.boundaryEdgeCount) + ", edges " + std::to_string(currentModel.edgeCount);
    if (currentModel.faceCount == 0 && currentModel.edgeCount != 0)
        return "edges without triangles";
    if ((currentModel.boundaryEdgeCount == 0) != (currentModel.boundaryLoopLength == 0))
        return "boundary edges without a longest loop, or a loop without boundary edges";

    for (int e = 0; e < currentModel.edgeCount; ++e) {
        std::ostringstream where;
        where << "edge " << e << " (" << currentModel.edgeA[e] << ", " << currentModel.edgeB[e] << ", faces " << currentModel.edgeFace1[e] << ", "
              << currentModel.edgeFace2[e] << "): ";
        if (currentModel.edgeA[e] < 0 || currentModel.edgeB[e] >= currentModel.vertexCount || currentModel.edgeA[e] > currentModel.edgeB[e])
            return where.str() + "ends out of range or out of order";
        if (currentModel.edgeFace1[e] < 0 || currentModel.edgeFace1[e] >= currentModel.faceCount)
            return where.str() + "first triangle out of range";
        if (currentModel.edgeFace2[e] < -1 || currentModel.edgeFace2[e] >= currentModel.faceCount)
            return where.str() + "second triangle out of range";
        if ((e < currentModel.boundaryEdgeCount) != (currentModel.edgeFace2[e] == -1))
            return where.str() + "boundary edges do not stand first";
    }

    // A triangle that repeats a corner makes the table follow rules of its
    // own (the first triangle's sides are stored as they come); only the
    // ranges above are checked then.
    for (int f = 0; f < currentModel.faceCount; ++f)
        if (currentModel.faceA[f] == currentModel.faceB[f] || currentModel.faceB[f] == currentModel.faceC[f] || currentModel.faceC[f] == currentModel.faceA[f])
            return "";

    std::unordered_map<std::uint64_t, EdgeUse> uses;
    uses.reserve(static_cast<size_t>(currentModel.edgeCount) * 2);
    for (int e = 0; e < currentModel.edgeCount; ++e) {
        EdgeUse& u = uses[edgeKey(currentModel.edgeA[e], currentModel.edgeB[e])];
        if (u.position >= 0)
            return "edge (" + std::to_string(currentModel.edgeA[e]) + ", " + std::to_string(currentModel.edgeB[e]) + ") stands at " +
                   std::to_string(u.position) + " and at " + std::to_string(e);
        u.position = e;
    }
    for (int f = 0; f < currentModel.faceCount; ++f) {
        const int c[3] = {currentModel.faceA[f], currentModel.faceB[f], currentModel.faceC[f]};
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
        std::string where = "edge " + std::to_string(e) + " (" + std::to_string(currentModel.edgeA[e]) + ", " +
                            std::to_string(currentModel.edgeB[e]) + "): ";
        if (u.uses == 0)
            return where + "no triangle has this side";
        if (u.uses > 2)
            return where + std::to_string(u.uses) + " triangles share it";
        if (currentModel.edgeFace1[e] != u.faces[0] || currentModel.edgeFace2[e] != u.faces[1])
            return where + "triangles " + std::to_string(currentModel.edgeFace1[e]) + ", " + std::to_string(currentModel.edgeFace2[e]) +
                   " recorded, " + std::to_string(u.faces[0]) + ", " + std::to_string(u.faces[1]) + " expected";
    }

    // The longest loop stands first in walking order and closes.
    if (currentModel.boundaryLoopLength > 0) {
        const int start = currentModel.edgeA[0];
        int at = currentModel.edgeB[0];
        for (int e = 1; e < currentModel.boundaryLoopLength; ++e) {
            if (currentModel.edgeA[e] == at)
                at = currentModel.edgeB[e];
            else if (currentModel.edgeB[e] == at)
                at = currentModel.edgeA[e];
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
    if (currentModel.vertexCount < 0 || currentModel.faceCount < 0 || currentModel.edgeCount < 0 || currentModel.boundaryEdgeCount < 0 || currentModel.boundaryLoopLength < 0)
        return "a negative count";
    if (!currentModel.modelLoaded) {
        if (currentModel.vertexCount != 0 || currentModel.faceCount != 0 || currentModel.edgeCount != 0 || currentModel.boundaryEdgeCount != 0 ||
            currentModel.boundaryLoopLength != 0)
            return "counts left without a model";
        if (currentModel.topologyBuilt || currentModel.uvComputed)
            return "derived flags set without a model";
        return "";
    }
    if (!fits(currentModel.vertexX.size(), currentModel.vertexCount) || !fits(currentModel.vertexY.size(), currentModel.vertexCount) ||
        !fits(currentModel.vertexZ.size(), currentModel.vertexCount))
        return "vertexCount " + std::to_string(currentModel.vertexCount) + " exceeds the coordinate arrays";
    if (!fits(currentModel.faceA.size(), currentModel.faceCount) || !fits(currentModel.faceB.size(), currentModel.faceCount) || !fits(currentModel.faceC.size(), currentModel.faceCount))
        return "faceCount " + std::to_string(currentModel.faceCount) + " exceeds the corner arrays";
    for (int f = 0; f < currentModel.faceCount; ++f) {
        const int c[3] = {currentModel.faceA[f], currentModel.faceB[f], currentModel.faceC[f]};
        for (int k = 0; k < 3; ++k)
            if (c[k] < 0 || c[k] >= currentModel.vertexCount)
                return "triangle " + std::to_string(f) + " has corner " + std::to_string(c[k]) + " with " +
                       std::to_string(currentModel.vertexCount) + " vertices";
    }
    if (currentModel.uvComputed && !currentModel.topologyBuilt)
        return "uvComputed without topologyBuilt";
    if (!currentModel.topologyBuilt)
        return "";

    std::vector<char> used(static_cast<size_t>(currentModel.vertexCount), 0);
    for (int f = 0; f < currentModel.faceCount; ++f) {
        used[static_cast<size_t>(currentModel.faceA[f])] = 1;
        used[static_cast<size_t>(currentModel.faceB[f])] = 1;
        used[static_cast<size_t>(currentModel.faceC[f])] = 1;
    }
    for (int v = 0; v < currentModel.vertexCount; ++v)
        if (!used[static_cast<size_t>(v)])
            return "vertex " + std::to_string(v) + " is used by no triangle";

    std::string fault = edgeTableFault();
    if (!fault.empty())
        return fault;

    if (currentModel.uvComputed) {
        if (!fits(currentModel.vertexU.size(), currentModel.vertexCount) || !fits(currentModel.vertexV.size(), currentModel.vertexCount))
            return "vertexCount exceeds the (u,v) arrays";
        for (int v = 0; v < currentModel.vertexCount; ++v)
            if (!std::isfinite(currentModel.vertexU[v]) || !std::isfinite(currentModel.vertexV[v]))
                return "vertex " + std::to_string(v) + " has a (u,v) pair that is not finite";
    }
    return "";
}

std::string cutStateFault()
{
    for (int mode : {interaction.vertexCutMode, interaction.edgeCutMode, interaction.faceCutMode})
        if (mode != 0 && mode != 1)
            return "a cut mode is neither 0 nor 1";
    if (interaction.cutModeActive && interaction.vertexCutMode == 0 && interaction.edgeCutMode == 0 && interaction.faceCutMode == 0)
        return "cutModeActive while every cut mode is off";
    if (interaction.cutKind < 0 || interaction.cutKind > 3)
        return "cutKind " + std::to_string(interaction.cutKind) + " out of range";
    return "";
}
