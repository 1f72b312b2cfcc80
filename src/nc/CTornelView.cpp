#include "CTornelView.h"

#include <QContextMenuEvent>
#include <QMouseEvent>

#include "CDocument.h"
#include "CMDIFrameWnd.h"
#include "DocumentLinks.h"
#include "NcColouring.h"
#include "ids.h"

namespace {

// The Edit popup of the document menu.
constexpr int kEditPopup = 1;

}  // namespace

CTornelView::CTornelView(QWidget* parent) : CTextEditView(parent)
{
}

CCodeDocument* CTornelView::CodeDocument() const
{
    return dynamic_cast<CCodeDocument*>(GetDocument());
}

ParseCookie CTornelView::ColouriseLine(ParseCookie cookie, int line, ColourBlock* blocks, int& blockCount)
{
    const int length = GetLineLength(line);
    // The text view gives room for three blocks per byte.
    return ColouriseNcLine(cookie, GetLineChars(line), length, blocks, blocks ? 3 * length : 0, blockCount);
}

CTextBuffer* CTornelView::FindTextBuffer() const
{
    CCodeDocument* document = CodeDocument();
    return document ? document->CodeBuffer() : nullptr;
}

void CTornelView::OnInitialUpdate()
{
    CTextEditView::OnInitialUpdate();
    if (CCodeDocument* document = CodeDocument())
        SetViewFont(document->CodeFont());
}

void CTornelView::mousePressEvent(QMouseEvent* event)
{
    CTextEditView::mousePressEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    CCodeDocument* document = CodeDocument();
    if (document && document->HasToolpath())
        document->ShowLineInSimulation(GetCursorTextPos().y);
}

QPoint CTornelView::KeyboardMenuPoint() const
{
    return viewport()->mapToGlobal(QPoint(5, 5));
}

void CTornelView::contextMenuEvent(QContextMenuEvent* event)
{
    const QPoint at = event->reason() == QContextMenuEvent::Keyboard ? KeyboardMenuPoint() : event->globalPos();
    event->accept();
    if (auto* frame = dynamic_cast<CMDIFrameWnd*>(window()))
        frame->TrackPopupMenu(IDR_TORNELTYPE, kEditPopup, at);
}
