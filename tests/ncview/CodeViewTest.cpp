// The NC code view: its colouring as drawn, the parse state carried from
// line to line, the document's buffer, the click that tells the simulation
// and the context menu.
#include <QContextMenuEvent>
#include <QMenu>
#include <QTimer>

#include "CMDIFrameWnd.h"
#include "CodeViewFixture.h"
#include "DocumentLinks.h"
#include "NcColouring.h"

namespace {

// Whether some pixel of text cell (column, row) is exactly colour.
bool CellHas(CTextView* view, const QImage& image, int column, int row, QColor colour)
{
    const int width = view->GetCellWidth(), height = view->GetRowHeight();
    for (int y = row * height; y < (row + 1) * height; ++y)
        for (int x = CTextView::kMarginWidth + column * width; x < CTextView::kMarginWidth + (column + 1) * width; ++x)
            if (image.pixelColor(x, y) == colour)
                return true;
    return false;
}

TEST_F(CodeViewTest, KeywordsCommentsAndNumbersAreDrawnInTheirColours)
{
    Load("G01 X10 100 (CUT)\r\nG01X10 M3 #1");
    view->clearFocus();
    QCoreApplication::processEvents();
    const QImage image = view->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QColor blue(0, 0, 255), green(0, 128, 20), magenta(255, 0, 255);
    for (int column : {0, 1, 2})
        EXPECT_TRUE(CellHas(view, image, column, 0, blue)) << column;
    EXPECT_FALSE(CellHas(view, image, 4, 0, blue));  // X10 is an address
    EXPECT_FALSE(CellHas(view, image, 4, 0, magenta));
    for (int column : {8, 9, 10})
        EXPECT_TRUE(CellHas(view, image, column, 0, magenta)) << column;
    for (int column : {12, 13, 16})
        EXPECT_TRUE(CellHas(view, image, column, 0, green)) << column;
    // Glued words and M3 stay plain text.
    for (int column : {0, 3, 7, 8})
        EXPECT_FALSE(CellHas(view, image, column, 1, blue)) << column;
}

TEST_F(CodeViewTest, TheParseStateCrossesLinesThroughTheViewsCache)
{
    Load("G01 (open\r\nstill comment\r\nclosed) G00\r\nN1 \"a\\\r\nb\"");
    EXPECT_EQ(view->GetParseCookie(0), NcCookieParenComment);
    EXPECT_EQ(view->GetParseCookie(1), NcCookieParenComment);
    EXPECT_EQ(view->GetParseCookie(2), 0u);
    EXPECT_EQ(view->GetParseCookie(3), NcCookieString);
    EXPECT_EQ(view->GetParseCookie(4), 0u);
    // Closing the comment early changes the state of the lines below.
    int endLine = 0, endChar = 0;
    Buffer().InsertText(nullptr, 0, 9, ")", endLine, endChar, 0);
    EXPECT_EQ(view->GetParseCookie(1), 0u);
}

class FakeSimulation : public CView, public CMoveSelectionView
{
public:
    void SelectMoveByLine(int line) override { lines.push_back(line); }
    std::vector<int> lines;
};

TEST_F(CodeViewTest, AClickTellsTheSimulationOnlyWhenThereIsAToolpath)
{
    Load("G00 X0\r\nG01 X10 F100\r\nG01 Y10");
    EXPECT_EQ(view->Buffer(), &Buffer());
    FakeSimulation simulation;
    doc->AddView(&simulation);
    const QPoint line1 = view->TextPosToPoint({2, 1}) + QPoint(1, view->GetRowHeight() / 2);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, line1);
    EXPECT_TRUE(simulation.lines.empty());
    ASSERT_TRUE(doc->Interpreter().Run(Buffer()));
    ASSERT_TRUE(doc->HasToolpath());
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, line1);
    const QPoint line2 = view->TextPosToPoint({0, 2}) + QPoint(1, view->GetRowHeight() / 2);
    QTest::mouseClick(view->viewport(), Qt::RightButton, {}, line2);
    EXPECT_EQ(simulation.lines, std::vector<int>{1});
    doc->RemoveView(&simulation);
}

TEST_F(CodeViewTest, TheContextMenuIsTheEditMenuAndTheMenuKeyOpensItAtTheTopLeftPlusFive)
{
    Load("G01");
    CMDIFrameWnd main;
    view->setParent(&main);
    view->move(30, 40);
    main.resize(600, 400);
    main.show();
    view->show();
    QStringList items;
    QPoint where;
    auto look = [&] {
        if (auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            where = popup->pos();
            for (QAction* action : popup->actions())
                items << action->text();
            popup->close();
        }
    };
    QTimer::singleShot(0, look);
    QContextMenuEvent key(QContextMenuEvent::Keyboard, QPoint(0, 0), view->mapToGlobal(QPoint(0, 0)));
    QApplication::sendEvent(view->viewport(), &key);
    EXPECT_EQ(where, view->viewport()->mapToGlobal(QPoint(5, 5)));
    EXPECT_TRUE(items.contains(QString::fromUtf8("复制(&C)\tCtrl+C"))) << items.join(',').toStdString();

    // The mouse opens it where the pointer is.
    items.clear();
    QTimer::singleShot(0, look);
    const QPoint pointer = view->viewport()->mapToGlobal(QPoint(60, 30));
    QContextMenuEvent mouse(QContextMenuEvent::Mouse, QPoint(60, 30), pointer);
    QApplication::sendEvent(view->viewport(), &mouse);
    EXPECT_EQ(where, pointer);
    EXPECT_FALSE(items.isEmpty());
    view->setParent(&frame->m_widget);  // the fixture deletes it
}

}  // namespace
