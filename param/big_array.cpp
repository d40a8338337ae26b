// Big blocks for the solvers, reused within a parameterization.
#include "param/big_array.h"

#include <array>
#include <cstdlib>
#include <mutex>
#include <new>

namespace {

// A freed block kept for reuse, with its usable size.
struct KeptBlock {
    void* data;
    std::size_t bytes;
};

// Guards the kept blocks and the scope count (the solvers allocate on two threads).
std::mutex keptLock;
// Freed big blocks waiting for a request that fits (a fixed table, so that
// freeing never allocates; a block that finds it full is freed at once).
std::array<KeptBlock, 64> keptBlocks;
std::size_t keptCount = 0;
// Open BigBlockReuse scopes.
int reuseScopes = 0;

std::size_t roundedUp(std::size_t bytes) { return (bytes + bigBlockBytes - 1) / bigBlockBytes * bigBlockBytes; }

// A block from the system, in plain pages: on these machines a fresh huge
// page costs several times more to touch than the small pages the system
// hands back after a free.
void* systemBlock(std::size_t bytes)
{
    void* p = std::malloc(bytes ? bytes : 1);
    if (!p)
        throw std::bad_alloc();
    return p;
}

} // namespace

void* allocateBigBlock(std::size_t bytes)
{
    if (bytes < bigBlockBytes)
        return systemBlock(bytes);
    const std::size_t size = roundedUp(bytes);
    {
        // The smallest kept block that holds the request: its pages are touched already.
        std::lock_guard<std::mutex> hold(keptLock);
        std::size_t best = keptCount;
        for (std::size_t k = 0; k < keptCount; ++k)
            if (keptBlocks[k].bytes >= size && (best == keptCount || keptBlocks[k].bytes < keptBlocks[best].bytes))
                best = k;
        if (best < keptCount) {
            void* p = keptBlocks[best].data;
            keptBlocks[best] = keptBlocks[--keptCount];
            return p;
        }
    }
    return systemBlock(size);
}

void freeBigBlock(void* block, std::size_t bytes)
{
    if (bytes >= bigBlockBytes) {
        std::lock_guard<std::mutex> hold(keptLock);
        if (reuseScopes > 0 && keptCount < keptBlocks.size()) {
            keptBlocks[keptCount++] = {block, roundedUp(bytes)};
            return;
        }
    }
    std::free(block);
}

BigBlockReuse::BigBlockReuse()
{
    std::lock_guard<std::mutex> hold(keptLock);
    ++reuseScopes;
}

BigBlockReuse::~BigBlockReuse()
{
    std::lock_guard<std::mutex> hold(keptLock);
    if (--reuseScopes > 0)
        return;
    for (std::size_t k = 0; k < keptCount; ++k)
        std::free(keptBlocks[k].data);
    keptCount = 0;
}
