// The interpreter's move list: records appended at the tail, read by index
// and from head to tail.
//
// A large program has millions of moves, so the list keeps 56 bytes per
// record and allocates only once per chunk of 2^18 records (exactly seven
// huge pages).  Chunks never move, so a record's address stays valid while
// the list grows, and indexing is a shift and a mask.  The first chunk stays
// on ordinary pages: most programs fill only a small part of it, and only
// the pages they touch take memory.
#pragma once

#include <cstddef>
#include <iterator>
#include <memory>
#include <vector>

#include "LargeBlock.h"
#include "MoveRecord.h"

class MoveList
{
public:
    static constexpr size_t kChunkShift = 18;
    static constexpr size_t kChunkSize = size_t(1) << kChunkShift;
    static_assert(kChunkSize * sizeof(MoveRecord) % kHugePageSize == 0);

    class const_iterator
    {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = MoveRecord;
        using difference_type = std::ptrdiff_t;
        using pointer = const MoveRecord*;
        using reference = const MoveRecord&;

        const_iterator() = default;
        reference operator*() const { return (*m_list)[m_index]; }
        pointer operator->() const { return &(*m_list)[m_index]; }
        const_iterator& operator++()
        {
            ++m_index;
            return *this;
        }
        const_iterator operator++(int)
        {
            const_iterator before = *this;
            ++m_index;
            return before;
        }
        bool operator==(const const_iterator& other) const { return m_index == other.m_index; }

    private:
        friend class MoveList;
        const_iterator(const MoveList* list, size_t index) : m_list(list), m_index(index) {}

        const MoveList* m_list = nullptr;
        size_t m_index = 0;
    };

    size_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }
    // Records the allocated chunks can hold without allocating again.
    size_t capacity() const { return m_chunks.size() * kChunkSize; }

    const MoveRecord& operator[](size_t index) const
    {
        return m_chunks[index >> kChunkShift].get()[index & (kChunkSize - 1)];
    }

    const_iterator begin() const { return const_iterator(this, 0); }
    const_iterator end() const { return const_iterator(this, m_size); }

    // The direction of a circular record; ARC_NONE for a straight one.
    ArcDirection Direction(size_t index) const { return ArcDirection(m_directions[index]); }

    void push_back(const MoveRecord& record, ArcDirection direction = ARC_NONE)
    {
        const size_t chunk = m_size >> kChunkShift;
        if (chunk == m_chunks.size())
            m_chunks.emplace_back(static_cast<MoveRecord*>(AllocateBlock(kChunkSize * sizeof(MoveRecord), chunk > 0)));
        m_chunks[chunk].get()[m_size & (kChunkSize - 1)] = record;
        m_directions.push_back(direction);
        ++m_size;
    }

    // Empties the list but keeps its chunks: the interpreter clears the list
    // at every run, and a re-run of the same program needs the same memory
    // again, which is then neither allocated nor faulted in anew.
    void clear()
    {
        m_size = 0;
        m_directions.clear();
    }

    // Empties the list and gives its memory back.
    void release()
    {
        m_chunks.clear();
        m_chunks.shrink_to_fit();
        m_directions.clear();
        m_directions.shrink_to_fit();
        m_size = 0;
    }

private:
    std::vector<std::unique_ptr<MoveRecord, BlockDeleter>> m_chunks;
    // One byte per record, beside the records: the record's layout is fixed.
    std::vector<uint8_t, BlockAllocator<uint8_t>> m_directions;
    size_t m_size = 0;
};
