// Drag and drop: moves and copies within the view as one undo step, the
// refusal of a drop onto the dragged text, drops from other programs, the
// drop mark and the scrolling border.
#include <QMimeData>

#include "CodeViewFixture.h"
#include "DataTransfer.h"
#include "ids.h"

namespace {

class DropTest : public CodeViewTest
{
protected:
    void TearDown() override
    {
        SetDragDropHook({});
        CodeViewTest::TearDown();
    }
    // A point inside text cell x of line y (a drop there goes before byte x).
    QPoint At(int x, int y) { return view->TextPosToPoint({x, y}) + QPoint(1, view->GetRowHeight() / 2); }

    Qt::DropAction Drop(const QMimeData* data, QPoint at, Qt::KeyboardModifiers modifiers = {},
                        Qt::DropActions possible = Qt::CopyAction | Qt::MoveAction)
    {
        QDragEnterEvent enter(at, possible, data, Qt::LeftButton, modifiers);
        QApplication::sendEvent(view->viewport(), &enter);
        QDragMoveEvent move(at, possible, data, Qt::LeftButton, modifiers);
        QApplication::sendEvent(view->viewport(), &move);
        QDropEvent drop(QPointF(at), possible, data, Qt::LeftButton, modifiers);
        QApplication::sendEvent(view->viewport(), &drop);
        return drop.isAccepted() ? drop.dropAction() : Qt::IgnoreAction;
    }
    // Drags the selection from inside it and drops at the given point.
    void DragSelectionTo(QPoint target, Qt::KeyboardModifiers modifiers = {})
    {
        TextPos start, end;
        view->GetSelection(start, end);
        const QPoint from = At(start.x + 1, start.y);
        SetDragDropHook([&](QObject*, QMimeData* data, Qt::DropActions allowed) {
            EXPECT_EQ(allowed, Qt::CopyAction | Qt::MoveAction);
            return Drop(data, target, modifiers, allowed);
        });
        QTest::mousePress(view->viewport(), Qt::LeftButton, {}, from);
        QMouseEvent move(QEvent::MouseMove, QPointF(from + QPoint(20, 0)),
                         view->viewport()->mapToGlobal(QPointF(from + QPoint(20, 0))), Qt::NoButton, Qt::LeftButton,
                         {});
        QApplication::sendEvent(view->viewport(), &move);
        QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, target);
    }
};

TEST_F(DropTest, AMoveWithinTheViewIsOneUndoStep)
{
    Load("G01 X10 Y20\r\nG00 Z5");
    Select({4, 0}, {8, 0});
    DragSelectionTo(At(6, 1));
    EXPECT_EQ(Text(), "G01 Y20\r\nG00 Z5X10 ");
    TextPos start, end;
    view->GetSelection(start, end);
    EXPECT_EQ(start, (TextPos{6, 1}));
    EXPECT_EQ(end, (TextPos{10, 1}));
    Run(ID_EDIT_UNDO);
    EXPECT_EQ(Text(), "G01 X10 Y20\r\nG00 Z5");
    EXPECT_FALSE(Buffer().CanUndo());
}

TEST_F(DropTest, MovingTextToAnEarlierPlaceRemovesTheRightBytes)
{
    Load("AAA BBB CCC");
    Select({8, 0}, {11, 0});
    DragSelectionTo(At(0, 0));
    EXPECT_EQ(Text(), "CCCAAA BBB ");
}

TEST_F(DropTest, CtrlCopiesAndTheSourceStays)
{
    Load("G01 X10");
    Select({4, 0}, {7, 0});
    DragSelectionTo(At(0, 0), Qt::ControlModifier);
    EXPECT_EQ(Text(), "X10G01 X10");
}

TEST_F(DropTest, ADropOntoTheDraggedTextChangesNothing)
{
    Load("G01 X10 Y20");
    Select({4, 0}, {7, 0});
    DragSelectionTo(At(5, 0));
    EXPECT_EQ(Text(), "G01 X10 Y20");
    EXPECT_FALSE(Buffer().CanUndo());
    EXPECT_EQ(view->GetCursorTextPos(), (TextPos{5, 0}));
}

TEST_F(DropTest, TextFromOtherProgramsIsEncodedAndSelected)
{
    Load("G01\r\nG02");
    QMimeData data;
    data.setText(QString::fromUtf8("(铣)"));
    EXPECT_EQ(Drop(&data, At(3, 0)), Qt::MoveAction);
    EXPECT_EQ(Text(), "G01(\xCF\xB3)\r\nG02");
    TextPos start, end;
    view->GetSelection(start, end);
    EXPECT_EQ(start, (TextPos{3, 0}));
    EXPECT_EQ(end, (TextPos{7, 0}));
    // Text GBK cannot hold is refused as a whole.
    data.setText(QString::fromUtf8("\U0001F600"));
    EXPECT_EQ(Drop(&data, At(0, 1)), Qt::IgnoreAction);
    EXPECT_EQ(Text(), "G01(\xCF\xB3)\r\nG02");
    EXPECT_FALSE(frame->m_message.isEmpty());
    // No text, or a read-only buffer: refused.
    QMimeData empty;
    empty.setData(QStringLiteral("application/octet-stream"), "x");
    EXPECT_EQ(Drop(&empty, At(0, 1)), Qt::IgnoreAction);
    Buffer().SetReadOnly(true);
    data.setText(QStringLiteral("X"));
    EXPECT_EQ(Drop(&data, At(0, 1)), Qt::IgnoreAction);
    EXPECT_EQ(Text(), "G01(\xCF\xB3)\r\nG02");
}

TEST_F(DropTest, TheDropMarkFollowsThePointerAndTheCaretComesBack)
{
    Load("G01 X10\r\nG02");
    Place({2, 1});
    QMimeData data;
    data.setText(QStringLiteral("Y"));
    QDragEnterEvent enter(At(4, 0), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(view->viewport(), &enter);
    EXPECT_TRUE(view->IsDropMarkShown());
    EXPECT_EQ(view->GetDropPosition(), (TextPos{4, 0}));
    EXPECT_TRUE(view->CaretRect().isEmpty());
    // The mark is drawn in grey at the drop position.
    QCoreApplication::processEvents();
    const QImage image = view->viewport()->grab().toImage();
    const QPoint mark = view->TextPosToPoint({4, 0}) + QPoint(0, view->GetRowHeight() / 2);
    EXPECT_EQ(image.pixelColor(mark), QColor(Qt::gray));
    QDragLeaveEvent leave;
    QApplication::sendEvent(view->viewport(), &leave);
    EXPECT_FALSE(view->IsDropMarkShown());
    EXPECT_EQ(view->GetCursorTextPos(), (TextPos{2, 1}));
    EXPECT_FALSE(view->CaretRect().isEmpty());
}

TEST_F(DropTest, DraggingNearTheEdgesScrolls)
{
    std::string text;
    for (int i = 0; i < 50; ++i)
        text += "N" + std::to_string(i) + " G01 X10 Y20 Z30 (a comment long enough to scroll sideways)\r\n";
    Load(text, 10, 30);
    QMimeData data;
    data.setText(QStringLiteral("Y"));
    const QRect area = view->viewport()->rect();
    auto over = [&](QPoint at) {
        QDragMoveEvent move(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(view->viewport(), &move);
    };
    QDragEnterEvent enter(QPoint(100, 50), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(view->viewport(), &enter);
    over({100, area.height() - 2});
    EXPECT_EQ(view->GetFirstRow(), 1);
    over({100, 2});
    EXPECT_EQ(view->GetFirstRow(), 0);
    over({area.width() - 2, 50});
    EXPECT_EQ(view->GetFirstColumn(), 1);
    over({CTextView::kMarginWidth + 2, 50});
    EXPECT_EQ(view->GetFirstColumn(), 0);
    over({100, 50});
    EXPECT_EQ(view->GetFirstRow(), 0);
    EXPECT_EQ(view->GetFirstColumn(), 0);
    QDragLeaveEvent leave;
    QApplication::sendEvent(view->viewport(), &leave);
}

}  // namespace
