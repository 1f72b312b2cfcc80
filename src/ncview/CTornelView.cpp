// The NC code view: colouring through the NC parse, the document's buffer
// and font, the context menu and the click that tells the simulation.
#include "CTornelView.h"

#include <QContextMenuEvent>
#include <QMouseEvent>

#include "CDocument.h"
#include "CMDIFrameWnd.h"
#include "NcDocument.h"
#include "NcColouring.h"
#include "ids.h"

namespace {

// The Edit popup of the document menu.
constexpr int kEditPopup = 1;

}  // namespace

CTornelView::CTornelView(QWidget* parent) : CTextEditView(parent)
{
}

CNcDocument* CTornelView::NcDocument() const
{
    return dynamic_cast<CNcDocument*>(GetDocument());
}

ParseCookie CTornelView::ColouriseLine(ParseCookie cookie, int line, ColourBlock* blocks, int& blockCount)
{
    const int length = GetLineLength(line);
    // The text view gives room for three blocks per byte.
    return ColouriseNcLine(cookie, GetLineChars(line), length, blocks, blocks ? 3 * length : 0, blockCount);
}

bool CTornelView::ResumeColouring(int line, LineParseState& state, int from, int to, ColourBlock* blocks,
                                  int capacity, int& blockCount)
{
    ResumeNcLine(state, GetLineChars(line), GetLineLength(line), from, to, blocks, capacity, blockCount);
    return true;
}

CTextBuffer* CTornelView::FindTextBuffer() const
{
    CNcDocument* document = NcDocument();
    return document ? document->CodeBuffer() : nullptr;
}

void CTornelView::OnInitialUpdate()
{
    CTextEditView::OnInitialUpdate();
    if (CNcDocument* document = NcDocument())
        SetViewFont(document->CodeFont());
}

void CTornelView::mousePressEvent(QMouseEvent* event)
{
    CTextEditView::mousePressEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    CNcDocument* document = NcDocument();
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
