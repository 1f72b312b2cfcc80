// Text view: the caret, the selection, scrolling a position into view, the
// movement commands and the two status panes of the cursor.
#include <QApplication>
#include <QStyleHints>
#include <algorithm>

#include "ByteClasses.h"
#include "CCmdUI.h"
#include "CTextBuffer.h"
#include "CTextView.h"
#include "ids.h"

// ---- Caret.

void CTextView::PlaceCaret()
{
    const QRect old = m_caretVisible ? m_caretRect : QRect();
    const bool show = m_bHasFocus && !m_bCaretHidden &&
                      CharToColumn(m_ptCursor.y, m_ptCursor.x) >= m_nFirstColumn;
    if (show) {
        m_caretRect = QRect(TextPosToPoint(m_ptCursor), QSize(2, GetRowHeight()));
        m_caretOn = true;
        m_nCaretBlinkTime = 0;
        if (!m_caretTimer) {
            const int flash = QApplication::styleHints()->cursorFlashTime();
            m_nCaretBlinkPeriod = flash / 2;
            if (flash > 0)
                m_caretTimer = startTimer(m_nCaretBlinkPeriod);
        }
    } else if (m_caretTimer) {
        killTimer(m_caretTimer);
        m_caretTimer = 0;
    }
    m_caretVisible = show;
    viewport()->update(old);
    if (show)
        viewport()->update(m_caretRect);
}

void CTextView::HideTextCaret()
{
    m_bCaretHidden = true;
    PlaceCaret();
}

void CTextView::ShowTextCaret()
{
    m_bCaretHidden = false;
    PlaceCaret();
}

// ---- Selection.

void CTextView::SetCursorTextPos(TextPos pt)
{
    m_ptCursor = pt;
    m_nRememberedColumn = CharToColumn(pt.y, pt.x);
    PlaceCaret();
}

void CTextView::SetSelection(TextPos start, TextPos end)
{
    if (start != m_ptSelStart) {
        InvalidateLines(start.y, end.y);
        InvalidateLines(m_ptSelStart.y, m_ptSelEnd.y);
    } else if (end != m_ptSelEnd) {
        InvalidateLines(end.y, m_ptSelEnd.y);
    }
    m_ptSelStart = start;
    m_ptSelEnd = end;
}

void CTextView::NormaliseSelection()
{
    if (IsBefore(m_ptSelStart, m_ptSelEnd) || m_ptSelStart == m_ptSelEnd) {
        m_ptNormSelStart = m_ptSelStart;
        m_ptNormSelEnd = m_ptSelEnd;
    } else {
        m_ptNormSelStart = m_ptSelEnd;
        m_ptNormSelEnd = m_ptSelStart;
    }
}

void CTextView::GetSelection(TextPos& start, TextPos& end)
{
    NormaliseSelection();
    start = m_ptNormSelStart;
    end = m_ptNormSelEnd;
}

bool CTextView::IsInSelection(TextPos pt) const
{
    const TextPos start = m_ptNormSelStart, end = m_ptNormSelEnd;
    if (pt.y < start.y || pt.y > end.y)
        return false;
    if (pt.y > start.y && pt.y < end.y)
        return true;
    if (start.y == end.y)
        return start.x <= pt.x && pt.x < end.x;
    if (pt.y == start.y)
        return pt.x >= start.x;
    return pt.x < end.x;
}

void CTextView::SelectAllText()
{
    const int last = GetLineCount() - 1;
    m_ptCursor = {GetLineLength(last), last};
    SetSelection({0, 0}, m_ptCursor);
    PlaceCaret();
}

void CTextView::MarkRunningLine(int line)
{
    if (!m_pBuffer || line < 0 || line >= GetLineCount())
        return;
    m_pBuffer->ChangeLineFlag(line, LINEFLAG_RUNNING, true, true);
    InvalidateLines(line, line);
    m_ptSelAnchor = {0, line};
    ScrollIntoView({0, line});
}

// ---- Words.

TextPos CTextView::WordStartBefore(TextPos pt) const
{
    const char* chars = GetLineChars(pt.y);
    while (pt.x > 0 && IsWordChar(chars[pt.x - 1]))
        --pt.x;
    return pt;
}

TextPos CTextView::WordEndAfter(TextPos pt) const
{
    const char* chars = GetLineChars(pt.y);
    const int length = GetLineLength(pt.y);
    while (pt.x < length && IsWordChar(chars[pt.x]))
        ++pt.x;
    return pt;
}

// ---- Columns and scrolling into view.

int CTextView::ColumnToChar(int line, int column) const
{
    if (column <= 0)
        return 0;
    // The byte that reaches the column; a column inside a tab goes to the
    // nearer side of it.
    const LinePoint point = BeforeByteReaching(line, column);
    if (point.byte == GetLineLength(line))
        return point.byte;
    const int reached = NextColumn(point.column, GetLineChars(line)[point.byte], m_nTabWidth);
    return column <= reached - m_nTabWidth / 2 ? point.byte : point.byte + 1;
}

int CTextView::FirstCharAtColumn(int line, int column) const
{
    if (column <= 0)
        return 0;
    const LinePoint point = BeforeByteReaching(line, column);
    return point.byte == GetLineLength(line) ? point.byte : point.byte + 1;
}

void CTextView::ScrollIntoView(TextPos pt)
{
    const int rows = GetVisibleRows();
    int first = m_nFirstRow;
    if (pt.y >= first + rows)
        first = pt.y - rows + 1;
    if (pt.y < first)
        first = pt.y;
    first = std::clamp(first, 0, GetLineCount() - 1);
    if (first != m_nFirstRow) {
        ScrollToLine(first, true);
        SyncSiblingPanes(true);
    }

    const int column = CharToColumn(pt.y, pt.x);
    const int columns = GetVisibleColumns();
    int firstColumn = m_nFirstColumn;
    if (column > firstColumn + columns)
        firstColumn = column - columns;
    if (column < firstColumn)
        firstColumn = column;
    if (firstColumn >= GetWidestLineColumns())
        firstColumn = GetWidestLineColumns() - 1;
    firstColumn = std::max(firstColumn, 0);
    if (firstColumn != m_nFirstColumn) {
        ScrollToColumn(firstColumn, true);
        PlaceCaret();
        SyncSiblingPanes(false);
    }
}

void CTextView::ScrollColumnLeft()
{
    if (m_nFirstColumn > 0) {
        ScrollToColumn(m_nFirstColumn - 1, true);
        PlaceCaret();
    }
}

void CTextView::ScrollColumnRight()
{
    if (m_nFirstColumn < GetWidestLineColumns() - 1) {
        ScrollToColumn(m_nFirstColumn + 1, true);
        PlaceCaret();
    }
}

// ---- Movement commands.

void CTextView::OnMove(int id)
{
    // Ids come in pairs: the move, then the same move extending the
    // selection.
    const bool extend = (id - ID_EDIT_MOVE_LEFT) % 2 == 1;
    switch (id) {
    case ID_EDIT_MOVE_LEFT:
    case ID_EDIT_EXTEND_LEFT:
        MoveLeft(extend);
        break;
    case ID_EDIT_MOVE_RIGHT:
    case ID_EDIT_EXTEND_RIGHT:
        MoveRight(extend);
        break;
    case ID_EDIT_MOVE_WORD_LEFT:
    case ID_EDIT_EXTEND_WORD_LEFT:
        MoveWordLeft(extend);
        break;
    case ID_EDIT_MOVE_WORD_RIGHT:
    case ID_EDIT_EXTEND_WORD_RIGHT:
        MoveWordRight(extend);
        break;
    case ID_EDIT_MOVE_UP:
    case ID_EDIT_EXTEND_UP:
        MoveUp(extend);
        break;
    case ID_EDIT_MOVE_DOWN:
    case ID_EDIT_EXTEND_DOWN:
        MoveDown(extend);
        break;
    case ID_EDIT_SCROLL_LINE_UP:
        ScrollUp();
        break;
    case ID_EDIT_SCROLL_LINE_DOWN:
        ScrollDown();
        break;
    case ID_EDIT_MOVE_PAGE_UP:
    case ID_EDIT_EXTEND_PAGE_UP:
        MovePageUp(extend);
        break;
    case ID_EDIT_MOVE_PAGE_DOWN:
    case ID_EDIT_EXTEND_PAGE_DOWN:
        MovePageDown(extend);
        break;
    case ID_EDIT_MOVE_LINE_END:
    case ID_EDIT_EXTEND_LINE_END:
        MoveEnd(extend);
        break;
    case ID_EDIT_MOVE_LINE_HOME:
    case ID_EDIT_EXTEND_LINE_HOME:
        MoveHome(extend);
        break;
    case ID_EDIT_MOVE_TEXT_START:
    case ID_EDIT_EXTEND_TEXT_START:
        MoveCtrlHome(extend);
        break;
    case ID_EDIT_MOVE_TEXT_END:
    case ID_EDIT_EXTEND_TEXT_END:
        MoveCtrlEnd(extend);
        break;
    default:
        break;
    }
}

void CTextView::FinishMove(bool extend, bool rememberColumn)
{
    if (rememberColumn)
        m_nRememberedColumn = CharToColumn(m_ptCursor.y, m_ptCursor.x);
    ScrollIntoView(m_ptCursor);
    PlaceCaret();
    if (!extend)
        m_ptSelAnchor = m_ptCursor;
    SetSelection(m_ptSelAnchor, m_ptCursor);
}

bool CTextView::CollapseSelection(bool extend, bool toStart)
{
    NormaliseSelection();
    if (extend || m_ptNormSelStart == m_ptNormSelEnd)
        return false;
    m_ptCursor = toStart ? m_ptNormSelStart : m_ptNormSelEnd;
    return true;
}

void CTextView::MoveLeft(bool extend)
{
    if (!CollapseSelection(extend, true)) {
        if (m_ptCursor.x == 0) {
            if (m_ptCursor.y > 0) {
                --m_ptCursor.y;
                m_ptCursor.x = GetLineLength(m_ptCursor.y);
            }
        } else {
            --m_ptCursor.x;
        }
    }
    FinishMove(extend, true);
}

void CTextView::MoveRight(bool extend)
{
    if (!CollapseSelection(extend, false)) {
        if (m_ptCursor.x == GetLineLength(m_ptCursor.y)) {
            if (m_ptCursor.y < GetLineCount() - 1)
                m_ptCursor = {0, m_ptCursor.y + 1};
        } else {
            ++m_ptCursor.x;
        }
    }
    FinishMove(extend, true);
}

void CTextView::MoveWordLeft(bool extend)
{
    if (CollapseSelection(extend, true)) {
        MoveLeft(false);
        return;
    }
    if (m_ptCursor.x == 0) {
        if (m_ptCursor.y == 0)
            return;  // at the very start nothing happens at all
        --m_ptCursor.y;
        m_ptCursor.x = GetLineLength(m_ptCursor.y);
    }
    const char* chars = GetLineChars(m_ptCursor.y);
    int pos = m_ptCursor.x;
    while (pos > 0 && IsSpace(chars[pos - 1]))
        --pos;
    if (pos > 0) {
        --pos;
        if (IsWordChar(chars[pos]))
            while (pos > 0 && IsWordChar(chars[pos - 1]))
                --pos;
        else
            while (pos > 0 && !IsWordChar(chars[pos - 1]) && !IsSpace(chars[pos - 1]))
                --pos;
    }
    m_ptCursor.x = pos;
    FinishMove(extend, true);
}

void CTextView::MoveWordRight(bool extend)
{
    if (CollapseSelection(extend, false)) {
        MoveRight(false);
        return;
    }
    const int lastLine = GetLineCount() - 1;
    if (m_ptCursor.x == GetLineLength(m_ptCursor.y)) {
        if (m_ptCursor.y == lastLine)
            return;  // at the very end nothing happens at all
        m_ptCursor = {0, m_ptCursor.y + 1};
    }
    const int length = GetLineLength(m_ptCursor.y);
    if (length == 0) {
        MoveRight(extend);
        return;
    }
    const char* chars = GetLineChars(m_ptCursor.y);
    int pos = m_ptCursor.x;
    if (pos < length && IsWordChar(chars[pos]))
        while (pos < length && IsWordChar(chars[pos]))
            ++pos;
    else
        while (pos < length && !IsWordChar(chars[pos]) && !IsSpace(chars[pos]))
            ++pos;
    while (pos < length && IsSpace(chars[pos]))
        ++pos;
    m_ptCursor.x = pos;
    FinishMove(extend, true);
}

void CTextView::MoveUp(bool extend)
{
    CollapseSelection(extend, true);
    if (m_ptCursor.y > 0) {
        if (m_nRememberedColumn == -1)
            m_nRememberedColumn = CharToColumn(m_ptCursor.y, m_ptCursor.x);
        --m_ptCursor.y;
        m_ptCursor.x = std::min(ColumnToChar(m_ptCursor.y, m_nRememberedColumn), GetLineLength(m_ptCursor.y));
    }
    FinishMove(extend, false);
}

void CTextView::MoveDown(bool extend)
{
    CollapseSelection(extend, false);
    if (m_ptCursor.y < GetLineCount() - 1) {
        if (m_nRememberedColumn == -1)
            m_nRememberedColumn = CharToColumn(m_ptCursor.y, m_ptCursor.x);
        ++m_ptCursor.y;
        m_ptCursor.x = std::min(ColumnToChar(m_ptCursor.y, m_nRememberedColumn), GetLineLength(m_ptCursor.y));
    }
    FinishMove(extend, false);
}

void CTextView::MovePageUp(bool extend)
{
    const int rows = GetVisibleRows();
    const int first = std::max(0, m_nFirstRow - rows + 1);
    if (first != m_nFirstRow) {
        ScrollToLine(first, true);
        SyncSiblingPanes(true);
    }
    m_ptCursor.y = std::max(0, m_ptCursor.y - (rows - 1));
    m_ptCursor.x = std::min(m_ptCursor.x, GetLineLength(m_ptCursor.y));
    FinishMove(extend, true);
}

void CTextView::MovePageDown(bool extend)
{
    const int rows = GetVisibleRows();
    const int last = GetLineCount() - 1;
    const int first = std::min(last, m_nFirstRow + rows - 1);
    if (first != m_nFirstRow) {
        ScrollToLine(first, true);
        SyncSiblingPanes(true);
    }
    m_ptCursor.y = std::min(last, m_ptCursor.y + (rows - 1));
    m_ptCursor.x = std::min(m_ptCursor.x, GetLineLength(m_ptCursor.y));
    FinishMove(extend, true);
}

void CTextView::MoveHome(bool extend)
{
    const char* chars = GetLineChars(m_ptCursor.y);
    const int length = GetLineLength(m_ptCursor.y);
    int first = 0;
    while (first < length && IsSpace(chars[first]))
        ++first;
    m_ptCursor.x = first == length || m_ptCursor.x == first ? 0 : first;
    FinishMove(extend, true);
}

void CTextView::MoveEnd(bool extend)
{
    m_ptCursor.x = GetLineLength(m_ptCursor.y);
    FinishMove(extend, true);
}

void CTextView::MoveCtrlHome(bool extend)
{
    m_ptCursor = {0, 0};
    FinishMove(extend, true);
}

void CTextView::MoveCtrlEnd(bool extend)
{
    const int last = GetLineCount() - 1;
    m_ptCursor = {GetLineLength(last), last};
    FinishMove(extend, true);
}

void CTextView::ScrollUp()
{
    if (m_nFirstRow > 0) {
        ScrollToLine(m_nFirstRow - 1, true);
        SyncSiblingPanes(true);
    }
}

void CTextView::ScrollDown()
{
    if (m_nFirstRow < GetLineCount() - 1) {
        ScrollToLine(m_nFirstRow + 1, true);
        SyncSiblingPanes(true);
    }
}

void CTextView::OnSelectAll()
{
    SelectAllText();
}

void CTextView::OnUpdateAlwaysEnabled(CCmdUI* ui)
{
    ui->Enable(true);
}

// ---- Status panes.

void CTextView::OnUpdateIndicatorPosition(CCmdUI* ui)
{
    const QString format = QStringLiteral("Ln %1, Col %2");
    ui->SetText(format.arg(m_ptCursor.y + 1).arg(m_ptCursor.x + 1));
    // Room for the last line and the widest line (no line has more bytes
    // than columns), so that the pane keeps its width as the caret moves.
    ui->SetWidestText(format.arg(GetLineCount()).arg(GetWidestLineColumns() + 1));
}

void CTextView::OnUpdateIndicatorCrlf(CCmdUI* ui)
{
    const char* name = m_pBuffer ? EolStyleName(m_pBuffer->EolStyle()) : "";
    if (name && *name) {
        ui->Enable(true);
        ui->SetText(QString::fromLatin1(name));
    } else {
        ui->SetText(QString());
        ui->Enable(false);
    }
}
