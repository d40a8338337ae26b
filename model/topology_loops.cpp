// Boundary loops: each walk starts at the first boundary position not yet
// walked and always takes, from the vertex it has reached, the lowest
// boundary position not yet walked that touches that vertex. The longest walk
// (the first of equally long ones) is laid out again from position 0 on.
//
// Each boundary edge is followed by its position as it stood when the search
// began (its "id"); positions change only by the exchanges of the laying out,
// which are done on the id <-> position tables and applied to the edge arrays
// once at the end. The lowest free position at a vertex comes from that
// vertex's own short list of boundary edges, or, for a vertex where many
// boundary edges meet, from a heap of (position, id) pairs whose stale entries
// are dropped when they reach the top.
#include <algorithm>
#include <climits>
#include <cstdint>
#include <functional>

#include "model/mesh.h"
#include "model/topology.h"
#include "model/topology_internal.h"

namespace {

// A vertex with more boundary edges than this looks them up through a heap.
constexpr int heapDegree = 16;

// Per id: current position, and per position: id.
std::vector<int> positionOf, idAt;
// Per id: loop number, -1 while not yet walked.
std::vector<int> loopLabel;
// Boundary vertex slots: list bounds, then the ids touching each slot.
std::vector<int> slotStart, slotEdges;
// Per slot: its heap number, -1 for a short list.
std::vector<int> slotHeap;
// Heaps of (position << 32 | id), smallest on top, for the busy vertices; the
// first heapsInUse serve the build in progress, the others keep their room for later builds.
std::vector<std::vector<uint64_t>> heaps;
size_t heapsInUse = 0;
// Ids taken by the walk in progress.
std::vector<int> walked;
// Copies of the boundary part of the edge arrays, by id.
std::vector<int> copyA, copyB, copyFace1;

int* vertexSlot = nullptr;
const int* endA = nullptr;
const int* endB = nullptr;

void pushEntry(int slot, int id)
{
    std::vector<uint64_t>& heap = heaps[static_cast<size_t>(slotHeap[slot])];
    heap.push_back((static_cast<uint64_t>(static_cast<uint32_t>(positionOf[id])) << 32) | static_cast<uint32_t>(id));
    std::push_heap(heap.begin(), heap.end(), std::greater<uint64_t>());
}

// Records that the id is free to walk at its current position.
void announce(int id)
{
    const int slotA = vertexSlot[endA[id]], slotB = vertexSlot[endB[id]];
    if (slotHeap[slotA] >= 0)
        pushEntry(slotA, id);
    if (slotB != slotA && slotHeap[slotB] >= 0)
        pushEntry(slotB, id);
}

// Puts the edges at positions p and k in each other's place.
void exchange(int p, int k)
{
    const int idP = idAt[p], idK = idAt[k];
    idAt[p] = idK;
    idAt[k] = idP;
    positionOf[idK] = p;
    positionOf[idP] = k;
    if (loopLabel[idK] == -1)
        announce(idK);
    if (loopLabel[idP] == -1)
        announce(idP);
}

// The lowest position of a boundary edge not yet walked that touches vertex v, or -1.
int lowestFreePosition(int v)
{
    const int slot = vertexSlot[v];
    const int heapNumber = slotHeap[slot];
    if (heapNumber < 0) {
        int best = INT_MAX;
        for (int i = slotStart[slot]; i < slotStart[slot + 1]; ++i) {
            const int id = slotEdges[i];
            if (loopLabel[id] == -1 && positionOf[id] < best)
                best = positionOf[id];
        }
        return best == INT_MAX ? -1 : best;
    }
    std::vector<uint64_t>& heap = heaps[static_cast<size_t>(heapNumber)];
    while (!heap.empty()) {
        const uint64_t top = heap.front();
        const int id = static_cast<int>(static_cast<uint32_t>(top));
        const int position = static_cast<int>(top >> 32);
        if (loopLabel[id] == -1 && positionOf[id] == position)
            return position;
        std::pop_heap(heap.begin(), heap.end(), std::greater<uint64_t>());
        heap.pop_back();
    }
    return -1;
}

// Gives every vertex on the boundary a slot listing the ids that touch it.
void buildSlots(int boundary)
{
    for (int id = 0; id < boundary; ++id) {
        vertexSlot[endA[id]] = -1;
        vertexSlot[endB[id]] = -1;
    }
    int slots = 0;
    for (int id = 0; id < boundary; ++id) {
        if (vertexSlot[endA[id]] < 0)
            vertexSlot[endA[id]] = slots++;
        if (vertexSlot[endB[id]] < 0)
            vertexSlot[endB[id]] = slots++;
    }
    const size_t edges = static_cast<size_t>(boundary);
    if (!fillIntArray(slotStart, static_cast<size_t>(slots) + 1, 0) || !fillIntArray(slotEdges, 2 * edges, 0) ||
        !fillIntArray(slotHeap, static_cast<size_t>(slots), -1))
        refuseTopology(outcomeEdgeMemory);
    for (int id = 0; id < boundary; ++id) {
        ++slotStart[vertexSlot[endA[id]] + 1];
        ++slotStart[vertexSlot[endB[id]] + 1];
    }
    for (int s = 0; s < slots; ++s)
        slotStart[s + 1] += slotStart[s];
    // slotHeap serves as the fill cursor of each list until the lists are full.
    for (int s = 0; s < slots; ++s)
        slotHeap[s] = slotStart[s];
    for (int id = 0; id < boundary; ++id) {
        slotEdges[slotHeap[vertexSlot[endA[id]]]++] = id;
        slotEdges[slotHeap[vertexSlot[endB[id]]]++] = id;
    }
    heapsInUse = 0;
    for (int s = 0; s < slots; ++s) {
        slotHeap[s] = -1;
        if (slotStart[s + 1] - slotStart[s] > heapDegree) {
            if (heapsInUse == heaps.size())
                heaps.emplace_back();
            heaps[heapsInUse].clear();
            slotHeap[s] = static_cast<int>(heapsInUse++);
        }
    }
    for (int s = 0; s < slots; ++s)
        if (slotHeap[s] >= 0)
            for (int i = slotStart[s]; i < slotStart[s + 1]; ++i)
                pushEntry(s, slotEdges[i]);
}

// The other end of the id seen from vertex v (edgeA is tested first).
inline int otherEnd(int id, int v) { return endA[id] == v ? endB[id] : endA[id]; }

} // namespace

void orderBoundaryLoops(Mesh& mesh, std::vector<int>& vertexScratch)
{
    const int boundary = mesh.boundaryEdgeCount;
    const size_t edges = static_cast<size_t>(boundary);
    if (vertexScratch.size() < static_cast<size_t>(mesh.vertexCount) &&
        !fillIntArray(vertexScratch, static_cast<size_t>(mesh.vertexCount), -1))
        refuseTopology(outcomeEdgeMemory);
    if (!fillIntArray(positionOf, edges, 0) || !fillIntArray(idAt, edges, 0) || !fillIntArray(loopLabel, edges, -1))
        refuseTopology(outcomeEdgeMemory);
    walked.clear();
    vertexSlot = vertexScratch.data();
    endA = mesh.edgeA.data();
    endB = mesh.edgeB.data();
    for (int id = 0; id < boundary; ++id) {
        positionOf[id] = id;
        idAt[id] = id;
    }
    buildSlots(boundary);

    int label = 0;
    size_t bestSize = 0;
    int scan = 0;
    mesh.boundaryLoopLength = 0;
    for (;;) {
        // Positions before the scan point hold walked edges only, and stay so.
        while (scan < boundary && loopLabel[idAt[scan]] != -1)
            ++scan;
        if (scan == boundary)
            break;
        const int s = scan;
        const int first = idAt[s];
        ++label;
        loopLabel[first] = label;
        const int start = endA[first];
        int current = endB[first];
        walked.clear();
        walked.push_back(first);
        do {
            const int k = lowestFreePosition(current);
            if (k < 0) {
                if (current != start)
                    refuseTopology(outcomeLoopError);
                break;
            }
            const int id = idAt[k];
            loopLabel[id] = label;
            walked.push_back(id);
            current = otherEnd(id, current);
        } while (current != start);

        if (walked.size() <= bestSize)
            continue;
        bestSize = walked.size();
        // Lay the loop out again from position 0, walking it the same way.
        for (int id : walked)
            loopLabel[id] = -1;
        for (int id : walked)
            announce(id);
        loopLabel[first] = label;
        exchange(0, s);
        current = endB[idAt[0]];
        int p = 1;
        do {
            const int k = lowestFreePosition(current);
            if (k < 0) {
                if (current != start)
                    refuseTopology(outcomeLoopError);
                break;
            }
            const int id = idAt[k];
            loopLabel[id] = label;
            current = otherEnd(id, current);
            exchange(p, k);
            ++p;
        } while (current != start);
        mesh.boundaryLoopLength = p;
    }

    // Apply the final order to the boundary part of the edge arrays.
    if (!fillIntArray(copyA, edges, 0) || !fillIntArray(copyB, edges, 0) || !fillIntArray(copyFace1, edges, 0))
        refuseTopology(outcomeEdgeMemory);
    std::copy(mesh.edgeA.begin(), mesh.edgeA.begin() + boundary, copyA.begin());
    std::copy(mesh.edgeB.begin(), mesh.edgeB.begin() + boundary, copyB.begin());
    std::copy(mesh.edgeFace1.begin(), mesh.edgeFace1.begin() + boundary, copyFace1.begin());
    for (int position = 0; position < boundary; ++position) {
        const int id = idAt[position];
        mesh.edgeA[position] = copyA[id];
        mesh.edgeB[position] = copyB[id];
        mesh.edgeFace1[position] = copyFace1[id];
        mesh.edgeFace2[position] = -1;
    }
}
