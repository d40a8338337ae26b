// Arrays of millions of entries for the solvers. A fresh memory page costs far
// more to touch than to write, so large blocks are asked for in huge pages
// where the system offers them; the contents behave like any std::vector.
#pragma once

#include <cstddef>
#include <cstdlib>
#include <new>
#include <vector>

#if defined(__linux__)
#include <sys/mman.h>
#endif

// Allocator giving blocks of 2 MiB and more in huge pages when possible.
template <typename T> struct BigAllocator {
    using value_type = T;
    BigAllocator() = default;
    template <typename U> BigAllocator(const BigAllocator<U>&) {}

    T* allocate(std::size_t n)
    {
        std::size_t bytes = n * sizeof(T);
        constexpr std::size_t huge = std::size_t{2} << 20;
        void* p = nullptr;
        if (bytes >= huge) {
            p = std::aligned_alloc(huge, (bytes + huge - 1) / huge * huge);
#if defined(__linux__) && defined(MADV_HUGEPAGE)
            if (p)
                madvise(p, (bytes + huge - 1) / huge * huge, MADV_HUGEPAGE);
#endif
        } else {
            p = std::malloc(bytes ? bytes : 1);
        }
        if (!p)
            throw std::bad_alloc();
        return static_cast<T*>(p);
    }
    void deallocate(T* p, std::size_t) { std::free(p); }
    template <typename U> bool operator==(const BigAllocator<U>&) const { return true; }
};

// A std::vector whose large blocks live in huge pages.
template <typename T> using BigArray = std::vector<T, BigAllocator<T>>;
