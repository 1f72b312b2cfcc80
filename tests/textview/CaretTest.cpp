// Cursor, selection and the movement commands, by key and by id; the two
// status panes of the cursor.
#include <QTest>

#include "CCmdUI.h"
#include "TextViewFixture.h"
#include "ids.h"

namespace {

TEST_F(TextViewTest, ShiftRightSelectsAndLeftCollapsesOntoTheStart)
{
    Load("abcdef");
    view->SetCursorTextPos({2, 0});
    view->SetSelectionAnchor({2, 0});
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(view.get(), Qt::Key_Right, Qt::ShiftModifier);
    TextPos start, end;
    view->GetSelection(start, end);
    EXPECT_EQ(start, (TextPos{2, 0}));
    EXPECT_EQ(end, (TextPos{5, 0}));
    QTest::keyClick(view.get(), Qt::Key_Left);
    EXPECT_EQ(view->GetCursorTextPos(), (TextPos{2, 0}));
    EXPECT_TRUE(view->IsSelectionEmpty());
}

TEST_F(TextViewTest, UpAndDownKeepTheRememberedColumn)
{
    Load("0123456789ABC\r\nabc\r\n0123456789ABCDEF\r\n0123456789ABCDEF\r\nxyz0123456789");
    view->SetCursorTextPos({10, 3});
    Run(ID_EDIT_MOVE_UP);
    EXPECT_EQ(view->GetCursorTextPos(), (TextPos{10, 2}));
    Run(ID_EDIT_MOVE_UP);
    EXPECT_EQ(view->GetCursorTextPos(), (TextPos{3, 1}));
    Run(ID_EDIT_MOVE_UP);
    EXPECT_EQ(view->GetCursorTextPos(), (TextPos{10, 0}));
    Run(ID_EDIT_MOVE_DOWN);
    Run(ID_EDIT_MOVE_DOWN);
    Run(ID_EDIT_MOVE_DOWN);
    Run(ID_EDIT_MOVE_DOWN);
    EXPECT_EQ(view->GetCursorTextPos(), (TextPos{10, 4}));
}

TEST_F(TextViewTest, VerticalMovesSnapToTheNearerSideOfATab)
{
    Load("abcdef\r\n\tx");
    view->SetCursorTextPos({1, 0});
    Run(ID_EDIT_MOVE_DOWN);
    EXPECT_EQ(view->GetCursorTextPos(), (TextPos{0, 1}));
    view->SetCursorTextPos({3, 0});
    Run(ID_EDIT_MOVE_DOWN);
    EXPECT_EQ(view->GetCursorTextPos(), (TextPos{1, 1}));
}

TEST_F(TextViewTest, HomeTogglesBetweenTheFirstNonBlankAndColumnZero)
{
    Load("   G01 X10");
    view->SetCursorTextPos({5, 0});
    QTest::keyClick(view.get(), Qt::Key_Home);
    EXPECT_EQ(view->GetCursorTextPos().x, 3);
    QTest::keyClick(view.get(), Qt::Key_Home);
    EXPECT_EQ(view->GetCursorTextPos().x, 0);
    QTest::keyClick(view.get(), Qt::Key_Home);
    EXPECT_EQ(view->GetCursorTextPos().x, 3);
    QTest::keyClick(view.get(), Qt::Key_End);
    EXPECT_EQ(view->GetCursorTextPos().x, 10);
}

TEST_F(TextViewTest, WordMovesStopAtWordsPunctuationAndLineEnds)
{
    Load("G01 X10.5\r\nY2");
    QTest::keyClick(view.get(), Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(view->GetCursorTextPos(), (TextPos{4, 0}));
    QTest::keyClick(view.get(), Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(view->GetCursorTextPos(), (TextPos{7, 0}));
    QTest::keyClick(view.get(), Qt::Key_Left, Qt::ControlModifier);
    EXPECT_EQ(view->GetCursorTextPos(), (TextPos{4, 0}));
    view->SetCursorTextPos({9, 0});
    Run(ID_EDIT_MOVE_WORD_RIGHT);
    EXPECT_EQ(view->GetCursorTextPos(), (TextPos{2, 1}));
    Run(ID_EDIT_MOVE_WORD_LEFT);
    EXPECT_EQ(view->GetCursorTextPos(), (TextPos{0, 1}));
    // From the start of a line to the end of the one above, then over the
    // word "5" before it.
    Run(ID_EDIT_MOVE_WORD_LEFT);
    EXPECT_EQ(view->GetCursorTextPos(), (TextPos{8, 0}));
}

TEST_F(TextViewTest, WordMovesAtTheEndsOfTheTextChangeNothing)
{
    Load("G01\r\nX10");
    view->SetSelectionAnchor({2, 1});
    view->SetSelection({2, 1}, {0, 0});
    view->SetCursorTextPos({0, 0});
    Run(ID_EDIT_EXTEND_WORD_LEFT);
    EXPECT_EQ(view->GetCursorTextPos(), (TextPos{0, 0}));
    EXPECT_EQ(view->GetSelectionAnchor(), (TextPos{2, 1}));
    TextPos start, end;
    view->GetSelection(start, end);
    EXPECT_EQ(start, (TextPos{0, 0}));
    EXPECT_EQ(end, (TextPos{2, 1}));

    view->SetCursorTextPos({3, 1});
    view->SetSelectionAnchor({1, 0});
    view->SetSelection({1, 0}, {3, 1});
    Run(ID_EDIT_EXTEND_WORD_RIGHT);
    EXPECT_EQ(view->GetCursorTextPos(), (TextPos{3, 1}));
    EXPECT_EQ(view->GetSelectionAnchor(), (TextPos{1, 0}));
}

TEST_F(TextViewTest, PageDownMovesCursorAndFirstRowByOneLessThanThePage)
{
    std::string text;
    for (int i = 0; i < 100; ++i)
        text += "N" + std::to_string(i) + "\r\n";
    Load(text, 20);
    view->SetCursorTextPos({2, 3});
    QTest::keyClick(view.get(), Qt::Key_PageDown);
    EXPECT_EQ(view->GetFirstRow(), 19);
    EXPECT_EQ(view->GetCursorTextPos(), (TextPos{2, 22}));
    QTest::keyClick(view.get(), Qt::Key_PageUp, Qt::ShiftModifier);
    EXPECT_EQ(view->GetFirstRow(), 0);
    EXPECT_EQ(view->GetCursorTextPos(), (TextPos{2, 3}));
    EXPECT_EQ(view->GetSelectionAnchor(), (TextPos{2, 22}));

    // Ctrl+End goes to the end and brings it into view; Ctrl+Up scrolls
    // without moving the cursor.
    QTest::keyClick(view.get(), Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(view->GetCursorTextPos(), (TextPos{0, 100}));
    EXPECT_EQ(view->GetFirstRow(), 81);
    QTest::keyClick(view.get(), Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(view->GetFirstRow(), 80);
    EXPECT_EQ(view->GetCursorTextPos(), (TextPos{0, 100}));
}

TEST_F(TextViewTest, LongLinesScrollSidewaysToShowTheCursor)
{
    Load(std::string(100, 'x'), 10, 40);
    QTest::keyClick(view.get(), Qt::Key_End);
    EXPECT_EQ(view->GetFirstColumn(), 60);
    QTest::keyClick(view.get(), Qt::Key_Home);
    EXPECT_EQ(view->GetFirstColumn(), 0);
}

TEST_F(TextViewTest, SelectAllAndThePanes)
{
    Load("G00\r\n\tX1\r\nM30");
    CCmdUI position(ID_EDIT_INDICATOR_POSITION), crlf(ID_EDIT_INDICATOR_CRLF), all(ID_EDIT_SELECT_ALL);
    EXPECT_TRUE(view->OnCmdMsg(ID_EDIT_INDICATOR_POSITION, &position));
    EXPECT_EQ(position.m_text, QStringLiteral("Ln 1, Col 1"));
    EXPECT_TRUE(view->OnCmdMsg(ID_EDIT_INDICATOR_CRLF, &crlf));
    EXPECT_EQ(crlf.m_text, QStringLiteral("DOS"));
    EXPECT_TRUE(crlf.m_enabled);
    EXPECT_TRUE(view->OnCmdMsg(ID_EDIT_SELECT_ALL, &all));
    EXPECT_TRUE(all.m_enabled);

    QTest::keyClick(view.get(), Qt::Key_A, Qt::ControlModifier);
    TextPos start, end;
    view->GetSelection(start, end);
    EXPECT_EQ(start, (TextPos{0, 0}));
    EXPECT_EQ(end, (TextPos{3, 2}));
    EXPECT_EQ(view->GetFirstRow(), 0);

    // A tab counts one column in the pane.
    view->SetCursorTextPos({2, 1});
    view->OnCmdMsg(ID_EDIT_INDICATOR_POSITION, &position);
    EXPECT_EQ(position.m_text, QStringLiteral("Ln 2, Col 3"));

    // Without a buffer the mode pane is empty and disabled.
    view->DetachBuffer();
    CCmdUI none(ID_EDIT_INDICATOR_CRLF);
    view->OnCmdMsg(ID_EDIT_INDICATOR_CRLF, &none);
    EXPECT_FALSE(none.m_enabled);
    EXPECT_TRUE(none.m_text.isEmpty());
    EXPECT_EQ(view->GetLineCount(), 1);
}

TEST_F(TextViewTest, PointsAndPositionsMapBothWays)
{
    Load("a\tbc\r\n\r\nxyz");
    const int cell = view->GetCellWidth(), row = view->GetRowHeight(), margin = CTextView::kMarginWidth;
    // Every cell of the tab gives the tab's index.
    for (int column = 1; column < 4; ++column)
        EXPECT_EQ(view->PointToTextPos({margin + column * cell + 1, 1}), (TextPos{1, 0})) << column;
    EXPECT_EQ(view->PointToTextPos({margin + 4 * cell + 1, 1}), (TextPos{2, 0}));
    EXPECT_EQ(view->PointToTextPos({margin + 30 * cell, 1}), (TextPos{4, 0}));
    EXPECT_EQ(view->PointToTextPos({margin + 3 * cell, row + 1}), (TextPos{0, 1}));
    EXPECT_EQ(view->PointToTextPos({5, 9 * row}), (TextPos{0, 2}));
    EXPECT_EQ(view->TextPosToPoint({2, 0}), QPoint(margin + 4 * cell, 0));
    EXPECT_EQ(view->TextPosToPoint({1, 2}), QPoint(margin + cell, 2 * row));
}

}  // namespace
