// Triplet matrix assembly with a hashed lookup of existing (row, column) pairs.
#include "param/triplet_matrix.h"

#include <algorithm>

namespace {

std::uint64_t pairKey(int row, int col)
{
    return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(row)) << 32) | static_cast<std::uint32_t>(col);
}

// First slot of the column within its row's block: spreads the columns of one
// row over the block so that lookups usually stop at the first probe.
int firstSlot(int col) { return static_cast<int>((static_cast<std::uint32_t>(col) * 2654435761u) >> 28); }

// Sizes the lookup for the current capacity and enters every existing entry.
void rebuildLookup(TripletMatrix& m)
{
    int blocks = 1;
    while (blocks < m.capacity / 8 + 1)
        blocks *= 2;
    m.slots.assign(static_cast<size_t>(blocks) * slotsPerBlock, 0);
    m.blockMask = blocks - 1;
    m.overflow.clear();
    for (int k = 0; k < m.count; ++k) {
        int* block = m.slots.data() + static_cast<size_t>(m.rows[k] & m.blockMask) * slotsPerBlock;
        int s = firstSlot(m.cols[k]);
        int i = 0;
        while (i < slotsPerBlock && block[(s + i) & (slotsPerBlock - 1)] != 0)
            ++i;
        if (i < slotsPerBlock)
            block[(s + i) & (slotsPerBlock - 1)] = k + 1;
        else
            m.overflow.emplace(pairKey(m.rows[k], m.cols[k]), k);
    }
}

} // namespace

void createTriplets(TripletMatrix& matrix, int capacity)
{
    capacity = std::max(capacity, 0);
    matrix.rows.assign(static_cast<size_t>(capacity), 0);
    matrix.cols.assign(static_cast<size_t>(capacity), 0);
    matrix.values.assign(static_cast<size_t>(capacity), 0.0);
    matrix.count = 0;
    matrix.capacity = capacity;
    rebuildLookup(matrix);
}

void growTriplets(TripletMatrix& matrix)
{
    size_t newCapacity = static_cast<size_t>(matrix.capacity) + tripletGrowth;
    matrix.rows.resize(newCapacity, 0);
    matrix.cols.resize(newCapacity, 0);
    matrix.values.resize(newCapacity, 0.0);
    matrix.capacity += tripletGrowth;
    // Keep the table at most about half full as the matrix outgrows it.
    if (matrix.capacity / 8 + 1 > matrix.blockMask + 1)
        rebuildLookup(matrix);
}

void addMatrixEntry(TripletMatrix& matrix, int row, int col, double value)
{
    int* block = matrix.slots.data() + static_cast<size_t>(row & matrix.blockMask) * slotsPerBlock;
    int s = firstSlot(col);
    int freeSlot = -1;
    for (int i = 0; i < slotsPerBlock; ++i) {
        int slot = (s + i) & (slotsPerBlock - 1);
        int k = block[slot] - 1;
        if (k < 0) {
            freeSlot = slot;
            break;
        }
        if (matrix.cols[k] == col && matrix.rows[k] == row) {
            matrix.values[k] += value;
            return;
        }
    }
    // Slots are never freed, so a pair added while its block had room is in
    // the block; only a full block sends the search on to the overflow.
    if (freeSlot < 0) {
        auto found = matrix.overflow.find(pairKey(row, col));
        if (found != matrix.overflow.end()) {
            matrix.values[found->second] += value;
            return;
        }
    }
    if (matrix.count == matrix.capacity) {
        growTriplets(matrix);
        // The lookup may have been rebuilt: add through the fresh table.
        addMatrixEntry(matrix, row, col, value);
        return;
    }
    int k = matrix.count;
    matrix.rows[k] = row;
    matrix.cols[k] = col;
    matrix.values[k] = value;
    matrix.count = k + 1;
    if (freeSlot >= 0)
        block[freeSlot] = k + 1;
    else
        matrix.overflow.emplace(pairKey(row, col), k);
}

void releaseTriplets(TripletMatrix& matrix)
{
    BigArray<int>().swap(matrix.rows);
    BigArray<int>().swap(matrix.cols);
    BigArray<double>().swap(matrix.values);
    BigArray<int>().swap(matrix.slots);
    matrix.overflow.clear();
    matrix.count = 0;
    matrix.capacity = 0;
    matrix.blockMask = 0;
}
