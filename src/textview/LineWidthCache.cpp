// The line width cache.
#include "LineWidthCache.h"

#include <vector>

void LineWidthCache::Clear()
{
    m_widths.clear();
    m_counts.clear();
    m_built = false;
}

void LineWidthCache::Build(int lineCount, const Measure& measure)
{
    if (m_built)
        return;
    SplitVector<int>::Body widths;
    widths.resize(size_t(lineCount));
    m_counts.clear();
    // Counting into a map per line would dominate the pass; count runs of
    // equal widths, which are common, first.
    int last = -1, run = 0;
    for (int line = 0; line < lineCount; ++line) {
        const int width = measure(line);
        widths[size_t(line)] = width;
        if (width == last) {
            ++run;
            continue;
        }
        if (run)
            m_counts[last] += run;
        last = width;
        run = 1;
    }
    if (run)
        m_counts[last] += run;
    m_widths.assign(std::move(widths));
    m_built = true;
}

void LineWidthCache::Count(int width, int delta)
{
    auto it = m_counts.try_emplace(width, 0).first;
    it->second += delta;
    if (it->second <= 0)
        m_counts.erase(it);
}

void LineWidthCache::SetWidth(int line, int width)
{
    int& stored = m_widths[size_t(line)];
    if (stored == width)
        return;
    if (stored >= 0)
        Count(stored, -1);
    stored = width;
    Count(width, +1);
}

void LineWidthCache::InsertAfter(int line, int count)
{
    // New lines start without a width; SetWidth gives them one.
    const std::vector<int> unknown(size_t(count), -1);
    m_widths.insert(size_t(line) + 1, unknown.data(), size_t(count));
}

void LineWidthCache::EraseAfter(int line, int count)
{
    for (int i = 1; i <= count; ++i)
        if (const int width = m_widths[size_t(line + i)]; width >= 0)
            Count(width, -1);
    m_widths.erase(size_t(line) + 1, size_t(count));
}
