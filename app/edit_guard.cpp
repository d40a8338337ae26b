// The copy of the model kept while an edit is tried.
#include "app/edit_guard.h"

#include <new>
#include <vector>

#include "app/messages.h"
#include "base/store.h"
#include "model/cutting.h"
#include "model/topology.h"

namespace {
struct ModelCopy {
    int vertexCount, faceCount, edgeCount, boundaryEdgeCount, boundaryLoopLength, edgeCapacity;
    std::vector<double> x, y, z, u, v;
    std::vector<int> a, b, c, edgeA, edgeB, edgeFace1, edgeFace2;
    bool topologyBuilt, uvComputed, closedWarned;
};
// Its blocks are kept from edit to edit, so that a copy touches no fresh memory.
ModelCopy kept;

template <typename T> void copyInto(std::vector<T>& to, const std::vector<T>& from) { to.assign(from.begin(), from.end()); }
} // namespace

bool keepModelBeforeEdit()
{
    ModelCopy& k = kept;
    try {
        copyInto(k.x, vertexX);
        copyInto(k.y, vertexY);
        copyInto(k.z, vertexZ);
        copyInto(k.u, vertexU);
        copyInto(k.v, vertexV);
        copyInto(k.a, faceA);
        copyInto(k.b, faceB);
        copyInto(k.c, faceC);
        copyInto(k.edgeA, edgeA);
        copyInto(k.edgeB, edgeB);
        copyInto(k.edgeFace1, edgeFace1);
        copyInto(k.edgeFace2, edgeFace2);
        keepCutRecord();
    } catch (const std::bad_alloc&) {
        return false;
    }
    k.vertexCount = vertexCount;
    k.faceCount = faceCount;
    k.edgeCount = edgeCount;
    k.boundaryEdgeCount = boundaryEdgeCount;
    k.boundaryLoopLength = boundaryLoopLength;
    k.edgeCapacity = edgeCapacity;
    k.topologyBuilt = topologyBuilt;
    k.uvComputed = uvComputed;
    k.closedWarned = closedWarned;
    return true;
}

void putModelBack()
{
    // The store's arrays are at least as large as the copies were, or were
    // freed by the edit; swapping never needs new memory.
    ModelCopy& k = kept;
    vertexX.swap(k.x);
    vertexY.swap(k.y);
    vertexZ.swap(k.z);
    vertexU.swap(k.u);
    vertexV.swap(k.v);
    faceA.swap(k.a);
    faceB.swap(k.b);
    faceC.swap(k.c);
    edgeA.swap(k.edgeA);
    edgeB.swap(k.edgeB);
    edgeFace1.swap(k.edgeFace1);
    edgeFace2.swap(k.edgeFace2);
    vertexCount = k.vertexCount;
    faceCount = k.faceCount;
    edgeCount = k.edgeCount;
    boundaryEdgeCount = k.boundaryEdgeCount;
    boundaryLoopLength = k.boundaryLoopLength;
    edgeCapacity = k.edgeCapacity;
    topologyBuilt = k.topologyBuilt;
    uvComputed = k.uvComputed;
    closedWarned = k.closedWarned;
    restoreCutRecord();
}

void showEditRefused(const std::string& what, Outcome why) { showError(what + " n'est pas possible : " + outcomeText(why)); }

CutResult guardedCut(CutResult (*cut)(int), int element)
{
    if (!keepModelBeforeEdit())
        return {cutRefused, outcomeNoMemory};
    CutResult result;
    try {
        result = cut(element);
    } catch (const std::bad_alloc&) {
        result = {cutRefused, outcomeNoMemory};
    }
    if (result.outcome != outcomeOk)
        putModelBack();
    return result;
}

CutResult undoAsCut(int) { return undoLastCut(); }
