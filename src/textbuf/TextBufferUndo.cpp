// The undo history of CTextBuffer: recording steps, groups, the step limit,
// undo, redo, the actions of the groups, and how the modified flag follows
// the history.
#include "CTextBuffer.h"

void CTextBuffer::OpenUndoGroup(bool merge)
{
    m_inGroup = true;
    m_groupStartPending = m_undoPos == 0 || !merge;
}

void CTextBuffer::CloseUndoGroup(CTextBufferListener* source)
{
    if (source && m_undoPos > 0) {
        m_groupStartPending = true;
        const UndoStep& last = m_undo[size_t(m_undoPos - 1)];
        // Copied: the view may record further steps from inside the call.
        const std::string text = last.text;
        source->OnEditAction(last.action, text);
    }
    m_inGroup = false;
}

bool CTextBuffer::InsertText(CTextBufferListener* source, int line, int ch, std::string_view text,
                             int& endLine, int& endChar, int action)
{
    // Recorded as the lines it made, so that Redo makes exactly them again.
    std::string joined;
    std::vector<int32_t> breaks;
    SplitIntoLines(text, joined, breaks);
    if (!RawInsertLines(source, line, ch, joined, breaks, endLine, endChar))
        return false;
    const bool openedHere = !m_inGroup;
    if (openedHere)
        OpenUndoGroup(false);
    RecordStep(true, {ch, line}, {endChar, endLine}, std::move(joined), std::move(breaks), action);
    if (openedHere)
        CloseUndoGroup(source);
    return true;
}

bool CTextBuffer::DeleteText(CTextBufferListener* source, int startLine, int startChar, int endLine,
                             int endChar, int action)
{
    if (!IsValidPosition({startChar, startLine}) || !IsValidPosition({endChar, endLine}) ||
        IsBefore({endChar, endLine}, {startChar, startLine}))
        return false;
    std::string removed;
    std::vector<int32_t> breaks;
    CopyLines({startChar, startLine}, {endChar, endLine}, removed, breaks);
    if (!RawDelete(source, startLine, startChar, endLine, endChar))
        return false;
    const bool openedHere = !m_inGroup;
    if (openedHere)
        OpenUndoGroup(false);
    RecordStep(false, {startChar, startLine}, {endChar, endLine}, std::move(removed), std::move(breaks), action);
    if (openedHere)
        CloseUndoGroup(source);
    return true;
}

void CTextBuffer::RecordStep(bool isInsert, TextPos start, TextPos end, std::string text,
                             std::vector<int32_t> breaks, int action)
{
    // A new change makes the redoable steps unreachable.  If the saved state
    // was among them, no position in the history matches the file any more.
    if (size_t(m_undoPos) < m_undo.size()) {
        m_undo.resize(size_t(m_undoPos));
        if (m_savedPos > m_undoPos)
            m_savedPos = -1;
    }
    // The history is bounded by whole groups: before a new group starts, the
    // oldest groups leave until there is room for it.  The group being
    // recorded is never cut, however long it grows (a Replace All of
    // thousands of matches is one group, undone in one go); it leaves as a
    // whole when it is the oldest.  Only group starts look for groups, so a
    // long group costs nothing per step.
    while (m_undoLimit > 0 && m_groupStartPending && int(m_undo.size()) >= m_undoLimit) {
        size_t drop = 1;
        while (drop < m_undo.size() && !(m_undo[drop].flags & STEP_GROUP_START))
            ++drop;
        m_undo.erase(m_undo.begin(), m_undo.begin() + std::ptrdiff_t(drop));
        // Keep the saved position on the same state; a state that fell off
        // the front can never be reached again.
        if (m_savedPos >= 0)
            m_savedPos = m_savedPos >= int(drop) ? m_savedPos - int(drop) : -1;
    }
    UndoStep step;
    step.flags = isInsert ? uint32_t(STEP_INSERT) : 0u;
    if (m_groupStartPending) {
        step.flags |= STEP_GROUP_START;
        m_groupStartPending = false;
    }
    if (m_undo.empty())
        step.flags |= STEP_GROUP_START;
    step.start = start;
    step.end = end;
    step.action = action;
    step.text = std::move(text);
    step.breaks = std::move(breaks);
    m_undo.push_back(std::move(step));
    m_undoPos = int(m_undo.size());
}

void CTextBuffer::UpdateModifiedAfterHistoryMove()
{
    if (m_modified && m_savedPos == m_undoPos)
        SetModified(false);
    if (!m_modified && m_savedPos != m_undoPos)
        SetModified(true);
}

bool CTextBuffer::ApplyStep(const UndoStep& step, bool forwards, TextPos& point)
{
    // Forwards an insertion inserts and a deletion deletes; backwards the
    // other way round.
    const bool inserts = (step.flags & STEP_INSERT) != 0;
    if (inserts == forwards) {
        int endLine = 0, endChar = 0;
        if (!RawInsertLines(nullptr, step.start.y, step.start.x, step.text, step.breaks, endLine, endChar))
            return false;
        point = step.end;
    } else {
        if (!RawDelete(nullptr, step.start.y, step.start.x, step.end.y, step.end.x))
            return false;
        point = step.start;
    }
    return true;
}

// A step the text refuses leaves the history where it is, so that the
// history always says which steps the text holds.
bool CTextBuffer::Undo(TextPos& point)
{
    if (m_readOnly)
        return false;
    bool ok = true;
    while (m_undoPos > 0) {
        const UndoStep& step = m_undo[size_t(m_undoPos - 1)];
        if (!ApplyStep(step, false, point)) {
            ok = false;
            break;
        }
        --m_undoPos;
        if (step.flags & STEP_GROUP_START)
            break;
    }
    UpdateModifiedAfterHistoryMove();
    return ok;
}

bool CTextBuffer::Redo(TextPos& point)
{
    if (m_readOnly)
        return false;
    const int count = int(m_undo.size());
    bool ok = true;
    while (m_undoPos < count) {
        if (!ApplyStep(m_undo[size_t(m_undoPos)], true, point)) {
            ok = false;
            break;
        }
        ++m_undoPos;
        if (m_undoPos < count && (m_undo[size_t(m_undoPos)].flags & STEP_GROUP_START))
            break;
    }
    UpdateModifiedAfterHistoryMove();
    return ok;
}

int CTextBuffer::UndoAction() const
{
    int i = m_undoPos - 1;
    while (i > 0 && !(m_undo[size_t(i)].flags & STEP_GROUP_START))
        --i;
    return i >= 0 ? m_undo[size_t(i)].action : -1;
}

int CTextBuffer::RedoAction() const
{
    return size_t(m_undoPos) < m_undo.size() ? m_undo[size_t(m_undoPos)].action : -1;
}
