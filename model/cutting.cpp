// The cuts: a vertex split into one copy per triangle corner, the mesh opened
// along one edge or a pair of edges, a triangle removed; the undo of the last
// of these, and the record both rely on. The fan walks that decide which
// triangles an edge cut moves are in cutting_fan.cpp.
#include "model/cutting.h"

#include <algorithm>
#include <cstring>

#include "base/store.h"
#include "model/cutting_internal.h"
#include "model/topology.h"

int cutAddedCount = 0;
int cutSource1 = 0, cutSource2 = 0;
int pendingEdge = -1;
int undoRecordKind = cutKindNone;
int undoVertex = -1;
PendingEdgeMark pendingMark = {-1, -1, 0};
unsigned long long undoFingerprint = 0;

// ---- The undo record

unsigned long long meshFingerprint()
{
    // FNV-1a over the words of the mesh in use.
    unsigned long long h = 1469598103934665603ULL;
    auto mix = [&h](unsigned long long word) {
        h ^= word;
        h *= 1099511628211ULL;
    };
    mix(static_cast<unsigned>(vertexCount));
    mix(static_cast<unsigned>(faceCount));
    mix(static_cast<unsigned>(edgeCount));
    int faces = std::min<int>(faceCount, static_cast<int>(std::min({faceA.size(), faceB.size(), faceC.size()})));
    for (int i = 0; i < faces; ++i)
        mix((static_cast<unsigned long long>(static_cast<unsigned>(faceA[i])) << 32) ^
            (static_cast<unsigned long long>(static_cast<unsigned>(faceB[i])) << 16) ^
            static_cast<unsigned>(faceC[i]));
    int vertices =
        std::min<int>(vertexCount, static_cast<int>(std::min({vertexX.size(), vertexY.size(), vertexZ.size()})));
    for (int i = 0; i < vertices; ++i) {
        double c[3] = {vertexX[i], vertexY[i], vertexZ[i]};
        for (double d : c) {
            unsigned long long bits;
            std::memcpy(&bits, &d, sizeof bits);
            mix(bits);
        }
    }
    return h;
}

bool undoRecordValid(int kind) { return undoRecordKind == kind && meshFingerprint() == undoFingerprint; }

void recordUndo(int kind)
{
    undoRecordKind = kind;
    undoFingerprint = meshFingerprint();
}

void meshChangedByCut()
{
    pendingEdge = -1;
    pendingMark = {-1, -1, 0};
    undoRecordKind = cutKindNone;
}

void forgetPendingCut() { meshChangedByCut(); }

void initCutState()
{
    cutAddedCount = 0;
    cutSource1 = cutSource2 = 0;
    meshChangedByCut();
    undoVertex = -1;
}

// ---- Vertices added and dropped by a cut

void ensureVertexRoom(int n)
{
    if (static_cast<int>(vertexX.size()) < n)
        growDoubleArray(vertexX, vertexCount, n);
    if (static_cast<int>(vertexY.size()) < n)
        growDoubleArray(vertexY, vertexCount, n);
    if (static_cast<int>(vertexZ.size()) < n)
        growDoubleArray(vertexZ, vertexCount, n);
}

void appendVertexCopy(int source)
{
    vertexX[vertexCount] = vertexX[source];
    vertexY[vertexCount] = vertexY[source];
    vertexZ[vertexCount] = vertexZ[source];
    ++vertexCount;
}

// The vertices a cut's rebuild drops because no triangle uses them any more:
// noted before the rebuild so that the undo can put them back at their former
// numbers, which the copies and the kept triangle still refer to.
namespace {
// Vertex count when the note was taken.
int countAtNote = 0;
// Vertices the rebuild drops: their numbers (increasing) and coordinates.
std::vector<int> droppedIndex;
std::vector<double> droppedX, droppedY, droppedZ;
// Scratch: which vertices the triangles use; later, new number to old number.
std::vector<int> vertexScratch;
} // namespace

void noteDroppedVertices()
{
    countAtNote = vertexCount;
    droppedIndex.clear();
    droppedX.clear();
    droppedY.clear();
    droppedZ.clear();
    vertexScratch.assign(static_cast<size_t>(vertexCount), 0);
    for (int i = 0; i < faceCount; ++i) {
        int corners[3] = {faceA[i], faceB[i], faceC[i]};
        for (int c : corners)
            if (c >= 0 && c < vertexCount)
                vertexScratch[c] = 1;
    }
    for (int v = 0; v < vertexCount; ++v) {
        if (vertexScratch[v])
            continue;
        droppedIndex.push_back(v);
        droppedX.push_back(vertexX[v]);
        droppedY.push_back(vertexY[v]);
        droppedZ.push_back(vertexZ[v]);
    }
}

bool restoreDroppedVertices()
{
    int kept = vertexCount;
    if (kept != countAtNote - static_cast<int>(droppedIndex.size()))
        return false;
    if (droppedIndex.empty())
        return true;
    ensureVertexRoom(countAtNote);
    vertexScratch.assign(static_cast<size_t>(kept), 0);
    // From the top down, so no vertex is overwritten before it has moved.
    int j = static_cast<int>(droppedIndex.size()) - 1;
    int k = kept - 1;
    for (int i = countAtNote - 1; i >= 0; --i) {
        if (j >= 0 && droppedIndex[j] == i) {
            vertexX[i] = droppedX[j];
            vertexY[i] = droppedY[j];
            vertexZ[i] = droppedZ[j];
            --j;
        } else {
            vertexX[i] = vertexX[k];
            vertexY[i] = vertexY[k];
            vertexZ[i] = vertexZ[k];
            vertexScratch[k] = i;
            --k;
        }
    }
    for (int f = 0; f < faceCount; ++f) {
        int* corners[3] = {&faceA[f], &faceB[f], &faceC[f]};
        for (int* corner : corners)
            if (*corner >= 0 && *corner < kept)
                *corner = vertexScratch[*corner];
    }
    vertexCount = countAtNote;
    return true;
}

// ---- The vertex cut

namespace {
int countCorners(int v)
{
    int c = 0;
    for (int i = 0; i < faceCount; ++i)
        c += (faceA[i] == v) + (faceB[i] == v) + (faceC[i] == v);
    return c;
}

// A vertex cut that cuts nothing: nothing to undo.
CutResult refuseVertexCut()
{
    cutAddedCount = 0;
    undoRecordKind = cutKindNone;
    return {cutRefused, outcomeOk};
}
} // namespace

CutResult cutVertex(int v)
{
    if (!topologyBuilt || v < 0 || v >= vertexCount)
        return refuseVertexCut();
    int c = countCorners(v);
    if (c < 2)
        return refuseVertexCut();
    int n = vertexCount;
    ensureVertexRoom(n + c - 1);
    for (int k = 0; k < c - 1; ++k)
        appendVertexCopy(v);
    // The first corner equal to v keeps it; the k-th later one gets copy n + k.
    int seen = 0;
    for (int i = 0; i < faceCount; ++i) {
        int* corners[3] = {&faceA[i], &faceB[i], &faceC[i]};
        for (int* corner : corners) {
            if (*corner != v)
                continue;
            if (seen > 0)
                *corner = n + seen - 1;
            ++seen;
        }
    }
    noteDroppedVertices();
    meshChangedByCut();
    cutAddedCount = c - 1;
    undoVertex = v;
    Outcome built = rebuildTopology();
    recordUndo(cutKindVertex);
    return {cutMade, built};
}

Outcome undoVertexCut(int v)
{
    // Only the copies of the last vertex cut, made into the vertex it split,
    // and only while nothing else has changed the mesh.
    if (!undoRecordValid(cutKindVertex) || v != undoVertex || cutAddedCount <= 0)
        return outcomeOk;
    if (!restoreDroppedVertices())
        return outcomeOk;
    // v was recorded in the numbering the restore brings back, below the copies.
    int n = vertexCount - cutAddedCount;
    if (v < 0 || v >= n)
        return outcomeOk;
    for (int i = 0; i < faceCount; ++i) {
        if (faceA[i] >= n)
            faceA[i] = v;
        if (faceB[i] >= n)
            faceB[i] = v;
        if (faceC[i] >= n)
            faceC[i] = v;
    }
    vertexCount = n;
    meshChangedByCut();
    return rebuildTopology();
}

// ---- The edge cut

namespace {
// Triangles handled by the walks of the cut in progress (kept between cuts to reuse their room).
std::vector<int> walkTriangles;

// An edge cut that changes nothing.
CutResult refuseEdgeCut()
{
    cutAddedCount = 0;
    undoRecordKind = cutKindNone;
    return {cutRefused, outcomeOk};
}

// A two-click cut that cannot be made: the pending edge is dropped as well.
CutResult cancelTwoClickCut()
{
    pendingEdge = -1;
    pendingMark = {-1, -1, 0};
    return refuseEdgeCut();
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
Outcome finishEdgeCut(int added)
{
    noteDroppedVertices();
    meshChangedByCut();
    cutAddedCount = added;
    Outcome built = rebuildTopology();
    recordUndo(cutKindEdge);
    return built;
}

CutResult throughCut(int e)
{
    int s1 = edgeA[e], s2 = edgeB[e];
    walkTriangles.clear();
    int firstEdge = -1, unused = -1;
    if (!walkFan({e, -1, s1, s2, -1}, walkTriangles, firstEdge) ||
        !walkFan({e, firstEdge, s1, s2, -1}, walkTriangles, unused)) {
        return refuseEdgeCut();
    }
    int n = vertexCount;
    ensureVertexRoom(n + 2);
    appendVertexCopy(s2);
    appendVertexCopy(s1);
    moveTwoVertices(s1, n + 1, s2, n);
    cutSource1 = s1;
    cutSource2 = s2;
    return {cutMade, finishEdgeCut(2)};
}

CutResult oneEndCut(int e, int end)
{
    walkTriangles.clear();
    int firstEdge = -1;
    if (!walkFan({e, -1, end, -1, -1}, walkTriangles, firstEdge)) {
        return refuseEdgeCut();
    }
    int n = vertexCount;
    ensureVertexRoom(n + 1);
    appendVertexCopy(end);
    moveOneVertex(end, n);
    cutSource1 = end;
    return {cutMade, finishEdgeCut(1)};
}

bool pendingEdgeValid()
{
    const PendingEdgeMark& m = pendingMark;
    return pendingEdge >= 0 && pendingEdge < edgeCount && edgeA[pendingEdge] == m.a &&
           edgeB[pendingEdge] == m.b && meshFingerprint() == m.fingerprint;
}

CutResult twoClickCut(int e)
{
    if (!pendingEdgeValid()) {
        // First click: the edge waits for the second one; nothing to undo yet.
        pendingEdge = e;
        pendingMark = {edgeA[e], edgeB[e], meshFingerprint()};
        undoRecordKind = cutKindNone;
        return {cutFirstEdgeKept, outcomeOk};
    }
    int p = pendingEdge;
    if (p == e) {
        return cancelTwoClickCut();
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
        return cancelTwoClickCut();
    }
    walkTriangles.clear();
    int firstEdge = -1;
    buildFanIndex(v, -1);
    if (!walkFan({e, -1, v, -1, p}, walkTriangles, firstEdge)) {
        return cancelTwoClickCut();
    }
    int n = vertexCount;
    ensureVertexRoom(n + 1);
    appendVertexCopy(v);
    moveOneVertex(v, n);
    cutSource1 = v;
    return {cutMadeOnSecondEdge, finishEdgeCut(1)};
}
} // namespace

CutResult cutEdge(int e)
{
    if (!topologyBuilt || e < 0 || e >= edgeCount || e >= static_cast<int>(edgeA.size())) {
        return refuseEdgeCut();
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
        return refuseEdgeCut();
    }
    if (k >= 3) {
        buildFanIndex(a, b);
        return throughCut(e);
    }
    if (k == 2) {
        buildFanIndex(lastEnd, -1);
        return oneEndCut(e, lastEnd);
    }
    return twoClickCut(e);
}

Outcome undoEdgeCut()
{
    // Only the copies of the last edge cut, and only while nothing else has changed the mesh.
    if (!undoRecordValid(cutKindEdge) || cutAddedCount < 1 || cutAddedCount > 2)
        return outcomeOk;
    // A walk may have moved every triangle of an end to its copy, so that the
    // rebuild dropped the end: it comes back first, with the numbering the copies refer to.
    if (!restoreDroppedVertices())
        return outcomeOk;
    int n = vertexCount - cutAddedCount;
    if (cutSource1 < 0 || cutSource1 >= n || (cutAddedCount == 2 && (cutSource2 < 0 || cutSource2 >= n)))
        return outcomeOk;
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
    return rebuildTopology();
}

// ---- The face cut

namespace {
// The corners of the removed triangle, in the vertex numbering before the cut.
int removedCorners[3] = {0, 0, 0};
} // namespace

CutResult cutFace(int f)
{
    if (!topologyBuilt || f < 0 || f >= faceCount) {
        undoRecordKind = cutKindNone;
        return {cutRefused, outcomeOk};
    }
    int a = faceA[f], b = faceB[f], c = faceC[f];
    for (int i = f + 1; i < faceCount; ++i) {
        faceA[i - 1] = faceA[i];
        faceB[i - 1] = faceB[i];
        faceC[i - 1] = faceC[i];
    }
    --faceCount;
    faceA[faceCount] = a;
    faceB[faceCount] = b;
    faceC[faceCount] = c;
    removedCorners[0] = a;
    removedCorners[1] = b;
    removedCorners[2] = c;
    noteDroppedVertices();
    meshChangedByCut();
    Outcome built = rebuildTopology();
    recordUndo(cutKindFace);
    return {cutMade, built};
}

Outcome undoFaceCut()
{
    // Only the triangle of the last face cut, and only while nothing else has changed the mesh.
    if (!undoRecordValid(cutKindFace) || !restoreDroppedVertices())
        return outcomeOk;
    if (static_cast<int>(faceA.size()) <= faceCount) {
        growIntArray(faceA, faceCount, faceCount + 1);
        growIntArray(faceB, faceCount, faceCount + 1);
        growIntArray(faceC, faceCount, faceCount + 1);
    }
    faceA[faceCount] = removedCorners[0];
    faceB[faceCount] = removedCorners[1];
    faceC[faceCount] = removedCorners[2];
    ++faceCount;
    meshChangedByCut();
    return rebuildTopology();
}

// ---- The undo

CutResult undoLastCut()
{
    // Only the cut that made the last change of the mesh can be undone; a
    // click that changed nothing (a refused pick, the first edge of a
    // two-click cut) leaves nothing to undo.
    if (!undoRecordValid(undoRecordKind))
        return {cutRefused, outcomeOk};
    switch (undoRecordKind) {
    case cutKindVertex:
        return {cutMade, undoVertexCut(undoVertex)};
    case cutKindEdge:
        return {cutMade, undoEdgeCut()};
    case cutKindFace:
        return {cutMade, undoFaceCut()};
    default:
        return {cutRefused, outcomeOk};
    }
}

// ---- The record kept aside while an edit is tried

namespace {
struct CutRecordCopy {
    int addedCount, source1, source2, pending, recordKind, vertex;
    PendingEdgeMark mark;
    unsigned long long fingerprint;
    int noteCount;
    std::vector<int> index;
    std::vector<double> x, y, z;
    int corners[3];
};
CutRecordCopy keptRecord;
} // namespace

void keepCutRecord()
{
    CutRecordCopy& k = keptRecord;
    k.addedCount = cutAddedCount;
    k.source1 = cutSource1;
    k.source2 = cutSource2;
    k.pending = pendingEdge;
    k.recordKind = undoRecordKind;
    k.vertex = undoVertex;
    k.mark = pendingMark;
    k.fingerprint = undoFingerprint;
    k.noteCount = countAtNote;
    k.index.assign(droppedIndex.begin(), droppedIndex.end());
    k.x.assign(droppedX.begin(), droppedX.end());
    k.y.assign(droppedY.begin(), droppedY.end());
    k.z.assign(droppedZ.begin(), droppedZ.end());
    std::copy(removedCorners, removedCorners + 3, k.corners);
}

void restoreCutRecord()
{
    CutRecordCopy& k = keptRecord;
    cutAddedCount = k.addedCount;
    cutSource1 = k.source1;
    cutSource2 = k.source2;
    pendingEdge = k.pending;
    undoRecordKind = k.recordKind;
    undoVertex = k.vertex;
    pendingMark = k.mark;
    undoFingerprint = k.fingerprint;
    countAtNote = k.noteCount;
    // Swapped, not copied: putting the record back never needs memory.
    droppedIndex.swap(k.index);
    droppedX.swap(k.x);
    droppedY.swap(k.y);
    droppedZ.swap(k.z);
    std::copy(k.corners, k.corners + 3, removedCorners);
}
