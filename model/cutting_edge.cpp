// The edge cut: opening the mesh along an edge from boundary to boundary
// (two copies), from its one end on the boundary (one copy), or, on two
// clicks, along two edges that share an inner vertex (one copy); and its undo.
#include "model/cutting.h"
#include "model/cutting_internal.h"
#include "model/store.h"
#include "model/topology.h"
#include "render/layers.h"

namespace {
// Triangles handled by the walks of the cut in progress (kept between cuts to reuse their room).
std::vector<int> walkTriangles;

// An edge cut that changes nothing and leaves the mode.
void refuseEdgeCut()
{
    cutAddedCount = 0;
    undoRecordKind = 0;
    cutModeActive = false;
    leaveEdgeCut();
}

// A two-click cut that cannot be made: the pending edge is dropped as well.
void cancelTwoClickCut()
{
    pendingEdge = -1;
    pendingMark = {-1, -1, 0};
    refuseEdgeCut();
}

// In each listed triangle, corners equal to from become to.
void moveOneVertex(int from, int to)
{
    for (int t : walkTriangles) {
        if (faceA[t] == from)
            faceA[t] = to;
        if (faceB[t] == from)
            faceB[t] = to;
        if (faceC[t] == from)
            faceC[t] = to;
    }
}

// In each listed triangle, a corner equal to s1 becomes c1, otherwise one equal to s2 becomes c2.
void moveTwoVertices(int s1, int c1, int s2, int c2)
{
    for (int t : walkTriangles) {
        int* corners[3] = {&faceA[t], &faceB[t], &faceC[t]};
        for (int* corner : corners) {
            if (*corner == s1)
                *corner = c1;
            else if (*corner == s2)
                *corner = c2;
        }
    }
}

// The common end of every edge cut that changed the mesh: record, rebuild.
void finishEdgeCut(int added)
{
    noteDroppedVertices();
    meshChangedByCut();
    cutAddedCount = added;
    cutModeActive = false;
    rebuildTopology();
    recordUndo(2);
}

void throughCut(int e)
{
    int s1 = edgeA[e], s2 = edgeB[e];
    walkTriangles.clear();
    int firstEdge = -1, unused = -1;
    if (!walkFan({e, -1, s1, s2, -1}, walkTriangles, firstEdge) ||
        !walkFan({e, firstEdge, s1, s2, -1}, walkTriangles, unused)) {
        refuseEdgeCut();
        return;
    }
    int n = vertexCount;
    ensureVertexRoom(n + 2);
    appendVertexCopy(s2);
    appendVertexCopy(s1);
    moveTwoVertices(s1, n + 1, s2, n);
    cutSource1 = s1;
    cutSource2 = s2;
    finishEdgeCut(2);
    leaveEdgeCut();
}

void oneEndCut(int e, int end)
{
    walkTriangles.clear();
    int firstEdge = -1;
    if (!walkFan({e, -1, end, -1, -1}, walkTriangles, firstEdge)) {
        refuseEdgeCut();
        return;
    }
    int n = vertexCount;
    ensureVertexRoom(n + 1);
    appendVertexCopy(end);
    moveOneVertex(end, n);
    cutSource1 = end;
    finishEdgeCut(1);
    leaveEdgeCut();
}

bool pendingEdgeValid()
{
    const PendingEdgeMark& m = pendingMark;
    return pendingEdge >= 0 && pendingEdge < edgeCount && edgeA[pendingEdge] == m.a &&
           edgeB[pendingEdge] == m.b && meshFingerprint() == m.fingerprint;
}

void twoClickCut(int e)
{
    if (!pendingEdgeValid()) {
        // First click: the edge waits for the second one; nothing to undo yet.
        pendingEdge = e;
        pendingMark = {edgeA[e], edgeB[e], meshFingerprint()};
        undoRecordKind = 0;
        return;
    }
    int p = pendingEdge;
    if (p == e) {
        cancelTwoClickCut();
        return;
    }
    int v = -1;
    if (edgeA[p] == edgeA[e])
        v = edgeA[e];
    if (edgeB[p] == edgeA[e])
        v = edgeA[e];
    if (edgeA[p] == edgeB[e])
        v = edgeB[e];
    if (edgeB[p] == edgeB[e])
        v = edgeB[e];
    if (v < 0) {
        cancelTwoClickCut();
        return;
    }
    walkTriangles.clear();
    int firstEdge = -1;
    buildFanIndex(v, -1);
    if (!walkFan({e, -1, v, -1, p}, walkTriangles, firstEdge)) {
        cancelTwoClickCut();
        return;
    }
    int n = vertexCount;
    ensureVertexRoom(n + 1);
    appendVertexCopy(v);
    moveOneVertex(v, n);
    cutSource1 = v;
    finishEdgeCut(1);
    flashBorders();
    leaveEdgeCut();
}
} // namespace

void cutEdge(int e)
{
    if (!topologyBuilt || e < 0 || e >= edgeCount || e >= static_cast<int>(edgeA.size())) {
        refuseEdgeCut();
        return;
    }
    int a = edgeA[e], b = edgeB[e];
    int k = 0, lastEnd = -1;
    int boundaryEnd = boundaryEdgeCount < edgeCount ? boundaryEdgeCount : edgeCount;
    for (int i = 0; i < boundaryEnd; ++i) {
        if (a == edgeA[i])
            ++k, lastEnd = a;
        if (a == edgeB[i])
            ++k, lastEnd = a;
        if (b == edgeA[i])
            ++k, lastEnd = b;
        if (b == edgeB[i])
            ++k, lastEnd = b;
    }
    if (k >= 3 && edgeFace2[e] == -1) {
        refuseEdgeCut();
        return;
    }
    if (k >= 3) {
        buildFanIndex(a, b);
        throughCut(e);
    } else if (k == 2) {
        buildFanIndex(lastEnd, -1);
        oneEndCut(e, lastEnd);
    } else {
        twoClickCut(e);
    }
}

void undoEdgeCut()
{
    // Only the copies of the last edge cut, and only while nothing else has changed the mesh.
    if (!undoRecordValid(2) || cutAddedCount < 1 || cutAddedCount > 2)
        return;
    // A walk may have moved every triangle of an end to its copy, so that the
    // rebuild dropped the end: it comes back first, with the numbering the copies refer to.
    if (!restoreDroppedVertices())
        return;
    int n = vertexCount - cutAddedCount;
    if (cutSource1 < 0 || cutSource1 >= n || (cutAddedCount == 2 && (cutSource2 < 0 || cutSource2 >= n)))
        return;
    int last = vertexCount - 1, beforeLast = vertexCount - 2;
    for (int i = 0; i < faceCount; ++i) {
        int* corners[3] = {&faceA[i], &faceB[i], &faceC[i]};
        for (int* corner : corners) {
            if (*corner == last)
                *corner = cutSource1;
            else if (cutAddedCount == 2 && *corner == beforeLast)
                *corner = cutSource2;
        }
    }
    vertexCount = n;
    meshChangedByCut();
    rebuildTopology();
}
