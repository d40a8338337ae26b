// Large blocks of the subdivision step, asked to be backed by huge pages where
// the system offers them.
#include <cstdint>

#include "model/subdivision_internal.h"

#if defined(__linux__)
#include <sys/mman.h>
#endif

void adviseStepBlock(void* data, std::size_t bytes)
{
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    constexpr std::size_t hugePage = std::size_t(2) << 20;
    if (bytes < hugePage)
        return;
    std::uintptr_t begin = (reinterpret_cast<std::uintptr_t>(data) + hugePage - 1) & ~(hugePage - 1);
    std::uintptr_t end = (reinterpret_cast<std::uintptr_t>(data) + bytes) & ~(hugePage - 1);
    if (end > begin)
        madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
#else
    (void)data;
    (void)bytes;
#endif
}
