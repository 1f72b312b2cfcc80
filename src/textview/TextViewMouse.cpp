// Text view: the mouse (pointer shape, clicks, selection gestures with
// auto-scroll while the pointer is outside), Copy and the clipboard, and the
// view as the source of a drag.
//
// A gesture selects plainly, by whole words (Ctrl+click, double click) or by
// whole lines (from the margin).  While the button is held the view keeps
// the pointer (Qt grabs it for the pressed widget) and a 100 ms timer scrolls
// when the pointer is outside the window; the mouse moves themselves never
// scroll.
#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QMouseEvent>
#include <QPointer>
#include <algorithm>

#include "CCmdUI.h"
#include "CTextBuffer.h"
#include "CTextView.h"
#include "DataTransfer.h"
#include "Resources.h"
#include "ids.h"

namespace {

TextPos LineStart(int line)
{
    return {0, line};
}

// The end of a line selected whole: the start of the next line, or the end
// of the last line.
TextPos LineEnd(const CTextView& view, int line)
{
    if (line + 1 < view.GetLineCount())
        return {0, line + 1};
    return {view.GetLineLength(line), line};
}

}  // namespace

void CTextView::AdjustClickPoint(QPoint& client)
{
    client.rx() += GetCellWidth() / 2;
}

TextPos CTextView::MouseSelectionTo(TextPos pt, bool words)
{
    TextPos start = m_ptSelAnchor, end = pt;
    if (words) {
        if (IsBefore(pt, m_ptSelAnchor)) {
            start = WordStartBefore(pt);
            end = WordEndAfter(m_ptSelAnchor);
        } else {
            start = WordStartBefore(m_ptSelAnchor);
            end = WordEndAfter(pt);
        }
    }
    SetSelection(start, end);
    return end;
}

void CTextView::StartMouseSelection(bool words, bool lines)
{
    m_bSelectingWords = words;
    m_bSelectingLines = lines;
    m_bMouseSelecting = true;
    if (!m_nAutoScrollTimer)
        m_nAutoScrollTimer = startTimer(kAutoScrollPeriod);
}

void CTextView::StopMouseSelection()
{
    if (m_nAutoScrollTimer) {
        killTimer(m_nAutoScrollTimer);
        m_nAutoScrollTimer = 0;
    }
    m_bMouseSelecting = false;
}

void CTextView::UpdatePointerShape(QPoint client)
{
    Pointer shape = Pointer::IBeam;
    if (client.x() < kMarginWidth) {
        shape = Pointer::Margin;
    } else {
        NormaliseSelection();
        if (IsInSelection(PointToTextPos(client)))
            shape = Pointer::Arrow;  // a drag can start here
    }
    if (shape == m_pointer)
        return;
    m_pointer = shape;
    switch (shape) {
    case Pointer::Margin:
        viewport()->setCursor(LoadCursorResource(IDCUR_TEXT_MARGIN));
        break;
    case Pointer::Arrow:
        viewport()->setCursor(Qt::ArrowCursor);
        break;
    default:
        viewport()->setCursor(Qt::IBeamCursor);
        break;
    }
}

void CTextView::mousePressEvent(QMouseEvent* event)
{
    QPoint point = event->position().toPoint();
    m_ptPointer = point;
    if (event->button() == Qt::RightButton) {
        AdjustClickPoint(point);
        const TextPos pos = PointToTextPos(point);
        NormaliseSelection();
        if (!IsInSelection(pos)) {
            m_ptSelAnchor = m_ptCursor = pos;
            SetSelection(pos, pos);
            ScrollIntoView(pos);
            PlaceCaret();
        }
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    event->accept();
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    const bool ctrl = event->modifiers() & Qt::ControlModifier;

    if (point.x() < kMarginWidth) {
        AdjustClickPoint(point);
        if (ctrl) {
            SelectAllText();
            return;
        }
        m_ptCursor = LineStart(PointToTextPos(point).y);
        if (!shift)
            m_ptSelAnchor = m_ptCursor;
        // Every line from the anchor's to the clicked one, whole.
        const int top = std::min(m_ptCursor.y, m_ptSelAnchor.y);
        const int bottom = std::max(m_ptCursor.y, m_ptSelAnchor.y);
        PlaceCaret();
        ScrollIntoView(m_ptCursor);
        SetSelection(LineStart(top), LineEnd(*this, bottom));
        StartMouseSelection(false, true);
        return;
    }

    NormaliseSelection();
    if (IsInSelection(PointToTextPos(point))) {
        m_bMaybeDragStart = true;
        m_ptDragPress = point;
        return;
    }
    AdjustClickPoint(point);
    m_ptCursor = PointToTextPos(point);
    if (!shift)
        m_ptSelAnchor = m_ptCursor;
    m_ptCursor = MouseSelectionTo(m_ptCursor, ctrl);
    PlaceCaret();
    ScrollIntoView(m_ptCursor);
    StartMouseSelection(ctrl, false);
}

void CTextView::mouseMoveEvent(QMouseEvent* event)
{
    QPoint point = event->position().toPoint();
    m_ptPointer = point;
    if (!m_bMouseSelecting && !(event->buttons() & Qt::LeftButton))
        UpdatePointerShape(point);

    if (m_bMouseSelecting) {
        const bool inMargin = point.x() < kMarginWidth;
        AdjustClickPoint(point);
        const TextPos pos = PointToTextPos(point);
        if (m_bSelectingLines) {
            if (inMargin) {
                m_ptCursor = LineStart(pos.y);
                PlaceCaret();
                if (IsBefore(pos, m_ptSelAnchor))
                    SetSelection(LineStart(pos.y), LineEnd(*this, m_ptSelAnchor.y));
                else
                    SetSelection(LineEnd(*this, pos.y), LineStart(m_ptSelAnchor.y));
                return;
            }
            // Out of the margin the gesture goes on as a plain one.
            m_pointer = Pointer::IBeam;
            viewport()->setCursor(Qt::IBeamCursor);
            m_bSelectingLines = m_bSelectingWords = false;
        }
        m_ptCursor = MouseSelectionTo(pos, m_bSelectingWords);
        PlaceCaret();
    }

    // The drag starts once the pointer has moved by the platform's distance.
    if (m_bMaybeDragStart &&
        (point - m_ptDragPress).manhattanLength() >= QApplication::startDragDistance()) {
        m_bMaybeDragStart = false;
        StartDrag();
    }
}

void CTextView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mouseReleaseEvent(event);
        return;
    }
    QPoint point = event->position().toPoint();
    m_ptPointer = point;
    if (m_bMouseSelecting) {
        AdjustClickPoint(point);
        const TextPos pos = PointToTextPos(point);
        if (m_bSelectingLines) {
            // Stored with the cursor's end first.
            if (!IsBefore(pos, m_ptSelAnchor)) {
                m_ptCursor = LineEnd(*this, pos.y);
                SetSelection(m_ptCursor, LineStart(m_ptSelAnchor.y));
            } else {
                m_ptCursor = LineStart(pos.y);
                SetSelection(m_ptCursor, LineEnd(*this, m_ptSelAnchor.y));
            }
        } else if (m_bSelectingWords) {
            m_ptCursor = MouseSelectionTo(pos, true);
        } else {
            SetSelection(m_ptSelAnchor, m_ptCursor);
        }
        ScrollIntoView(m_ptCursor);
        PlaceCaret();
        StopMouseSelection();
    }
    if (m_bMaybeDragStart) {
        // Pressed in the selection and let go without a drag.
        m_bMaybeDragStart = false;
        AdjustClickPoint(point);
        m_ptCursor = PointToTextPos(point);
        ScrollIntoView(m_ptCursor);
        PlaceCaret();
        SetSelection(m_ptCursor, m_ptCursor);
    }
    event->accept();
}

void CTextView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || m_bMouseSelecting) {
        QAbstractScrollArea::mouseDoubleClickEvent(event);
        return;
    }
    event->accept();
    QPoint point = event->position().toPoint();
    m_ptPointer = point;
    AdjustClickPoint(point);
    m_ptCursor = m_ptSelAnchor = PointToTextPos(point);
    const TextPos start = WordStartBefore(m_ptCursor);
    m_ptCursor = WordEndAfter(m_ptCursor);
    PlaceCaret();
    ScrollIntoView(m_ptCursor);
    SetSelection(start, m_ptCursor);
    StartMouseSelection(true, false);
}

void CTextView::OnAutoScrollTimer()
{
    const QPoint pointer = m_ptPointer;
    const QRect client = viewport()->rect();
    const int rowHeight = GetRowHeight();
    bool scrolled = false;

    int first = m_nFirstRow;
    if (pointer.y() < 0)
        first -= -pointer.y() > rowHeight ? 3 : 1;
    else if (pointer.y() >= client.height())
        first += pointer.y() - client.height() >= rowHeight ? 3 : 1;
    first = std::clamp(first, 0, std::max(0, GetLineCount() - 1));
    if (first != m_nFirstRow) {
        ScrollToLine(first, true);
        SyncSiblingPanes(true);
        scrolled = true;
    }

    int column = m_nFirstColumn;
    if (pointer.x() < 0)
        --column;
    else if (pointer.x() >= client.width())
        ++column;
    column = std::max(0, std::min(column, GetWidestLineColumns() - 1));
    if (column != m_nFirstColumn) {
        ScrollToColumn(column, true);
        PlaceCaret();
        SyncSiblingPanes(false);
        scrolled = true;
    }

    if (!scrolled)
        return;
    QPoint point = pointer;
    AdjustClickPoint(point);
    const TextPos pos = PointToTextPos(point);
    if (pos != m_ptCursor) {
        m_ptCursor = pos;
        PlaceCaret();
    }
    SetSelection(m_ptSelAnchor, m_ptCursor);
}

// ---- Copy and the clipboard.

void CTextView::CopySelection()
{
    if (IsSelectionEmpty() || !m_pBuffer)
        return;
    TextPos start, end;
    GetSelection(start, end);
    std::string text;
    m_pBuffer->CopyText(start.y, start.x, end.y, end.x, text);
    PutTextToClipboard(text);
}

void CTextView::OnEditCopy()
{
    CopySelection();
}

void CTextView::OnUpdateEditCopy(CCmdUI* ui)
{
    ui->Enable(!IsSelectionEmpty());
}

bool CTextView::PutTextToClipboard(std::string_view text)
{
    if (text.empty())
        return false;
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return false;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    clipboard->setMimeData(NewTextMimeData(text));
    QApplication::restoreOverrideCursor();
    return true;
}

bool CTextView::GetTextFromClipboard(std::string& text)
{
    const QClipboard* clipboard = QGuiApplication::clipboard();
    return clipboard && TextFromMimeData(clipboard->mimeData(), text);
}

bool CTextView::ClipboardHasText()
{
    const QClipboard* clipboard = QGuiApplication::clipboard();
    return clipboard && MimeDataHasText(clipboard->mimeData());
}

// ---- Drag source.

QMimeData* CTextView::MakeDragData()
{
    TextPos start, end;
    GetSelection(start, end);
    if (start == end || !m_pBuffer)
        return nullptr;
    std::string text;
    m_pBuffer->CopyText(start.y, start.x, end.y, end.x, text);
    m_ptDragStart = start;
    m_ptDragEnd = end;
    return NewTextMimeData(text);
}

Qt::DropActions CTextView::GetDragSourceEffects()
{
    return Qt::CopyAction;
}

void CTextView::OnDragSourceDone(Qt::DropAction)
{
}

void CTextView::StartDrag()
{
    QMimeData* data = MakeDragData();
    if (!data)
        return;
    // Whatever the drop does to this buffer is one undo step.
    CTextBuffer* buffer = m_pBuffer;
    buffer->OpenUndoGroup(false);
    m_bDragSourceActive = true;
    const QPointer<CTextView> self(this);
    const Qt::DropAction effect = AfxDoDragDrop(viewport(), data, GetDragSourceEffects());
    if (!self)
        return;
    if (effect != Qt::IgnoreAction)
        OnDragSourceDone(effect);
    m_bDragSourceActive = false;
    if (m_pBuffer == buffer)
        buffer->CloseUndoGroup(this);
}
