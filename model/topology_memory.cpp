// Working arrays of the topology builder. Large blocks are asked to be backed
// by huge pages where the system offers them: a mesh of a million triangles
// needs tens of megabytes of edge arrays, and touching them page by page
// costs more than building the table.
#include <algorithm>
#include <cstdint>
#include <new>
#include <stdexcept>

#include "model/huge_pages.h"
#include "model/topology_internal.h"

namespace {

// Gives the array a block of at least n entries without touching it yet.
template <typename T> bool reserveBlock(std::vector<T>& array, size_t n, bool keep)
{
    if (array.capacity() >= n)
        return true;
    try {
        std::vector<T> fresh;
        fresh.reserve(n);
        adviseHugePages(fresh.data(), n * sizeof(T));
        if (keep)
            fresh.assign(array.begin(), array.end());
        array.swap(fresh);
    } catch (const std::bad_alloc&) {
        return false;
    } catch (const std::length_error&) {
        return false;
    }
    return true;
}

} // namespace

bool fillIntArray(std::vector<int>& array, size_t n, int value, size_t room)
{
    if (room <= n || !reserveBlock(array, room, false))
        if (!reserveBlock(array, n, false))
            return false;
    array.assign(n, value);
    return true;
}

bool fillByteArray(std::vector<unsigned char>& array, size_t n, unsigned char value)
{
    if (!reserveBlock(array, n, false))
        return false;
    array.assign(n, value);
    return true;
}

bool lengthenIntArray(std::vector<int>& array, size_t n, int value)
{
    if (n <= array.size())
        return true;
    if (!reserveBlock(array, n, true))
        return false;
    array.resize(n, value);
    return true;
}
