// The line store of CTextBuffer: queries, flags, raw insertion and deletion,
// view notification.  Loading and saving live in TextBufferFile.cpp, the undo
// history in TextBufferUndo.cpp.
#include "CTextBuffer.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <new>

const char* EolStyleName(int style)
{
    switch (style) {
    case EOL_DOS:
        return "DOS";
    case EOL_UNIX:
        return "UNIX";
    case EOL_MAC:
        return "MAC";
    default:
        return "";
    }
}

namespace {

bool HasOneBit(uint32_t flag) { return flag != 0 && (flag & (flag - 1)) == 0; }

// The index of a one-bit flag's bit.
int FlagBit(uint32_t flag)
{
    int bit = 0;
    while (!(flag & 1u)) {
        flag >>= 1;
        ++bit;
    }
    return bit;
}

}  // namespace

CTextBuffer::CTextBuffer()
{
    m_flagLines.fill(kNoFlagLine);
}

CTextBuffer::~CTextBuffer()
{
    ClearAll();
}

size_t CTextBuffer::MemoryUsed() const
{
    size_t bytes = m_store.BytesReserved() + m_lines.size() * sizeof(TextLine);
    for (size_t i = 0; i < m_lines.size(); ++i)
        if (m_lines[i].heap)
            bytes += size_t(m_lines[i].capacity);
    return bytes;
}

// --- line storage -------------------------------------------------------------

void CTextBuffer::FreeLineText(TextLine& line)
{
    if (line.heap)
        std::free(line.text);
    line.text = nullptr;
    line.length = line.capacity = 0;
    line.heap = false;
}

// Makes room for newLength bytes, keeping the line's bytes.  A line that grows
// past its slot gets a heap block of the next 16-byte size above the new
// length; a long line an eighth more, since typing into a line of megabytes
// would otherwise copy all of it every sixteen bytes.
void CTextBuffer::ReserveLine(TextLine& line, int newLength)
{
    if (newLength < line.capacity)
        return;
    constexpr int32_t kHeadroomFrom = 4096;
    const int64_t wanted = newLength < kHeadroomFrom ? newLength : int64_t(newLength) + newLength / 8;
    const int32_t capacity = LineCapacityFor(int32_t(std::min<int64_t>(wanted, INT32_MAX - 16)));
    char* text = static_cast<char*>(std::malloc(size_t(capacity)));
    if (!text)
        throw std::bad_alloc();
    if (line.length > 0)
        std::memcpy(text, line.text, size_t(line.length));
    if (line.heap)
        std::free(line.text);
    line.text = text;
    line.capacity = capacity;
    line.heap = true;
}

void CTextBuffer::InsertLineAt(const char* bytes, int length, int index)
{
    if (length < 0)
        length = bytes ? static_cast<int>(std::strlen(bytes)) : 0;
    TextLine line;
    ReserveLine(line, length);
    if (length > 0)
        std::memcpy(line.text, bytes, size_t(length));
    line.length = length;
    if (index < 0)
        index = LineCount();
    m_lines.insert(size_t(index), &line, 1);
    FlagLinesInserted(index, 1);
}

void CTextBuffer::AppendToLine(int lineIndex, const char* bytes, int length)
{
    if (length < 0)
        length = bytes ? static_cast<int>(std::strlen(bytes)) : 0;
    if (length == 0)
        return;
    TextLine& line = m_lines[size_t(lineIndex)];
    ReserveLine(line, line.length + length);
    std::memcpy(line.text + line.length, bytes, size_t(length));
    line.length += length;
}

// --- queries ------------------------------------------------------------------

void CTextBuffer::CopyText(int startLine, int startChar, int endLine, int endChar, std::string& out,
                           const char* separator) const
{
    if (!separator)
        separator = "\r\n";
    const size_t sepLength = std::strlen(separator);
    out.clear();
    if (startLine == endLine) {
        out.assign(LineChars(startLine) + startChar, size_t(endChar - startChar));
        return;
    }
    size_t total = size_t(LineLength(startLine) - startChar) + size_t(endChar);
    for (int i = startLine + 1; i < endLine; ++i)
        total += size_t(LineLength(i));
    out.reserve(total + sepLength * size_t(endLine - startLine));
    out.append(LineChars(startLine) + startChar, size_t(LineLength(startLine) - startChar));
    for (int i = startLine + 1; i < endLine; ++i) {
        out.append(separator, sepLength);
        out.append(LineChars(i), size_t(LineLength(i)));
    }
    out.append(separator, sepLength);
    out.append(LineChars(endLine), size_t(endChar));
}

void CTextBuffer::CopyLines(TextPos start, TextPos end, std::string& text, std::vector<int32_t>& breaks) const
{
    CopyText(start.y, start.x, end.y, end.x, text);
    breaks.clear();
    if (start.y == end.y)
        return;
    breaks.reserve(size_t(end.y - start.y));
    int32_t at = LineLength(start.y) - start.x;
    for (int i = start.y + 1; i <= end.y; ++i) {
        breaks.push_back(at);
        at += 2 + LineLength(i);
    }
}

bool CTextBuffer::IsValidPosition(TextPos pt) const
{
    return pt.y >= 0 && pt.y < LineCount() && pt.x >= 0 && pt.x <= LineLength(pt.y);
}

int CTextBuffer::FindFirstLineWithFlag(uint32_t flagMask) const
{
    const int count = LineCount();
    for (int i = 0; i < count; ++i)
        if (m_lines[size_t(i)].flags & flagMask)
            return i;
    return -1;
}

int CTextBuffer::LineWithFlag(uint32_t flag) const
{
    return HasOneBit(flag) ? FirstLineWithFlag(flag) : -1;
}

int CTextBuffer::FirstLineWithFlag(uint32_t flag) const
{
    int32_t& known = m_flagLines[size_t(FlagBit(flag))];
    if (known != kFlagLineUnknown)
        return known;
    int first = -1, holders = 0;
    const int count = LineCount();
    for (int i = 0; i < count && holders < 2; ++i) {
        if (m_lines[size_t(i)].flags & flag) {
            if (holders++ == 0)
                first = i;
        }
    }
    if (holders < 2)
        known = first;
    return first;
}

void CTextBuffer::FlagLinesInserted(int index, int count)
{
    for (int32_t& line : m_flagLines)
        if (line >= index)
            line += count;
}

void CTextBuffer::FlagLinesRemoved(int first, int count)
{
    for (int32_t& line : m_flagLines) {
        if (line >= first + count)
            line -= count;
        else if (line >= first)
            line = kNoFlagLine;  // its line is gone, and the flag with it
    }
}

int CTextBuffer::NextBookmarkLine(int line) const
{
    const int count = LineCount();
    int start = line;
    if (line >= 0 && line < count && (LineFlags(line) & LINEFLAG_BOOKMARK))
        ++start;
    if (start < 0)
        start = 0;
    for (int i = start; i < count; ++i)
        if (LineFlags(i) & LINEFLAG_BOOKMARK)
            return i;
    return FindFirstLineWithFlag(LINEFLAG_BOOKMARK);
}

int CTextBuffer::PrevBookmarkLine(int line) const
{
    const int count = LineCount();
    int start = line;
    if (line >= 0 && line < count && (LineFlags(line) & LINEFLAG_BOOKMARK))
        --start;
    if (start >= count)
        start = count - 1;
    for (int i = start; i >= 0; --i)
        if (LineFlags(i) & LINEFLAG_BOOKMARK)
            return i;
    for (int i = count - 1; i >= 0; --i)
        if (LineFlags(i) & LINEFLAG_BOOKMARK)
            return i;
    return -1;
}

// --- changes ------------------------------------------------------------------

void CTextBuffer::ChangeLineFlag(int line, uint32_t flag, bool set, bool unique)
{
    if (!HasOneBit(flag))
        return;
    if (line == -1) {
        line = FirstLineWithFlag(flag);
        if (line == -1)
            return;
        unique = false;
    }
    // Callers pass lines of an interpretation that may be older than the text.
    if (line < 0 || line >= LineCount())
        return;
    const uint32_t oldFlags = LineFlags(line);
    const uint32_t newFlags = set ? (oldFlags | flag) : (oldFlags & ~flag);
    if (newFlags == oldFlags)
        return;
    int32_t& known = m_flagLines[size_t(FlagBit(flag))];
    if (unique && set) {
        const int holder = FirstLineWithFlag(flag);
        if (holder >= 0) {
            m_lines[size_t(holder)].flags &= ~flag;
            NotifyViews(nullptr, nullptr, HINT_ONE_LINE | HINT_FLAGS_ONLY, holder);
        }
        // The holder was the only one when the buffer knew where it was.
        if (known != kFlagLineUnknown)
            known = kNoFlagLine;
    }
    if (set)
        known = known == kNoFlagLine ? line : kFlagLineUnknown;
    else if (known == line)
        known = kNoFlagLine;
    m_lines[size_t(line)].flags = newFlags;
    NotifyViews(nullptr, nullptr, HINT_ONE_LINE | HINT_FLAGS_ONLY, line);
}

void CTextBuffer::SplitIntoLines(std::string_view text, std::string& joined, std::vector<int32_t>& breaks)
{
    breaks.clear();
    // The text ends at its first NUL, like the C string it is elsewhere.
    if (const void* nul = std::memchr(text.data(), 0, text.size()))
        text = text.substr(0, size_t(static_cast<const char*>(nul) - text.data()));
    // Segments end at each CR; a CR LF pair is one break.  A LF on its own
    // is an ordinary byte of the line.
    size_t cr = text.find('\r');
    if (cr == std::string_view::npos) {
        joined.assign(text);
        return;
    }
    joined.clear();
    joined.reserve(text.size() + 16);
    size_t pos = 0;
    for (; cr != std::string_view::npos; cr = text.find('\r', pos)) {
        joined.append(text.data() + pos, cr - pos);
        breaks.push_back(int32_t(joined.size()));
        joined.append("\r\n", 2);
        pos = cr + 1;
        if (pos < text.size() && text[pos] == '\n')
            ++pos;
    }
    joined.append(text.data() + pos, text.size() - pos);
}

bool CTextBuffer::RawInsert(CTextBufferListener* source, int line, int ch, std::string_view text,
                            int& endLine, int& endChar)
{
    std::string joined;
    std::vector<int32_t> breaks;
    SplitIntoLines(text, joined, breaks);
    return RawInsertLines(source, line, ch, joined, breaks, endLine, endChar);
}

bool CTextBuffer::RawInsertLines(CTextBufferListener* source, int line, int ch, std::string_view text,
                                 const std::vector<int32_t>& breaks, int& endLine, int& endChar)
{
    if (m_readOnly || !IsValidPosition({ch, line}))
        return false;
    const bool newLine = !breaks.empty();
    TextLine& first = m_lines[size_t(line)];
    if (!newLine) {
        // Within the line: its tail moves up in place.
        const int added = int(text.size());
        const int length = first.length;
        ReserveLine(first, length + added);
        std::memmove(first.text + ch + added, first.text + ch, size_t(length - ch));
        std::memcpy(first.text + ch, text.data(), size_t(added));
        first.length = length + added;
        endLine = line;
        endChar = ch + added;
    } else {
        std::string tail(first.text + ch, size_t(first.length - ch));
        first.length = ch;
        int current = line;
        size_t pos = 0;
        for (size_t b = 0;; ++b) {
            const size_t segEnd = b < breaks.size() ? size_t(breaks[b]) : text.size();
            if (current == line)
                AppendToLine(current, text.data() + pos, int(segEnd - pos));
            else
                InsertLineAt(text.data() + pos, int(segEnd - pos), current);
            if (b == breaks.size())
                break;
            pos = segEnd + 2;  // past the joint's CR LF
            ++current;
        }
        endLine = current;
        endChar = LineLength(current);
        AppendToLine(current, tail.data(), int(tail.size()));
    }

    InsertAdjuster adjuster({ch, line}, {endChar, endLine});
    NotifyViews(source, &adjuster, newLine ? (HINT_WIDTH | HINT_HEIGHT) : (HINT_WIDTH | HINT_ONE_LINE), line);
    if (!m_modified)
        SetModified(true);
    return true;
}

bool CTextBuffer::RawDelete(CTextBufferListener* source, int startLine, int startChar, int endLine,
                            int endChar)
{
    if (m_readOnly || !IsValidPosition({startChar, startLine}) || !IsValidPosition({endChar, endLine}) ||
        IsBefore({endChar, endLine}, {startChar, startLine}))
        return false;
    TextLine& first = m_lines[size_t(startLine)];
    if (startLine == endLine) {
        std::memmove(first.text + startChar, first.text + endChar, size_t(first.length - endChar));
        first.length -= endChar - startChar;
    } else {
        const TextLine& last = m_lines[size_t(endLine)];
        std::string tail(last.text + endChar, size_t(last.length - endChar));
        for (int i = startLine + 1; i <= endLine; ++i)
            FreeLineText(m_lines[size_t(i)]);
        m_lines.erase(size_t(startLine + 1), size_t(endLine - startLine));
        FlagLinesRemoved(startLine + 1, endLine - startLine);
        m_lines[size_t(startLine)].length = startChar;
        AppendToLine(startLine, tail.data(), int(tail.size()));
    }
    DeleteAdjuster adjuster({startChar, startLine}, {endChar, endLine});
    NotifyViews(source, &adjuster,
                startLine != endLine ? (HINT_WIDTH | HINT_HEIGHT) : (HINT_WIDTH | HINT_ONE_LINE), startLine);
    if (!m_modified)
        SetModified(true);
    return true;
}

void CTextBuffer::SetModified(bool modified)
{
    m_modified = modified;
}

// --- views --------------------------------------------------------------------

void CTextBuffer::AttachView(CTextBufferListener* view)
{
    m_views.push_back(view);
}

void CTextBuffer::DetachView(CTextBufferListener* view)
{
    for (auto it = m_views.begin(); it != m_views.end(); ++it) {
        if (*it == view) {
            m_views.erase(it);
            return;
        }
    }
}

void CTextBuffer::NotifyViews(CTextBufferListener* source, const EditAdjuster* adjuster, uint32_t hints,
                              int line)
{
    // Index loop: a view may detach itself while being notified.
    for (size_t i = 0; i < m_views.size(); ++i)
        m_views[i]->OnBufferChanged(source, adjuster, hints, line);
}

// --- whole text ---------------------------------------------------------------

bool CTextBuffer::ResetToEmpty(int style)
{
    InsertLineAt("", 0, -1);
    m_eolStyle = style;
    m_initialised = true;
    m_readOnly = false;
    m_modified = false;
    // A new text starts a new history: the old steps belong to another text.
    m_undo.clear();
    m_undoPos = 0;
    m_savedPos = 0;
    m_inGroup = false;
    m_groupStartPending = false;
    m_undoLimit = 1024;
    NotifyViews(nullptr, nullptr, HINT_RESET, -1);
    return true;
}

void CTextBuffer::ClearAll()
{
    for (size_t i = 0; i < m_lines.size(); ++i)
        FreeLineText(m_lines[i]);
    m_lines.clear();
    m_flagLines.fill(kNoFlagLine);
    m_store.Clear();
    m_undo.clear();
    m_undo.shrink_to_fit();
    m_initialised = false;
}
