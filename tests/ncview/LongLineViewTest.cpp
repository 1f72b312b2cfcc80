// The code view on lines of hundreds of kilobytes: what it draws far from a
// line's start is what the same text drawn from its start looks like; the
// caret, clicks and vertical moves land where a count from the line's start
// says; the parsing a paint, a key or a blink does stays near the caret; and
// an idle view runs no timer but the focused caret's, which repaints only
// the caret.
#include <QAbstractEventDispatcher>
#include <QStyleHints>
#include <algorithm>
#include <random>

#include "CodeViewFixture.h"
#include "NcColouring.h"
#include "NcGen.h"
#include "QtTestHelpers.h"
#include "ids.h"

namespace {

// ---- Counting from the line's start, as the rules say.

int ColumnOf(std::string_view line, int byte)
{
    int column = 0;
    for (int i = 0; i < byte; ++i)
        column = line[size_t(i)] == '\t' ? column + 4 - column % 4 : column + 1;
    return column;
}

// The first byte whose cells reach past column (a click's byte).
int ByteAtCell(std::string_view line, int column)
{
    for (int i = 0, c = 0; i < int(line.size()); ++i) {
        c = line[size_t(i)] == '\t' ? c + 4 - c % 4 : c + 1;
        if (c > column)
            return i;
    }
    return int(line.size());
}

// Where Up and Down put the cursor for a remembered column: the nearer side
// of a tab.
int ByteForColumn(std::string_view line, int column)
{
    if (column <= 0)
        return 0;
    for (int i = 0, c = 0; i < int(line.size()); ++i) {
        c = line[size_t(i)] == '\t' ? c + 4 - c % 4 : c + 1;
        if (c >= column)
            return column <= c - 2 ? i : i + 1;
    }
    return int(line.size());
}

bool IsLead(char c)
{
    return static_cast<unsigned char>(c) >= 0x81 && static_cast<unsigned char>(c) <= 0xFE;
}

// Whether byte is the second half of a GBK character, pairing from the start.
bool IsSecondHalf(std::string_view line, int byte)
{
    int i = 0;
    while (i < byte) {
        const auto next = i + 1 < int(line.size()) ? static_cast<unsigned char>(line[size_t(i + 1)]) : 0;
        i += IsLead(line[size_t(i)]) && next >= 0x40 && next != 0x7F && next <= 0xFE ? 2 : 1;
    }
    return i > byte;
}

// A line of a real program with tabs and GBK comments, of about bytes; one
// GBK comment ("粗加工") three quarters of the way along.
std::string LongLine(int bytes)
{
    std::string line = GenerateNcLine(uint64_t(bytes), 9);
    line.insert(line.find(' ', line.size() * 3 / 4), " (\xB4\xD6\xBC\xD3\xB9\xA4)");
    return line;
}

// A plain text view that draws one short line with colour runs it is given:
// the reference for what a stretch of a long line must look like.
class ReferenceView : public CTextView
{
public:
    std::vector<ColourBlock> runs;
    ParseCookie ColouriseLine(ParseCookie, int, ColourBlock* blocks, int& count) override
    {
        for (const ColourBlock& run : runs)
            blocks[count++] = run;
        return 0;
    }
};

TEST_F(CodeViewTest, ALongLineFarFromItsStartLooksLikeTheSameTextDrawnFromItsStart)
{
    // A long comment, with characters and tabs in it, well into the line.
    std::string line = LongLine(200000);
    std::string comment = "(";
    while (comment.size() < 12000)
        comment += "DEPTH 10.5 \xB4\xD6\xBC\xD3\xB9\xA4\t";
    const int commentAt = int(line.find(' ', 120000)) + 1;
    line.insert(size_t(commentAt), comment + ") ");
    const int columns = 50;
    Load(line, 3, columns);
    view->clearFocus();
    QCoreApplication::processEvents();
    const int cellWidth = view->GetCellWidth();
    // The whole line's colours, as the parse gives them from its start.
    std::vector<ColourBlock> blocks(line.size() * 3);
    int count = 0;
    ColouriseNcLine(0, line.data(), int(line.size()), blocks.data(), int(blocks.size()), count);

    const int width = ColumnOf(line, int(line.size()));
    const int tab = int(line.find('\t', 100000));
    const int gbk = int(std::find_if(line.begin() + 150000, line.end(), IsLead) - line.begin());
    ASSERT_GT(tab, 0);
    ASSERT_LT(gbk, int(line.size()));
    // The last page; the middle; a tab cut by the left edge; the second
    // half of a character at the left edge; a character cut by the right
    // edge; deep inside the long comment.
    const int firsts[] = {width - columns,          width / 2 + 1,
                          ColumnOf(line, tab) + 1,  ColumnOf(line, gbk) + 1,
                          ColumnOf(line, gbk) - columns, ColumnOf(line, commentAt + 9000)};
    for (const int first : firsts) {
        for (const bool selected : {false, true}) {
            SCOPED_TRACE(testing::Message() << "first column " << first << (selected ? ", selected" : ""));
            // The reference line starts a little before, where a tab stop of
            // the long line is one of its own and no character is cut, and
            // is drawn from its start in a window wider on both sides.
            int start = ByteAtCell(line, first);
            while (ColumnOf(line, start) % 4 != 0 || IsSecondHalf(line, start))
                --start;
            const int offset = first - ColumnOf(line, start);
            const std::string piece = line.substr(size_t(start), size_t(offset + columns + 64));

            // The buffer outlives the view attached to it.
            CTextBuffer buffer;
            auto reference = std::make_unique<ReferenceView>();
            int k = 0;
            while (k + 1 < count && blocks[size_t(k + 1)].CharPos <= start)
                ++k;
            reference->runs.push_back({0, blocks[size_t(k)].ColourIndex});
            for (++k; k < count && blocks[size_t(k)].CharPos < start + int(piece.size()); ++k)
                reference->runs.push_back({blocks[size_t(k)].CharPos - start, blocks[size_t(k)].ColourIndex});
            buffer.ResetToEmpty(EOL_DOS);
            int endLine = 0, endChar = 0;
            buffer.RawInsert(nullptr, 0, 0, piece, endLine, endChar);
            reference->SetViewFont(doc->CodeFont());
            reference->resize(view->size() + QSize((offset + 4) * cellWidth, 0));
            reference->show();
            reference->AttachBuffer(&buffer);

            view->ScrollToColumn(first, false);
            const int selectionStart = ByteAtCell(line, first + 7);
            view->m_bShowSelUnfocused = reference->m_bShowSelUnfocused = selected;
            view->SetSelection({selectionStart, 0}, {selectionStart + 30, 0});
            reference->SetSelection({selectionStart - start, 0}, {selectionStart - start + 30, 0});

            const QImage drawn = view->viewport()->grab().toImage();
            const QImage expected = reference->viewport()->grab().toImage();
            const QRect text(CTextView::kMarginWidth, 0, drawn.width() - CTextView::kMarginWidth, drawn.height());
            ASSERT_EQ(drawn.height(), expected.height());
            EXPECT_TRUE(drawn.copy(text) == expected.copy(text.translated(offset * cellWidth, 0)));
        }
    }
}

TEST_F(CodeViewTest, OnALongLineKeysClicksAndVerticalMovesLandWhereACountFromItsStartSays)
{
    std::string line = LongLine(300000);
    const std::string other = LongLine(120000);
    const int columns = 60;
    Load("N1 G00\r\n" + line + "\r\nG01 X1\tY2\r\n" + other, 5, columns);
    const int cellWidth = view->GetCellWidth();
    auto caretColumn = [&] { return (view->CaretRect().left() - CTextView::kMarginWidth) / cellWidth; };
    // Columns of bytes, bytes of columns and of clicks, at random places of
    // a line (tabs and characters included), against a count.
    std::mt19937 random(2);
    auto expectMappings = [&](int at, const std::string& text) {
        SCOPED_TRACE(testing::Message() << "line " << at);
        ASSERT_EQ(Buffer().Line(at), text);
        view->ScrollIntoView({0, at});
        for (int i = 0; i < 100; ++i) {
            const int byte = int(random() % uint32_t(text.size() + 1));
            const int column = ColumnOf(text, byte) + int(random() % 4);
            ASSERT_EQ(view->CharToColumn(at, byte), ColumnOf(text, byte)) << byte;
            ASSERT_EQ(view->ColumnToChar(at, column), ByteForColumn(text, column)) << column;
            view->ScrollToColumn(column, false);
            const QPoint click(CTextView::kMarginWidth + 3 * cellWidth, (at - view->GetFirstRow()) * view->GetRowHeight());
            ASSERT_EQ(view->PointToTextPos(click), (TextPos{ByteAtCell(text, column + 3), at}));
        }
    };

    Place({0, 1});
    Key(Qt::Key_End);
    const int width = ColumnOf(line, int(line.size()));
    EXPECT_EQ(view->GetCursorTextPos(), (TextPos{int(line.size()), 1}));
    EXPECT_EQ(view->GetFirstColumn(), width - columns);
    EXPECT_EQ(caretColumn(), columns);
    Key(Qt::Key_Home);
    EXPECT_EQ(view->GetCursorTextPos(), (TextPos{0, 1}));
    EXPECT_EQ(view->GetFirstColumn(), 0);

    // Typing a letter and a tab just after a tab far into the line: the
    // tab stops after it move.
    const int afterTab = int(line.find('\t', 200000)) + 1;
    Place({afterTab, 1});
    view->ScrollIntoView({afterTab, 1});
    Type("Q");
    Key(Qt::Key_Tab);
    line.insert(size_t(afterTab), "Q\t");
    EXPECT_EQ(Buffer().Line(1), line);
    EXPECT_EQ(view->GetCursorTextPos(), (TextPos{afterTab + 2, 1}));
    EXPECT_EQ(caretColumn(), ColumnOf(line, afterTab + 2) - view->GetFirstColumn());

    // Down to a short line and back keeps the column.
    Key(Qt::Key_Down);
    EXPECT_EQ(view->GetCursorTextPos(), (TextPos{9, 2}));
    Key(Qt::Key_Up);
    EXPECT_EQ(view->GetCursorTextPos(), (TextPos{afterTab + 2, 1}));

    // A click far right, half a cell into a cell.
    view->ScrollToColumn(width - 2 * columns, true);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                      QPoint(CTextView::kMarginWidth + 10 * cellWidth + cellWidth / 2, view->GetRowHeight() * 3 / 2));
    EXPECT_EQ(view->GetCursorTextPos(), (TextPos{ByteAtCell(line, width - 2 * columns + 11), 1}));

    expectMappings(1, line);
    expectMappings(3, other);
    // The long line split in two and joined again, and the split undone
    // and redone: the lines below move down and back.
    const int split = int(line.find(' ', 150000)) + 1;
    Place({split, 1});
    Key(Qt::Key_Return);
    expectMappings(1, line.substr(0, size_t(split)));
    expectMappings(2, line.substr(size_t(split)));
    expectMappings(4, other);
    Key(Qt::Key_Backspace);
    expectMappings(1, line);
    expectMappings(3, other);
    Run(ID_EDIT_UNDO);
    expectMappings(2, line.substr(size_t(split)));
    Run(ID_EDIT_REDO);
    expectMappings(1, line);
    expectMappings(3, other);
}

// A code view that counts the bytes its colouring parses.
class CountingView : public CTornelView
{
public:
    using CTornelView::CTornelView;
    long long parsed = 0;
    ParseCookie ColouriseLine(ParseCookie cookie, int line, ColourBlock* blocks, int& count) override
    {
        parsed += GetLineLength(line);
        return CTornelView::ColouriseLine(cookie, line, blocks, count);
    }
    bool ResumeColouring(int line, LineParseState& state, int from, int to, ColourBlock* blocks, int capacity,
                         int& count) override
    {
        parsed += to - from;
        return CTornelView::ResumeColouring(line, state, from, to, blocks, capacity, count);
    }
};

class LongLineWorkTest : public CodeViewTest
{
protected:
    CTornelView* NewView(QWidget* parent) override { return new CountingView(parent); }
    // Bytes parsed by what runs.
    template <typename Work>
    long long Parsed(Work work)
    {
        auto* counting = static_cast<CountingView*>(view);
        counting->parsed = 0;
        work();
        view->viewport()->repaint();
        return counting->parsed;
    }
};

// Far more than a paint needs near the caret, far less than the line.
constexpr long long kNearTheCaret = 4 * LongLineIndex::kSegmentBytes + 2000;

TEST_F(LongLineWorkTest, PaintsKeysAndBlinksParseOnlyNearTheCaret)
{
    const std::string line = LongLine(1000000);
    Load(line + "\r\nG01 X1\r\nG02 X2 (END)", 5, 60);
    // What is shown is parsed.
    EXPECT_GT(Parsed([&] { view->viewport()->update(); }), 60);
    EXPECT_LE(Parsed([&] { Key(Qt::Key_End); }), kNearTheCaret);
    EXPECT_LE(Parsed([&] { Type("X"); }), kNearTheCaret);
    EXPECT_LE(Parsed([&] { Key(Qt::Key_Backspace); }), kNearTheCaret);
    EXPECT_LE(Parsed([&] { view->viewport()->repaint(view->CaretRect()); }), kNearTheCaret);
    EXPECT_LE(Parsed([&] { Key(Qt::Key_Home); }), kNearTheCaret);
    EXPECT_LE(Parsed([&] { view->OnHScroll(CTextView::SB_PAGEDOWN); }), kNearTheCaret);
    EXPECT_LE(Parsed([&] {
                  Place({600000, 0});
                  view->ScrollIntoView({600000, 0});
              }),
              kNearTheCaret);
    EXPECT_LE(Parsed([&] { Type("G"); }), kNearTheCaret);
    EXPECT_EQ(Buffer().LineLength(0), int(line.size()) + 1);
}

// The timers the view and its parts run now.
int RunningTimers(QObject* view, int* interval = nullptr)
{
    int count = 0;
    QList<QObject*> objects = view->findChildren<QObject*>();
    objects.append(view);
    for (QObject* object : objects) {
        for (const QAbstractEventDispatcher::TimerInfo& timer :
             QAbstractEventDispatcher::instance()->registeredTimers(object)) {
            ++count;
            if (interval)
                *interval = timer.interval;
        }
    }
    return count;
}

// Records the paints of a widget.
class PaintRecorder : public QObject
{
public:
    QList<QRect> rects;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            rects.append(static_cast<QPaintEvent*>(event)->rect());
        return false;
    }
};

TEST_F(LongLineWorkTest, AnIdleViewRunsOnlyTheFocusedCaretsTimerWhichRepaintsOnlyTheCaret)
{
    QStyleHints* hints = QGuiApplication::styleHints();
    const int flash = hints->cursorFlashTime();
    hints->setCursorFlashTime(100);
    Load(LongLine(300000) + "\r\nG01 X1", 5, 60);
    Key(Qt::Key_End);
    QCoreApplication::processEvents();
    ASSERT_TRUE(view->hasFocus());

    int interval = 0;
    EXPECT_EQ(RunningTimers(view, &interval), 1);
    EXPECT_EQ(interval, 50);
    PaintRecorder recorder;
    view->viewport()->installEventFilter(&recorder);
    auto* counting = static_cast<CountingView*>(view);
    counting->parsed = 0;
    EXPECT_TRUE(WaitFor([&] { return recorder.rects.size() >= 3; }));
    for (const QRect& rect : recorder.rects)
        EXPECT_TRUE(view->CaretRect().contains(rect)) << rect.x() << "," << rect.y() << " " << rect.width();
    EXPECT_LE(counting->parsed, kNearTheCaret);

    // Without the focus nothing runs and nothing is drawn.
    view->clearFocus();
    QCoreApplication::processEvents();
    recorder.rects.clear();
    EXPECT_EQ(RunningTimers(view), 0);
    QTest::qWait(300);
    EXPECT_TRUE(recorder.rects.isEmpty());
    view->viewport()->removeEventFilter(&recorder);
    hints->setCursorFlashTime(flash);
}

TEST_F(LongLineWorkTest, ACaretLeftAloneStopsBlinkingLitAndAKeyWakesIt)
{
    QStyleHints* hints = QGuiApplication::styleHints();
    const int flash = hints->cursorFlashTime();
    hints->setCursorFlashTime(100);
    Load("G01 X1\r\nG01 X2", 5, 60);
    view->SetCaretBlinkTimeout(300);
    Key(Qt::Key_End);
    ASSERT_TRUE(view->hasFocus());
    EXPECT_TRUE(view->IsCaretBlinking());
    // It stops, with the caret showing, and nothing runs any more.
    ASSERT_TRUE(WaitFor([&] { return !view->IsCaretBlinking(); }));
    EXPECT_EQ(RunningTimers(view), 0);
    EXPECT_FALSE(view->CaretRect().isEmpty());
    const QImage image = view->viewport()->grab().toImage();
    const QRect caret = view->CaretRect();
    EXPECT_NE(image.pixelColor(caret.center()), view->GetIndexColour(ColourBackground)) << "the caret is drawn";

    // Moving the caret makes it blink again.
    Key(Qt::Key_Home);
    EXPECT_TRUE(view->IsCaretBlinking());
    hints->setCursorFlashTime(flash);
}

}  // namespace
