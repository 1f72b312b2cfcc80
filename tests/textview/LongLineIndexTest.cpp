// The index of a long line against a recount from the line's start, through
// random edits; and the parsing it does after an edit stays near the edit.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "LongLineIndex.h"

namespace {

constexpr int kTabWidth = 4;

// A small parse with what matters to the index: a state that can carry over
// the whole line (inside brackets), and an open run of digits whose colour,
// decided when it ends, depends on its first digit - read back then.  It
// counts the bytes it is asked to parse.
struct BracketParse
{
    const std::string& line;
    long long parsed = 0;

    void operator()(LineParseState& state, int from, int to)
    {
        parsed += to - from;
        for (int i = from; i < to; ++i) {
            const char c = line[size_t(i)];
            if (state.cookie) {
                state.cookie = c != ')';
            } else if (c >= '0' && c <= '9') {
                ++state.lookBehind;
            } else {
                if (state.lookBehind > 0)
                    state.colour = line[size_t(i - state.lookBehind)] == '1' ? ColourNumber : ColourKeyword;
                state.lookBehind = 0;
                state.cookie = c == '(';
            }
        }
    }
    LongLineIndex::Advance Advance()
    {
        return [this](LineParseState& state, int from, int to) { (*this)(state, from, to); };
    }
};

std::string RandomText(std::mt19937& random, int bytes)
{
    static const char* const kPieces[] = {"G01 X", "12", "\t", "(", ")", "\xb0", "\xa1\xa1", "\xca\xfd", "y", " "};
    std::string text;
    while (int(text.size()) < bytes)
        text += kPieces[random() % std::size(kPieces)];
    text.resize(size_t(bytes));
    return text;
}

// What a walk from the line's start finds at byte.
LinePoint Recount(const std::string& line, int byte)
{
    LinePoint point;
    while (point.byte < byte)
        point.Step(line.data(), kTabWidth);
    return point;
}

void ExpectPoint(const std::string& line, const LinePoint& point)
{
    const LinePoint expected = Recount(line, point.byte);
    ASSERT_EQ(point.column, expected.column) << "at byte " << point.byte;
    ASSERT_EQ(point.leadPending, expected.leadPending) << "at byte " << point.byte;
}

TEST(LongLineIndex, AgreesWithARecountFromTheLineStartThroughRandomEdits)
{
    std::mt19937 random(3);
    std::string line = RandomText(random, 60000);
    LongLineIndex index(line, kTabWidth);
    BracketParse parse{line};
    ParseCookie entry = 0;
    for (int round = 0; round < 300; ++round) {
        // An edit: a few bytes typed or deleted, or a large piece cut or
        // pasted, anywhere including both ends; now and then a new entry.
        const int length = int(line.size());
        const int at = round % 10 == 0 ? (round % 20 == 0 ? 0 : length) : int(random() % uint32_t(length + 1));
        const bool large = random() % 8 == 0;
        int removed = 0;
        std::string inserted;
        if (random() % 2)
            removed = std::min(length - at, int(random() % (large ? 20000u : 3u)));
        else
            inserted = RandomText(random, 1 + int(random() % (large ? 20000u : 3u)));
        line.replace(size_t(at), size_t(removed), inserted);
        index.Replace(line, at, removed, int(inserted.size()));
        if (random() % 10 == 0)
            entry = 1 - entry;

        ASSERT_EQ(index.Length(), int(line.size()));
        ASSERT_EQ(index.EndColumn(), Recount(line, int(line.size())).column) << round;
        for (int query = 0; query < 5; ++query) {
            const int byte = int(random() % uint32_t(line.size() + 1));
            const LinePoint point = index.PointAtOrBefore(byte);
            ASSERT_LE(point.byte, byte);
            ASSERT_LT(byte - point.byte, 2 * LongLineIndex::kSegmentBytes + 3);
            ExpectPoint(line, point);

            // No byte before the point reaches the column; the walk from it
            // does within a segment or so.
            const int column = Recount(line, byte).column;
            const LinePoint before = index.PointBeforeColumn(column);
            ExpectPoint(line, before);
            ASSERT_TRUE(before.byte == 0 || before.column < column);
            ASSERT_LT(byte - before.byte, 2 * LongLineIndex::kSegmentBytes + 3);

            int stateAt = -1;
            const LineParseState state = index.StateAtOrBefore(byte, entry, parse.Advance(), stateAt);
            ASSERT_EQ(stateAt, point.byte);
            LineParseState expected{entry};
            parse(expected, 0, stateAt);
            ASSERT_EQ(state, expected) << "round " << round << " at " << stateAt;
        }
        LineParseState end{entry};
        parse(end, 0, int(line.size()));
        ASSERT_EQ(index.EndCookie(entry, parse.Advance()), end.cookie) << round;
    }
}

TEST(LongLineIndex, AfterAnEditTheParseRunsOnlyUntilItAgreesWithTheOldStates)
{
    std::mt19937 random(5);
    std::string line;
    while (line.size() < 1000000)
        line += "N10 G01 X12.5 Y7 (CUT) ";
    LongLineIndex index(line, kTabWidth);
    BracketParse parse{line};
    index.EndCookie(0, parse.Advance());
    EXPECT_EQ(parse.parsed, int(line.size()));

    // A letter typed in the middle of plain text: the parse agrees with the
    // old state at the next segment start.
    for (int i = 0; i < 20; ++i) {
        const int at = 400000 + i * 1000;
        line.insert(size_t(at), "Z");
        index.Replace(line, at, 0, 1);
        parse.parsed = 0;
        index.EndCookie(0, parse.Advance());
        EXPECT_LE(parse.parsed, 3 * LongLineIndex::kSegmentBytes) << i;
    }

    // An opening bracket changes every state up to the next ")" (a few
    // bytes on): no further.
    const int at = int(line.find(" Y7", 700000));
    line.insert(size_t(at), "(");
    index.Replace(line, at, 0, 1);
    parse.parsed = 0;
    index.EndCookie(0, parse.Advance());
    EXPECT_LE(parse.parsed, 3 * LongLineIndex::kSegmentBytes);

    // Columns and pairs come without parsing at all.
    parse.parsed = 0;
    for (int i = 0; i < 100; ++i)
        index.PointBeforeColumn(int(random() % 1000000));
    EXPECT_EQ(parse.parsed, 0);

}

TEST(LongLineIndex, AStateThatReadsBackOverAnEditIsNotTakenForTheOldOne)
{
    // A run of digits across a segment start; its first digit changes.  At
    // the segment start the state is as before (same run length, same
    // colour so far), but the run ends in another colour.
    const int segmentStart = LongLineIndex(std::string(100000, 'x'), kTabWidth).PointAtOrBefore(50000).byte;
    std::string line(100000, 'x');
    line.replace(size_t(segmentStart - 10), 20, std::string(20, '5'));
    LongLineIndex index(line, kTabWidth);
    ASSERT_EQ(index.PointAtOrBefore(50000).byte, segmentStart);
    BracketParse parse{line};
    int at = 0;
    EXPECT_EQ(index.StateAtOrBefore(line.size(), 0, parse.Advance(), at).colour, ColourKeyword);
    line[size_t(segmentStart - 10)] = '1';
    index.Replace(line, segmentStart - 10, 1, 1);
    EXPECT_EQ(index.StateAtOrBefore(line.size(), 0, parse.Advance(), at).colour, ColourNumber);
}

TEST(LongLineIndex, AChangeThatChangesTheRestOfTheLineParsesTheRest)
{
    std::string line;
    while (line.size() < 1000000)
        line += "N10 G01 X12.5 Y7 ";
    LongLineIndex index(line, kTabWidth);
    BracketParse parse{line};
    EXPECT_EQ(index.EndCookie(0, parse.Advance()), 0u);
    line.insert(0, "(");
    index.Replace(line, 0, 0, 1);
    parse.parsed = 0;
    EXPECT_EQ(index.EndCookie(0, parse.Advance()), 1u);
    EXPECT_GT(parse.parsed, 990000);
    // Entered inside a bracket, the "(" changes nothing: the states agree
    // at once.
    parse.parsed = 0;
    EXPECT_EQ(index.EndCookie(1, parse.Advance()), 1u);
    EXPECT_LE(parse.parsed, 3 * LongLineIndex::kSegmentBytes);
    // Entered outside, without the "(", the rest changes back.
    line.erase(0, 1);
    index.Replace(line, 0, 1, 0);
    parse.parsed = 0;
    EXPECT_EQ(index.EndCookie(0, parse.Advance()), 0u);
    EXPECT_GT(parse.parsed, 990000);
}

}  // namespace
