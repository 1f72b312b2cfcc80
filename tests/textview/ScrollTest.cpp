// Scrolling and the reaction to buffer changes.
#include <QScrollBar>

#include "CSplitterWnd.h"
#include "EditAdjuster.h"
#include "TextViewFixture.h"
#include "ids.h"

namespace {

std::string Lines(int count, const std::string& prefix = "N")
{
    std::string text;
    for (int i = 0; i < count; ++i)
        text += prefix + std::to_string(i) + (i + 1 < count ? "\r\n" : "");
    return text;
}

TEST_F(TextViewTest, ScrollBarCodesMoveTheFirstRow)
{
    Load(Lines(100), 20);
    QScrollBar* bar = view->verticalScrollBar();
    EXPECT_EQ(bar->maximum(), 80);
    EXPECT_EQ(bar->pageStep(), 20);
    view->OnVScroll(CTextView::SB_BOTTOM);
    EXPECT_EQ(view->GetFirstRow(), 81);
    EXPECT_EQ(bar->value(), 80);  // the bar stays at its end
    view->OnVScroll(CTextView::SB_PAGEUP);
    EXPECT_EQ(view->GetFirstRow(), 62);
    view->OnVScroll(CTextView::SB_LINEDOWN);
    EXPECT_EQ(view->GetFirstRow(), 63);
    view->OnVScroll(CTextView::SB_THUMBTRACK, 10);
    EXPECT_EQ(view->GetFirstRow(), 10);
    EXPECT_EQ(bar->value(), 10);
    view->OnVScroll(CTextView::SB_TOP);
    view->OnVScroll(CTextView::SB_LINEUP);
    EXPECT_EQ(view->GetFirstRow(), 0);

    // The bar's own actions go the same way.
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(view->GetFirstRow(), 19);
    EXPECT_EQ(bar->value(), 19);
    bar->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(view->GetFirstRow(), 81);
}

TEST_F(TextViewTest, ScrollingAColumnMovesTheTextButNotTheMargin)
{
    Load(std::string(100, 'X') + "\r\nABCDEFGHIJ" + std::string(90, 'y'));
    buffer->ChangeLineFlag(1, LINEFLAG_BOOKMARK, true, false);
    const QImage before = Grab();
    EXPECT_EQ(view->horizontalScrollBar()->maximum(), 60);
    view->OnHScroll(CTextView::SB_LINEDOWN);
    EXPECT_EQ(view->GetFirstColumn(), 1);
    const QImage after = Grab();
    const int margin = CTextView::kMarginWidth, cell = view->GetCellWidth(), row = view->GetRowHeight();
    EXPECT_EQ(after.copy(0, 0, margin, after.height()), before.copy(0, 0, margin, before.height()));
    // Column c now shows what column c + 1 showed.
    EXPECT_EQ(after.copy(margin + cell, row, 5 * cell, row), before.copy(margin + 2 * cell, row, 5 * cell, row));
    EXPECT_NE(after.copy(margin, row, cell, row), before.copy(margin, row, cell, row));
    view->OnHScroll(CTextView::SB_BOTTOM);
    EXPECT_EQ(view->GetFirstColumn(), 61);
}

TEST_F(TextViewTest, WhenEverythingFitsAHeightChangeBringsTheFirstRowBack)
{
    Load(Lines(5));
    view->ScrollToLine(3, true);
    ASSERT_EQ(view->GetFirstRow(), 3);
    int endLine, endChar;
    buffer->RawInsert(nullptr, 4, 0, "\r\n", endLine, endChar);
    EXPECT_EQ(view->GetFirstRow(), 0);
}

TEST_F(TextViewTest, AChangeForgetsTheCookiesFromItsLineDown)
{
    struct Counting : CTextView
    {
        std::vector<int> parsed;
        ParseCookie ColouriseLine(ParseCookie cookie, int line, ColourBlock*, int&) override
        {
            parsed.push_back(line);
            return cookie + 1;
        }
    };
    buffer = std::make_unique<CTextBuffer>();
    buffer->ResetToEmpty(EOL_DOS);
    int endLine, endChar;
    buffer->RawInsert(nullptr, 0, 0, Lines(40), endLine, endChar);
    auto counting = new Counting;
    view.reset(counting);
    Resize(20, 40);
    view->AttachBuffer(buffer.get());
    EXPECT_EQ(view->GetParseCookie(30), 31u);
    EXPECT_EQ(view->KnownCookieCount(), 31);

    buffer->ChangeLineFlag(10, LINEFLAG_BOOKMARK, true, false);
    EXPECT_EQ(view->KnownCookieCount(), 10);
    counting->parsed.clear();
    EXPECT_EQ(view->GetParseCookie(12), 13u);
    EXPECT_EQ(counting->parsed, (std::vector<int>{10, 11, 12}));

    // A new line moves the cookies' lines: they are parsed again from the
    // edit down, and agree with a fresh parse.
    buffer->RawInsert(nullptr, 5, 0, "X\r\n", endLine, endChar);
    EXPECT_EQ(view->KnownCookieCount(), 5);
    EXPECT_EQ(view->GetParseCookie(40), 41u);
}

TEST_F(TextViewTest, TheFirstRowMovesThroughTheAdjusterLikeTheCursor)
{
    Load(Lines(200), 20);
    view->ScrollToLine(50, true);
    view->SetCursorTextPos({1, 60});
    const QImage before = Grab();
    int endLine, endChar;
    buffer->RawInsert(nullptr, 10, 0, "NEW\r\n", endLine, endChar);
    EXPECT_EQ(view->GetFirstRow(), 51);
    EXPECT_EQ(view->GetCursorTextPos(), (TextPos{1, 61}));
    EXPECT_EQ(Grab(), before);  // the same text in the window

    buffer->RawDelete(nullptr, 0, 0, 11, 0);
    EXPECT_EQ(view->GetFirstRow(), 40);
    EXPECT_EQ(view->GetCursorTextPos(), (TextPos{1, 50}));
}

TEST_F(TextViewTest, PositionsStayInsideTheTextWhenTheirLinesGo)
{
    Load(Lines(50), 10);
    view->ScrollToLine(45, true);
    view->SetCursorTextPos({2, 48});
    view->SetSelectionAnchor({1, 40});
    view->SetSelection({1, 40}, {2, 48});
    // Everything from line 30 to the end goes.
    buffer->RawDelete(nullptr, 29, buffer->LineLength(29), 49, buffer->LineLength(49));
    ASSERT_EQ(buffer->LineCount(), 30);
    for (TextPos pos : {view->GetCursorTextPos(), view->GetSelectionAnchor()}) {
        EXPECT_LT(pos.y, 30);
        EXPECT_LE(pos.x, buffer->LineLength(pos.y));
    }
    EXPECT_LT(view->GetFirstRow(), 30);
    TextPos start, end;
    view->GetSelection(start, end);
    EXPECT_LT(end.y, 30);

    // A reset brings everything to the start.
    buffer->ResetToEmpty(EOL_UNIX);
    EXPECT_EQ(view->GetFirstRow(), 0);
    EXPECT_EQ(view->GetCursorTextPos(), (TextPos{0, 0}));
}

TEST_F(TextViewTest, TheWidestLineFollowsEdits)
{
    Load("12345\r\n1234567890\r\n12");
    EXPECT_EQ(view->GetWidestLineColumns(), 10);
    int endLine, endChar;
    buffer->RawInsert(nullptr, 2, 2, "\t\t\t", endLine, endChar);  // "12" + 3 tabs = 12 columns
    EXPECT_EQ(view->GetWidestLineColumns(), 12);
    buffer->RawDelete(nullptr, 2, 0, 2, 5);
    EXPECT_EQ(view->GetWidestLineColumns(), 10);
    buffer->RawDelete(nullptr, 0, 5, 1, 10);  // joins line 0 and 1 without line 1's text
    EXPECT_EQ(view->GetWidestLineColumns(), 5);
}

// Panes of one splitter over one buffer.
class PaneView : public CTextView
{
public:
    explicit PaneView(CTextBuffer* buffer) : m_buffer(buffer) {}
    CTextBuffer* FindTextBuffer() const override { return m_buffer; }

private:
    CTextBuffer* m_buffer;
};

TEST_F(TextViewTest, SplitterPanesOfARowScrollTogetherByKeyboard)
{
    Load(Lines(200, "G01 X10 Y20 Z30 F200 (a comment that runs on well past the edge of the pane) N"));
    CSplitterWnd splitter;
    ASSERT_TRUE(splitter.CreateStatic(2, 2));
    PaneView* panes[2][2];
    for (int row = 0; row < 2; ++row)
        for (int column = 0; column < 2; ++column)
            splitter.SetPane(row, column, panes[row][column] = new PaneView(buffer.get()));
    splitter.resize(600, 400);
    splitter.show();
    for (auto& row : panes)
        for (PaneView* pane : row)
            pane->OnInitialUpdate();
    int r = -1, c = -1;
    EXPECT_EQ(CSplitterWnd::PaneOf(panes[1][0], r, c), &splitter);
    EXPECT_EQ(r, 1);
    EXPECT_EQ(c, 0);
    EXPECT_EQ(CSplitterWnd::PaneOf(view.get(), r, c), nullptr);

    // Keyboard scrolling moves the row's other pane, bar included.
    panes[0][0]->OnCmdMsg(ID_EDIT_EXTEND_PAGE_DOWN, nullptr);
    const int first = panes[0][0]->GetFirstRow();
    EXPECT_GT(first, 0);
    EXPECT_EQ(panes[0][1]->GetFirstRow(), first);
    EXPECT_EQ(panes[0][1]->verticalScrollBar()->value(), first);
    EXPECT_EQ(panes[1][0]->GetFirstRow(), 0);
    // Columns follow within a column of panes.
    panes[0][0]->SetCursorTextPos({buffer->LineLength(first), first});
    panes[0][0]->OnCmdMsg(ID_EDIT_MOVE_RIGHT, nullptr);
    panes[0][0]->OnCmdMsg(ID_EDIT_MOVE_LINE_END, nullptr);
    const int firstColumn = panes[0][0]->GetFirstColumn();
    EXPECT_GT(firstColumn, 0);
    EXPECT_EQ(panes[1][0]->GetFirstColumn(), firstColumn);
    EXPECT_EQ(panes[0][1]->GetFirstColumn(), 0);
    // The scroll bar alone moves only its own pane.
    panes[0][0]->OnVScroll(CTextView::SB_TOP);
    EXPECT_EQ(panes[0][0]->GetFirstRow(), 0);
    EXPECT_EQ(panes[0][1]->GetFirstRow(), first);

    // A new pane starts where its neighbours are.
    panes[1][0]->OnVScroll(CTextView::SB_THUMBTRACK, 7);
    panes[0][1]->OnHScroll(CTextView::SB_THUMBTRACK, 3);
    auto* fresh = new PaneView(buffer.get());
    splitter.SetPane(1, 1, fresh);
    fresh->OnInitialUpdate();
    EXPECT_EQ(fresh->GetFirstRow(), 7);
    EXPECT_EQ(fresh->GetFirstColumn(), 3);
    auto* below = new PaneView(buffer.get());
    splitter.SetPane(1, 0, below);
    below->OnInitialUpdate();
    EXPECT_EQ(below->GetFirstColumn(), firstColumn);
}

}  // namespace
