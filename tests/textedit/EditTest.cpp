// Typing, overwrite, Enter with indentation, Backspace and Delete, Tab and
// Shift+Tab, Cut and Paste, Undo and Redo with their menu texts, read-only
// buffers and text that GBK cannot hold.
#include <QClipboard>
#include <QInputMethodEvent>
#include <QMenu>

#include "CActionCmdUI.h"
#include "CodeViewFixture.h"
#include "ids.h"

namespace {

TEST_F(CodeViewTest, OverwriteReplacesUpToTheLastByteAndAppendsAfterIt)
{
    Load("G01 X10");
    Key(Qt::Key_Insert);
    EXPECT_TRUE(view->GetOverwriteMode());
    Place({6, 0});
    Type("5");
    EXPECT_EQ(Text(), "G01 X15");
    Type("7");
    EXPECT_EQ(Text(), "G01 X157");
    EXPECT_EQ(view->GetCursorTextPos(), (TextPos{8, 0}));
    // Overwriting a selection replaces the selection, not one more byte.
    Select({0, 0}, {3, 0});
    Type("G");
    EXPECT_EQ(Text(), "G X157");
}

TEST_F(CodeViewTest, EnterInOverwriteModeOnlyMovesExceptOnTheLastLine)
{
    Load("N10\r\nN20");
    Key(Qt::Key_Insert);
    Place({1, 0});
    Key(Qt::Key_Return);
    EXPECT_EQ(Text(), "N10\r\nN20");
    EXPECT_EQ(view->GetCursorTextPos(), (TextPos{0, 1}));
    Place({3, 1});
    Key(Qt::Key_Return);
    EXPECT_EQ(Text(), "N10\r\nN20\r\n");
    EXPECT_EQ(view->GetCursorTextPos(), (TextPos{0, 2}));
}

TEST_F(CodeViewTest, BackspaceAndDeleteAtTheEdgesOfLinesAndText)
{
    Load("ab\r\ncd");
    Place({0, 0});
    Key(Qt::Key_Backspace);
    EXPECT_EQ(Text(), "ab\r\ncd");
    EXPECT_FALSE(Buffer().CanUndo());
    Place({0, 1});
    Key(Qt::Key_Backspace);
    EXPECT_EQ(Text(), "abcd");
    EXPECT_EQ(view->GetCursorTextPos(), (TextPos{2, 0}));
    Place({4, 0});
    Key(Qt::Key_Delete);
    EXPECT_EQ(Text(), "abcd");
    Place({1, 0});
    Key(Qt::Key_Delete);
    EXPECT_EQ(Text(), "acd");
    // With a selection both keys remove just the selection.
    Select({0, 0}, {2, 0});
    Key(Qt::Key_Backspace);
    EXPECT_EQ(Text(), "d");
    EXPECT_EQ(view->GetCursorTextPos(), (TextPos{0, 0}));
}

TEST_F(CodeViewTest, TabIndentsTheLinesOfABlockOnly)
{
    Load("L0\r\nL1\r\nL2xx\r\nL3\r\nL4\r\nL5\r\nL6");
    Select({3, 2}, {0, 5});
    Key(Qt::Key_Tab);
    EXPECT_EQ(Text(), "L0\r\nL1\r\n\tL2xx\r\n\tL3\r\n\tL4\r\nL5\r\nL6");
    TextPos start, end;
    view->GetSelection(start, end);
    EXPECT_EQ(start, (TextPos{0, 2}));
    EXPECT_EQ(end, (TextPos{0, 5}));
    // One step undoes the block.
    Run(ID_EDIT_UNDO);
    EXPECT_EQ(Text(), "L0\r\nL1\r\nL2xx\r\nL3\r\nL4\r\nL5\r\nL6");
    // A block ending inside the last line takes it in to its end.
    Select({1, 5}, {1, 6});
    Key(Qt::Key_Tab);
    EXPECT_EQ(Text(), "L0\r\nL1\r\nL2xx\r\nL3\r\nL4\r\n\tL5\r\n\tL6");
    view->GetSelection(start, end);
    EXPECT_EQ(end, (TextPos{3, 6}));
}

TEST_F(CodeViewTest, ShiftTabTakesOneTabWidthOfBlanksFromEachLine)
{
    Load("  \tx\r\n        y\r\nz\r\n\r\n w");
    Select({0, 0}, {2, 4});
    Key(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(Text(), "x\r\n    y\r\nz\r\n\r\nw");
    Run(ID_EDIT_UNDO);
    EXPECT_EQ(Text(), "  \tx\r\n        y\r\nz\r\n\r\n w");
}

TEST_F(CodeViewTest, TabAndShiftTabWithoutABlock)
{
    Load("ab\r\n\tcdefgh");
    Place({1, 0});
    Key(Qt::Key_Tab);
    EXPECT_EQ(Text(), "a\tb\r\n\tcdefgh");
    // Shift+Tab moves back a stop without touching the text.
    Place({3, 1});
    Key(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(view->GetCursorTextPos(), (TextPos{1, 1}));
    Key(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(view->GetCursorTextPos(), (TextPos{0, 1}));
    // In overwrite mode Tab moves to the next stop, stopping after a tab.
    Key(Qt::Key_Insert);
    Place({0, 1});
    Key(Qt::Key_Tab);
    EXPECT_EQ(view->GetCursorTextPos(), (TextPos{1, 1}));
    Key(Qt::Key_Tab);
    EXPECT_EQ(view->GetCursorTextPos(), (TextPos{5, 1}));
    EXPECT_EQ(Text(), "a\tb\r\n\tcdefgh");
}

TEST_F(CodeViewTest, EnterCopiesTheIndentationAsAStepOfItsOwn)
{
    Load("\t\tG01 X10");
    Place({9, 0});
    Key(Qt::Key_Return);
    EXPECT_EQ(Text(), "\t\tG01 X10\r\n\t\t");
    EXPECT_EQ(view->GetCursorTextPos(), (TextPos{2, 1}));
    Run(ID_EDIT_UNDO);
    EXPECT_EQ(Text(), "\t\tG01 X10\r\n");
    Run(ID_EDIT_UNDO);
    EXPECT_EQ(Text(), "\t\tG01 X10");
    EXPECT_FALSE(Buffer().CanUndo());
}

TEST_F(CodeViewTest, ASpaceStartsANewTypingStep)
{
    Load("");
    Type("G01 X5");
    EXPECT_EQ(Text(), "G01 X5");
    Run(ID_EDIT_UNDO);
    EXPECT_EQ(Text(), "G01");
    Run(ID_EDIT_UNDO);
    EXPECT_EQ(Text(), "");
    Run(ID_EDIT_REDO);
    EXPECT_EQ(Text(), "G01");
    EXPECT_EQ(view->GetCursorTextPos(), (TextPos{3, 0}));
}

TEST(ActionLabels, EveryActionCodeHasItsNameAndOtherCodesNone)
{
    const char* labels[] = {"Unknown", "Paste", "Delete Selection", "Cut", "Typing", "Backspace",
                            "Indent", "Drag And Drop", "Replace", "Delete", "Auto Indent"};
    for (int code = ACTION_UNKNOWN; code <= ACTION_AUTO_INDENT; ++code)
        EXPECT_EQ(CTextEditView::ActionLabel(code), QString::fromLatin1(labels[code])) << code;
    EXPECT_EQ(CTextEditView::ActionLabel(ACTION_AUTO_INDENT + 1), QString());
    EXPECT_EQ(CTextEditView::ActionLabel(-1), QString());
}

TEST_F(CodeViewTest, UndoAndRedoMenuTextsNameTheAction)
{
    Load("abc");
    QMenu menu;
    auto update = [&](int id) {
        QAction* action = menu.addAction(QString());
        action->setData(id);
        CActionCmdUI ui(action, &menu);
        view->OnCmdMsg(id, &ui);
        return std::make_pair(ui.m_enabled, action->text());
    };
    EXPECT_EQ(update(ID_EDIT_UNDO), std::make_pair(false, QStringLiteral("&Undo\tCtrl+Z")));
    EXPECT_EQ(update(ID_EDIT_REDO), std::make_pair(false, QStringLiteral("&Redo\tCtrl+Y")));
    Place({3, 0});
    Key(Qt::Key_Backspace);
    EXPECT_EQ(update(ID_EDIT_UNDO), std::make_pair(true, QStringLiteral("&Undo Backspace\tCtrl+Z")));
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Text(), "abc");
    EXPECT_EQ(update(ID_EDIT_REDO), std::make_pair(true, QStringLiteral("&Redo Backspace\tCtrl+Y")));
    Type("d");
    EXPECT_EQ(update(ID_EDIT_UNDO), std::make_pair(true, QStringLiteral("&Undo Typing\tCtrl+Z")));
    // A toolbar button gets the state, not a text.
    CCmdUI button(ID_EDIT_UNDO);
    view->OnCmdMsg(ID_EDIT_UNDO, &button);
    EXPECT_TRUE(button.m_enabled);
    EXPECT_TRUE(button.m_text.isEmpty());
}

TEST_F(CodeViewTest, CutAndPasteKeepTheBytes)
{
    Load("(\xB5\xB6\xBE\xDF) G01\r\nX10");
    Select({0, 0}, {6, 0});
    Key(Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(Text(), " G01\r\nX10");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromUtf8("(刀具)"));
    Place({3, 1});
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Text(), " G01\r\nX10(\xB5\xB6\xBE\xDF)");
    EXPECT_EQ(view->GetCursorTextPos(), (TextPos{9, 1}));
    Run(ID_EDIT_UNDO);
    EXPECT_EQ(Text(), " G01\r\nX10");

    // Text from elsewhere: CR LF breaks lines, a lone LF stays in its line.
    QGuiApplication::clipboard()->setText(QString::fromUtf8("中\r\nA\nB"));
    Select({0, 0}, {1, 0});
    Key(Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(Text(), "\xD6\xD0\r\nA\nBG01\r\nX10");
    EXPECT_EQ(view->GetCursorTextPos(), (TextPos{3, 1}));
}

TEST_F(CodeViewTest, CommandsDoNothingOnAReadOnlyBuffer)
{
    Load("G01 X10\r\nG00");
    Buffer().SetReadOnly(true);
    QGuiApplication::clipboard()->setText(QStringLiteral("pasted"));
    Select({0, 0}, {3, 0});
    CCmdUI cut(ID_EDIT_CUT), read(ID_EDIT_INDICATOR_READ);
    view->OnCmdMsg(ID_EDIT_CUT, &cut);
    view->OnCmdMsg(ID_EDIT_INDICATOR_READ, &read);
    EXPECT_TRUE(cut.m_enabled);
    EXPECT_TRUE(read.m_enabled);
    Type("x");
    Key(Qt::Key_Return);
    Key(Qt::Key_Delete);
    Key(Qt::Key_Backspace);
    Key(Qt::Key_Tab);
    Select({0, 0}, {1, 1});
    Key(Qt::Key_Tab);
    Key(Qt::Key_Backtab, Qt::ShiftModifier);
    Key(Qt::Key_X, Qt::ControlModifier);
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Text(), "G01 X10\r\nG00");
    EXPECT_FALSE(Buffer().CanUndo());
    EXPECT_FALSE(view->ReplaceSelection("x"));
}

TEST_F(CodeViewTest, TypedTextIsEnteredAsGbkBytes)
{
    Load("()");
    Place({1, 0});
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString::fromUtf8("刀"));
    QApplication::sendEvent(view, &press);
    EXPECT_EQ(Text(), "(\xB5\xB6)");
    EXPECT_EQ(view->GetCursorTextPos(), (TextPos{3, 0}));
    // An input method commits its text the same way.
    QInputMethodEvent commit;
    commit.setCommitString(QString::fromUtf8("具"));
    QApplication::sendEvent(view, &commit);
    EXPECT_EQ(Text(), "(\xB5\xB6\xBE\xDF)");
    // What GBK cannot hold is left out, and the status bar says so.
    for (const QString& key : {QStringLiteral("a"), QString::fromUtf8("\U0001F600"), QStringLiteral("b")}) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, key);
        QApplication::sendEvent(view, &press);
    }
    EXPECT_EQ(Text(), "(\xB5\xB6\xBE\xDF" "ab)");
    EXPECT_TRUE(frame->m_message.contains(QString::fromUtf8("\U0001F600"))) << frame->m_message.toStdString();
    EXPECT_TRUE(frame->m_message.contains(QStringLiteral("1F600"))) << frame->m_message.toStdString();
}

TEST_F(CodeViewTest, TheOverwriteAndReadPanesAndTheInsertCheck)
{
    Load("x");
    CCmdUI ovr(ID_INDICATOR_OVR), status(ID_EDIT_INDICATOR_STATUS), check(ID_EDIT_TOGGLE_OVERWRITE);
    view->OnCmdMsg(ID_INDICATOR_OVR, &ovr);
    EXPECT_FALSE(ovr.m_enabled);
    Key(Qt::Key_Insert);
    view->OnCmdMsg(ID_INDICATOR_OVR, &ovr);
    view->OnCmdMsg(ID_EDIT_TOGGLE_OVERWRITE, &check);
    view->OnCmdMsg(ID_EDIT_INDICATOR_STATUS, &status);
    EXPECT_TRUE(ovr.m_enabled);
    EXPECT_EQ(check.m_check, 1);
    EXPECT_FALSE(status.m_enabled);
    // A new text starts in insert mode.
    view->ResetViewState();
    EXPECT_FALSE(view->GetOverwriteMode());
}

TEST_F(CodeViewTest, ReplaceSelectionSelectsWhatItPutIn)
{
    Load("G01 X10 Y20");
    EXPECT_FALSE(view->ReplaceSelection("X"));
    Select({4, 0}, {7, 0});
    EXPECT_TRUE(view->ReplaceSelection("X12.5"));
    EXPECT_EQ(Text(), "G01 X12.5 Y20");
    TextPos start, end;
    view->GetSelection(start, end);
    EXPECT_EQ(start, (TextPos{4, 0}));
    EXPECT_EQ(end, (TextPos{9, 0}));
    EXPECT_EQ(view->GetCursorTextPos(), end);
    Run(ID_EDIT_UNDO);
    EXPECT_EQ(Text(), "G01  Y20");
    Run(ID_EDIT_UNDO);
    EXPECT_EQ(Text(), "G01 X10 Y20");
}

}  // namespace
