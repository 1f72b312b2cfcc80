// Text view: the buffer connection, change notifications, scrolling and the
// scroll bars.
//
// The scroll bars show what the view's first row and column are; the view is
// the one that scrolls.  A bar's range is that of a list of n lines with a
// page of p rows: Qt's maximum is n - p.  The view's first row may lie past
// that (the bottom of the text at the top of the window); the bar then stays
// at its end.
#include <QResizeEvent>
#include <QScrollBar>
#include <QTimer>
#include <algorithm>
#include <string_view>

#include "CSplitterWnd.h"
#include "CTextBuffer.h"
#include "CTextView.h"
#include "EditAdjuster.h"

void CTextView::OnInitialUpdate()
{
    CView::OnInitialUpdate();
    AttachBuffer(nullptr);
    // A new pane starts where its splitter neighbours are: the first column
    // of the top pane of its column, the first line of the left pane of its
    // row.
    int row = 0, column = 0;
    if (CSplitterWnd* splitter = CSplitterWnd::PaneOf(this, row, column)) {
        if (row > 0)
            if (auto* top = dynamic_cast<CTextView*>(splitter->GetPane(0, column)))
                ScrollToColumn(top->m_nFirstColumn, true);
        if (column > 0)
            if (auto* left = dynamic_cast<CTextView*>(splitter->GetPane(row, 0)))
                ScrollToLine(left->m_nFirstRow, true);
    }
}

void CTextView::SyncSiblingPanes(bool vertical)
{
    int row = 0, column = 0;
    CSplitterWnd* splitter = CSplitterWnd::PaneOf(this, row, column);
    if (!splitter)
        return;
    const int count = vertical ? splitter->GetColumnCount() : splitter->GetRowCount();
    for (int i = 0; i < count; ++i) {
        QWidget* pane = vertical ? splitter->GetPane(row, i) : splitter->GetPane(i, column);
        if (auto* sibling = dynamic_cast<CTextView*>(pane); sibling && sibling != this)
            sibling->OnSiblingScrolled(this, vertical);
    }
}

// Every pane here has bars of its own (a splitter on Windows shares one bar
// per row or column), so the sibling's bar follows too.
void CTextView::OnSiblingScrolled(CTextView* source, bool vertical)
{
    if (vertical)
        ScrollToLine(std::clamp(source->m_nFirstRow, 0, std::max(0, GetLineCount() - 1)), true);
    else
        ScrollToColumn(source->m_nFirstColumn, true);
    PlaceCaret();
}

void CTextView::AttachBuffer(CTextBuffer* buffer)
{
    if (m_pBuffer)
        m_pBuffer->DetachView(this);
    m_pBuffer = buffer ? buffer : FindTextBuffer();
    if (m_pBuffer)
        m_pBuffer->AttachView(this);
    ResetViewState();
    UpdateVertScrollBar(false);
    UpdateHorzScrollBarSoon();
    viewport()->update();
}

void CTextView::UpdateHorzScrollBarSoon()
{
    if (m_bHorzBarPending)
        return;
    m_bHorzBarPending = true;
    QTimer::singleShot(0, this, [this] {
        m_bHorzBarPending = false;
        UpdateHorzScrollBar(false);
    });
}

void CTextView::DetachBuffer()
{
    if (!m_pBuffer)
        return;
    m_pBuffer->DetachView(this);
    m_pBuffer = nullptr;
    ResetViewState();
    viewport()->update();
}

void CTextView::UpdateWidthsAfterEdit(const EditAdjuster* adjuster, uint32_t hints, int line)
{
    if (!m_widthCache.IsBuilt())
        return;
    // Keep the widths of the lines an edit did not touch; measure the ones
    // it did.  Without an adjuster the lines cannot be matched up again.
    const int lineCount = GetLineCount();
    if (adjuster) {
        const int span = adjuster->m_end.y - adjuster->m_start.y;
        const int first = adjuster->m_start.y;
        if (dynamic_cast<const InsertAdjuster*>(adjuster)) {
            if (span > 0)
                m_widthCache.InsertAfter(first, span);
            for (int i = first; i <= first + span; ++i)
                m_widthCache.SetWidth(i, MeasureLine(i));
        } else {
            if (span > 0)
                m_widthCache.EraseAfter(first, span);
            m_widthCache.SetWidth(first, MeasureLine(first));
        }
    } else if ((hints & HINT_ONE_LINE) && line >= 0 && line < m_widthCache.LineCount()) {
        m_widthCache.SetWidth(line, MeasureLine(line));
    } else {
        m_widthCache.Clear();
        return;
    }
    if (m_widthCache.LineCount() != lineCount)
        m_widthCache.Clear();
}

void CTextView::UpdateLineIndexes(const EditAdjuster* adjuster, uint32_t hints)
{
    if (m_lineIndexes.empty() || (hints & HINT_FLAGS_ONLY))
        return;
    if (!adjuster) {
        m_lineIndexes.clear();
        return;
    }
    const TextPos start = adjuster->m_start, end = adjuster->m_end;
    const bool insert = dynamic_cast<const InsertAdjuster*>(adjuster) != nullptr;
    const int span = end.y - start.y;
    // The edit's first line keeps what lay before the edit; the rest of it
    // is new: within one line the bytes put in or taken out, else all that
    // follows the edit's start.
    if (const auto it = m_lineIndexes.find(start.y); it != m_lineIndexes.end()) {
        LongLineIndex& index = it->second;
        const std::string_view text(GetLineChars(start.y), size_t(GetLineLength(start.y)));
        if (span > 0)
            index.Replace(text, start.x, index.Length() - start.x, int(text.size()) - start.x);
        else if (insert)
            index.Replace(text, start.x, 0, end.x - start.x);
        else
            index.Replace(text, start.x, end.x - start.x, 0);
        if (int(text.size()) < kIndexedLineBytes)
            m_lineIndexes.erase(it);
    }
    if (span == 0)
        return;
    // The lines an edit remade lose their index; the lines below move.
    std::map<int, LongLineIndex> moved;
    for (auto& [line, index] : m_lineIndexes) {
        if (line <= start.y)
            moved.emplace(line, std::move(index));
        else if (insert)
            moved.emplace(line + span, std::move(index));
        else if (line > end.y)
            moved.emplace(line - span, std::move(index));
    }
    m_lineIndexes = std::move(moved);
}

void CTextView::OnBufferChanged(CTextBufferListener*, const EditAdjuster* adjuster, uint32_t hints, int line)
{
    if (hints & HINT_RESET) {
        ResetViewState();
        UpdateVertScrollBar(false);
        UpdateHorzScrollBarSoon();
        viewport()->update();
        return;
    }
    if (line < 0)
        line = 0;
    // Cookies from the changed line down are forgotten.
    m_nCookiesKnown = std::min(m_nCookiesKnown, line);
    UpdateLineIndexes(adjuster, hints);
    if (!(hints & HINT_FLAGS_ONLY))
        UpdateWidthsAfterEdit(adjuster, hints, line);
    InvalidateLines(line, -1);

    // The dragged range moves with the text only while this view's drag
    // runs: a drop into the same view changes the text under it.
    std::vector<TextPos*> points{&m_ptCursor, &m_ptSelStart, &m_ptSelEnd, &m_ptSelAnchor};
    if (m_bDragSourceActive)
        points.insert(points.end(), {&m_ptDragStart, &m_ptDragEnd});
    if (adjuster) {
        for (TextPos* point : points)
            adjuster->AdjustPoint(*point);
        TextPos top{0, m_nFirstRow};
        adjuster->AdjustPoint(top);
        m_nFirstRow = top.y;
    }
    // Whatever the change, the positions stay inside the text.
    const int lineCount = GetLineCount();
    for (TextPos* point : points) {
        point->y = std::clamp(point->y, 0, lineCount - 1);
        point->x = std::clamp(point->x, 0, GetLineLength(point->y));
    }
    m_nFirstRow = std::clamp(m_nFirstRow, 0, lineCount - 1);
    if (adjuster)
        PlaceCaret();

    if ((hints & HINT_HEIGHT) && !m_bFreezeVertBar)
        UpdateVertScrollBar(false);
    if (hints & HINT_WIDTH) {
        m_nWidestLine = -1;
        if (!m_bFreezeHorzBar)
            UpdateHorzScrollBar(false);
    }
}

// ---- Scrolling.

void CTextView::ScrollToLine(int newFirst, bool updateScrollBar)
{
    if (newFirst == m_nFirstRow)
        return;
    const int dy = GetRowHeight() * (m_nFirstRow - newFirst);
    m_nFirstRow = newFirst;
    if (std::abs(dy) < viewport()->height())
        viewport()->scroll(0, dy);
    else
        viewport()->update();
    PlaceCaret();
    if (updateScrollBar)
        UpdateVertScrollBar(true);
}

void CTextView::ScrollToColumn(int newFirst, bool updateScrollBar)
{
    if (newFirst == m_nFirstColumn)
        return;
    const int dx = GetCellWidth() * (m_nFirstColumn - newFirst);
    m_nFirstColumn = newFirst;
    // The margin stays where it is.
    const QRect text(kMarginWidth, 0, std::max(0, viewport()->width() - kMarginWidth), viewport()->height());
    if (std::abs(dx) < text.width())
        viewport()->scroll(dx, 0, text);
    else
        viewport()->update(text);
    PlaceCaret();
    if (updateScrollBar)
        UpdateHorzScrollBar(true);
}

void CTextView::UpdateVertScrollBar(bool positionOnly)
{
    SetUpScrollBar(verticalScrollBar(), m_nFirstRow, positionOnly ? 0 : GetLineCount(), GetVisibleRows(),
                   positionOnly);
}

void CTextView::UpdateHorzScrollBar(bool positionOnly)
{
    SetUpScrollBar(horizontalScrollBar(), m_nFirstColumn, positionOnly ? 0 : GetWidestLineColumns(),
                   GetVisibleColumns(), positionOnly);
}

void CTextView::SetUpScrollBar(QScrollBar* bar, int& first, int count, int page, bool positionOnly)
{
    if (!positionOnly) {
        // Everything fits: back to the start.
        if (page >= count && first > 0) {
            first = 0;
            viewport()->update();
            PlaceCaret();
        }
        bar->setRange(0, std::max(0, count - std::max(page, 1)));
        bar->setPageStep(std::max(page, 1));
        bar->setSingleStep(1);
        bar->setEnabled(page < count);
    }
    bar->setValue(std::min(first, bar->maximum()));
}

namespace {

// Where a scroll-bar code takes the first row (or column) of a bar over
// count lines (or columns) with page visible; -1 for codes that do nothing.
int ScrollTarget(int code, int first, int page, int count, int trackPosition)
{
    switch (code) {
    case CTextView::SB_LINEUP:
        return first - 1;
    case CTextView::SB_LINEDOWN:
        return first + 1;
    case CTextView::SB_PAGEUP:
        return first - page + 1;
    case CTextView::SB_PAGEDOWN:
        return first + page - 1;
    case CTextView::SB_THUMBPOSITION:
    case CTextView::SB_THUMBTRACK:
        return trackPosition;
    case CTextView::SB_TOP:
        return 0;
    case CTextView::SB_BOTTOM:
        return count - page + 1;
    default:
        return -1;
    }
}

}  // namespace

void CTextView::OnVScroll(int code, int trackPosition)
{
    int first = ScrollTarget(code, m_nFirstRow, GetVisibleRows(), GetLineCount(), trackPosition);
    if (code >= SB_ENDSCROLL)
        return;
    first = std::max(0, first);
    first = std::min(first, GetLineCount() - 1);
    ScrollToLine(first, true);
}

void CTextView::OnHScroll(int code, int trackPosition)
{
    const int widest = GetWidestLineColumns();
    int first = ScrollTarget(code, m_nFirstColumn, GetVisibleColumns(), widest, trackPosition);
    if (code >= SB_ENDSCROLL)
        return;
    first = std::min(first, widest - 1);
    first = std::max(first, 0);
    ScrollToColumn(first, true);
    PlaceCaret();
}

void CTextView::scrollContentsBy(int, int)
{
    // The view scrolls itself (ScrollToLine, ScrollToColumn).
}

void CTextView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    m_nVisibleRows = m_nVisibleColumns = -1;
    UpdateVertScrollBar(false);
    UpdateHorzScrollBar(false);
}
