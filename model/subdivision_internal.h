// Pieces of the Loop subdivision step shared between its source files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "model/huge_pages.h"
#include "model/mesh.h"
#include "model/subdivision.h"


struct LoopStepWork;

// Makes an empty table with room for every side of the mesh's faceCount
// triangles. False (and no table) when a corner lies outside 0 .. vertexCount-1
// or the face arrays are shorter than faceCount. May throw std::bad_alloc.
bool prepareSplitEdgeTable(Mesh& mesh, LoopStepWork& work);
// Frees the table.
void releaseSplitEdgeTable(LoopStepWork& work);
// Adds the unordered pair unless it is there; returns its entry either way.
int registerSplitEdge(LoopStepWork& work, int v1, int v2);
// The entry of the unordered pair. A pair that is not in the table sets
// splitEdgeMissing and gives entry 0 (or -1 when the table is empty).
int findSplitEdge(LoopStepWork& work, int v1, int v2);
// Computes the vertex of an entry's edge from the coordinates before the step
// (midpoint on an edge of one triangle, 3/8 3/8 1/8 1/8 otherwise), stores it
// at index vertexCount, records it in splitEdgeVertex, increases vertexCount
// and returns its index.
int makeEdgeVertex(Mesh& mesh, LoopStepWork& work, int entry);



// Makes the array exactly n entries long, all zero, in a fresh advised block
// (whatever it held is freed first). Throws std::bad_alloc (or
// std::length_error) when it cannot be had.
template <typename T> void allocZeroedBlock(std::vector<T>& array, std::size_t n)
{
    std::vector<T>().swap(array);
    array.reserve(n);
    adviseHugePages(array.data(), n * sizeof(T));
    array.resize(n);
}

// Makes the array exactly n entries long, all equal to value, reusing its
// block when it is large enough (scratch arrays are kept from step to step:
// touching a fresh page costs more than filling it).
template <typename T> void filledBlock(std::vector<T>& array, std::size_t n, const T& value)
{
    if (array.capacity() < n) {
        std::vector<T>().swap(array);
        array.reserve(n);
        adviseHugePages(array.data(), n * sizeof(T));
    }
    array.assign(n, value);
}

// Empties the array and gives it room for n entries, reusing its block when
// it is large enough.
template <typename T> void emptyBlock(std::vector<T>& array, std::size_t n)
{
    array.clear();
    if (array.capacity() < n) {
        std::vector<T>().swap(array);
        array.reserve(n);
        adviseHugePages(array.data(), n * sizeof(T));
    }
}

// Frees the array's block.
template <typename T> void freeBlock(std::vector<T>& array) { std::vector<T>().swap(array); }


// What the triangle loop gathers about the ring of one old vertex: its number
// of triangle corners, how many ring entries occur exactly once, and the first
// two of those in ring order.
struct RingSummary {
    int corners;
    int singles;
    int first;
    int second;
};

// The working data of a step: the coordinates before it, the split-edge
// table and the ring summaries. Its blocks are kept from step to step, since
// touching fresh pages costs more than filling them.
struct LoopStepWork {
    // Coordinates of vertices 0 .. V-1 as they were before the step; every new
    // position is computed from these. Exist only during a step.
    std::vector<double> oldX, oldY, oldZ;

    // The split-edge table: one entry per distinct edge of the triangles being
    // split, in the order of first registration. Exists only during a step (or
    // between prepareSplitEdgeTable and releaseSplitEdgeTable).
    // Smaller and larger end vertex of each entry.
    std::vector<int> splitEdgeLow, splitEdgeHigh;
    // New vertex made on each entry's edge, -1 until it is made.
    std::vector<int> splitEdgeVertex;
    // The first two corners opposite the edge, in triangle order and within a
    // triangle sides A-B, B-C, C-A; the second is -1 on an edge of one triangle.
    std::vector<int> splitEdgeOpposite1, splitEdgeOpposite2;
    // Number of entries in the table.
    int splitEdgeCount = 0;
    // A lookup missed a side during the step in progress.
    bool splitEdgeMissing = false;

    // Buckets of the split-edge table: vertex p's bucket, the slots
    // splitBucketStart[p] .. splitBucketStart[p+1]-1, holds the entries whose
    // smaller end is p. It has one slot per triangle side whose smaller end is p,
    // so it never runs out; a bucket of at most smallSplitBucket slots is searched
    // from its start, a larger one (a vertex of high valence) is an open-addressed
    // table of twice that size, which keeps every lookup short.
    std::vector<std::size_t> splitBucketStart;
    // Entry held by each bucket slot, -1 when free.
    std::vector<int> splitBucketSlot;
    // Number of vertices the buckets were made for.
    int splitBucketVertexCount = 0;

    // The ring summaries of the step's old vertices.
    std::vector<RingSummary> ringSummaries;
};
inline constexpr std::size_t smallSplitBucket = 16;

// The slot that holds the pair's entry, or the free slot where it belongs, or
// null when the pair cannot be in the table (a vertex outside the buckets, or
// a full bucket without it).
inline int* locateSplitEdge(LoopStepWork& work, int low, int high)
{
    if (low < 0 || high >= work.splitBucketVertexCount)
        return nullptr;
    std::size_t begin = work.splitBucketStart[static_cast<std::size_t>(low)];
    std::size_t size = work.splitBucketStart[static_cast<std::size_t>(low) + 1] - begin;
    int* slot = work.splitBucketSlot.data() + begin;
    const int* highs = work.splitEdgeHigh.data();
    if (size <= smallSplitBucket) {
        for (std::size_t i = 0; i < size; ++i)
            if (slot[i] < 0 || highs[slot[i]] == high)
                return slot + i;
        return nullptr;
    }
    std::size_t mask = size - 1;
    std::uint32_t hash = static_cast<std::uint32_t>(high) * 0x9E3779B1u;
    std::size_t i = (hash ^ (hash >> 15)) & mask;
    for (std::size_t probes = 0; probes < size; ++probes, i = (i + 1) & mask)
        if (slot[i] < 0 || highs[slot[i]] == high)
            return slot + i;
    return nullptr;
}

// The split-edge table's entry for the pair, or -1, without any message
// (safe to call from a second thread while the table does not change).
inline int lookupSplitEdge(LoopStepWork& work, int v1, int v2)
{
    const int* slot = v1 < v2 ? locateSplitEdge(work, v1, v2) : locateSplitEdge(work, v2, v1);
    return slot ? *slot : -1;
}

// Empties the split-edge table, keeping its blocks for the next step.
void emptySplitEdgeTable(LoopStepWork& work);

// Registers the three sides of every triangle (A-B, B-C, C-A) in the
// prepared table and keeps, for each edge, the first two corners opposite it.
// False if a side found no room (never, for the triangles the table was
// prepared from).
bool registerTriangleSides(Mesh& mesh, LoopStepWork& work);

// Sums the ring of every old vertex in list order into vertexX/Y/Z 0 .. V-1
// (zero beforehand) and fills the summaries (zero beforehand), from the old
// triangles and the complete split-edge table. Touches no other store data.
void sumRings(Mesh& mesh, LoopStepWork& work, std::vector<RingSummary>& rings, const std::vector<int>& oldA, const std::vector<int>& oldB,
              const std::vector<int>& oldC, int oldFaceCount);
// Whether the vertex's ring has one, three or more entries occurring once, so
// that the exchanges reorder it before it is summed.
bool needsReordering(const RingSummary& ring);
// Moves every old vertex whose ring needs no reordering to its new position,
// from the sums sumRings left and oldX/Y/Z.
void moveOldVertices(Mesh& mesh, LoopStepWork& work, const std::vector<RingSummary>& rings);
// Moves the vertices whose ring needs reordering: their lists rebuilt from the
// old triangles, exchanged, summed.
void moveReorderedVertices(Mesh& mesh, LoopStepWork& work, const std::vector<RingSummary>& rings, const std::vector<int>& oldA,
                           const std::vector<int>& oldB, const std::vector<int>& oldC, int oldFaceCount);
