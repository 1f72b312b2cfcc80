// CTornelView: the code pane of a document window.  The editing view with
// NC colouring, the document's buffer and font, the Edit menu as its
// context menu, and a click that tells the simulation which line the cursor
// is on.
#pragma once

#include "CTextEditView.h"
#include "DocumentLinks.h"

class CNcDocument;

class CTornelView : public CTextEditView, public CRunningLineView
{
    Q_OBJECT

public:
    explicit CTornelView(QWidget* parent = nullptr);

    ParseCookie ColouriseLine(ParseCookie cookie, int line, ColourBlock* blocks, int& blockCount) override;
    bool ResumeColouring(int line, LineParseState& state, int from, int to, ColourBlock* blocks, int capacity,
                         int& blockCount) override;
    CTextBuffer* FindTextBuffer() const override;
    void OnInitialUpdate() override;
    // The document marks the line of the record the playback has reached.
    void MarkRunningLine(int line) override { CTextEditView::MarkRunningLine(line); }

    // Where the context menu opens for a menu-key press: the top-left of
    // the view plus (5, 5), on the screen.
    QPoint KeyboardMenuPoint() const;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    CNcDocument* NcDocument() const;
};
