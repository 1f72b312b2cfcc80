// Block allocator for loaded line texts.
#include "LineStore.h"

#include <algorithm>

char* LineStore::Allocate(size_t size)
{
    size = (size + 15) & ~size_t(15);
    if (size > kBlockSize / 4) {
        // A very long line gets a block of its own so that the current block's
        // remainder is not wasted.
        m_blocks.emplace_back(static_cast<char*>(AllocateBlock(size)));
        m_reserved += size;
        return m_blocks.back().get();
    }
    if (size > m_left) {
        const size_t blockSize = std::max(m_nextBlockSize, size);
        m_nextBlockSize = std::min(m_nextBlockSize * 2, kBlockSize);
        m_blocks.emplace_back(static_cast<char*>(AllocateBlock(blockSize)));
        m_reserved += blockSize;
        m_next = m_blocks.back().get();
        m_left = blockSize;
    }
    char* slot = m_next;
    m_next += size;
    m_left -= size;
    return slot;
}

void LineStore::Clear()
{
    m_blocks.clear();
    m_blocks.shrink_to_fit();
    m_next = nullptr;
    m_left = 0;
    m_reserved = 0;
    m_nextBlockSize = kFirstBlockSize;
}
