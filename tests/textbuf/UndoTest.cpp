// The undo history: steps and groups, merging, the step limit, undo and redo
// with their caret points, labels, and the modified flag following the
// history back and forth.
#include <gtest/gtest.h>

#include <cstdlib>
#include <unistd.h>

#include "CTextBuffer.h"
#include "RecordingView.h"

namespace {

class Undo : public ::testing::Test
{
protected:
    void SetUp() override { buffer.ResetToEmpty(EOL_DOS); }

    // Types one byte as the editing view does: every byte except a space
    // joins the group of the byte before.
    void Type(char c, CTextBufferListener* source = nullptr)
    {
        buffer.OpenUndoGroup(c != ' ');
        int endLine = 0, endChar = 0;
        ASSERT_TRUE(buffer.InsertText(source, caret.y, caret.x, std::string(1, c), endLine, endChar,
                                      ACTION_TYPING));
        caret = {endChar, endLine};
        buffer.CloseUndoGroup(source);
    }

    CTextBuffer buffer;
    TextPos caret;
};

TEST_F(Undo, TypingGroupsUntilASpaceAndUndoesGroupByGroup)
{
    for (char c : std::string("abc de"))
        Type(c);
    EXPECT_EQ(buffer.Line(0), "abc de");
    EXPECT_EQ(buffer.UndoStepCount(), 6);
    // Single bytes need no heap copy: they sit in the string's own storage.
    const std::string& text = buffer.UndoStepAt(0).text;
    EXPECT_EQ(text, "a");
    const char* data = text.data();
    const char* object = reinterpret_cast<const char*>(&text);
    EXPECT_TRUE(data >= object && data < object + sizeof(std::string));

    TextPos point;
    EXPECT_EQ(buffer.UndoAction(), ACTION_TYPING);
    ASSERT_TRUE(buffer.Undo(point));
    EXPECT_EQ(buffer.Line(0), "abc");
    EXPECT_EQ(point, (TextPos{3, 0}));  // start of the reverted insertion
    ASSERT_TRUE(buffer.Undo(point));
    EXPECT_EQ(buffer.Line(0), "");
    EXPECT_EQ(point, (TextPos{0, 0}));
    EXPECT_FALSE(buffer.CanUndo());
    EXPECT_TRUE(buffer.CanRedo());

    ASSERT_TRUE(buffer.Redo(point));
    EXPECT_EQ(buffer.Line(0), "abc");
    EXPECT_EQ(point, (TextPos{3, 0}));
    ASSERT_TRUE(buffer.Redo(point));
    EXPECT_EQ(buffer.Line(0), "abc de");
    EXPECT_FALSE(buffer.CanRedo());
}

TEST_F(Undo, DeletionsReinsertTheirTextAndReturnTheirEnd)
{
    int endLine = 0, endChar = 0;
    ASSERT_TRUE(buffer.InsertText(nullptr, 0, 0, "G01 X1\r\nG02 Y2\r\nM30", endLine, endChar, ACTION_PASTE));
    ASSERT_TRUE(buffer.DeleteText(nullptr, 0, 4, 1, 3, ACTION_DELETE_SELECTION));
    EXPECT_EQ(AllText(buffer), "G01  Y2\r\nM30");
    const CTextBuffer::UndoStep& step = buffer.UndoStepAt(1);
    EXPECT_EQ(step.text, "X1\r\nG02");
    EXPECT_EQ(step.flags, uint32_t(CTextBuffer::STEP_GROUP_START));
    EXPECT_EQ(buffer.UndoStepAt(0).flags, uint32_t(CTextBuffer::STEP_GROUP_START | CTextBuffer::STEP_INSERT));

    EXPECT_EQ(buffer.UndoAction(), ACTION_DELETE_SELECTION);
    EXPECT_EQ(buffer.RedoAction(), -1);
    TextPos point;
    ASSERT_TRUE(buffer.Undo(point));
    EXPECT_EQ(AllText(buffer), "G01 X1\r\nG02 Y2\r\nM30");
    EXPECT_EQ(point, (TextPos{3, 1}));  // end of the re-inserted text
    EXPECT_EQ(buffer.RedoAction(), ACTION_DELETE_SELECTION);
    EXPECT_EQ(buffer.UndoAction(), ACTION_PASTE);
}

TEST_F(Undo, GroupsReplayAsOneAndNotifyOncePerStep)
{
    RecordingView view;
    buffer.AttachView(&view);
    buffer.OpenUndoGroup(false);
    int endLine = 0, endChar = 0;
    buffer.InsertText(&view, 0, 0, "one", endLine, endChar, ACTION_DRAG_DROP);
    buffer.InsertText(&view, 0, 3, "\r\ntwo", endLine, endChar, ACTION_DRAG_DROP);
    buffer.DeleteText(&view, 0, 0, 0, 1, ACTION_DRAG_DROP);
    EXPECT_TRUE(buffer.InUndoGroup());
    buffer.CloseUndoGroup(&view);
    EXPECT_FALSE(buffer.InUndoGroup());
    // The view hears about the last step when the group closes.
    ASSERT_EQ(view.actions.size(), 1u);
    EXPECT_EQ(view.actions[0], (std::pair<int, std::string>{ACTION_DRAG_DROP, "o"}));

    view.log.clear();
    TextPos point;
    ASSERT_TRUE(buffer.Undo(point));
    EXPECT_EQ(AllText(buffer), "");
    ASSERT_EQ(view.log.size(), 3u);
    for (const Notification& n : view.log)
        EXPECT_EQ(n.source, nullptr);
    EXPECT_EQ(view.actions.size(), 1u);  // no edit action during undo
    buffer.DetachView(&view);
}

// A change made while the group's closing call is running joins no group of
// its own but starts a new one (automatic indentation after Enter).
TEST_F(Undo, AChangeMadeFromTheEditActionStartsItsOwnGroup)
{
    struct Indenter : RecordingView
    {
        CTextBuffer* buffer = nullptr;
        void OnEditAction(int action, std::string_view text) override
        {
            RecordingView::OnEditAction(action, text);
            if (text == "\r\n") {
                int endLine = 0, endChar = 0;
                EXPECT_TRUE(buffer->InUndoGroup());
                buffer->InsertText(this, 1, 0, "\t", endLine, endChar, ACTION_AUTO_INDENT);
            }
        }
    } view;
    view.buffer = &buffer;
    int endLine = 0, endChar = 0;
    buffer.InsertText(&view, 0, 0, "\r\n", endLine, endChar, ACTION_TYPING);
    EXPECT_EQ(AllText(buffer), "\r\n\t");
    EXPECT_EQ(view.actions.size(), 1u);  // the nested insertion closed no group
    ASSERT_EQ(buffer.UndoStepCount(), 2);
    EXPECT_TRUE(buffer.UndoStepAt(1).flags & CTextBuffer::STEP_GROUP_START);
    EXPECT_EQ(buffer.UndoAction(), ACTION_AUTO_INDENT);
    TextPos point;
    buffer.Undo(point);
    EXPECT_EQ(AllText(buffer), "\r\n");
    buffer.Undo(point);
    EXPECT_EQ(AllText(buffer), "");
}

TEST_F(Undo, MergeJoinsWhateverStepCameBeforeButNeverAtTheStart)
{
    buffer.OpenUndoGroup(true);  // nothing to merge with: a group starts
    int endLine = 0, endChar = 0;
    buffer.InsertText(nullptr, 0, 0, "a", endLine, endChar, ACTION_PASTE);
    buffer.CloseUndoGroup(nullptr);
    EXPECT_TRUE(buffer.UndoStepAt(0).flags & CTextBuffer::STEP_GROUP_START);
    buffer.OpenUndoGroup(true);
    buffer.DeleteText(nullptr, 0, 0, 0, 1, ACTION_BACKSPACE);
    buffer.CloseUndoGroup(nullptr);
    EXPECT_FALSE(buffer.UndoStepAt(1).flags & CTextBuffer::STEP_GROUP_START);
    EXPECT_EQ(buffer.UndoAction(), ACTION_PASTE);  // the action of the group's first step
    TextPos point;
    buffer.Undo(point);
    EXPECT_FALSE(buffer.CanUndo());
}

TEST_F(Undo, ANewEditDiscardsTheRedoTail)
{
    for (char c : std::string("ab cd"))
        Type(c);
    TextPos point;
    buffer.Undo(point);
    caret = point;
    Type('X');
    EXPECT_FALSE(buffer.CanRedo());
    EXPECT_EQ(buffer.UndoStepCount(), 3);
    EXPECT_EQ(buffer.Line(0), "abX");
}

TEST_F(Undo, TheLimitDropsTheWholeOldestGroup)
{
    buffer.OpenUndoGroup(false);
    int endLine = 0, endChar = 0;
    for (int i = 0; i < 10; ++i)
        buffer.InsertText(nullptr, 0, 0, "g", endLine, endChar, ACTION_PASTE);
    buffer.CloseUndoGroup(nullptr);
    for (int i = 10; i < 1024; ++i)
        buffer.InsertText(nullptr, 0, 0, "s", endLine, endChar, ACTION_TYPING);
    EXPECT_EQ(buffer.UndoStepCount(), 1024);
    buffer.InsertText(nullptr, 0, 0, "n", endLine, endChar, ACTION_TYPING);
    EXPECT_EQ(buffer.UndoStepCount(), 1015);
    EXPECT_EQ(buffer.UndoPos(), 1015);
    EXPECT_TRUE(buffer.UndoStepAt(0).flags & CTextBuffer::STEP_GROUP_START);
    EXPECT_EQ(buffer.UndoStepAt(0).text, "s");

    // A group is never cut: one longer than the limit stays whole, so that
    // one Undo takes all of it back, and the next group drops it.
    CTextBuffer one;
    one.ResetToEmpty(EOL_DOS);
    one.OpenUndoGroup(false);
    for (int i = 0; i < 1500; ++i)
        one.InsertText(nullptr, 0, 0, "g", endLine, endChar, ACTION_PASTE);
    one.CloseUndoGroup(nullptr);
    EXPECT_EQ(one.UndoStepCount(), 1500);
    TextPos point;
    EXPECT_TRUE(one.Undo(point));
    EXPECT_EQ(one.LineLength(0), 0);
    EXPECT_TRUE(one.Redo(point));
    EXPECT_EQ(one.LineLength(0), 1500);
    one.InsertText(nullptr, 0, 0, "h", endLine, endChar, ACTION_PASTE);
    EXPECT_EQ(one.UndoStepCount(), 1);
    EXPECT_TRUE(one.UndoStepAt(0).flags & CTextBuffer::STEP_GROUP_START);
}

TEST_F(Undo, AnEmptyHistoryHasNoActionAndAnyCodeIsKept)
{
    EXPECT_EQ(buffer.UndoAction(), -1);
    EXPECT_EQ(buffer.RedoAction(), -1);
    int endLine = 0, endChar = 0;
    buffer.InsertText(nullptr, 0, 0, "q", endLine, endChar, 42);
    EXPECT_EQ(buffer.UndoAction(), 42);  // the view decides what to call it
}

// A buffer that keeps its modified flag elsewhere, as the document's does.
struct ForwardingBuffer : CTextBuffer
{
    bool documentModified = false;
    void SetModified(bool modified) override { documentModified = modified; }
};

TEST(UndoModified, UndoingBackToTheSavedStateClearsTheFlagOfAStoringBuffer)
{
    CTextBuffer buffer;
    buffer.ResetToEmpty(EOL_DOS);
    int endLine = 0, endChar = 0;
    buffer.InsertText(nullptr, 0, 0, "a", endLine, endChar, ACTION_TYPING);
    EXPECT_TRUE(buffer.IsModifiedFlag());
    TextPos point;
    buffer.Undo(point);
    EXPECT_FALSE(buffer.IsModifiedFlag());
    buffer.Redo(point);
    EXPECT_TRUE(buffer.IsModifiedFlag());
    buffer.SetReadOnly(true);
    EXPECT_FALSE(buffer.Undo(point));
    EXPECT_FALSE(buffer.Redo(point));
    EXPECT_EQ(buffer.Line(0), "a");
}

// The document's buffer never stores the flag, so the rules that clear it
// never fire: going back to the saved state keeps the document modified.
TEST(UndoModified, AForwardingBufferStaysModifiedAfterUndo)
{
    ForwardingBuffer buffer;
    buffer.ResetToEmpty(EOL_DOS);
    int endLine = 0, endChar = 0;
    buffer.InsertText(nullptr, 0, 0, "a", endLine, endChar, ACTION_TYPING);
    EXPECT_TRUE(buffer.documentModified);
    TextPos point;
    buffer.Undo(point);
    EXPECT_TRUE(buffer.documentModified);
}

TEST(UndoModified, TheSavedPositionFollowsTrimmingAndDiscardedRedo)
{
    CTextBuffer buffer;
    buffer.ResetToEmpty(EOL_DOS);
    int endLine = 0, endChar = 0;
    for (int i = 0; i < 1000; ++i)
        buffer.InsertText(nullptr, 0, 0, "x", endLine, endChar, ACTION_TYPING);
    // Saved after 1000 steps; 40 more push the oldest 16 off the front.
    const std::string saved = std::string(buffer.Line(0));
    char tmpl[] = "/tmp/tornel-undo-XXXXXX";
    const int fd = ::mkstemp(tmpl);
    ASSERT_GE(fd, 0);
    ::close(fd);
    ASSERT_TRUE(buffer.SaveFile(tmpl, EOL_AUTO, true));
    ::unlink(tmpl);
    EXPECT_EQ(buffer.SavedPos(), 1000);
    for (int i = 0; i < 40; ++i)
        buffer.InsertText(nullptr, 0, 0, "y", endLine, endChar, ACTION_TYPING);
    EXPECT_EQ(buffer.UndoStepCount(), 1024);
    EXPECT_EQ(buffer.SavedPos(), 1000 - 16);
    TextPos point;
    for (int i = 0; i < 40; ++i)
        buffer.Undo(point);
    EXPECT_EQ(std::string(buffer.Line(0)), saved);
    EXPECT_FALSE(buffer.IsModifiedFlag());  // back at the saved text

    // Undo below the saved state, then edit: the saved state is gone for good.
    buffer.Undo(point);
    buffer.InsertText(nullptr, 0, 0, "z", endLine, endChar, ACTION_TYPING);
    EXPECT_EQ(buffer.SavedPos(), -1);
    buffer.Undo(point);
    EXPECT_TRUE(buffer.IsModifiedFlag());  // this text was never saved
}

TEST(UndoModified, ASavedStateThatFallsOffTheFrontIsNeverReachedAgain)
{
    CTextBuffer buffer;
    buffer.ResetToEmpty(EOL_DOS);  // saved position 0: the empty text
    int endLine = 0, endChar = 0;
    for (int i = 0; i < 1100; ++i)
        buffer.InsertText(nullptr, 0, 0, "x", endLine, endChar, ACTION_TYPING);
    EXPECT_EQ(buffer.SavedPos(), -1);
    TextPos point;
    while (buffer.CanUndo())
        buffer.Undo(point);
    EXPECT_NE(buffer.LineLength(0), 0);  // the empty text is out of reach
    EXPECT_TRUE(buffer.IsModifiedFlag());
}

}  // namespace
