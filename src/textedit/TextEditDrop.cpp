// Editing view: drag and drop.  The view is a drop target for text (a move
// unless Ctrl is held), shows a grey mark where the text would go, scrolls
// when the pointer nears its edges, and refuses a drop onto the text being
// dragged from it.  As a drag source it removes the text after a move.
#include <QDragEnterEvent>
#include <QMimeData>
#include <QPainter>

#include "CTextBuffer.h"
#include "CTextEditView.h"
#include "DataTransfer.h"

Qt::DropActions CTextEditView::GetDragSourceEffects()
{
    return Qt::CopyAction | Qt::MoveAction;
}

void CTextEditView::OnDragSourceDone(Qt::DropAction effect)
{
    if (!IsDragSourceActive() || effect != Qt::MoveAction || !Buffer())
        return;
    const TextPos start = GetDragStart(), end = GetDragEnd();
    Buffer()->DeleteText(this, start.y, start.x, end.y, end.x, ACTION_DRAG_DROP);
}

Qt::DropAction CTextEditView::DropEffect(const QDropEvent* event) const
{
    Qt::DropAction action = event->modifiers() & Qt::ControlModifier ? Qt::CopyAction : Qt::MoveAction;
    // A source that cannot give up its text is copied from.
    if (!(event->possibleActions() & action))
        action = event->possibleActions() & Qt::CopyAction ? Qt::CopyAction : event->proposedAction();
    return action;
}

void CTextEditView::ShowDropMark(QPoint client)
{
    if (!m_bDropMarkShown) {
        HideTextCaret();
        m_ptCaretBeforeDrop = GetCursorTextPos();
        m_bDropMarkShown = true;
    }
    viewport()->update(m_dropMarkRect);
    m_ptDropAt = PointToTextPos(client);
    // Left of the first visible column the mark would sit in the margin.
    if (CharToColumn(m_ptDropAt.y, m_ptDropAt.x) < GetFirstColumn())
        m_dropMarkRect = QRect();
    else
        m_dropMarkRect = QRect(TextPosToPoint(m_ptDropAt), QSize(2, GetRowHeight()));
    viewport()->update(m_dropMarkRect);
}

void CTextEditView::HideDropMark()
{
    if (!m_bDropMarkShown)
        return;
    viewport()->update(m_dropMarkRect);
    m_dropMarkRect = QRect();
    SetCursorTextPos(m_ptCaretBeforeDrop);
    ShowTextCaret();
    m_bDropMarkShown = false;
}

void CTextEditView::DragScroll(QPoint client)
{
    const QRect area = viewport()->rect();
    const int border = kDragScrollBorder;
    int line = GetFirstRow(), column = GetFirstColumn();
    if (client.y() < area.top() + border)
        line = std::max(0, line - 1);
    else if (client.y() >= area.top() + area.height() - border)
        line = std::min(GetLineCount() - 1, line + 1);
    else if (client.x() < area.left() + kMarginWidth + border)
        column = std::max(0, column - 1);
    else if (client.x() >= area.left() + area.width() - border)
        column = std::max(0, std::min(GetWidestLineColumns() - 1, column + 1));
    if (line == GetFirstRow() && column == GetFirstColumn())
        return;
    const bool shown = m_bDropMarkShown;
    HideDropMark();
    ScrollToLine(line, true);
    ScrollToColumn(column, true);
    viewport()->repaint();
    if (shown)
        ShowDropMark(client);
}

bool CTextEditView::InsertDroppedText(const QMimeData* data, QPoint client)
{
    std::string text;
    if (!TextFromMimeData(data, text)) {
        if (MimeDataHasText(data))
            TellStatusBar(QString::fromUtf8("拖入的文字含有 GBK 无法表示的字符, 未插入"));
        return false;
    }
    const TextPos at = PointToTextPos(client);
    // Dropped onto the very text being dragged: nothing moves.
    NormaliseSelection();
    if (IsDragSourceActive() && IsInSelection(at)) {
        MoveTo(at);
        return false;
    }
    int endLine = 0, endChar = 0;
    if (!Buffer()->InsertText(this, at.y, at.x, text, endLine, endChar, ACTION_DRAG_DROP))
        return false;
    const TextPos end{endChar, endLine};
    SetSelectionAnchor(at);
    SetSelection(at, end);
    SetCursorTextPos(end);
    ScrollIntoView(end);
    return true;
}

void CTextEditView::dragEnterEvent(QDragEnterEvent* event)
{
    m_ptDragOver = event->position().toPoint();
    if (!MimeDataHasText(event->mimeData())) {
        HideDropMark();
        event->ignore();
        return;
    }
    ShowDropMark(m_ptDragOver);
    event->setDropAction(DropEffect(event));
    event->accept();
    if (!m_nDragScrollTimer)
        m_nDragScrollTimer = startTimer(kAutoScrollPeriod);
}

void CTextEditView::dragMoveEvent(QDragMoveEvent* event)
{
    m_ptDragOver = event->position().toPoint();
    if (!QueryEditable() || !MimeDataHasText(event->mimeData())) {
        HideDropMark();
        event->ignore();
        return;
    }
    DragScroll(m_ptDragOver);
    ShowDropMark(m_ptDragOver);
    event->setDropAction(DropEffect(event));
    event->accept();
}

void CTextEditView::dragLeaveEvent(QDragLeaveEvent* event)
{
    HideDropMark();
    if (m_nDragScrollTimer) {
        killTimer(m_nDragScrollTimer);
        m_nDragScrollTimer = 0;
    }
    event->accept();
}

void CTextEditView::dropEvent(QDropEvent* event)
{
    HideDropMark();
    if (m_nDragScrollTimer) {
        killTimer(m_nDragScrollTimer);
        m_nDragScrollTimer = 0;
    }
    if (!QueryEditable() || !InsertDroppedText(event->mimeData(), event->position().toPoint())) {
        event->ignore();
        return;
    }
    event->setDropAction(DropEffect(event));
    event->accept();
}

void CTextEditView::timerEvent(QTimerEvent* event)
{
    // While the pointer rests near an edge during a drag, keep scrolling.
    if (event->timerId() == m_nDragScrollTimer) {
        DragScroll(m_ptDragOver);
        return;
    }
    CTextView::timerEvent(event);
}

void CTextEditView::paintEvent(QPaintEvent* event)
{
    CTextView::paintEvent(event);
    if (m_bDropMarkShown && !m_dropMarkRect.isEmpty()) {
        QPainter painter(viewport());
        painter.fillRect(m_dropMarkRect, Qt::gray);
    }
}
