// Searching the text, find next and find previous, and the bookmarks, on a
// real view over a real buffer.
#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <vector>

#include "AfxMessageBox.h"
#include "CCmdUI.h"
#include "TextViewFixture.h"
#include "ids.h"

namespace {

class SearchTest : public TextViewTest
{
protected:
    void SetUp() override
    {
        SetMessageBoxHook([this](const QString& text, unsigned) {
            messages.push_back(text);
            return IDOK;
        });
    }
    void TearDown() override { SetMessageBoxHook({}); }

    // The match of a whole-document search, or (-1, -1).
    TextPos Find(const std::string& text, TextPos start, uint32_t flags, bool wrap = true)
    {
        TextPos found{-1, -1};
        if (!view->FindTextInDocument(text, start, flags, wrap, &found))
            return {-1, -1};
        return found;
    }
    // Makes text the view's remembered search, as a Find would.
    void Remember(const std::string& text, uint32_t flags = 0)
    {
        // The Find command remembers what its dialog held when it closed.
        QTimer::singleShot(0, [text, flags] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            ASSERT_TRUE(dialog);
            dialog->findChild<QLineEdit*>(QStringLiteral("control8605"))->setText(QString::fromStdString(text));
            dialog->findChild<QCheckBox*>(QStringLiteral("control8604"))->setChecked(flags & CTextView::FIND_MATCH_CASE);
            dialog->reject();
        });
        Run(ID_EDIT_FIND);
    }
    void Place(TextPos pt)
    {
        view->SetSelection(pt, pt);
        view->SetSelectionAnchor(pt);
        view->SetCursorTextPos(pt);
    }
    TextPos SelStart()
    {
        TextPos start, end;
        view->GetSelection(start, end);
        return start;
    }
    std::vector<QString> messages;
};

}  // namespace

TEST_F(SearchTest, CaseIsFoldedForAsciiLettersOnly)
{
    Load("N10 G01 X5\r\n(\xB5\xB6\xBE\xDF) g01");
    EXPECT_EQ(Find("g01", {0, 0}, 0), (TextPos{4, 0}));
    EXPECT_EQ(Find("g01", {0, 0}, CTextView::FIND_MATCH_CASE), (TextPos{7, 1}));
    EXPECT_EQ(Find("G01", {5, 0}, CTextView::FIND_MATCH_CASE, false), (TextPos{-1, -1}));
    // GBK bytes match only themselves: 0xB5 is not 0x95 "upper-cased".
    EXPECT_EQ(Find("\xB5\xB6", {0, 0}, 0), (TextPos{1, 1}));
    EXPECT_EQ(Find("\x95\xB6", {0, 0}, 0), (TextPos{-1, -1}));
}

TEST_F(SearchTest, WholeWordLooksAtTheBytesAroundTheMatchInTheLine)
{
    Load("X10 X1\r\nAX1 X1\r\n\xB5\xB6X1 X1_ X1");
    const uint32_t word = CTextView::FIND_WHOLE_WORD;
    EXPECT_EQ(Find("X1", {0, 0}, word), (TextPos{4, 0}));
    EXPECT_EQ(Find("X1", {0, 1}, word), (TextPos{4, 1}));
    // From inside "AX1" the A before it still counts.
    EXPECT_EQ(Find("X1", {1, 1}, word), (TextPos{4, 1}));
    // A GBK character is a word character; so is '_'.
    EXPECT_EQ(Find("X1", {0, 2}, word), (TextPos{9, 2}));
    EXPECT_EQ(CTextView::FindInLine("X1X1 X1", 0, 7, "X1", true, true), 5);
    EXPECT_EQ(CTextView::FindInLine("abc", 0, 3, "", false, true), -1);
}

TEST_F(SearchTest, ARangeHoldsOnlyTheMatchesThatLieWhollyInside)
{
    Load("G01 G01 G01\r\nG01");
    TextPos found;
    EXPECT_TRUE(view->FindTextInRange("G01", {0, 0}, {1, 0}, {9, 0}, 0, false, &found));
    EXPECT_EQ(found, (TextPos{4, 0}));
    // The third G01 begins inside the block but ends after it.
    EXPECT_FALSE(view->FindTextInRange("G01", {5, 0}, {1, 0}, {9, 0}, 0, false, &found));
    EXPECT_TRUE(view->FindTextInRange("G01", {5, 0}, {1, 0}, {9, 0}, 0, true, &found));
    EXPECT_EQ(found, (TextPos{4, 0}));
    EXPECT_FALSE(view->FindTextInRange("G01", {0, 0}, {3, 0}, {3, 0}, 0, true, &found));
}

TEST_F(SearchTest, FindNextWrapsAndReportsATextThatIsNowhere)
{
    Load("G01 X1\r\nG00 Z5\r\nG01 X2");
    Remember("G01");
    EXPECT_TRUE(view->IsFindRepeatable());
    Place({0, 1});
    Run(ID_EDIT_REPEAT);
    EXPECT_EQ(SelStart(), (TextPos{0, 2}));
    EXPECT_EQ(view->GetCursorTextPos(), (TextPos{3, 2}));
    Run(ID_EDIT_REPEAT);  // from the last match, round to the top
    EXPECT_EQ(SelStart(), (TextPos{0, 0}));
    EXPECT_TRUE(messages.empty());

    Remember("M30");
    Place({2, 1});
    Run(ID_EDIT_REPEAT);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], QStringLiteral("Cannot find string\"M30\""));
    EXPECT_EQ(view->GetCursorTextPos(), (TextPos{2, 1}));
    EXPECT_TRUE(view->IsSelectionEmpty());
}

TEST_F(SearchTest, FindPreviousVisitsEveryMatchInReverseOrder)
{
    Load("G01 G01\r\nX1\r\nG01 Y2 G01");
    Remember("G01");
    Place({2, 0});  // inside the first match, a second one after the cursor
    const std::vector<TextPos> expected{{0, 0}, {7, 2}, {0, 2}, {4, 0}, {0, 0}};
    for (const TextPos& match : expected) {
        Run(ID_EDIT_FIND_PREVIOUS);
        EXPECT_EQ(SelStart(), match);
    }
    // Find previous leaves the remembered direction forwards.
    Run(ID_EDIT_REPEAT);
    EXPECT_EQ(SelStart(), (TextPos{4, 0}));
    EXPECT_TRUE(messages.empty());
}

TEST_F(SearchTest, AnEmptySearchFindsNothingAndSaysSo)
{
    Load("G01\r\nG02");
    Remember("");
    Place({1, 0});
    Run(ID_EDIT_REPEAT);
    Run(ID_EDIT_FIND_PREVIOUS);
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0], QStringLiteral("Cannot find string\"\""));
    EXPECT_EQ(view->GetCursorTextPos(), (TextPos{1, 0}));
}

TEST_F(SearchTest, FindNextIsDisabledUntilAFindWasMade)
{
    Load("G01");
    CCmdUI ui(ID_EDIT_REPEAT);
    view->OnCmdMsg(ID_EDIT_REPEAT, &ui);
    EXPECT_FALSE(ui.m_enabled);
    Remember("G01");
    CCmdUI again(ID_EDIT_FIND_PREVIOUS);
    view->OnCmdMsg(ID_EDIT_FIND_PREVIOUS, &again);
    EXPECT_TRUE(again.m_enabled);
}

TEST_F(SearchTest, NumberedBookmarksAreEachOnOneLine)
{
    Load("0\r\n1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9\r\n10");
    view->setFocus();
    Place({0, 7});
    QTest::keyClick(view.get(), Qt::Key_3, Qt::ControlModifier);
    Place({0, 9});
    QTest::keyClick(view.get(), Qt::Key_3, Qt::ControlModifier);
    EXPECT_EQ(buffer->LineFlags(7) & LINEFLAG_BOOKMARK_3, 0u);
    EXPECT_NE(buffer->LineFlags(9) & LINEFLAG_BOOKMARK_3, 0u);
    Place({1, 0});
    QTest::keyClick(view.get(), Qt::Key_3, Qt::AltModifier);
    EXPECT_EQ(view->GetCursorTextPos(), (TextPos{0, 9}));
    QTest::keyClick(view.get(), Qt::Key_3, Qt::ControlModifier);
    EXPECT_EQ(buffer->LineWithFlag(LINEFLAG_BOOKMARK_3), -1);
    Place({0, 4});
    QTest::keyClick(view.get(), Qt::Key_3, Qt::AltModifier);  // not set: nothing
    EXPECT_EQ(view->GetCursorTextPos(), (TextPos{0, 4}));

    Run(ID_EDIT_TOGGLE_BOOKMARK0 + 1);
    Place({0, 6});
    Run(ID_EDIT_TOGGLE_BOOKMARK0 + 2);
    Run(ID_EDIT_CLEAR_BOOKMARKS);
    for (int line = 0; line < buffer->LineCount(); ++line)
        EXPECT_EQ(buffer->LineFlags(line) & 0x3FF, 0u) << line;
}

TEST_F(SearchTest, UnnumberedBookmarksWrapAndEnableTheirCommands)
{
    Load("0\r\n1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9");
    view->setFocus();
    CCmdUI next(ID_EDIT_GOTO_NEXT_BOOKMARK);
    view->OnCmdMsg(ID_EDIT_GOTO_NEXT_BOOKMARK, &next);
    EXPECT_FALSE(next.m_enabled);

    Place({0, 5});
    QTest::keyClick(view.get(), Qt::Key_F2, Qt::ControlModifier);
    EXPECT_TRUE(view->HaveBookmarks());
    QTest::keyClick(view.get(), Qt::Key_F2);  // the only one: stays
    EXPECT_EQ(view->GetCursorTextPos(), (TextPos{0, 5}));

    Run(ID_EDIT_TOGGLE_BOOKMARK);  // off again
    Place({0, 2});
    Run(ID_EDIT_TOGGLE_BOOKMARK);
    Place({0, 8});
    Run(ID_EDIT_TOGGLE_BOOKMARK);
    QTest::keyClick(view.get(), Qt::Key_F2);
    EXPECT_EQ(view->GetCursorTextPos(), (TextPos{0, 2}));
    QTest::keyClick(view.get(), Qt::Key_F2, Qt::ShiftModifier);
    EXPECT_EQ(view->GetCursorTextPos(), (TextPos{0, 8}));
    QTest::keyClick(view.get(), Qt::Key_F2, Qt::ShiftModifier);
    EXPECT_EQ(view->GetCursorTextPos(), (TextPos{0, 2}));

    QTest::keyClick(view.get(), Qt::Key_F2, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_FALSE(view->HaveBookmarks());
    EXPECT_EQ(buffer->FindFirstLineWithFlag(LINEFLAG_BOOKMARK), -1);
}

TEST_F(SearchTest, WordMovementTakesGbkCharactersAsLetters)
{
    Load("(\xB5\xB6\xBE\xDF) X1");
    Place({1, 0});
    Run(ID_EDIT_MOVE_WORD_RIGHT);
    EXPECT_EQ(view->GetCursorTextPos(), (TextPos{5, 0}));
}
