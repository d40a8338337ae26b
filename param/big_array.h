// Arrays of millions of entries for the solvers. A fresh memory page costs far
// more to touch than to write, so while a parameterization runs, a block
// freed by one step is handed to the next one instead of going back to the
// system; the contents behave like any std::vector.
#pragma once

#include <cstddef>
#include <vector>

// Blocks of at least this size are big blocks.
inline constexpr std::size_t bigBlockBytes = std::size_t{2} << 20;

// A block of at least `bytes` bytes; throws std::bad_alloc when there is none.
void* allocateBigBlock(std::size_t bytes);
// Gives back a block of allocateBigBlock(bytes).
void freeBigBlock(void* block, std::size_t bytes);

// While one of these lives, freed big blocks are kept and reused by later
// requests that fit in them; the last one to end gives them all back.
struct BigBlockReuse {
    BigBlockReuse();
    ~BigBlockReuse();
    BigBlockReuse(const BigBlockReuse&) = delete;
    BigBlockReuse& operator=(const BigBlockReuse&) = delete;
};

template <typename T> struct BigAllocator {
    using value_type = T;
    BigAllocator() = default;
    template <typename U> BigAllocator(const BigAllocator<U>&) {}

    T* allocate(std::size_t n) { return static_cast<T*>(allocateBigBlock(n * sizeof(T))); }
    void deallocate(T* p, std::size_t n) { freeBigBlock(p, n * sizeof(T)); }
    template <typename U> bool operator==(const BigAllocator<U>&) const { return true; }
};

// A std::vector whose large blocks are reused.
template <typename T> using BigArray = std::vector<T, BigAllocator<T>>;
