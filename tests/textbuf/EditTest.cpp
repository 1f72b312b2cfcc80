// Raw insertion and deletion, position adjusters, line flags and bookmark
// searches, and the notifications views receive for each.
#include <chrono>
#include <gtest/gtest.h>

#include "CTextBuffer.h"
#include "RecordingView.h"

namespace {

class Edit : public ::testing::Test
{
protected:
    void SetUp() override
    {
        buffer.ResetToEmpty(EOL_DOS);
        buffer.AttachView(&view);
    }
    void TearDown() override { buffer.DetachView(&view); }

    void Fill(const std::string& text)
    {
        int endLine = 0, endChar = 0;
        ASSERT_TRUE(buffer.RawInsert(nullptr, 0, 0, text, endLine, endChar));
        view.log.clear();
    }

    CTextBuffer buffer;
    RecordingView view;
};

TEST_F(Edit, InsertSplitsAtCrAndCrLfButNotAtALoneLf)
{
    int endLine = -1, endChar = -1;
    ASSERT_TRUE(buffer.RawInsert(&view, 0, 0, "x\ny", endLine, endChar));
    EXPECT_EQ(buffer.LineCount(), 1);
    EXPECT_EQ(buffer.Line(0), "x\ny");
    EXPECT_EQ(endLine, 0);
    EXPECT_EQ(endChar, 3);
    ASSERT_EQ(view.log.size(), 1u);
    EXPECT_EQ(view.log[0].hints, uint32_t(HINT_WIDTH | HINT_ONE_LINE));
    EXPECT_EQ(view.log[0].source, &view);

    ASSERT_TRUE(buffer.RawInsert(nullptr, 0, 1, "a\rb\r\nc", endLine, endChar));
    EXPECT_EQ(AllText(buffer), "xa\r\nb\r\nc\ny");
    EXPECT_EQ(endLine, 2);
    EXPECT_EQ(endChar, 1);
    ASSERT_EQ(view.log.size(), 2u);
    EXPECT_EQ(view.log[1].hints, uint32_t(HINT_WIDTH | HINT_HEIGHT));
    EXPECT_EQ(view.log[1].line, 0);
    EXPECT_EQ(view.log[1].adjStart, (TextPos{1, 0}));
    EXPECT_EQ(view.log[1].adjEnd, (TextPos{1, 2}));

    // The text ends at a NUL; a trailing break makes an empty line.
    ASSERT_TRUE(buffer.RawInsert(nullptr, 2, 0, std::string("q\r\0zzz", 6), endLine, endChar));
    EXPECT_EQ(buffer.Line(2), "q");
    EXPECT_EQ(buffer.Line(3), "c\ny");
    EXPECT_EQ(endLine, 3);
    EXPECT_EQ(endChar, 0);
}

TEST_F(Edit, DeleteWithinALineAndAcrossLines)
{
    Fill("G01 X10\r\nY20\r\nZ30 F100");
    ASSERT_TRUE(buffer.RawDelete(&view, 0, 1, 0, 3));
    EXPECT_EQ(buffer.Line(0), "G X10");
    ASSERT_EQ(view.log.size(), 1u);
    EXPECT_EQ(view.log[0].hints, uint32_t(HINT_WIDTH | HINT_ONE_LINE));

    ASSERT_TRUE(buffer.RawDelete(nullptr, 0, 2, 2, 3));
    EXPECT_EQ(buffer.LineCount(), 1);
    EXPECT_EQ(buffer.Line(0), "G  F100");
    ASSERT_EQ(view.log.size(), 2u);
    EXPECT_EQ(view.log[1].hints, uint32_t(HINT_WIDTH | HINT_HEIGHT));
    EXPECT_EQ(view.log[1].line, 0);
    EXPECT_EQ(view.log[1].source, nullptr);
}

TEST_F(Edit, ChangesCallSetModifiedOnlyWhileUnmodified)
{
    struct Counting : CTextBuffer
    {
        int calls = 0;
        void SetModified(bool modified) override
        {
            ++calls;
            CTextBuffer::SetModified(modified);
        }
    } counting;
    counting.ResetToEmpty(EOL_DOS);
    int endLine = 0, endChar = 0;
    counting.RawInsert(nullptr, 0, 0, "ab", endLine, endChar);
    counting.RawInsert(nullptr, 0, 0, "cd", endLine, endChar);
    counting.RawDelete(nullptr, 0, 0, 0, 1);
    EXPECT_EQ(counting.calls, 1);
    EXPECT_TRUE(counting.IsModifiedFlag());
}

TEST_F(Edit, ReadOnlyRefusesChangesWithoutNotifying)
{
    Fill("abc");
    buffer.SetReadOnly(true);
    int endLine = 0, endChar = 0;
    EXPECT_FALSE(buffer.RawInsert(nullptr, 0, 0, "x", endLine, endChar));
    EXPECT_FALSE(buffer.RawDelete(nullptr, 0, 0, 0, 1));
    EXPECT_FALSE(buffer.InsertText(nullptr, 0, 0, "x", endLine, endChar, ACTION_TYPING));
    EXPECT_FALSE(buffer.DeleteText(nullptr, 0, 0, 0, 1, ACTION_DELETE));
    EXPECT_EQ(buffer.Line(0), "abc");
    EXPECT_TRUE(view.log.empty());
    EXPECT_EQ(buffer.UndoStepCount(), 0);
}

TEST_F(Edit, ViewsAreNotifiedInAttachmentOrderUntilDetached)
{
    std::vector<RecordingView*> order;
    RecordingView second, third;
    view.order = second.order = third.order = &order;
    buffer.AttachView(&second);
    buffer.AttachView(&third);
    buffer.DetachView(&second);
    buffer.DetachView(&second);  // absent: nothing happens
    buffer.AttachView(&second);
    buffer.ChangeLineFlag(0, LINEFLAG_BOOKMARK, true, false);
    EXPECT_EQ(order, (std::vector<RecordingView*>{&view, &third, &second}));
    buffer.DetachView(&second);
    buffer.DetachView(&third);
}

TEST_F(Edit, PositionsOutsideTheTextAreRefused)
{
    Fill("ab\r\n");
    int endLine = 0, endChar = 0;
    // Past the end of a line (the empty last one), past the last line,
    // before the start, and a range given backwards.
    EXPECT_FALSE(buffer.RawInsert(nullptr, 1, 2, "x", endLine, endChar));
    EXPECT_FALSE(buffer.RawInsert(nullptr, 2, 0, "x", endLine, endChar));
    EXPECT_FALSE(buffer.RawInsert(nullptr, 0, -1, "x", endLine, endChar));
    EXPECT_FALSE(buffer.InsertText(nullptr, 1, 5, "x", endLine, endChar, ACTION_TYPING));
    EXPECT_FALSE(buffer.RawDelete(nullptr, 0, 1, 0, 3));
    EXPECT_FALSE(buffer.RawDelete(nullptr, 0, 2, 0, 1));
    EXPECT_FALSE(buffer.DeleteText(nullptr, 0, 0, 3, 0, ACTION_DELETE));
    EXPECT_EQ(AllText(buffer), "ab\r\n");
    EXPECT_TRUE(view.log.empty());
    EXPECT_FALSE(buffer.CanUndo());
}

TEST(Adjusters, InsertMovesPointsAfterTheInsertionPoint)
{
    const InsertAdjuster adj({3, 2}, {4, 5});
    auto moved = [&](TextPos p) {
        adj.AdjustPoint(p);
        return p;
    };
    EXPECT_EQ(moved({9, 1}), (TextPos{9, 1}));  // earlier line
    EXPECT_EQ(moved({3, 2}), (TextPos{3, 2}));  // at the start: stays
    EXPECT_EQ(moved({2, 2}), (TextPos{2, 2}));
    EXPECT_EQ(moved({7, 2}), (TextPos{8, 5}));  // rides with the line's tail
    EXPECT_EQ(moved({0, 6}), (TextPos{0, 9}));  // later line moves down
}

TEST(Adjusters, DeleteCollapsesPointsInsideTheRange)
{
    const DeleteAdjuster adj({3, 2}, {4, 5});
    auto moved = [&](TextPos p) {
        adj.AdjustPoint(p);
        return p;
    };
    EXPECT_EQ(moved({9, 1}), (TextPos{9, 1}));
    EXPECT_EQ(moved({2, 2}), (TextPos{2, 2}));
    EXPECT_EQ(moved({8, 2}), (TextPos{3, 2}));  // rest of the start line
    EXPECT_EQ(moved({1, 3}), (TextPos{3, 2}));  // a removed line
    EXPECT_EQ(moved({3, 5}), (TextPos{3, 2}));  // end line before the end char
    EXPECT_EQ(moved({4, 5}), (TextPos{3, 2}));
    EXPECT_EQ(moved({9, 5}), (TextPos{8, 2}));
    EXPECT_EQ(moved({1, 8}), (TextPos{1, 5}));
}

TEST_F(Edit, AdjustersKeepAViewsCaretOnTheSameText)
{
    Fill("line0\r\nline1 X10\r\nline2");
    view.caret = {6, 1};  // before "X10"
    int endLine = 0, endChar = 0;
    ASSERT_TRUE(buffer.RawInsert(nullptr, 1, 2, "AB\r\nCD", endLine, endChar));
    EXPECT_EQ(buffer.Line(view.caret.y).substr(size_t(view.caret.x), 3), "X10");
    ASSERT_TRUE(buffer.RawDelete(nullptr, 0, 3, 2, 1));
    EXPECT_EQ(buffer.Line(view.caret.y).substr(size_t(view.caret.x), 3), "X10");
}

TEST_F(Edit, CopyTextJoinsLinesWithTheSeparator)
{
    Fill("ab\r\ncd\r\nef");
    std::string out;
    buffer.CopyText(0, 1, 2, 1, out);
    EXPECT_EQ(out, "b\r\ncd\r\ne");
    buffer.CopyText(0, 1, 2, 1, out, "|");
    EXPECT_EQ(out, "b|cd|e");
    buffer.CopyText(1, 1, 1, 1, out);
    EXPECT_EQ(out, "");
}

TEST_F(Edit, UniqueFlagsMoveAndNotifyBothLines)
{
    std::string text = "N0";
    for (int i = 1; i < 12; ++i)
        text += "\r\nN" + std::to_string(i);
    Fill(text);
    const uint32_t bm3 = LineFlagBookmark(3);
    buffer.ChangeLineFlag(4, bm3, true, true);
    view.log.clear();
    buffer.ChangeLineFlag(10, bm3, true, true);
    ASSERT_EQ(view.log.size(), 2u);
    EXPECT_EQ(view.log[0].line, 4);
    EXPECT_EQ(view.log[0].hints, uint32_t(HINT_ONE_LINE | HINT_FLAGS_ONLY));
    EXPECT_EQ(view.log[1].line, 10);
    EXPECT_EQ(view.log[1].hints, uint32_t(HINT_ONE_LINE | HINT_FLAGS_ONLY));
    EXPECT_EQ(buffer.LineFlags(4), 0u);
    EXPECT_EQ(buffer.LineFlags(10), bm3);
    EXPECT_EQ(buffer.LineWithFlag(bm3), 10);

    // No change, two-bit masks and lines past the end do nothing.
    view.log.clear();
    buffer.ChangeLineFlag(10, bm3, true, true);
    buffer.ChangeLineFlag(2, bm3 | LINEFLAG_RUNNING, true, false);
    buffer.ChangeLineFlag(0, 0, true, false);
    buffer.ChangeLineFlag(500, LINEFLAG_RUNNING, true, true);
    EXPECT_TRUE(view.log.empty());
    EXPECT_EQ(buffer.LineWithFlag(bm3 | LINEFLAG_RUNNING), -1);
    EXPECT_EQ(buffer.FindFirstLineWithFlag(bm3 | LINEFLAG_RUNNING), 10);

    // Line -1 clears the flag wherever it is.
    buffer.ChangeLineFlag(-1, bm3, false, true);
    EXPECT_EQ(buffer.LineWithFlag(bm3), -1);
    ASSERT_EQ(view.log.size(), 1u);
    EXPECT_EQ(view.log[0].line, 10);
    buffer.ChangeLineFlag(-1, bm3, false, true);  // nowhere: nothing
    EXPECT_EQ(view.log.size(), 1u);

    // Plain bookmarks are not unique.
    buffer.ChangeLineFlag(1, LINEFLAG_BOOKMARK, true, false);
    buffer.ChangeLineFlag(5, LINEFLAG_BOOKMARK, true, false);
    EXPECT_EQ(buffer.LineFlags(1), uint32_t(LINEFLAG_BOOKMARK));
    EXPECT_EQ(buffer.LineFlags(5), uint32_t(LINEFLAG_BOOKMARK));
}

// Every line holding flag, by looking at each.
std::vector<int> LinesWithFlag(const CTextBuffer& buffer, uint32_t flag)
{
    std::vector<int> lines;
    for (int i = 0; i < buffer.LineCount(); ++i)
        if (buffer.LineFlags(i) & flag)
            lines.push_back(i);
    return lines;
}

std::string NumberedLines(int count)
{
    std::string text = "N0";
    for (int i = 1; i < count; ++i)
        text += "\r\nN" + std::to_string(i);
    return text;
}

TEST_F(Edit, AnExclusiveFlagFollowsItsLineThroughEditsAndMovesFromThere)
{
    Fill(NumberedLines(20));
    int endLine = 0, endChar = 0;
    buffer.ChangeLineFlag(10, LINEFLAG_RUNNING, true, true);

    // Two lines inserted above (one of them splitting line 3): the flag is
    // on line 12, the same text, and moving it clears that line.
    ASSERT_TRUE(buffer.RawInsert(nullptr, 3, 1, "a\r\nb\r\n", endLine, endChar));
    ASSERT_TRUE(buffer.RawInsert(nullptr, 0, 0, "c", endLine, endChar));
    EXPECT_EQ(buffer.LineWithFlag(LINEFLAG_RUNNING), 12);
    EXPECT_EQ(buffer.Line(12), "N10");
    view.log.clear();
    buffer.ChangeLineFlag(15, LINEFLAG_RUNNING, true, true);
    EXPECT_EQ(LinesWithFlag(buffer, LINEFLAG_RUNNING), std::vector<int>{15});
    ASSERT_EQ(view.log.size(), 2u);
    EXPECT_EQ(view.log[0].line, 12);

    // Lines deleted above it, then an insertion on its own line, which
    // keeps the flag on the line's first part.
    ASSERT_TRUE(buffer.RawDelete(nullptr, 2, 1, 5, 0));
    EXPECT_EQ(buffer.LineWithFlag(LINEFLAG_RUNNING), 12);
    ASSERT_TRUE(buffer.RawInsert(nullptr, 12, 1, "\r\n", endLine, endChar));
    EXPECT_EQ(buffer.LineWithFlag(LINEFLAG_RUNNING), 12);
    buffer.ChangeLineFlag(1, LINEFLAG_RUNNING, true, true);
    EXPECT_EQ(LinesWithFlag(buffer, LINEFLAG_RUNNING), std::vector<int>{1});

    // Its own line deleted (joined into the line above): the flag is gone
    // with it, and the next mark is the only one.
    ASSERT_TRUE(buffer.RawDelete(nullptr, 0, 1, 2, 0));
    EXPECT_EQ(buffer.LineWithFlag(LINEFLAG_RUNNING), -1);
    EXPECT_TRUE(LinesWithFlag(buffer, LINEFLAG_RUNNING).empty());
    buffer.ChangeLineFlag(7, LINEFLAG_RUNNING, true, true);
    EXPECT_EQ(LinesWithFlag(buffer, LINEFLAG_RUNNING), std::vector<int>{7});

    // Undone and redone edits move it as any other edit.
    ASSERT_TRUE(buffer.InsertText(nullptr, 0, 0, "x\r\ny\r\n", endLine, endChar, ACTION_TYPING));
    EXPECT_EQ(buffer.LineWithFlag(LINEFLAG_RUNNING), 9);
    TextPos point;
    ASSERT_TRUE(buffer.Undo(point));
    EXPECT_EQ(buffer.LineWithFlag(LINEFLAG_RUNNING), 7);
    ASSERT_TRUE(buffer.Redo(point));
    EXPECT_EQ(buffer.LineWithFlag(LINEFLAG_RUNNING), 9);
    buffer.ChangeLineFlag(0, LINEFLAG_RUNNING, true, true);
    EXPECT_EQ(LinesWithFlag(buffer, LINEFLAG_RUNNING), std::vector<int>{0});

    // A new text has no flags.
    buffer.ClearAll();
    buffer.ResetToEmpty(EOL_DOS);
    EXPECT_EQ(buffer.LineWithFlag(LINEFLAG_RUNNING), -1);
}

TEST_F(Edit, AFlagSetOnSeveralLinesIsClearedFromTheFirstByAnExclusiveSet)
{
    Fill(NumberedLines(12));
    buffer.ChangeLineFlag(6, LINEFLAG_RUNNING, true, false);
    buffer.ChangeLineFlag(2, LINEFLAG_RUNNING, true, false);
    EXPECT_EQ(buffer.LineWithFlag(LINEFLAG_RUNNING), 2);
    buffer.ChangeLineFlag(9, LINEFLAG_RUNNING, true, true);
    EXPECT_EQ(LinesWithFlag(buffer, LINEFLAG_RUNNING), (std::vector<int>{6, 9}));
    EXPECT_EQ(buffer.LineWithFlag(LINEFLAG_RUNNING), 6);
    buffer.ChangeLineFlag(6, LINEFLAG_RUNNING, false, false);
    EXPECT_EQ(buffer.LineWithFlag(LINEFLAG_RUNNING), 9);
    buffer.ChangeLineFlag(4, LINEFLAG_RUNNING, true, true);
    EXPECT_EQ(LinesWithFlag(buffer, LINEFLAG_RUNNING), std::vector<int>{4});
    buffer.ChangeLineFlag(-1, LINEFLAG_RUNNING, false, false);
    EXPECT_TRUE(LinesWithFlag(buffer, LINEFLAG_RUNNING).empty());
}

// Moving the running line down a program, as a playback does: the time
// must not depend on the program's length.
TEST(Buffer, MovingAnExclusiveFlagCostsTheSameInAProgramOfAnyLength)
{
    const auto timeMarks = [](int lines) {
        CTextBuffer buffer;
        buffer.ResetToEmpty(EOL_DOS);
        int endLine = 0, endChar = 0;
        buffer.RawInsert(nullptr, 0, 0, NumberedLines(lines), endLine, endChar);
        const auto start = std::chrono::steady_clock::now();
        // The last 2000 lines, where a scan from the top would cost most.
        for (int line = lines - 2000; line < lines; ++line)
            buffer.ChangeLineFlag(line, LINEFLAG_RUNNING, true, true);
        const auto elapsed = std::chrono::steady_clock::now() - start;
        EXPECT_EQ(LinesWithFlag(buffer, LINEFLAG_RUNNING), std::vector<int>{lines - 1});
        return std::chrono::duration<double, std::milli>(elapsed).count();
    };
    const double small = timeMarks(4000);
    const double large = timeMarks(2000000);
    // Looking through the lines for the old mark would take seconds here.
    EXPECT_LT(large, 10.0 * small + 50.0) << "4000 lines: " << small << " ms, 2000000 lines: " << large << " ms";
}

TEST_F(Edit, BookmarkSearchesWrapAround)
{
    Fill("0\r\n1\r\n2\r\n3\r\n4\r\n5\r\n6");
    EXPECT_EQ(buffer.NextBookmarkLine(0), -1);
    EXPECT_EQ(buffer.PrevBookmarkLine(0), -1);
    buffer.ChangeLineFlag(3, LINEFLAG_BOOKMARK, true, false);
    EXPECT_EQ(buffer.NextBookmarkLine(3), 3);
    EXPECT_EQ(buffer.PrevBookmarkLine(3), 3);
    buffer.ChangeLineFlag(5, LINEFLAG_BOOKMARK, true, false);
    EXPECT_EQ(buffer.NextBookmarkLine(0), 3);
    EXPECT_EQ(buffer.NextBookmarkLine(3), 5);
    EXPECT_EQ(buffer.NextBookmarkLine(4), 5);
    EXPECT_EQ(buffer.NextBookmarkLine(5), 3);
    EXPECT_EQ(buffer.NextBookmarkLine(6), 3);
    EXPECT_EQ(buffer.PrevBookmarkLine(6), 5);
    EXPECT_EQ(buffer.PrevBookmarkLine(5), 3);
    EXPECT_EQ(buffer.PrevBookmarkLine(3), 5);
    EXPECT_EQ(buffer.PrevBookmarkLine(1), 5);
    // Numbered bookmarks are not plain bookmarks.
    buffer.ChangeLineFlag(1, LineFlagBookmark(0), true, true);
    EXPECT_EQ(buffer.NextBookmarkLine(0), 3);
}

TEST(Buffer, ResetClearAndEolNames)
{
    CTextBuffer buffer;
    EXPECT_EQ(buffer.LineCount(), 0);
    EXPECT_FALSE(buffer.IsInitialised());
    RecordingView view;
    buffer.AttachView(&view);
    ASSERT_TRUE(buffer.ResetToEmpty(EOL_MAC));
    EXPECT_EQ(buffer.LineCount(), 1);
    EXPECT_EQ(buffer.LineLength(0), 0);
    EXPECT_EQ(buffer.EolStyle(), EOL_MAC);
    ASSERT_EQ(view.log.size(), 1u);
    EXPECT_EQ(view.log[0].hints, uint32_t(HINT_RESET));
    EXPECT_EQ(view.log[0].line, -1);
    buffer.ClearAll();
    EXPECT_EQ(buffer.LineCount(), 0);
    EXPECT_FALSE(buffer.IsInitialised());
    EXPECT_EQ(view.log.size(), 1u);  // clearing notifies nobody
    buffer.DetachView(&view);
    EXPECT_STREQ(EolStyleName(EOL_DOS), "DOS");
    EXPECT_STREQ(EolStyleName(EOL_UNIX), "UNIX");
    EXPECT_STREQ(EolStyleName(EOL_MAC), "MAC");
    EXPECT_STREQ(EolStyleName(EOL_AUTO), "");
}

// Lines grow in 16-byte steps; a long sequence of typed bytes keeps every
// byte and the array survives many edits spread over a large text.
TEST_F(Edit, ManyEditsAcrossALargeTextKeepEveryByte)
{
    std::string text;
    for (int i = 0; i < 20000; ++i)
        text += "N" + std::to_string(i) + " G1 X" + std::to_string(i % 97) + "\r\n";
    Fill(text);
    std::vector<std::string> model;
    for (int i = 0; i < buffer.LineCount(); ++i)
        model.emplace_back(buffer.Line(i));
    uint32_t state = 7;
    auto next = [&] { return state = state * 1103515245u + 12345u, (state >> 8) % 1000000u; };
    for (int round = 0; round < 3000; ++round) {
        const int line = int(next() % model.size());
        const int ch = int(next() % (model[size_t(line)].size() + 1));
        int endLine = 0, endChar = 0;
        switch (next() % 3) {
        case 0:
            ASSERT_TRUE(buffer.RawInsert(nullptr, line, ch, "Z", endLine, endChar));
            model[size_t(line)].insert(size_t(ch), "Z");
            break;
        case 1: {
            ASSERT_TRUE(buffer.RawInsert(nullptr, line, ch, "a\r\nb", endLine, endChar));
            const std::string tail = model[size_t(line)].substr(size_t(ch));
            model[size_t(line)].resize(size_t(ch));
            model[size_t(line)] += "a";
            model.insert(model.begin() + line + 1, "b" + tail);
            break;
        }
        default:
            if (line + 1 < int(model.size())) {
                ASSERT_TRUE(buffer.RawDelete(nullptr, line, ch, line + 1, 0));
                model[size_t(line)].resize(size_t(ch));
                model[size_t(line)] += model[size_t(line) + 1];
                model.erase(model.begin() + line + 1);
            }
        }
    }
    ASSERT_EQ(buffer.LineCount(), int(model.size()));
    for (int i = 0; i < buffer.LineCount(); ++i)
        ASSERT_EQ(buffer.Line(i), model[size_t(i)]) << "line " << i;
}

}  // namespace
