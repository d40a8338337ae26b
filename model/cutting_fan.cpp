// Fan walks: turning around a vertex from triangle to triangle through the
// edge table built before a cut. Instead of scanning the whole edge table at
// every step, the edge positions of each triangle holding a moved vertex are
// listed once per cut, in increasing order, so the first match is the same
// edge a full scan finds first. A triangle outside the lists (or with more
// than three edges, which a built table never gives) falls back to the scan.
#include "model/cutting_internal.h"

#include <array>

#include "model/mesh.h"

namespace {
// Slot of each triangle in slotEdges while it holds a moved vertex, -1 otherwise
// (all -1 again once the next index is built).
std::vector<int> faceSlot;
// The triangles given a slot.
std::vector<int> slotFace;
// Edge positions of each slotted triangle in increasing order; entry 3 is the
// count, 4 meaning more than three (then the full scan is used for it).
std::vector<std::array<int, 4>> slotEdges;

bool hasFace(const Mesh& mesh, int i, int t) { return mesh.edgeFace1[i] == t || mesh.edgeFace2[i] == t; }

bool hasEnd(const Mesh& mesh, int i, int m1, int m2)
{
    return mesh.edgeA[i] == m1 || mesh.edgeB[i] == m1 || (m2 >= 0 && (mesh.edgeA[i] == m2 || mesh.edgeB[i] == m2));
}

void addEdge(int t, int i)
{
    std::array<int, 4>& slot = slotEdges[faceSlot[t]];
    if (slot[3] < 3)
        slot[slot[3]++] = i;
    else
        slot[3] = 4;
}

// The plain rule: the first position of the whole table that qualifies.
int scanNextEdge(const Mesh& mesh, int t, int current, int excluded, int m1, int m2)
{
    for (int i = 0; i < mesh.edgeCount; ++i)
        if (i != current && i != excluded && hasFace(mesh, i, t) && hasEnd(mesh, i, m1, m2))
            return i;
    return -1;
}
} // namespace

void buildFanIndex(const Mesh& mesh, int m1, int m2)
{
    for (int t : slotFace)
        faceSlot[t] = -1;
    slotFace.clear();
    slotEdges.clear();
    if (static_cast<int>(faceSlot.size()) < mesh.faceCount)
        faceSlot.resize(static_cast<size_t>(mesh.faceCount), -1);
    // Every triangle a walk turning around m1 (or m2) can reach holds one of them.
    for (int i = 0; i < mesh.faceCount; ++i) {
        int a = mesh.faceA[i], b = mesh.faceB[i], c = mesh.faceC[i];
        if (a == m1 || b == m1 || c == m1 || (m2 >= 0 && (a == m2 || b == m2 || c == m2))) {
            faceSlot[i] = static_cast<int>(slotFace.size());
            slotFace.push_back(i);
            slotEdges.push_back({0, 0, 0, 0});
        }
    }
    for (int i = 0; i < mesh.edgeCount; ++i) {
        int f1 = mesh.edgeFace1[i], f2 = mesh.edgeFace2[i];
        if (f1 >= 0 && f1 < mesh.faceCount && faceSlot[f1] >= 0)
            addEdge(f1, i);
        if (f2 >= 0 && f2 < mesh.faceCount && f2 != f1 && faceSlot[f2] >= 0)
            addEdge(f2, i);
    }
}

int fanNextEdge(const Mesh& mesh, int t, int current, int excluded, int m1, int m2)
{
    if (t < 0 || t >= mesh.faceCount)
        return -1;
    int slot = t < static_cast<int>(faceSlot.size()) ? faceSlot[t] : -1;
    if (slot < 0 || slotEdges[slot][3] > 3)
        return scanNextEdge(mesh, t, current, excluded, m1, m2);
    const std::array<int, 4>& edges = slotEdges[slot];
    for (int k = 0; k < edges[3]; ++k) {
        int i = edges[k];
        if (i != current && i != excluded && hasFace(mesh, i, t) && hasEnd(mesh, i, m1, m2))
            return i;
    }
    return -1;
}

bool walkFan(const Mesh& mesh, const FanWalk& walk, std::vector<int>& triangles, int& firstEdge, FanNextFn next)
{
    firstEdge = -1;
    if (walk.start < 0 || walk.start >= mesh.edgeCount)
        return false;
    // The walk's state is its edge and side; a walk that takes more steps
    // than there are states goes round in circles and never ends.
    long long maxSteps = 2LL * mesh.edgeCount + 2;
    int current = walk.start;
    bool secondSide = true;
    for (long long step = 0; step < maxSteps; ++step) {
        int t = secondSide ? mesh.edgeFace2[current] : mesh.edgeFace1[current];
        if (t < 0 || t >= mesh.faceCount)
            return false;
        triangles.push_back(t);
        int i = next(mesh, t, current, walk.excluded, walk.moved1, walk.moved2);
        if (i < 0 || i >= mesh.edgeCount)
            return false;
        if (firstEdge < 0)
            firstEdge = i;
        current = i;
        secondSide = mesh.edgeFace2[i] != t;
        if (walk.stopEdge >= 0 ? i == walk.stopEdge : mesh.edgeFace2[i] == -1)
            return true;
    }
    return false;
}
