// The triplet matrix: hashed lookup against the plain scan of the entries,
// first-insertion order, growth by 5000 entries.
#include "param/triplet_matrix.h"
#include "tests/param/param_support.h"

#include <gtest/gtest.h>

namespace {

// The plain layout: a linear scan for the pair, append when new.
struct ScanMatrix {
    std::vector<int> rows, cols;
    std::vector<double> values;
    int count = 0, capacity = 0;
    void add(int row, int col, double value)
    {
        for (int k = 0; k < count; ++k)
            if (rows[k] == row && cols[k] == col) {
                values[k] += value;
                return;
            }
        if (count == capacity) {
            capacity += 5000;
            rows.resize(capacity, 0);
            cols.resize(capacity, 0);
            values.resize(capacity, 0.0);
        }
        rows[count] = row;
        cols[count] = col;
        values[count] = value;
        ++count;
    }
};

void expectSame(const TripletMatrix& m, const ScanMatrix& s)
{
    ASSERT_EQ(m.count, s.count);
    ASSERT_EQ(m.capacity, s.capacity);
    ASSERT_EQ(m.rows.size(), static_cast<size_t>(s.capacity));
    for (int k = 0; k < s.capacity; ++k) {
        ASSERT_EQ(m.rows[k], s.rows[k]) << k;
        ASSERT_EQ(m.cols[k], s.cols[k]) << k;
        ASSERT_EQ(m.values[k], s.values[k]) << k;
    }
}

// Pairs drawn from a few rows with many columns each (full blocks), from rows
// far beyond the capacity (shared blocks), with many repeats, and growing
// past the first capacity: the same arrays as the scan, entry for entry.
TEST(TripletMatrixTest, LookupMatchesTheScan)
{
    for (int capacity : {0, 7, 64, 12000}) {
        std::mt19937 random(capacity + 1);
        std::uniform_int_distribution<int> row(0, 40), col(0, 60), farRow(0, 1 << 30), kind(0, 9);
        std::uniform_real_distribution<double> value(-1.0, 1.0);
        TripletMatrix m;
        createTriplets(m, capacity);
        ScanMatrix s;
        s.capacity = capacity;
        s.rows.assign(capacity, 0);
        s.cols.assign(capacity, 0);
        s.values.assign(capacity, 0.0);
        std::vector<std::pair<int, int>> seen;
        for (int step = 0; step < 9000; ++step) {
            int r, c;
            int k = kind(random);
            if (k < 3 && !seen.empty()) {
                auto p = seen[std::uniform_int_distribution<size_t>(0, seen.size() - 1)(random)];
                r = p.first;
                c = p.second;
            } else if (k == 3) {
                r = farRow(random);
                c = farRow(random);
            } else {
                r = row(random);
                c = col(random);
            }
            double v = value(random);
            addMatrixEntry(m, r, c, v);
            s.add(r, c, v);
            seen.emplace_back(r, c);
        }
        expectSame(m, s);
        releaseTriplets(m);
        EXPECT_EQ(m.count, 0);
        EXPECT_EQ(m.capacity, 0);
    }
}

TEST(TripletMatrixTest, GrowthKeepsEntriesAndZeroesTheRest)
{
    TripletMatrix m;
    createTriplets(m, 2);
    addMatrixEntry(m, 0, 0, 1.5);
    addMatrixEntry(m, 3, 1, 2.0);
    addMatrixEntry(m, 0, 0, 0.25);
    EXPECT_EQ(m.count, 2);
    EXPECT_EQ(m.capacity, 2);
    addMatrixEntry(m, 1, 3, -1.0);
    EXPECT_EQ(m.count, 3);
    EXPECT_EQ(m.capacity, 5002);
    EXPECT_EQ(m.values[0], 1.75);
    EXPECT_EQ(m.rows[1], 3);
    EXPECT_EQ(m.cols[2], 3);
    EXPECT_EQ(m.values[2], -1.0);
    EXPECT_EQ(m.rows[3], 0);
    EXPECT_EQ(m.values[5001], 0.0);
    growTriplets(m);
    EXPECT_EQ(m.capacity, 10002);
    EXPECT_EQ(m.values.size(), 10002u);
    EXPECT_EQ(m.values[0], 1.75);
    // Still found after the growth.
    addMatrixEntry(m, 3, 1, 1.0);
    EXPECT_EQ(m.count, 3);
    EXPECT_EQ(m.values[1], 3.0);
}

} // namespace
