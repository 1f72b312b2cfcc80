// Large blocks that the line texts of a loaded file are carved from.
//
// A program of millions of lines would otherwise cost one heap block (and its
// malloc header) per line and spend most of the load in the allocator.  Slots
// handed out here are never freed one by one: a line that outgrows its slot
// moves to a heap block of its own and simply abandons the slot; all blocks go
// together when the buffer is cleared.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "LargeBlock.h"

class LineStore
{
public:
    // Returns room for size bytes, aligned to 16.  Never null.
    char* Allocate(size_t size);

    void Clear();

    size_t BytesReserved() const { return m_reserved; }

private:
    // Blocks start small and double up to kBlockSize, so that a program of
    // a few lines does not take (and the allocator clear) megabytes, while
    // a large one soon gets blocks big enough to cost nothing per line.
    static constexpr size_t kFirstBlockSize = size_t(64) << 10;
    static constexpr size_t kBlockSize = size_t(4) << 20;

    std::vector<std::unique_ptr<char, BlockDeleter>> m_blocks;
    char* m_next = nullptr;
    size_t m_left = 0;
    size_t m_reserved = 0;
    size_t m_nextBlockSize = kFirstBlockSize;
};
