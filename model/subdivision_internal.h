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

// New positions of the old vertices 0 .. V-1 into vertexX/Y/Z, from the ring
// sums the triangle loop left there and the summaries; faces and split-edge
// table still those of the step.
void moveOldVertices(const std::vector<RingSummary>& rings, const std::vector<int>& oldA,
                     const std::vector<int>& oldB, const std::vector<int>& oldC, int oldFaceCount);
