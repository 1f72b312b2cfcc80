// Memory for the big arrays of a loaded program: line texts, the line array
// and the move list.
//
// A program of a hundred megabytes needs several hundred megabytes of such
// arrays, and faulting them in 4 KiB page by page costs more time than
// reading and splitting the file.  Blocks of at least a huge page are
// therefore aligned to 2 MiB and offered to the kernel for transparent huge
// pages; smaller blocks are ordinary heap blocks, so that small programs do
// not pay for memory they never touch.  Every block is freed with FreeBlock.
#pragma once

#include <cstddef>
#include <cstdlib>
#include <new>
#include <sys/mman.h>

constexpr size_t kHugePageSize = size_t(2) << 20;

// hugePages false keeps a large block on ordinary pages, for one that is
// often mostly unused.
inline void* AllocateBlock(size_t size, bool hugePages = true)
{
    void* block;
    if (hugePages && size >= kHugePageSize) {
        size = (size + kHugePageSize - 1) & ~(kHugePageSize - 1);
        block = std::aligned_alloc(kHugePageSize, size);
        // Only advice: without huge pages the block works the same.
        if (block)
            ::madvise(block, size, MADV_HUGEPAGE);
    } else {
        block = std::malloc(size ? size : 1);
    }
    if (!block)
        throw std::bad_alloc();
    return block;
}

inline void FreeBlock(void* block)
{
    std::free(block);
}

struct BlockDeleter
{
    void operator()(void* block) const { FreeBlock(block); }
};

// For std::vector: large vectors get huge pages too.
template <class T>
struct BlockAllocator
{
    using value_type = T;

    BlockAllocator() = default;
    template <class U>
    BlockAllocator(const BlockAllocator<U>&) noexcept
    {
    }

    T* allocate(size_t count) { return static_cast<T*>(AllocateBlock(count * sizeof(T))); }
    void deallocate(T* block, size_t) noexcept { FreeBlock(block); }

    template <class U>
    bool operator==(const BlockAllocator<U>&) const noexcept
    {
        return true;
    }
};
