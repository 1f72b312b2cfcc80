// The index of a long line (see LongLineIndex.h).
#include "LongLineIndex.h"

#include <algorithm>
#include <cstring>

LongLineIndex::LongLineIndex(std::string_view line, int tabWidth) : m_tabWidth(tabWidth)
{
    m_segments = Scan(line, 0, int(line.size()));
    m_length = int(line.size());
    Place(0);
}

std::vector<LongLineIndex::Segment> LongLineIndex::Scan(std::string_view line, int begin, int end) const
{
    std::vector<Segment> segments;
    const int bytes = end - begin;
    if (bytes <= 0)
        return segments;
    const int count = std::max(1, bytes / kSegmentBytes);
    segments.resize(size_t(count));
    const char* chars = line.data();
    int from = begin;
    for (int k = 0; k < count; ++k) {
        Segment& segment = segments[size_t(k)];
        const int to = k + 1 == count ? end : begin + int(int64_t(bytes) * (k + 1) / count);
        segment.length = to - from;
        if (const void* tab = std::memchr(chars + from, '\t', size_t(to - from))) {
            int i = int(static_cast<const char*>(tab) - chars);
            segment.firstTab = i - from;
            int column = 0;
            for (++i; (tab = std::memchr(chars + i, '\t', size_t(to - i))) != nullptr;) {
                const int next = int(static_cast<const char*>(tab) - chars);
                column += next - i;
                column += m_tabWidth - column % m_tabWidth;
                i = next + 1;
            }
            segment.columnsAfterTab = column + (to - i);
        }
        // Whether a lead waits at the end, for either answer at the start.
        // The two agree from the first byte that is not a lead on, since
        // such a byte leaves no lead waiting; from there only the leads that
        // end the segment count, every other one of them waiting.
        bool pending[2] = {false, true};
        int i = from;
        for (; i < to && pending[0] != pending[1]; ++i) {
            pending[0] = LeadPendingAfter(pending[0], static_cast<unsigned char>(chars[i]));
            pending[1] = LeadPendingAfter(pending[1], static_cast<unsigned char>(chars[i]));
        }
        int last = to - 1;
        while (last >= i && IsGbkLead(static_cast<unsigned char>(chars[last])))
            --last;
        if (last >= i)
            pending[0] = pending[1] = (to - 1 - last) % 2 == 1;
        for (int j = i; last < i && j < to; ++j)
            pending[1] = pending[0] = LeadPendingAfter(pending[0], static_cast<unsigned char>(chars[j]));
        segment.pendingOut[0] = pending[0];
        segment.pendingOut[1] = pending[1];
        from = to;
    }
    return segments;
}

int LongLineIndex::ColumnAfter(const Segment& segment, int column) const
{
    if (segment.firstTab < 0)
        return column + segment.length;
    const int atTab = column + segment.firstTab;
    return atTab + m_tabWidth - atTab % m_tabWidth + segment.columnsAfterTab;
}

void LongLineIndex::Place(size_t first)
{
    LinePoint point;
    if (first > 0) {
        const Segment& before = m_segments[first - 1];
        point = {before.start.byte + before.length, ColumnAfter(before, before.start.column),
                 before.pendingOut[before.start.leadPending]};
    }
    for (size_t k = first; k < m_segments.size(); ++k) {
        Segment& segment = m_segments[k];
        segment.start = point;
        point = {point.byte + segment.length, ColumnAfter(segment, point.column),
                 segment.pendingOut[point.leadPending]};
    }
    m_endColumn = point.column;
}

size_t LongLineIndex::SegmentOf(int byte) const
{
    // The last segment starting at or before byte.
    const auto after = std::upper_bound(m_segments.begin(), m_segments.end(), byte,
                                        [](int b, const Segment& segment) { return b < segment.start.byte; });
    return after == m_segments.begin() ? 0 : size_t(after - m_segments.begin() - 1);
}

LinePoint LongLineIndex::PointAtOrBefore(int byte) const
{
    return m_segments.empty() ? LinePoint() : m_segments[SegmentOf(byte)].start;
}

LinePoint LongLineIndex::PointBeforeColumn(int column) const
{
    // Columns grow with every byte, so segment starts are in column order.
    const auto reaching = std::lower_bound(m_segments.begin(), m_segments.end(), column,
                                           [](const Segment& segment, int c) { return segment.start.column < c; });
    return reaching == m_segments.begin() ? LinePoint() : std::prev(reaching)->start;
}

void LongLineIndex::Replace(std::string_view line, int at, int removed, int inserted)
{
    if (m_segments.empty()) {
        *this = LongLineIndex(line, m_tabWidth);
        return;
    }
    const size_t first = SegmentOf(at);
    const size_t last = removed > 0 ? SegmentOf(at + removed - 1) : first;
    const int begin = m_segments[first].start.byte;
    const int end = m_segments[last].start.byte + m_segments[last].length + inserted - removed;
    std::vector<Segment> rescanned = Scan(line, begin, end);

    // The state at the first segment's start lies before the edit; those
    // after the edit are kept as they were until the parse confirms them.
    if (!rescanned.empty()) {
        rescanned.front().state = m_segments[first].state;
        rescanned.front().kind = m_segments[first].kind;
    }
    for (size_t k = last + 1; k < m_segments.size(); ++k)
        if (m_segments[k].kind == StateKind::Known)
            m_segments[k].kind = StateKind::Old;
    m_statesKnown = std::min(m_statesKnown, int(first) + (rescanned.empty() ? 0 : 1));
    const int delta = inserted - removed;
    if (m_dirtyEnd > at)
        m_dirtyEnd = std::max(at, m_dirtyEnd + delta);
    m_dirtyEnd = std::max(m_dirtyEnd, at + inserted);

    m_segments.erase(m_segments.begin() + std::ptrdiff_t(first), m_segments.begin() + std::ptrdiff_t(last) + 1);
    m_segments.insert(m_segments.begin() + std::ptrdiff_t(first), rescanned.begin(), rescanned.end());
    m_length = int(line.size());
    Place(first);
}

void LongLineIndex::SetEntry(ParseCookie entry)
{
    if (m_statesKnown > 0 && entry == m_entry)
        return;
    // A new entry cookie changes the line from its start; the states found
    // for the old one are kept to be taken back where the parse agrees.
    for (Segment& segment : m_segments)
        if (segment.kind == StateKind::Known)
            segment.kind = StateKind::Old;
    m_entry = entry;
    if (!m_segments.empty()) {
        m_segments.front().state = LineParseState{entry};
        m_segments.front().kind = StateKind::Known;
        m_statesKnown = 1;
    }
}

void LongLineIndex::EnsureState(size_t segment, const Advance& advance)
{
    while (size_t(m_statesKnown) <= segment) {
        const Segment& before = m_segments[size_t(m_statesKnown) - 1];
        Segment& next = m_segments[size_t(m_statesKnown)];
        LineParseState state = before.state;
        advance(state, before.start.byte, next.start.byte);
        if (next.kind == StateKind::Old && state == next.state && next.start.byte - state.lookBehind >= m_dirtyEnd) {
            // The parse agrees with what it found before the edits: so will
            // it at every old state after this one.
            size_t k = size_t(m_statesKnown);
            for (; k < m_segments.size() && m_segments[k].kind != StateKind::Unknown; ++k)
                m_segments[k].kind = StateKind::Known;
            m_statesKnown = int(k);
        } else {
            next.state = state;
            next.kind = StateKind::Known;
            ++m_statesKnown;
        }
    }
    // Once no old state is left, the next edit is the only one that counts.
    if (m_dirtyEnd > 0 && std::none_of(m_segments.begin() + m_statesKnown, m_segments.end(),
                                       [](const Segment& s) { return s.kind == StateKind::Old; }))
        m_dirtyEnd = 0;
}

LineParseState LongLineIndex::StateAtOrBefore(int byte, ParseCookie entry, const Advance& advance, int& at)
{
    SetEntry(entry);
    if (m_segments.empty()) {
        at = 0;
        return LineParseState{entry};
    }
    const size_t segment = SegmentOf(byte);
    EnsureState(segment, advance);
    at = m_segments[segment].start.byte;
    return m_segments[segment].state;
}

ParseCookie LongLineIndex::EndCookie(ParseCookie entry, const Advance& advance)
{
    int at = 0;
    LineParseState state = StateAtOrBefore(m_length, entry, advance, at);
    advance(state, at, m_length);
    return state.cookie;
}
