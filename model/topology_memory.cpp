// Working arrays of the topology builder. Large blocks are asked to be backed
// by huge pages where the system offers them: a mesh of a million triangles
// needs tens of megabytes of edge arrays, and touching them page by page
// costs more than building the table.
#include <algorithm>
#include <cstdint>
#include <new>
#include <stdexcept>

#include "model/topology_internal.h"

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace {

void adviseLargeBlock(void* data, size_t bytes)
{
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    constexpr size_t hugePage = size_t(2) << 20;
    if (bytes < 2 * hugePage)
        return;
    uintptr_t begin = (reinterpret_cast<uintptr_t>(data) + hugePage - 1) & ~(hugePage - 1);
    uintptr_t end = (reinterpret_cast<uintptr_t>(data) + bytes) & ~(hugePage - 1);
    if (end > begin)
        madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
#else
    (void)data;
    (void)bytes;
#endif
}

// Gives the array a block of at least n entries without touching it yet.
template <typename T> bool reserveBlock(std::vector<T>& array, size_t n, bool keep)
{
    if (array.capacity() >= n)
        return true;
    try {
        std::vector<T> fresh;
        fresh.reserve(n);
        adviseLargeBlock(fresh.data(), n * sizeof(T));
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
