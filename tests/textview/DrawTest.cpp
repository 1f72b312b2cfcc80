// Drawing: rows and their colours, margin icons, selection cells, tabs, GBK.
#include <QPainter>

#include "Resources.h"
#include "TextViewFixture.h"
#include "ids.h"

namespace {

TEST_F(TextViewTest, TheRunningLineIsWhiteOnGreenAcrossTheWholeWidthWithIcon0)
{
    Load("G00 X0\r\nG01 X10 F200\r\nM30");
    view->MarkRunningLine(1);
    EXPECT_EQ(buffer->LineFlags(1), LINEFLAG_RUNNING);
    const QImage image = Grab();
    const QColor green(0, 128, 0);
    // Behind the text and far right of it.
    EXPECT_EQ(CellColour(image, 3, 1), green);
    EXPECT_EQ(CellColour(image, 39, 1), green);
    // The text is white: some pixel of the first cell is.
    bool white = false;
    for (int y = view->GetRowHeight(); y < 2 * view->GetRowHeight(); ++y)
        for (int x = CTextView::kMarginWidth; x < CTextView::kMarginWidth + view->GetCellWidth(); ++x)
            white = white || image.pixelColor(x, y) == QColor(255, 255, 255);
    EXPECT_TRUE(white);
    // The other lines keep the window colours.
    EXPECT_EQ(CellColour(image, 39, 0), view->GetIndexColour(ColourEmptyArea));

    // Icon 0 of the strip in the margin.
    const QImage strip = LoadBitmapResource(IDB_MARGIN_ICONS);
    QImage expected(16, 16, QImage::Format_RGB32);
    expected.fill(view->GetIndexColour(ColourMargin));
    QPainter(&expected).drawImage(0, 0, strip, 0, 0, 16, 16);
    const int top = view->GetRowHeight() + (view->GetRowHeight() - 16) / 2;
    EXPECT_EQ(image.copy(2, top, 16, 16), expected);

    // Marking another line takes the mark away from this one.
    view->MarkRunningLine(2);
    EXPECT_EQ(buffer->LineFlags(1), 0u);
    EXPECT_EQ(CellColour(Grab(), 39, 1), view->GetIndexColour(ColourEmptyArea));
}

TEST_F(TextViewTest, TheRunningLineMovesOnFromWhereEditsTookItsMark)
{
    Load("N1\r\nN2\r\nN3\r\nN4\r\nN5\r\nN6");
    view->MarkRunningLine(3);
    // A line inserted above: the mark goes down with its line.
    int endLine = 0, endChar = 0;
    ASSERT_TRUE(buffer->RawInsert(nullptr, 0, 0, "N0\r\n", endLine, endChar));
    EXPECT_EQ(buffer->LineFlags(4), LINEFLAG_RUNNING);
    view->MarkRunningLine(1);
    EXPECT_EQ(buffer->LineFlags(4), 0u);
    EXPECT_EQ(buffer->LineFlags(1), LINEFLAG_RUNNING);
    const QImage image = Grab();
    EXPECT_EQ(CellColour(image, 39, 4), view->GetIndexColour(ColourEmptyArea));
    EXPECT_EQ(CellColour(image, 39, 1), QColor(0, 128, 0));
}

TEST_F(TextViewTest, MarginIconsFollowTheirOrderNotTheBitOrder)
{
    Load("a\r\nb\r\nc");
    buffer->ChangeLineFlag(0, LINEFLAG_BOOKMARK_0, true, false);
    buffer->ChangeLineFlag(0, LINEFLAG_BOOKMARK_3, true, false);
    buffer->ChangeLineFlag(1, LINEFLAG_BOOKMARK, true, false);
    const QImage image = Grab();
    const QImage strip = LoadBitmapResource(IDB_MARGIN_ICONS);
    ASSERT_EQ(strip.size(), QSize(14 * 16, 16));
    auto icon = [&](int index) {
        QImage cell(16, 16, QImage::Format_RGB32);
        cell.fill(view->GetIndexColour(ColourMargin));
        QPainter(&cell).drawImage(0, 0, strip, index * 16, 0, 16, 16);
        return cell;
    };
    auto margin = [&](int row) {
        return image.copy(2, row * view->GetRowHeight() + (view->GetRowHeight() - 16) / 2, 16, 16);
    };
    // Bookmark 3 comes before bookmark 0: icon 5, not 12.
    EXPECT_EQ(margin(0), icon(5));
    EXPECT_NE(margin(0), icon(12));
    EXPECT_EQ(margin(1), icon(13));
    // No flag, no icon.
    QImage plain(16, 16, QImage::Format_RGB32);
    plain.fill(view->GetIndexColour(ColourMargin));
    EXPECT_EQ(margin(2), plain);
}

TEST_F(TextViewTest, RowsPastTheEndAreEmptyArea)
{
    Load("G00\r\nG01");
    QPalette palette = view->palette();
    palette.setColor(QPalette::Base, QColor(250, 250, 200));
    palette.setColor(QPalette::Button, QColor(200, 200, 250));
    view->setPalette(palette);
    const QImage image = Grab();
    for (int row = 2; row < 10; ++row) {
        for (int x = 0; x < image.width(); x += 7) {
            const QColor expected = x < CTextView::kMarginWidth ? QColor(200, 200, 250) : QColor(250, 250, 200);
            ASSERT_EQ(image.pixelColor(x, row * view->GetRowHeight() + 2), expected) << row << " " << x;
        }
    }
}

TEST_F(TextViewTest, ASelectedEmptyLineAndASelectedLineBreakShowOneCell)
{
    Load("G00\r\n\r\nG01");
    view->m_bShowSelUnfocused = true;
    view->SetSelection({1, 0}, {0, 2});
    const QImage image = Grab();
    const QColor selection(0, 128, 128), empty = view->GetIndexColour(ColourEmptyArea);
    // Line 0: "G00" then its selected line break at column 3.
    EXPECT_EQ(CellColour(image, 1, 0), selection);
    EXPECT_EQ(CellColour(image, 3, 0), selection);
    EXPECT_EQ(CellColour(image, 4, 0), empty);
    // Line 1 is empty: one selected cell.
    EXPECT_EQ(CellColour(image, 0, 1), selection);
    EXPECT_EQ(CellColour(image, 1, 1), empty);
    // Line 2 is not selected at all.
    EXPECT_NE(CellColour(image, 0, 2), selection);

    // Without focus and without the Find dialog the selection is not shown.
    view->m_bShowSelUnfocused = false;
    EXPECT_EQ(CellColour(Grab(), 0, 1), empty);
}

TEST_F(TextViewTest, TabsExpandToStopsOfTheWholeLine)
{
    // The tab at column 2 takes two cells; a run that starts after the tab
    // still ends at the stop.
    Load("ab\tc\r\na\tb");
    view->m_bShowSelUnfocused = true;
    view->SetSelection({2, 0}, {3, 0});  // the tab alone
    QImage image = Grab();
    const QColor selection(0, 128, 128);
    EXPECT_NE(CellColour(image, 1, 0), selection);
    EXPECT_EQ(CellColour(image, 2, 0), selection);
    EXPECT_EQ(CellColour(image, 3, 0), selection);
    EXPECT_NE(CellColour(image, 4, 0), selection);
    EXPECT_EQ(view->CharToColumn(0, 3), 4);
    EXPECT_EQ(view->CharToColumn(1, 2), 4);
    EXPECT_EQ(view->GetLineDisplayWidth(0), 5);

    // Selecting from inside the line: the tab of line 1 starts at column 1
    // and still ends at column 4.
    view->SetSelection({1, 1}, {2, 1});
    image = Grab();
    EXPECT_NE(CellColour(image, 0, 1), selection);
    for (int column = 1; column < 4; ++column)
        EXPECT_EQ(CellColour(image, column, 1), selection) << column;
    EXPECT_NE(CellColour(image, 4, 1), selection);
}

TEST_F(TextViewTest, ColourRunsOfADerivedParseAreDrawn)
{
    // A parse that colours bytes 2.. as a comment, and the cookie it hands
    // on counts the lines.
    struct Coloured : CTextView
    {
        int calls = 0;
        ParseCookie ColouriseLine(ParseCookie cookie, int, ColourBlock* blocks, int& count) override
        {
            ++calls;
            if (blocks)
                blocks[count++] = {2, ColourComment};
            return cookie + 1;
        }
    };
    buffer = std::make_unique<CTextBuffer>();
    buffer->ResetToEmpty(EOL_DOS);
    int endLine, endChar;
    buffer->RawInsert(nullptr, 0, 0, "XX\xdb\xdb\xdb\xdb\r\nXXXXXX", endLine, endChar);
    auto coloured = std::make_unique<Coloured>();
    view = std::move(coloured);
    Resize(10, 40);
    view->AttachBuffer(buffer.get());
    const QImage image = Grab();
    auto hasColour = [&](int column, int row, const QColor& colour) {
        const int x0 = CTextView::kMarginWidth + column * view->GetCellWidth();
        for (int y = row * view->GetRowHeight(); y < (row + 1) * view->GetRowHeight(); ++y)
            for (int x = x0; x < x0 + view->GetCellWidth(); ++x)
                if (image.pixelColor(x, y) == colour)
                    return true;
        return false;
    };
    const QColor comment(0, 128, 20);
    EXPECT_FALSE(hasColour(0, 1, comment));
    EXPECT_TRUE(hasColour(2, 1, comment));
    EXPECT_TRUE(hasColour(5, 1, comment));
    EXPECT_EQ(view->GetParseCookie(1), 2u);
}

}  // namespace

namespace {

// Where ink (pixels unlike the background) lies in a row, by cell.
std::vector<bool> InkedCells(const QImage& image, int row, int cells, int rowHeight, int cellWidth,
                             const QColor& background)
{
    std::vector<bool> inked(size_t(cells), false);
    for (int c = 0; c < cells; ++c)
        for (int y = row * rowHeight; y < (row + 1) * rowHeight; ++y)
            for (int x = CTextView::kMarginWidth + c * cellWidth; x < CTextView::kMarginWidth + (c + 1) * cellWidth; ++x)
                if (image.pixelColor(x, y) != background)
                    inked[size_t(c)] = true;
    return inked;
}

TEST_F(TextViewTest, AGbkCharacterIsOneGlyphOverTwoCellsAndABadByteAPlaceholder)
{
    // "数控" in GBK, then a lone 0x80, then "X".
    Load("\xca\xfd\xbf\xd8\x80X");
    EXPECT_EQ(view->GetLineDisplayWidth(0), 6);  // bytes, not characters
    const QImage image = Grab();
    const std::vector<bool> inked =
        InkedCells(image, 0, 8, view->GetRowHeight(), view->GetCellWidth(), view->GetIndexColour(ColourBackground));
    // Both halves of each character carry ink, the placeholder and the X
    // one cell each, and nothing follows.
    EXPECT_EQ(inked, (std::vector<bool>{true, true, true, true, true, true, false, false}));
    // The cursor after the first character is at byte 2, column 2.
    EXPECT_EQ(view->TextPosToPoint({2, 0}).x(), CTextView::kMarginWidth + 2 * view->GetCellWidth());
}

}  // namespace
