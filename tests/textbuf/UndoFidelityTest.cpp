// Undo and redo give back every byte: lines that hold CRs of their own, mixed
// separators, NUL-cut lines and GBK bytes come back exactly, checked against
// a model of the text through long random edit sequences; a new text starts
// a new history; a full history drops its oldest group at no cost.
#include <gtest/gtest.h>

#include <chrono>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "CTextBuffer.h"
#include "TempDir.h"

namespace {

using Lines = std::vector<std::string>;

Lines LinesOf(const CTextBuffer& buffer)
{
    Lines lines;
    for (int i = 0; i < buffer.LineCount(); ++i)
        lines.emplace_back(buffer.Line(i));
    return lines;
}

void Load(CTextBuffer& buffer, TempDir& dir, const std::string& bytes)
{
    const std::string path = dir.File("p.nc");
    WriteBytes(path, bytes);
    ASSERT_TRUE(buffer.LoadFile(path.c_str(), EOL_AUTO));
}

TEST(UndoFidelity, ADeletionAcrossALoneCrComesBackExactly)
{
    TempDir dir;
    CTextBuffer buffer;
    Load(buffer, dir, "G1\r\nX2\rY3\r\n");
    ASSERT_EQ(buffer.EolStyle(), EOL_DOS);
    const Lines loaded = LinesOf(buffer);
    ASSERT_EQ(loaded, (Lines{"G1", "X2\rY3", ""}));

    ASSERT_TRUE(buffer.DeleteText(nullptr, 1, 1, 1, 4, ACTION_DELETE));
    const Lines deleted = LinesOf(buffer);
    EXPECT_EQ(deleted, (Lines{"G1", "X3", ""}));
    TextPos point;
    for (int round = 0; round < 3; ++round) {
        ASSERT_TRUE(buffer.Undo(point));
        EXPECT_EQ(LinesOf(buffer), loaded) << "round " << round;
        EXPECT_EQ(point, (TextPos{4, 1}));
        ASSERT_TRUE(buffer.Redo(point));
        EXPECT_EQ(LinesOf(buffer), deleted) << "round " << round;
    }
}

TEST(UndoFidelity, ALineThatEndsInACrOfAnLfFileComesBackExactly)
{
    TempDir dir;
    CTextBuffer buffer;
    Load(buffer, dir, "A\nB\r\nC\r\n");
    ASSERT_EQ(buffer.EolStyle(), EOL_MAC);
    const Lines loaded = LinesOf(buffer);
    ASSERT_EQ(loaded, (Lines{"A", "B\r", "C\r", ""}));

    // The whole line "B\r" with its separator.
    ASSERT_TRUE(buffer.DeleteText(nullptr, 1, 0, 2, 0, ACTION_DELETE_SELECTION));
    const Lines deleted = LinesOf(buffer);
    EXPECT_EQ(deleted, (Lines{"A", "C\r", ""}));
    TextPos point;
    for (int round = 0; round < 3; ++round) {
        ASSERT_TRUE(buffer.Undo(point));
        EXPECT_EQ(LinesOf(buffer), loaded) << "round " << round;
        ASSERT_TRUE(buffer.Redo(point));
        EXPECT_EQ(LinesOf(buffer), deleted) << "round " << round;
    }
}

TEST(UndoFidelity, AStepTheTextRefusesLeavesTheHistoryWhereItIs)
{
    CTextBuffer buffer;
    buffer.ResetToEmpty(EOL_DOS);
    int endLine = 0, endChar = 0;
    ASSERT_TRUE(buffer.InsertText(nullptr, 0, 0, "G01 X1\r\nG02", endLine, endChar, ACTION_PASTE));
    ASSERT_TRUE(buffer.InsertText(nullptr, 1, 3, " Y2", endLine, endChar, ACTION_TYPING));
    // The text shortened behind the history's back: the last step's range
    // is no longer there.
    ASSERT_TRUE(buffer.RawDelete(nullptr, 0, 3, 1, 6));
    const Lines before = LinesOf(buffer);
    TextPos point{99, 99};
    EXPECT_FALSE(buffer.Undo(point));
    EXPECT_EQ(buffer.UndoPos(), 2);
    EXPECT_EQ(LinesOf(buffer), before);
    EXPECT_EQ(point, (TextPos{99, 99}));
}

// The text as the model sees it: lines, edited by the same rules as the
// buffer (a CR or CR LF in inserted text breaks the line, the text ends at
// its first NUL), but independently written.
class Model
{
public:
    explicit Model(Lines lines) : m_lines(std::move(lines)) {}

    void Insert(TextPos at, std::string text)
    {
        text = text.substr(0, text.find('\0'));
        std::vector<std::string> parts{std::string()};
        for (size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\r') {
                if (i + 1 < text.size() && text[i + 1] == '\n')
                    ++i;
                parts.emplace_back();
            } else {
                parts.back() += text[i];
            }
        }
        std::string& line = m_lines[size_t(at.y)];
        const std::string tail = line.substr(size_t(at.x));
        line.resize(size_t(at.x));
        line += parts[0];
        for (size_t p = 1; p < parts.size(); ++p)
            m_lines.insert(m_lines.begin() + at.y + std::ptrdiff_t(p), parts[p]);
        m_lines[size_t(at.y) + parts.size() - 1] += tail;
    }
    void Delete(TextPos from, TextPos to)
    {
        const std::string tail = m_lines[size_t(to.y)].substr(size_t(to.x));
        m_lines[size_t(from.y)].resize(size_t(from.x));
        m_lines[size_t(from.y)] += tail;
        m_lines.erase(m_lines.begin() + from.y + 1, m_lines.begin() + to.y + 1);
    }
    const Lines& Get() const { return m_lines; }

private:
    Lines m_lines;
};

// Random bytes with the ones that matter here: CRs, LFs, CR LF pairs, NULs,
// GBK pairs, blanks and NC words.
std::string RandomText(std::mt19937& random)
{
    static const std::string pieces[] = {"\r",       "\n",       "\r\n", "\n\r", std::string("\0x", 2),
                                         "\xD6\xD0", "\xCE\xC4", " ",    "\t",   "G01",
                                         "X10.5",    "(",        ")",    ";"};
    std::string text;
    const int count = int(random() % 6);
    for (int i = 0; i < count; ++i)
        text += pieces[random() % std::size(pieces)];
    return text;
}

TextPos RandomPosition(std::mt19937& random, const CTextBuffer& buffer)
{
    const int line = int(random() % unsigned(buffer.LineCount()));
    return {int(random() % unsigned(buffer.LineLength(line) + 1)), line};
}

TEST(UndoFidelity, EveryUndoGivesBackTheTextBeforeItsEditThroughRandomEdits)
{
    // Files with lone CRs, both separators mixed, NUL-cut lines and GBK.
    const std::string files[] = {
        "G1\r\nX2\rY3\r\n(\xD6\xD0\xCE\xC4)\r\nM30\r\n",
        "A\nB\r\nC\r\n\rD\n\n",
        "N10 G00\n\rN20 X1\r\n\rN30\n\r",
        std::string("G01 X1\r\nY2\0junk\r\nZ3\r\r\n\r\n", 25),
        "\r\r\r\n\n\n",
    };
    TempDir dir;
    std::mt19937 random(20261207);
    int undos = 0;
    for (const std::string& file : files) {
        CTextBuffer buffer;
        Load(buffer, dir, file);
        Model model(LinesOf(buffer));
        ASSERT_EQ(model.Get(), LinesOf(buffer));
        // The text after each applied group, the first being the file's,
        // and the texts that Redo is to bring back, the next one last.
        std::vector<Lines> states{model.Get()}, undone;
        for (int step = 0; step < 600; ++step) {
            const unsigned what = random() % 10;
            if (what < 3 && buffer.CanUndo()) {
                TextPos point;
                ASSERT_TRUE(buffer.Undo(point));
                undone.push_back(states.back());
                states.pop_back();
                ASSERT_EQ(LinesOf(buffer), states.back()) << "after undo, step " << step;
                model = Model(states.back());
                ++undos;
                continue;
            }
            if (what == 3 && buffer.CanRedo()) {
                TextPos point;
                ASSERT_TRUE(buffer.Redo(point));
                states.push_back(undone.back());
                undone.pop_back();
                ASSERT_EQ(LinesOf(buffer), states.back()) << "after redo, step " << step;
                model = Model(states.back());
                continue;
            }
            // A group of one to three edits, as a command makes them.
            const int edits = 1 + int(random() % 3);
            buffer.OpenUndoGroup(false);
            for (int e = 0; e < edits; ++e) {
                if (random() % 2) {
                    const TextPos at = RandomPosition(random, buffer);
                    const std::string text = RandomText(random);
                    int endLine = 0, endChar = 0;
                    ASSERT_TRUE(buffer.InsertText(nullptr, at.y, at.x, text, endLine, endChar, ACTION_PASTE));
                    model.Insert(at, text);
                } else {
                    TextPos from = RandomPosition(random, buffer), to = RandomPosition(random, buffer);
                    if (to.y < from.y || (to.y == from.y && to.x < from.x))
                        std::swap(from, to);
                    ASSERT_TRUE(buffer.DeleteText(nullptr, from.y, from.x, to.y, to.x, ACTION_DELETE));
                    model.Delete(from, to);
                }
                ASSERT_EQ(LinesOf(buffer), model.Get()) << "after an edit, step " << step;
            }
            buffer.CloseUndoGroup(nullptr);
            // A new group makes the redoable ones unreachable.
            states.push_back(model.Get());
            undone.clear();
            ASSERT_FALSE(buffer.CanRedo());
        }
        // And all the way back to the file.
        TextPos point;
        while (buffer.CanUndo())
            ASSERT_TRUE(buffer.Undo(point));
        EXPECT_EQ(LinesOf(buffer), (Lines{states.front()}));
    }
    EXPECT_GT(undos, 300);
}

TEST(UndoFidelity, ALoadedTextStartsAFreshHistory)
{
    TempDir dir;
    CTextBuffer buffer;
    Load(buffer, dir, "G01 X1\r\n");
    int endLine = 0, endChar = 0;
    ASSERT_TRUE(buffer.InsertText(nullptr, 0, 0, "N5 ", endLine, endChar, ACTION_TYPING));
    TextPos point;
    ASSERT_TRUE(buffer.Undo(point));
    ASSERT_TRUE(buffer.CanRedo());

    // Another file into the same buffer, not cleared: nothing of the first
    // file's history can be redone into it.
    Load(buffer, dir, "M30\r\n");
    EXPECT_FALSE(buffer.CanRedo());
    EXPECT_FALSE(buffer.CanUndo());
    EXPECT_EQ(buffer.UndoStepCount(), 0);
    buffer.Redo(point);
    EXPECT_EQ(buffer.Line(0), "M30");

    // The same for a new empty text.
    ASSERT_TRUE(buffer.InsertText(nullptr, 0, 0, "X", endLine, endChar, ACTION_TYPING));
    ASSERT_TRUE(buffer.Undo(point));
    buffer.ResetToEmpty(EOL_DOS);
    EXPECT_FALSE(buffer.CanRedo());
}

TEST(UndoFidelity, AFullHistoryDropsItsOldestGroupAtNoCost)
{
    // With a history of 100,000 steps, dropping the oldest by moving all the
    // others would take minutes for the 20,000 steps below; it takes
    // milliseconds.
    CTextBuffer buffer;
    buffer.ResetToEmpty(EOL_DOS);
    buffer.SetUndoLimit(100000);
    int endLine = 0, endChar = 0;
    for (int i = 0; i < 100000; ++i)
        ASSERT_TRUE(buffer.InsertText(nullptr, 0, 0, "x", endLine, endChar, ACTION_TYPING));
    ASSERT_EQ(buffer.UndoStepCount(), 100000);
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 20000; ++i)
        ASSERT_TRUE(buffer.InsertText(nullptr, 0, 0, "y", endLine, endChar, ACTION_TYPING));
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_EQ(buffer.UndoStepCount(), 100000);
    EXPECT_LT(seconds, 2.0);
    // The oldest went: the last undo leaves the 20,000 x of the steps that
    // are gone.
    TextPos point;
    while (buffer.CanUndo())
        ASSERT_TRUE(buffer.Undo(point));
    EXPECT_EQ(buffer.Line(0), std::string(20000, 'x'));
}

}  // namespace
