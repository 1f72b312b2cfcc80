// A gap buffer of trivially copyable elements: the line array of the text
// buffer.
//
// Programs run to millions of lines.  With a plain vector every Enter near the
// top of such a program would move the whole array (tens of megabytes).  Here
// the free space sits at the last edit, so edits that stay near each other
// move only the elements between them, and random access stays O(1): index i
// lives before the gap or, shifted by the gap's length, after it.
#pragma once

#include <algorithm>
#include <cassert>
#include <cstddef>
#include <cstring>
#include <type_traits>
#include <vector>

#include "LargeBlock.h"

template <class T>
class SplitVector
{
    static_assert(std::is_trivially_copyable_v<T>, "elements are moved with memmove");

public:
    size_t size() const { return m_body.size() - m_gapLength; }
    bool empty() const { return size() == 0; }

    T& operator[](size_t i)
    {
        assert(i < size());
        return m_body[i < m_gapStart ? i : i + m_gapLength];
    }
    const T& operator[](size_t i) const
    {
        assert(i < size());
        return m_body[i < m_gapStart ? i : i + m_gapLength];
    }

    void clear()
    {
        m_body.clear();
        m_body.shrink_to_fit();
        m_gapStart = m_gapLength = 0;
    }

    // Takes over a filled vector (the fast path of loading a file).
    using Body = std::vector<T, BlockAllocator<T>>;

    void assign(Body&& elements)
    {
        m_body = std::move(elements);
        m_gapStart = m_body.size();
        m_gapLength = 0;
    }

    void push_back(const T& value) { insert(size(), &value, 1); }

    // Inserts count elements copied from values before index pos.
    void insert(size_t pos, const T* values, size_t count)
    {
        assert(pos <= size());
        if (count == 0)
            return;
        MoveGapTo(pos);
        if (m_gapLength < count)
            Grow(count);
        std::memcpy(static_cast<void*>(&m_body[m_gapStart]), values, count * sizeof(T));
        m_gapStart += count;
        m_gapLength -= count;
    }

    // Removes count elements starting at index pos.
    void erase(size_t pos, size_t count)
    {
        assert(pos + count <= size());
        if (count == 0)
            return;
        MoveGapTo(pos);
        m_gapLength += count;
    }

private:
    void MoveGapTo(size_t pos)
    {
        if (pos == m_gapStart)
            return;
        T* body = m_body.data();
        if (pos < m_gapStart) {
            // Elements [pos, gapStart) move to the end of the gap.
            std::memmove(static_cast<void*>(body + pos + m_gapLength), body + pos,
                         (m_gapStart - pos) * sizeof(T));
        } else {
            // Elements after the gap up to pos move down into it.
            std::memmove(static_cast<void*>(body + m_gapStart), body + m_gapStart + m_gapLength,
                         (pos - m_gapStart) * sizeof(T));
        }
        m_gapStart = pos;
    }

    // Makes room for at least count more elements at the gap; the gap grows
    // in proportion to the array so that a run of insertions stays amortised.
    void Grow(size_t count)
    {
        const size_t oldSize = m_body.size();
        const size_t tail = oldSize - m_gapStart - m_gapLength;
        const size_t extra = std::max(count - m_gapLength, std::max<size_t>(oldSize / 8, 64));
        m_body.resize(oldSize + extra);
        T* body = m_body.data();
        std::memmove(static_cast<void*>(body + m_body.size() - tail), body + oldSize - tail,
                     tail * sizeof(T));
        m_gapLength += extra;
    }

    Body m_body;
    size_t m_gapStart = 0;
    size_t m_gapLength = 0;
};
