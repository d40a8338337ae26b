// The growth rules of the mesh arrays.
#include "model/mesh.h"

#include <algorithm>

namespace {
template <typename T> void growArray(std::vector<T>& array, int oldCount, int newCount)
{
    if (newCount < 0)
        newCount = 0;
    oldCount = std::clamp(oldCount, 0, newCount);
    size_t keep = std::min<size_t>(static_cast<size_t>(oldCount), array.size());
    array.resize(static_cast<size_t>(newCount));
    std::fill(array.begin() + static_cast<long>(keep), array.end(), T(0));
}
} // namespace

void allocIntArray(std::vector<int>& array, int n)
{
    array.assign(static_cast<size_t>(std::max(n, 0)), 0);
}

void allocDoubleArray(std::vector<double>& array, int n)
{
    array.assign(static_cast<size_t>(std::max(n, 0)), 0.0);
}

void growIntArray(std::vector<int>& array, int oldCount, int newCount) { growArray(array, oldCount, newCount); }

void growDoubleArray(std::vector<double>& array, int oldCount, int newCount)
{
    growArray(array, oldCount, newCount);
}

void swapInts(int& a, int& b)
{
    int t = a;
    a = b;
    b = t;
}
