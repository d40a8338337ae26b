// Pieces of the Loop subdivision step shared between its source files.
#pragma once

#include <cstddef>
#include <vector>

// Error texts of the step.
inline constexpr const char* impossibleModelText = "Modèle impossible";
inline constexpr const char* tooLargeModelText = "Modèle trop grand pour être subdivisé";
inline constexpr const char* subdivisionMemoryText = "Mémoire insuffisante pour la subdivision";

// Asks the system to back a large block with huge pages: a step on a million
// triangles writes a hundred megabytes of fresh memory, and touching it page
// by page costs more than the arithmetic.
void adviseStepBlock(void* data, std::size_t bytes);

// Makes the array exactly n entries long, all zero, in a fresh advised block.
// Throws std::bad_alloc (or std::length_error) when it cannot be had.
template <typename T> void allocZeroedBlock(std::vector<T>& array, std::size_t n)
{
    std::vector<T> fresh;
    fresh.reserve(n);
    adviseStepBlock(fresh.data(), n * sizeof(T));
    fresh.resize(n);
    array.swap(fresh);
}

// Empties the array and gives it room for n entries, not yet touched.
template <typename T> void reserveEmptyBlock(std::vector<T>& array, std::size_t n)
{
    std::vector<T> fresh;
    fresh.reserve(n);
    adviseStepBlock(fresh.data(), n * sizeof(T));
    array.swap(fresh);
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

// The split-edge table's entry for the pair, or -1, without any message
// (safe to call from a second thread while the table does not change).
int lookupSplitEdge(int v1, int v2);

// Sums the ring of every old vertex in list order into vertexX/Y/Z 0 .. V-1
// (zero beforehand) and fills the summaries (zero beforehand), from the old
// triangles and the complete split-edge table. Touches no other store data.
void sumRings(std::vector<RingSummary>& rings, const std::vector<int>& oldA, const std::vector<int>& oldB,
              const std::vector<int>& oldC, int oldFaceCount);
// Whether the vertex's ring has one, three or more entries occurring once, so
// that the exchanges reorder it before it is summed.
bool needsReordering(const RingSummary& ring);
// Moves every old vertex whose ring needs no reordering to its new position,
// from the sums sumRings left and oldX/Y/Z.
void moveOldVertices(const std::vector<RingSummary>& rings);
// Moves the vertices whose ring needs reordering: their lists rebuilt from the
// old triangles, exchanged, summed.
void moveReorderedVertices(const std::vector<RingSummary>& rings, const std::vector<int>& oldA,
                           const std::vector<int>& oldB, const std::vector<int>& oldC, int oldFaceCount);
