// The mouse: margin, word and plain selection gestures, the auto-scroll
// timer, the right button, pointer shapes; Copy and the clipboard; the view
// as a drag source.
#include <QClipboard>
#include <QMimeData>
#include <QTest>

#include "CCmdUI.h"
#include "DataTransfer.h"
#include "TextViewFixture.h"
#include "ids.h"

namespace {

class MouseTest : public TextViewTest
{
protected:
    void TearDown() override { SetDragDropHook({}); }

    // The left edge of text cell (column, row) of the window: a click there
    // lands on the boundary before that byte.
    QPoint Cell(int column, int row)
    {
        return {CTextView::kMarginWidth + column * view->GetCellWidth(),
                row * view->GetRowHeight() + view->GetRowHeight() / 2};
    }
    QPoint Margin(int row) { return {5, row * view->GetRowHeight() + view->GetRowHeight() / 2}; }

    void Send(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held,
              Qt::KeyboardModifiers modifiers)
    {
        const QPointF local(at);
        QMouseEvent event(type, local, view->viewport()->mapToGlobal(local), button, held, modifiers);
        QApplication::sendEvent(view->viewport(), &event);
    }
    void Press(QPoint at, Qt::KeyboardModifiers modifiers = {}, Qt::MouseButton button = Qt::LeftButton)
    {
        Send(QEvent::MouseButtonPress, at, button, button, modifiers);
    }
    void Move(QPoint at, Qt::MouseButtons held = Qt::LeftButton)
    {
        Send(QEvent::MouseMove, at, Qt::NoButton, held, {});
    }
    void Release(QPoint at, Qt::MouseButton button = Qt::LeftButton)
    {
        Send(QEvent::MouseButtonRelease, at, button, Qt::NoButton, {});
    }
    void Click(QPoint at, Qt::KeyboardModifiers modifiers = {})
    {
        Press(at, modifiers);
        Release(at);
    }
    void DoubleClick(QPoint at)
    {
        Click(at);
        Send(QEvent::MouseButtonDblClick, at, Qt::LeftButton, Qt::LeftButton, {});
        Release(at);
    }
    void ExpectSelection(TextPos start, TextPos end)
    {
        TextPos s, e;
        view->GetSelection(s, e);
        EXPECT_EQ(s, start);
        EXPECT_EQ(e, end);
    }
    static std::string Lines(int count)
    {
        std::string text;
        for (int i = 0; i < count; ++i)
            text += (i ? "\r\nline " : "line ") + std::to_string(i);
        return text;
    }
};

TEST_F(MouseTest, MarginClicksAndDragsSelectWholeLines)
{
    Load(Lines(10));
    Press(Margin(5));
    ExpectSelection({0, 5}, {0, 6});
    EXPECT_EQ(view->GetCursorTextPos(), (TextPos{0, 5}));
    EXPECT_TRUE(view->IsMouseSelecting());
    Move(Margin(2));
    ExpectSelection({0, 2}, {0, 6});
    Release(Margin(2));
    ExpectSelection({0, 2}, {0, 6});
    EXPECT_EQ(view->GetCursorTextPos(), (TextPos{0, 2}));
    EXPECT_FALSE(view->IsMouseSelecting());

    // Shift extends from the anchor's line to the clicked one.
    Click(Margin(5));
    Press(Margin(8), Qt::ShiftModifier);
    ExpectSelection({0, 5}, {0, 9});
    Release(Margin(8));
    ExpectSelection({0, 5}, {0, 9});
    EXPECT_EQ(view->GetCursorTextPos(), (TextPos{0, 9}));

    // The last line ends at its last byte; Ctrl selects everything.
    Click(Margin(9));
    ExpectSelection({0, 9}, {6, 9});
    Click(Margin(3), Qt::ControlModifier);
    ExpectSelection({0, 0}, {6, 9});
}

TEST_F(MouseTest, LeavingTheMarginContinuesAsAPlainSelection)
{
    Load(Lines(10));
    Press(Margin(3));
    Move(Cell(2, 4));
    ExpectSelection({0, 3}, {2, 4});
    EXPECT_EQ(view->viewport()->cursor().shape(), Qt::IBeamCursor);
    // Back over the margin the gesture stays plain.
    Move(Margin(6));
    ExpectSelection({0, 3}, {0, 6});
    Release(Cell(1, 6));
    EXPECT_EQ(view->GetCursorTextPos(), (TextPos{0, 6}));
    ExpectSelection({0, 3}, {0, 6});
}

TEST_F(MouseTest, ClicksPlaceTheCursorAtTheNearestBoundary)
{
    Load("G01 X10.5\r\nN20 G00");
    // The right half of a cell belongs to the boundary after it.
    const QPoint rightHalf = Cell(2, 0) + QPoint(view->GetCellWidth() * 3 / 4, 0);
    Click(rightHalf);
    EXPECT_EQ(view->GetCursorTextPos(), (TextPos{3, 0}));
    EXPECT_TRUE(view->IsSelectionEmpty());
    Click(Cell(2, 1), Qt::ShiftModifier);
    ExpectSelection({3, 0}, {2, 1});
    // Past the end of a line, and below the last line.
    Click(Cell(30, 5));
    EXPECT_EQ(view->GetCursorTextPos(), (TextPos{7, 1}));
    // A plain drag ends where the last move left the cursor.
    Press(Cell(1, 0));
    Move(Cell(6, 0));
    Release(Cell(6, 0));
    ExpectSelection({1, 0}, {6, 0});
}

TEST_F(MouseTest, CtrlClickAndDoubleClickSelectWholeWords)
{
    Load("X10.5 G01  ab_c");
    // The point of X10.5 is not a word character.
    Click(Cell(2, 0), Qt::ControlModifier);
    ExpectSelection({0, 0}, {3, 0});
    // Ctrl+drag grows word by word, and the cursor goes to the far end.
    Press(Cell(7, 0), Qt::ControlModifier);
    Move(Cell(13, 0));
    ExpectSelection({6, 0}, {15, 0});
    EXPECT_EQ(view->GetCursorTextPos(), (TextPos{15, 0}));
    Release(Cell(13, 0));

    DoubleClick(Cell(7, 0));
    ExpectSelection({6, 0}, {9, 0});
    EXPECT_EQ(view->GetCursorTextPos(), (TextPos{9, 0}));
    EXPECT_FALSE(view->IsMouseSelecting());
    // Between two blanks nothing is selected.
    DoubleClick(Cell(10, 0));
    EXPECT_TRUE(view->IsSelectionEmpty());
    EXPECT_EQ(view->GetCursorTextPos(), (TextPos{10, 0}));
}

TEST_F(MouseTest, PressInsideTheSelectionAndReleaseWithoutMovingClearsIt)
{
    Load("abcdefgh");
    view->SetSelectionAnchor({1, 0});
    view->SetSelection({1, 0}, {6, 0});
    Press(Cell(3, 0));
    EXPECT_FALSE(view->IsMouseSelecting());
    ExpectSelection({1, 0}, {6, 0});
    Release(Cell(3, 0));
    EXPECT_TRUE(view->IsSelectionEmpty());
    EXPECT_EQ(view->GetCursorTextPos(), (TextPos{3, 0}));
    EXPECT_EQ(view->GetSelectionAnchor(), (TextPos{1, 0}));
}

TEST_F(MouseTest, TheTimerScrollsThreeLinesFarOutsideAndOneJustOutside)
{
    Load(Lines(200));
    const int rows = view->GetVisibleRows();
    const int height = view->viewport()->height();
    const int rowHeight = view->GetRowHeight();
    Press(Cell(1, 2));
    // Mouse moves alone do not scroll.
    Move({Cell(1, 0).x(), height + 2 * rowHeight});
    EXPECT_EQ(view->GetFirstRow(), 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return view->GetFirstRow() != 0; }));
    EXPECT_EQ(view->GetFirstRow(), 3);
    // The selection follows the pointer's row, below the window.
    const TextPos cursor = view->GetCursorTextPos();
    EXPECT_GE(cursor.y, view->GetFirstRow() + rows);
    ExpectSelection({1, 2}, cursor);

    Move({Cell(1, 0).x(), height + 1});
    int first = view->GetFirstRow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return view->GetFirstRow() != first; }));
    EXPECT_EQ(view->GetFirstRow(), first + 1);

    // Above the window it scrolls back up; letting go stops it.
    Move({Cell(1, 0).x(), -2 * rowHeight});
    first = view->GetFirstRow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return view->GetFirstRow() != first; }));
    EXPECT_EQ(view->GetFirstRow(), first - 3);
    Release({Cell(1, 0).x(), -2 * rowHeight});
    first = view->GetFirstRow();
    QTest::qWait(3 * CTextView::kAutoScrollPeriod);
    EXPECT_EQ(view->GetFirstRow(), first);
}

TEST_F(MouseTest, LosingTheFocusEndsTheGesture)
{
    Load(Lines(100));
    view->setFocus();
    Press(Cell(1, 2));
    Move({Cell(1, 0).x(), view->viewport()->height() + 40});
    view->clearFocus();
    EXPECT_FALSE(view->IsMouseSelecting());
    QTest::qWait(3 * CTextView::kAutoScrollPeriod);
    EXPECT_EQ(view->GetFirstRow(), 0);
}

TEST_F(MouseTest, TheRightButtonMovesTheCursorOnlyOutsideTheSelection)
{
    Load("abcdefgh\r\nijkl");
    view->SetSelection({1, 0}, {6, 0});
    Press(Cell(3, 0), {}, Qt::RightButton);
    Release(Cell(3, 0), Qt::RightButton);
    ExpectSelection({1, 0}, {6, 0});
    Press(Cell(2, 1), {}, Qt::RightButton);
    Release(Cell(2, 1), Qt::RightButton);
    EXPECT_TRUE(view->IsSelectionEmpty());
    EXPECT_EQ(view->GetCursorTextPos(), (TextPos{2, 1}));
    EXPECT_EQ(view->GetSelectionAnchor(), (TextPos{2, 1}));
    EXPECT_FALSE(view->IsMouseSelecting());
}

TEST_F(MouseTest, ThePointerShowsTheMarginTheSelectionAndTheText)
{
    Load("abcdefgh");
    view->SetSelection({1, 0}, {4, 0});
    Move(Margin(0), Qt::NoButton);
    EXPECT_EQ(view->viewport()->cursor().shape(), Qt::BitmapCursor);
    EXPECT_EQ(view->viewport()->cursor().hotSpot(), QPoint(27, 0));
    Move(Cell(2, 0), Qt::NoButton);
    EXPECT_EQ(view->viewport()->cursor().shape(), Qt::ArrowCursor);
    Move(Cell(6, 0), Qt::NoButton);
    EXPECT_EQ(view->viewport()->cursor().shape(), Qt::IBeamCursor);
}

// ---- Copy.

std::string OwnBytes()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    const QByteArray bytes = data ? data->data(QString::fromLatin1(kGbkTextMimeType)) : QByteArray();
    return bytes.toStdString();
}

TEST_F(MouseTest, CopyPutsTheBytesAndTheirUnicodeTextOnTheClipboard)
{
    Load("ab\xB5\xB6" "cd\r\nefgh");
    QGuiApplication::clipboard()->setText(QStringLiteral("keep"));
    CCmdUI ui(ID_EDIT_COPY);
    view->OnCmdMsg(ID_EDIT_COPY, &ui);
    EXPECT_FALSE(ui.m_enabled);
    Run(ID_EDIT_COPY);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("keep"));

    view->SetSelection({6, 0}, {2, 1});  // backwards: copied in text order
    view->OnCmdMsg(ID_EDIT_COPY, &ui);
    EXPECT_TRUE(ui.m_enabled);
    QTest::keyClick(view.get(), Qt::Key_Insert, Qt::ControlModifier);
    EXPECT_EQ(OwnBytes(), "\r\nef");
    view->SetSelection({2, 0}, {2, 1});
    QTest::keyClick(view.get(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(OwnBytes(), "\xB5\xB6" "cd\r\nef");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromUtf8("刀cd\r\nef"));
    std::string back;
    ASSERT_TRUE(view->GetTextFromClipboard(back));
    EXPECT_EQ(back, "\xB5\xB6" "cd\r\nef");
}

TEST_F(MouseTest, ClipboardBytesSurviveWhatUnicodeCannotCarry)
{
    // Bytes that are no GBK character go through unchanged.
    Load("a\xFF" "b\x81");
    view->SelectAllText();
    Run(ID_EDIT_COPY);
    EXPECT_EQ(OwnBytes(), "a\xFF" "b\x81");
    std::string back;
    ASSERT_TRUE(view->GetTextFromClipboard(back));
    EXPECT_EQ(back, "a\xFF" "b\x81");
}

TEST_F(MouseTest, TextFromOtherProgramsIsEncodedToGbk)
{
    Load("x");
    QGuiApplication::clipboard()->setText(QString::fromUtf8("(中文) G01"));
    EXPECT_TRUE(view->ClipboardHasText());
    std::string text;
    ASSERT_TRUE(view->GetTextFromClipboard(text));
    EXPECT_EQ(text, "(\xD6\xD0\xCE\xC4) G01");

    // A character GBK has no form for is refused, not turned into '?'.
    QGuiApplication::clipboard()->setText(QString::fromUtf8("G01 \U0001F600"));
    text = "unchanged";
    EXPECT_FALSE(view->GetTextFromClipboard(text));
    EXPECT_EQ(text, "unchanged");
    char32_t bad = 0;
    std::string out;
    EXPECT_FALSE(UnicodeToGbk(QString::fromUtf8("a\U0001F600b"), out, &bad));
    EXPECT_EQ(bad, U'\U0001F600');

    QGuiApplication::clipboard()->clear();
    EXPECT_FALSE(view->ClipboardHasText());
    EXPECT_FALSE(view->GetTextFromClipboard(text));
}

// ---- Drag source.

TEST_F(MouseTest, ADragCarriesTheSelectionAsOneUndoGroup)
{
    Load("G01 X10\r\n(\xB5\xB6) Y20");
    view->SetSelection({4, 0}, {4, 1});
    struct Seen
    {
        int calls = 0;
        std::string bytes;
        QString text;
        Qt::DropActions allowed;
        bool active = false, grouped = false;
        TextPos start, end;
    } seen;
    SetDragDropHook([&](QObject*, QMimeData* data, Qt::DropActions allowed) {
        ++seen.calls;
        seen.bytes = data->data(QString::fromLatin1(kGbkTextMimeType)).toStdString();
        seen.text = data->text();
        seen.allowed = allowed;
        seen.active = view->IsDragSourceActive();
        seen.grouped = buffer->InUndoGroup();
        // A drop elsewhere in the same text moves the dragged range with it.
        int endLine = 0, endChar = 0;
        buffer->InsertText(nullptr, 0, 0, "N5 ", endLine, endChar, 0);
        seen.start = view->GetDragStart();
        seen.end = view->GetDragEnd();
        return Qt::CopyAction;
    });
    Press(Cell(5, 0));
    Move(Cell(5, 0) + QPoint(1, 0));  // within the drag distance
    EXPECT_EQ(seen.calls, 0);
    Move(Cell(9, 0));
    ASSERT_EQ(seen.calls, 1);
    EXPECT_EQ(seen.bytes, "X10\r\n(\xB5\xB6)");
    EXPECT_EQ(seen.text, QString::fromUtf8("X10\r\n(刀)"));
    EXPECT_EQ(seen.allowed, Qt::DropActions(Qt::CopyAction));
    EXPECT_TRUE(seen.active);
    EXPECT_TRUE(seen.grouped);
    EXPECT_EQ(seen.start, (TextPos{7, 0}));
    EXPECT_EQ(seen.end, (TextPos{4, 1}));
    EXPECT_FALSE(view->IsDragSourceActive());
    EXPECT_FALSE(buffer->InUndoGroup());
    // The drag is over: releasing the button does not collapse anything.
    Release(Cell(9, 0));
    EXPECT_FALSE(view->IsSelectionEmpty());
    // Nothing to carry from an empty selection.
    view->SetSelection({1, 0}, {1, 0});
    EXPECT_EQ(view->MakeDragData(), nullptr);
}

}  // namespace
