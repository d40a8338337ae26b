// The cuts: a vertex split into one copy per triangle corner, the mesh opened
// along one edge or a pair of edges, a triangle removed; the undo of the last
// of these, and the record both rely on. The fan walks that decide which
// triangles an edge cut moves are in cutting_fan.cpp.
#include "model/cutting.h"

#include <algorithm>
#include <cstring>

#include "model/cutting_internal.h"
#include "model/topology.h"


// ---- The undo record

bool undoRecordValid(const Mesh& mesh, const CutRecord& cuts, int kind) { return cuts.undoRecordKind == kind && mesh.revision == cuts.undoRevision; }

void recordUndo(const Mesh& mesh, CutRecord& cuts, int kind)
{
    cuts.undoRecordKind = kind;
    cuts.undoRevision = mesh.revision;
}

void meshChangedByCut(CutRecord& cuts)
{
    cuts.pendingEdge = -1;
    cuts.pendingMark = PendingEdgeMark();
    cuts.undoRecordKind = cutKindNone;
}

void forgetPendingCut(CutRecord& cuts) { meshChangedByCut(cuts); }

// ---- Vertices added and dropped by a cut

void ensureVertexRoom(Mesh& mesh, int n)
{
    if (static_cast<int>(mesh.vertexX.size()) < n)
        growDoubleArray(mesh.vertexX, mesh.vertexCount, n);
    if (static_cast<int>(mesh.vertexY.size()) < n)
        growDoubleArray(mesh.vertexY, mesh.vertexCount, n);
    if (static_cast<int>(mesh.vertexZ.size()) < n)
        growDoubleArray(mesh.vertexZ, mesh.vertexCount, n);
}

void appendVertexCopy(Mesh& mesh, int source)
{
    mesh.vertexX[mesh.vertexCount] = mesh.vertexX[source];
    mesh.vertexY[mesh.vertexCount] = mesh.vertexY[source];
    mesh.vertexZ[mesh.vertexCount] = mesh.vertexZ[source];
    ++mesh.vertexCount;
}

// The vertices a cut's rebuild drops because no triangle uses them any more:
// noted before the rebuild so that the undo can put them back at their former
// numbers, which the copies and the kept triangle still refer to.
namespace {
// Scratch: which vertices the triangles use; later, new number to old number.
std::vector<int> vertexScratch;
} // namespace

void noteDroppedVertices(const Mesh& mesh, CutRecord& cuts)
{
    cuts.countAtNote = mesh.vertexCount;
    cuts.droppedIndex.clear();
    cuts.droppedX.clear();
    cuts.droppedY.clear();
    cuts.droppedZ.clear();
    vertexScratch.assign(static_cast<size_t>(mesh.vertexCount), 0);
    for (int i = 0; i < mesh.faceCount; ++i) {
        int corners[3] = {mesh.faceA[i], mesh.faceB[i], mesh.faceC[i]};
        for (int c : corners)
            if (c >= 0 && c < mesh.vertexCount)
                vertexScratch[c] = 1;
    }
    for (int v = 0; v < mesh.vertexCount; ++v) {
        if (vertexScratch[v])
            continue;
        cuts.droppedIndex.push_back(v);
        cuts.droppedX.push_back(mesh.vertexX[v]);
        cuts.droppedY.push_back(mesh.vertexY[v]);
        cuts.droppedZ.push_back(mesh.vertexZ[v]);
    }
}

bool restoreDroppedVertices(Mesh& mesh, CutRecord& cuts)
{
    int kept = mesh.vertexCount;
    if (kept != cuts.countAtNote - static_cast<int>(cuts.droppedIndex.size()))
        return false;
    if (cuts.droppedIndex.empty())
        return true;
    ensureVertexRoom(mesh, cuts.countAtNote);
    vertexScratch.assign(static_cast<size_t>(kept), 0);
    // From the top down, so no vertex is overwritten before it has moved.
    int j = static_cast<int>(cuts.droppedIndex.size()) - 1;
    int k = kept - 1;
    for (int i = cuts.countAtNote - 1; i >= 0; --i) {
        if (j >= 0 && cuts.droppedIndex[j] == i) {
            mesh.vertexX[i] = cuts.droppedX[j];
            mesh.vertexY[i] = cuts.droppedY[j];
            mesh.vertexZ[i] = cuts.droppedZ[j];
            --j;
        } else {
            mesh.vertexX[i] = mesh.vertexX[k];
            mesh.vertexY[i] = mesh.vertexY[k];
            mesh.vertexZ[i] = mesh.vertexZ[k];
            vertexScratch[k] = i;
            --k;
        }
    }
    for (int f = 0; f < mesh.faceCount; ++f) {
        int* corners[3] = {&mesh.faceA[f], &mesh.faceB[f], &mesh.faceC[f]};
        for (int* corner : corners)
            if (*corner >= 0 && *corner < kept)
                *corner = vertexScratch[*corner];
    }
    mesh.vertexCount = cuts.countAtNote;
    return true;
}

// ---- The vertex cut

namespace {
int countCorners(const Mesh& mesh, int v)
{
    int c = 0;
    for (int i = 0; i < mesh.faceCount; ++i)
        c += (mesh.faceA[i] == v) + (mesh.faceB[i] == v) + (mesh.faceC[i] == v);
    return c;
}

// A vertex cut that cuts nothing: nothing to undo.
CutResult refuseVertexCut(CutRecord& cuts)
{
    cuts.cutAddedCount = 0;
    cuts.undoRecordKind = cutKindNone;
    return {cutRefused, outcomeOk};
}
} // namespace

CutResult cutVertex(Mesh& mesh, CutRecord& cuts, int v)
{
    if (!mesh.topologyBuilt || v < 0 || v >= mesh.vertexCount)
        return refuseVertexCut(cuts);
    int c = countCorners(mesh, v);
    if (c < 2)
        return refuseVertexCut(cuts);
    int n = mesh.vertexCount;
    ensureVertexRoom(mesh, n + c - 1);
    for (int k = 0; k < c - 1; ++k)
        appendVertexCopy(mesh, v);
    // The first corner equal to v keeps it; the k-th later one gets copy n + k.
    int seen = 0;
    for (int i = 0; i < mesh.faceCount; ++i) {
        int* corners[3] = {&mesh.faceA[i], &mesh.faceB[i], &mesh.faceC[i]};
        for (int* corner : corners) {
            if (*corner != v)
                continue;
            if (seen > 0)
                *corner = n + seen - 1;
            ++seen;
        }
    }
    noteDroppedVertices(mesh, cuts);
    meshChangedByCut(cuts);
    cuts.cutAddedCount = c - 1;
    cuts.undoVertex = v;
    Outcome built = rebuildTopology(mesh);
    recordUndo(mesh, cuts, cutKindVertex);
    return {cutMade, built};
}

Outcome undoVertexCut(Mesh& mesh, CutRecord& cuts, int v)
{
    // Only the copies of the last vertex cut, made into the vertex it split,
    // and only while nothing else has changed the mesh.
    if (!undoRecordValid(mesh, cuts, cutKindVertex) || v != cuts.undoVertex || cuts.cutAddedCount <= 0)
        return outcomeOk;
    if (!restoreDroppedVertices(mesh, cuts))
        return outcomeOk;
    // v was recorded in the numbering the restore brings back, below the copies.
    int n = mesh.vertexCount - cuts.cutAddedCount;
    if (v < 0 || v >= n)
        return outcomeOk;
    for (int i = 0; i < mesh.faceCount; ++i) {
        if (mesh.faceA[i] >= n)
            mesh.faceA[i] = v;
        if (mesh.faceB[i] >= n)
            mesh.faceB[i] = v;
        if (mesh.faceC[i] >= n)
            mesh.faceC[i] = v;
    }
    mesh.vertexCount = n;
    meshChangedByCut(cuts);
    return rebuildTopology(mesh);
}

// ---- The edge cut

namespace {
// Triangles handled by the walks of the cut in progress (kept between cuts to reuse their room).
std::vector<int> walkTriangles;

// An edge cut that changes nothing.
CutResult refuseEdgeCut(CutRecord& cuts)
{
    cuts.cutAddedCount = 0;
    cuts.undoRecordKind = cutKindNone;
    return {cutRefused, outcomeOk};
}

// A two-click cut that cannot be made: the pending edge is dropped as well.
CutResult cancelTwoClickCut(CutRecord& cuts)
{
    cuts.pendingEdge = -1;
    cuts.pendingMark = PendingEdgeMark();
    return refuseEdgeCut(cuts);
}

// In each listed triangle, corners equal to from become to.
void moveOneVertex(Mesh& mesh, int from, int to)
{
    for (int t : walkTriangles) {
        if (mesh.faceA[t] == from)
            mesh.faceA[t] = to;
        if (mesh.faceB[t] == from)
            mesh.faceB[t] = to;
        if (mesh.faceC[t] == from)
            mesh.faceC[t] = to;
    }
}

// In each listed triangle, a corner equal to s1 becomes c1, otherwise one equal to s2 becomes c2.
void moveTwoVertices(Mesh& mesh, int s1, int c1, int s2, int c2)
{
    for (int t : walkTriangles) {
        int* corners[3] = {&mesh.faceA[t], &mesh.faceB[t], &mesh.faceC[t]};
        for (int* corner : corners) {
            if (*corner == s1)
                *corner = c1;
            else if (*corner == s2)
                *corner = c2;
        }
    }
}

// The common end of every edge cut that changed the mesh: record, rebuild.
Outcome finishEdgeCut(Mesh& mesh, CutRecord& cuts, int added)
{
    noteDroppedVertices(mesh, cuts);
    meshChangedByCut(cuts);
    cuts.cutAddedCount = added;
    Outcome built = rebuildTopology(mesh);
    recordUndo(mesh, cuts, cutKindEdge);
    return built;
}

CutResult throughCut(Mesh& mesh, CutRecord& cuts, int e)
{
    int s1 = mesh.edgeA[e], s2 = mesh.edgeB[e];
    walkTriangles.clear();
    int firstEdge = -1, unused = -1;
    if (!walkFan(mesh, {e, -1, s1, s2, -1}, walkTriangles, firstEdge) ||
        !walkFan(mesh, {e, firstEdge, s1, s2, -1}, walkTriangles, unused)) {
        return refuseEdgeCut(cuts);
    }
    int n = mesh.vertexCount;
    ensureVertexRoom(mesh, n + 2);
    appendVertexCopy(mesh, s2);
    appendVertexCopy(mesh, s1);
    moveTwoVertices(mesh, s1, n + 1, s2, n);
    cuts.cutSource1 = s1;
    cuts.cutSource2 = s2;
    return {cutMade, finishEdgeCut(mesh, cuts, 2)};
}

CutResult oneEndCut(Mesh& mesh, CutRecord& cuts, int e, int end)
{
    walkTriangles.clear();
    int firstEdge = -1;
    if (!walkFan(mesh, {e, -1, end, -1, -1}, walkTriangles, firstEdge)) {
        return refuseEdgeCut(cuts);
    }
    int n = mesh.vertexCount;
    ensureVertexRoom(mesh, n + 1);
    appendVertexCopy(mesh, end);
    moveOneVertex(mesh, end, n);
    cuts.cutSource1 = end;
    return {cutMade, finishEdgeCut(mesh, cuts, 1)};
}

bool pendingEdgeValid(const Mesh& mesh, const CutRecord& cuts)
{
    const PendingEdgeMark& m = cuts.pendingMark;
    return cuts.pendingEdge >= 0 && cuts.pendingEdge < mesh.edgeCount && mesh.edgeA[cuts.pendingEdge] == m.a &&
           mesh.edgeB[cuts.pendingEdge] == m.b && mesh.revision == m.revision;
}

CutResult twoClickCut(Mesh& mesh, CutRecord& cuts, int e)
{
    if (!pendingEdgeValid(mesh, cuts)) {
        // First click: the edge waits for the second one; nothing to undo yet.
        cuts.pendingEdge = e;
        cuts.pendingMark = {mesh.edgeA[e], mesh.edgeB[e], mesh.revision};
        cuts.undoRecordKind = cutKindNone;
        return {cutFirstEdgeKept, outcomeOk};
    }
    int p = cuts.pendingEdge;
    if (p == e) {
        return cancelTwoClickCut(cuts);
    }
    int v = -1;
    if (mesh.edgeA[p] == mesh.edgeA[e])
        v = mesh.edgeA[e];
    if (mesh.edgeB[p] == mesh.edgeA[e])
        v = mesh.edgeA[e];
    if (mesh.edgeA[p] == mesh.edgeB[e])
        v = mesh.edgeB[e];
    if (mesh.edgeB[p] == mesh.edgeB[e])
        v = mesh.edgeB[e];
    if (v < 0) {
        return cancelTwoClickCut(cuts);
    }
    walkTriangles.clear();
    int firstEdge = -1;
    buildFanIndex(mesh, v, -1);
    if (!walkFan(mesh, {e, -1, v, -1, p}, walkTriangles, firstEdge)) {
        return cancelTwoClickCut(cuts);
    }
    int n = mesh.vertexCount;
    ensureVertexRoom(mesh, n + 1);
    appendVertexCopy(mesh, v);
    moveOneVertex(mesh, v, n);
    cuts.cutSource1 = v;
    return {cutMadeOnSecondEdge, finishEdgeCut(mesh, cuts, 1)};
}
} // namespace

CutResult cutEdge(Mesh& mesh, CutRecord& cuts, int e)
{
    if (!mesh.topologyBuilt || e < 0 || e >= mesh.edgeCount || e >= static_cast<int>(mesh.edgeA.size())) {
        return refuseEdgeCut(cuts);
    }
    int a = mesh.edgeA[e], b = mesh.edgeB[e];
    int k = 0, lastEnd = -1;
    int boundaryEnd = mesh.boundaryEdgeCount < mesh.edgeCount ? mesh.boundaryEdgeCount : mesh.edgeCount;
    for (int i = 0; i < boundaryEnd; ++i) {
        if (a == mesh.edgeA[i])
            ++k, lastEnd = a;
        if (a == mesh.edgeB[i])
            ++k, lastEnd = a;
        if (b == mesh.edgeA[i])
            ++k, lastEnd = b;
        if (b == mesh.edgeB[i])
            ++k, lastEnd = b;
    }
    if (k >= 3 && mesh.edgeFace2[e] == -1) {
        return refuseEdgeCut(cuts);
    }
    if (k >= 3) {
        buildFanIndex(mesh, a, b);
        return throughCut(mesh, cuts, e);
    }
    if (k == 2) {
        buildFanIndex(mesh, lastEnd, -1);
        return oneEndCut(mesh, cuts, e, lastEnd);
    }
    return twoClickCut(mesh, cuts, e);
}

Outcome undoEdgeCut(Mesh& mesh, CutRecord& cuts)
{
    // Only the copies of the last edge cut, and only while nothing else has changed the mesh.
    if (!undoRecordValid(mesh, cuts, cutKindEdge) || cuts.cutAddedCount < 1 || cuts.cutAddedCount > 2)
        return outcomeOk;
    // A walk may have moved every triangle of an end to its copy, so that the
    // rebuild dropped the end: it comes back first, with the numbering the copies refer to.
    if (!restoreDroppedVertices(mesh, cuts))
        return outcomeOk;
    int n = mesh.vertexCount - cuts.cutAddedCount;
    if (cuts.cutSource1 < 0 || cuts.cutSource1 >= n || (cuts.cutAddedCount == 2 && (cuts.cutSource2 < 0 || cuts.cutSource2 >= n)))
        return outcomeOk;
    int last = mesh.vertexCount - 1, beforeLast = mesh.vertexCount - 2;
    for (int i = 0; i < mesh.faceCount; ++i) {
        int* corners[3] = {&mesh.faceA[i], &mesh.faceB[i], &mesh.faceC[i]};
        for (int* corner : corners) {
            if (*corner == last)
                *corner = cuts.cutSource1;
            else if (cuts.cutAddedCount == 2 && *corner == beforeLast)
                *corner = cuts.cutSource2;
        }
    }
    mesh.vertexCount = n;
    meshChangedByCut(cuts);
    return rebuildTopology(mesh);
}

// ---- The face cut

CutResult cutFace(Mesh& mesh, CutRecord& cuts, int f)
{
    if (!mesh.topologyBuilt || f < 0 || f >= mesh.faceCount) {
        cuts.undoRecordKind = cutKindNone;
        return {cutRefused, outcomeOk};
    }
    int a = mesh.faceA[f], b = mesh.faceB[f], c = mesh.faceC[f];
    for (int i = f + 1; i < mesh.faceCount; ++i) {
        mesh.faceA[i - 1] = mesh.faceA[i];
        mesh.faceB[i - 1] = mesh.faceB[i];
        mesh.faceC[i - 1] = mesh.faceC[i];
    }
    --mesh.faceCount;
    mesh.faceA[mesh.faceCount] = a;
    mesh.faceB[mesh.faceCount] = b;
    mesh.faceC[mesh.faceCount] = c;
    cuts.removedCorners[0] = a;
    cuts.removedCorners[1] = b;
    cuts.removedCorners[2] = c;
    noteDroppedVertices(mesh, cuts);
    meshChangedByCut(cuts);
    Outcome built = rebuildTopology(mesh);
    recordUndo(mesh, cuts, cutKindFace);
    return {cutMade, built};
}

Outcome undoFaceCut(Mesh& mesh, CutRecord& cuts)
{
    // Only the triangle of the last face cut, and only while nothing else has changed the mesh.
    if (!undoRecordValid(mesh, cuts, cutKindFace) || !restoreDroppedVertices(mesh, cuts))
        return outcomeOk;
    if (static_cast<int>(mesh.faceA.size()) <= mesh.faceCount) {
        growIntArray(mesh.faceA, mesh.faceCount, mesh.faceCount + 1);
        growIntArray(mesh.faceB, mesh.faceCount, mesh.faceCount + 1);
        growIntArray(mesh.faceC, mesh.faceCount, mesh.faceCount + 1);
    }
    mesh.faceA[mesh.faceCount] = cuts.removedCorners[0];
    mesh.faceB[mesh.faceCount] = cuts.removedCorners[1];
    mesh.faceC[mesh.faceCount] = cuts.removedCorners[2];
    ++mesh.faceCount;
    meshChangedByCut(cuts);
    return rebuildTopology(mesh);
}

// ---- The undo

CutResult undoLastCut(Mesh& mesh, CutRecord& cuts)
{
    // Only the cut that made the last change of the mesh can be undone; a
    // click that changed nothing (a refused pick, the first edge of a
    // two-click cut) leaves nothing to undo.
    if (!undoRecordValid(mesh, cuts, cuts.undoRecordKind))
        return {cutRefused, outcomeOk};
    switch (cuts.undoRecordKind) {
    case cutKindVertex:
        return {cutMade, undoVertexCut(mesh, cuts, cuts.undoVertex)};
    case cutKindEdge:
        return {cutMade, undoEdgeCut(mesh, cuts)};
    case cutKindFace:
        return {cutMade, undoFaceCut(mesh, cuts)};
    default:
        return {cutRefused, outcomeOk};
    }
}
