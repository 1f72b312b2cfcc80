// The display width of every line and the widest of them, for the
// horizontal scroll bar.
//
// A program has millions of lines, and an edit changes a handful.  So the
// widths are computed once, in one pass, and then kept in step with each
// edit: the lines an edit touched are measured again and the lines after it
// are shifted, not forgotten.  The widest line comes from a count of lines
// per width, so it is known without a pass over all lines.  The per-line
// array is a gap buffer, so edits near each other move little memory.
#pragma once

#include <functional>
#include <map>

#include "SplitVector.h"

class LineWidthCache
{
public:
    using Measure = std::function<int(int line)>;

    bool IsBuilt() const { return m_built; }
    // Forgets everything; the next question measures every line again.
    void Clear();
    // Measures lines 0 .. lineCount - 1 unless built already.
    void Build(int lineCount, const Measure& measure);

    int Width(int line) const { return m_widths[size_t(line)]; }
    int Widest() const { return m_counts.empty() ? 0 : m_counts.rbegin()->first; }
    int LineCount() const { return int(m_widths.size()); }

    // Line line changed and now measures width.
    void SetWidth(int line, int width);
    // count new lines after line line (a line was split), or count lines
    // after line line went (lines were joined).  Their widths are given
    // afterwards with SetWidth.
    void InsertAfter(int line, int count);
    void EraseAfter(int line, int count);

private:
    void Count(int width, int delta);

    SplitVector<int> m_widths;
    std::map<int, int> m_counts;  // width -> number of lines that wide
    bool m_built = false;
};
