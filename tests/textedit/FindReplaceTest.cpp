// The Find and Replace dialogs driven through their controls.
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "DialogFixture.h"


TEST_F(DialogTest, FindNextClosesOnAMatchAndStaysOpenWithoutOne)
{
    Load("N1 G00 X0\r\nN2 G01 X5\r\nN3 G01 X9");
    Place({0, 1});
    bool stayedOpen = false, closedOnMatch = false;
    WithDialog(ID_EDIT_FIND, [&](QDialog* d) {
        EXPECT_EQ(d->windowTitle(), QStringLiteral("Find"));
        EXPECT_TRUE(view->m_bShowSelUnfocused);
        SetText(IDC_FIND_WHAT, "M30");
        Click(IDOK);
        stayedOpen = d->isVisible();
        SetText(IDC_FIND_WHAT, "g01");
        Click(IDOK);
        closedOnMatch = !d->isVisible() && d->result() == QDialog::Accepted;
    });
    EXPECT_TRUE(stayedOpen);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], QStringLiteral("Cannot find string\"M30\""));
    // After the failure the search starts again from the top.
    EXPECT_EQ(SelStart(), (TextPos{3, 1}));
    EXPECT_EQ(SelEnd(), (TextPos{6, 1}));
    EXPECT_TRUE(closedOnMatch);
    EXPECT_FALSE(view->m_bShowSelUnfocused);
    EXPECT_EQ(Profile("TextEdit/Find/FindWhat").toString(), QStringLiteral("g01"));
    EXPECT_EQ(Profile("TextEdit/Find/MatchCase").toInt(), 0);

    // F3 goes on from the match with the same search.
    Key(Qt::Key_F3);
    EXPECT_EQ(SelStart(), (TextPos{3, 2}));
}

TEST_F(DialogTest, FindTakesAOneLineSelectionAndTheRememberedSettings)
{
    Load("G01 X1\r\nG02 X2 Y3");
    Select({0, 0}, {3, 1});
    WithDialog(ID_EDIT_FIND, [&](QDialog*) {
        // Two lines: the profile's (empty) text, not the selection.
        EXPECT_EQ(Control<QLineEdit>(IDC_FIND_WHAT)->text(), QString());
        EXPECT_FALSE(Control<QPushButton>(IDOK)->isEnabled());
        SetText(IDC_FIND_WHAT, "X");
        EXPECT_TRUE(Control<QPushButton>(IDOK)->isEnabled());
        Control<QCheckBox>(IDC_FIND_MATCH_CASE)->setChecked(true);
        Control<QRadioButton>(IDC_FIND_DIRECTION_UP)->setChecked(true);
    });  // cancelled: the settings are kept all the same
    EXPECT_EQ(view->GetFindFlags(), uint32_t(CTextView::FIND_MATCH_CASE | CTextView::FIND_BACKWARD));
    EXPECT_EQ(Profile("TextEdit/Find/MatchCase").toInt(), 1);

    Select({4, 1}, {6, 1});
    WithDialog(ID_EDIT_FIND, [&](QDialog*) {
        EXPECT_EQ(Control<QLineEdit>(IDC_FIND_WHAT)->text(), QStringLiteral("X2"));
        EXPECT_TRUE(Control<QCheckBox>(IDC_FIND_MATCH_CASE)->isChecked());
        EXPECT_TRUE(Control<QRadioButton>(IDC_FIND_DIRECTION_UP)->isChecked());
        // Upwards from the selected X2 finds the one before it.
        SetText(IDC_FIND_WHAT, "X");
        Click(IDOK);
    });
    EXPECT_EQ(SelStart(), (TextPos{4, 0}));
}

TEST_F(DialogTest, TheFirstReplaceOnlyFindsAndTheSecondReplacesAndFindsOn)
{
    Load("G01 X1\r\nG01 X2\r\nG01 X3");
    WithDialog(ID_EDIT_REPLACE, [&](QDialog* d) {
        EXPECT_EQ(d->windowTitle(), QStringLiteral("Replace"));
        EXPECT_FALSE(Control<QRadioButton>(IDC_REPLACE_IN_SELECTION)->isEnabled());
        EXPECT_TRUE(Control<QRadioButton>(IDC_REPLACE_IN_WHOLE_FILE)->isChecked());
        SetText(IDC_FIND_WHAT, "G01");
        SetText(IDC_REPLACE_WITH, "G1");
        Click(IDC_REPLACE);
        EXPECT_EQ(Text(), "G01 X1\r\nG01 X2\r\nG01 X3");
        EXPECT_EQ(SelStart(), (TextPos{0, 0}));
        Click(IDC_REPLACE);
        EXPECT_EQ(Text(), "G1 X1\r\nG01 X2\r\nG01 X3");
        EXPECT_EQ(SelStart(), (TextPos{0, 1}));
        EXPECT_EQ(SelEnd(), (TextPos{3, 1}));
        Click(IDC_REPLACE_FIND_NEXT);
        EXPECT_EQ(SelStart(), (TextPos{0, 2}));
    });
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(Profile("TextEdit/Replace/FindWhat").toString(), QStringLiteral("G01"));
    EXPECT_EQ(Profile("TextEdit/Replace/ReplaceWith").toString(), QStringLiteral("G1"));
}

// Tab goes down the dialog as it reads: what to find, what to put in its
// place, then the options.  A user who tabs from the one to the other and
// types must not leave the replacement empty (Replace All would delete).
TEST_F(DialogTest, TabGoesFromWhatToFindToWhatReplacesIt)
{
    Load("G01 X1");
    WithDialog(ID_EDIT_REPLACE, [&](QDialog*) {
        Control<QLineEdit>(IDC_FIND_WHAT)->setFocus();
        QCoreApplication::processEvents();
        const int order[] = {IDC_REPLACE_WITH, IDC_FIND_WHOLE_WORD, IDC_FIND_MATCH_CASE};
        for (const int id : order) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            EXPECT_EQ(QApplication::focusWidget(), Control<QWidget>(id)) << id;
        }
    });
}

TEST_F(DialogTest, ReplacingInASelectionMovesItsEndAndSelectsItAgainAfterwards)
{
    Load("N5 G01 X1 G01 Y2 G01\r\nG01");
    Select({3, 0}, {16, 0});  // "G01 X1 G01 Y2"
    WithDialog(ID_EDIT_REPLACE, [&](QDialog*) {
        EXPECT_TRUE(Control<QRadioButton>(IDC_REPLACE_IN_SELECTION)->isChecked());
        EXPECT_EQ(Control<QLineEdit>(IDC_FIND_WHAT)->text(), QString());  // the selection is not taken
        SetText(IDC_FIND_WHAT, "G01");
        SetText(IDC_REPLACE_WITH, "G1");
        Click(IDC_REPLACE_ALL);
    });
    EXPECT_EQ(Text(), "N5 G1 X1 G1 Y2 G01\r\nG01");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], QStringLiteral("Cannot find string\"G01\""));
    EXPECT_EQ(frame->m_message, QStringLiteral("已替换 2 处"));
    // The selection is back, two bytes shorter.
    EXPECT_EQ(SelStart(), (TextPos{3, 0}));
    EXPECT_EQ(SelEnd(), (TextPos{14, 0}));
}

TEST_F(DialogTest, ReplaceAllIsOneUndoStepAndEndsWithTheMessage)
{
    Load("A1\r\nA2 A3\r\nB4");
    WithDialog(ID_EDIT_REPLACE, [&](QDialog*) {
        SetText(IDC_FIND_WHAT, "A");
        SetText(IDC_REPLACE_WITH, "AA");
        Click(IDC_REPLACE_ALL);
    });
    EXPECT_EQ(Text(), "AA1\r\nAA2 AA3\r\nB4");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(frame->m_message, QStringLiteral("已替换 3 处"));
    EXPECT_EQ(Buffer().UndoAction(), ACTION_REPLACE);
    Run(ID_EDIT_UNDO);
    EXPECT_EQ(Text(), "A1\r\nA2 A3\r\nB4");
    EXPECT_FALSE(Buffer().CanUndo());
}

TEST_F(DialogTest, ReplaceAllOfThousandsOfMatchesIsUndoneWhole)
{
    std::string text;
    for (int i = 0; i < 3000; ++i)
        text += "G01 X1 G01\r\n";
    text += "M30";
    Load(text);
    WithDialog(ID_EDIT_REPLACE, [&](QDialog*) {
        SetText(IDC_FIND_WHAT, "G01");
        Click(IDC_REPLACE_ALL);  // by nothing
    });
    EXPECT_EQ(frame->m_message, QStringLiteral("已替换 6000 处"));
    EXPECT_EQ(Buffer().Line(0), " X1 ");
    Run(ID_EDIT_UNDO);
    EXPECT_EQ(Text(), text);
}

TEST_F(DialogTest, AnEmptySearchTextEnablesOnlyReplaceAndReplaceAllWhichFindNothing)
{
    Load("G01 X1");
    WithDialog(ID_EDIT_REPLACE, [&](QDialog*) {
        EXPECT_FALSE(Control<QPushButton>(IDC_REPLACE_FIND_NEXT)->isEnabled());
        EXPECT_TRUE(Control<QPushButton>(IDC_REPLACE)->isEnabled());
        EXPECT_TRUE(Control<QPushButton>(IDC_REPLACE_ALL)->isEnabled());
        Click(IDC_REPLACE_ALL);
        Click(IDC_REPLACE);
        SetText(IDC_FIND_WHAT, "G");
        EXPECT_TRUE(Control<QPushButton>(IDC_REPLACE_FIND_NEXT)->isEnabled());
    });
    EXPECT_EQ(Text(), "G01 X1");
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0], QStringLiteral("Cannot find string\"\""));
}

TEST_F(DialogTest, ReplaceDoesNothingOnAReadOnlyText)
{
    Load("G01");
    Buffer().SetReadOnly(true);
    CCmdUI ui(ID_EDIT_REPLACE);
    view->OnCmdMsg(ID_EDIT_REPLACE, &ui);
    EXPECT_FALSE(ui.m_enabled);
    Run(ID_EDIT_REPLACE);  // no dialog to wait for
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}
