// The sparse system matrix of the parameterization in triplet layout: three
// parallel arrays (row, column, value), each (row, column) pair at most once,
// entries in the order in which each pair was first added. The solvers read
// the arrays directly.
#pragma once

#include "param/big_array.h"

#include <cstdint>
#include <unordered_map>

struct TripletMatrix {
    // Row, column and value of each entry; A[rows[k]][cols[k]] = values[k].
    BigArray<int> rows, cols;
    BigArray<double> values;
    // Entries in use, and entries the three arrays hold.
    int count = 0;
    int capacity = 0;

    // Lookup of existing pairs: a hash table of blocks of slotsPerBlock slots,
    // one block per row (rows beyond the block count share blocks), each slot
    // holding an entry position + 1 (0 = free). A pair whose block was full
    // when it was added is kept in overflow instead.
    BigArray<int> slots;
    int blockMask = 0;
    std::unordered_map<std::uint64_t, int> overflow;
};

// Slots in one block of the lookup table (one cache line of ints).
inline constexpr int slotsPerBlock = 16;
// Entries added to the arrays each time they are full.
inline constexpr int tripletGrowth = 5000;

// Makes the matrix empty with room for `capacity` entries (arrays all zero).
void createTriplets(TripletMatrix& matrix, int capacity);
// Adds value to the entry (row, col), appending the entry when the pair is new
// (growing the arrays first when they are full).
void addMatrixEntry(TripletMatrix& matrix, int row, int col, double value);
// Enlarges the three arrays by tripletGrowth entries (old entries kept, new ones zero).
void growTriplets(TripletMatrix& matrix);
// Frees the arrays and the lookup; count and capacity become 0.
void releaseTriplets(TripletMatrix& matrix);
