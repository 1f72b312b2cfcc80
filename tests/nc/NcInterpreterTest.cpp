// The interpreter as the document, the simulation and tornel-info see it:
// the records it appends, the tools it collects and the statistics it sums.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "FakeLines.h"
#include "NcInterpreter.h"

namespace {

struct Point
{
    float x, y, z;
};

MoveRecord Record(int line, Point start, Point end, Point centre, int kind, float feed, int tool, int rapid)
{
    MoveRecord r;
    r.line = line;
    r.startX = start.x;
    r.startY = start.y;
    r.startZ = start.z;
    r.endX = end.x;
    r.endY = end.y;
    r.endZ = end.z;
    r.centreX = centre.x;
    r.centreY = centre.y;
    r.centreZ = centre.z;
    r.kind = kind;
    r.feed = feed;
    r.tool = tool;
    r.rapid = rapid;
    return r;
}

// Field by field and bit for bit, so that a failure names the field and -0
// is told from +0.
void ExpectRecord(const MoveRecord& actual, const MoveRecord& expected)
{
    const char* const names[] = {"line",    "startX",  "startY",  "startZ", "endX", "endY", "endZ",
                                 "centreX", "centreY", "centreZ", "kind",   "feed", "tool", "rapid"};
    uint32_t a[14], e[14];
    std::memcpy(a, &actual, sizeof a);
    std::memcpy(e, &expected, sizeof e);
    const auto show = [](int field, uint32_t bits) {
        const bool isFloat = (field >= 1 && field <= 9) || field == 11;
        return isFloat ? std::to_string(std::bit_cast<float>(bits)) : std::to_string(int32_t(bits));
    };
    for (int i = 0; i < 14; ++i)
        EXPECT_EQ(a[i], e[i]) << "field " << names[i] << " of the record of line " << expected.line << ": "
                              << show(i, a[i]) << " instead of " << show(i, e[i]);
}

std::vector<MoveRecord> Moves(const NcInterpreter& nc)
{
    return std::vector<MoveRecord>(nc.Moves().begin(), nc.Moves().end());
}

// Runs a program and returns its records.
std::vector<MoveRecord> RunLines(NcInterpreter& nc, std::initializer_list<std::string> lines)
{
    EXPECT_EQ(nc.Run(FakeLines(lines)), 1);
    return Moves(nc);
}

const MoveRecord& Last(const NcInterpreter& nc)
{
    return nc.Moves()[nc.Moves().size() - 1];
}

}  // namespace

TEST(NcInterpreter, WorkedExampleGivesItsFiveRecordsAndExactTotals)
{
    NcInterpreter nc;
    const std::vector<MoveRecord> moves = RunLines(nc, {"N10 G90 G00 X0 Y0 Z5", "N20 G01 Z-1 F100", "N30 X50 F200",
                                                        "N40 G02 X60 Y10 I0 J10", "N50 G00 Z5"});
    ASSERT_EQ(moves.size(), 5u);
    ExpectRecord(moves[0], Record(0, {0, 0, 0}, {0, -0.0f, 5}, {0, 0, 0}, 0, 1, 0, 1));
    ExpectRecord(moves[1], Record(1, {0, -0.0f, 5}, {0, -0.0f, -1}, {0, -0.0f, 5}, 0, 100, 0, 0));
    ExpectRecord(moves[2], Record(2, {0, -0.0f, -1}, {50, -0.0f, -1}, {0, -0.0f, -1}, 0, 200, 0, 0));
    ExpectRecord(moves[3], Record(3, {50, -0.0f, -1}, {60, -10, -1}, {50, -10, -1}, 1, 200, 0, 0));
    ExpectRecord(moves[4], Record(4, {60, -10, -1}, {60, -10, 5}, {60, -10, -1}, 0, 200, 0, 1));
    // Line 3 turns three quarters clockwise around (50, 10): 15 pi long.
    EXPECT_EQ(nc.RapidDistance(), 11.0);
    EXPECT_NEAR(nc.FeedDistance(), 103.1238898038469, 103.1238898038469 * 1e-12);
    EXPECT_NEAR(nc.MachiningTime(), 0.5456194490192345, 0.5456194490192345 * 1e-12);
    EXPECT_FALSE(nc.Warnings().Any());
    EXPECT_TRUE(nc.ToolNumbers().empty());
    EXPECT_TRUE(nc.Tools().empty());
}

TEST(NcInterpreter, FirstMoveToTheOriginIsARecordBecauseYZeroIsStoredNegated)
{
    NcInterpreter nc;
    std::vector<MoveRecord> moves = RunLines(nc, {"G0 X0 Y0 Z0", "G1 X100 F100"});
    ASSERT_EQ(moves.size(), 2u);
    ExpectRecord(moves[0], Record(0, {0, 0, 0}, {0, -0.0f, 0}, {0, 0, 0}, 0, 1, 0, 1));
    ExpectRecord(moves[1], Record(1, {0, -0.0f, 0}, {100, -0.0f, 0}, {0, -0.0f, 0}, 0, 100, 0, 0));
    EXPECT_EQ(nc.RapidDistance(), 0.0);
    EXPECT_EQ(nc.FeedDistance(), 100.0);
    EXPECT_EQ(nc.MachiningTime(), 1.0);

    // Y0 at the reset position changes startY's +0 to -0, which is a record
    // on its own.
    moves = RunLines(nc, {"Y0"});
    ASSERT_EQ(moves.size(), 1u);
    EXPECT_TRUE(std::signbit(moves[0].endY));
}

TEST(NcInterpreter, LinesThatChangeNothingMakeNoRecord)
{
    NcInterpreter nc;
    const std::vector<MoveRecord> moves =
        RunLines(nc, {"G0 X1 Y2 Z3", "", "G91", "G90", "T2 M06", "N20 M03 S1000 O7 R5", "G0 X1 Y2 Z3", "g1 x10 f5",
                      "G1.5", "G17 G40 G4", "X", "T", "X+10", "X1-2", "(X)", "G1 X1 ;G0 X2"});
    ASSERT_EQ(moves.size(), 2u);
    EXPECT_EQ(moves[0].line, 0);
    // "G1.5" is G1 (the '.' and the 5 are passed over): only the rapid flag
    // changes, so start and end coincide.
    ExpectRecord(moves[1], Record(8, {1, -2, 3}, {1, -2, 3}, {1, -2, 3}, 0, 1, 2, 0));
    EXPECT_EQ(nc.RapidDistance(), std::sqrt(14.0));
    EXPECT_EQ(nc.FeedDistance(), 0.0);
}

TEST(NcInterpreter, FeedOrMotionChangeAloneGivesARecordThatStaysInPlace)
{
    NcInterpreter nc;
    const std::vector<MoveRecord> moves = RunLines(nc, {"X5", "F300", "G0", "G3", "G2"});
    ASSERT_EQ(moves.size(), 4u);
    ExpectRecord(moves[1], Record(1, {5, 0, 0}, {5, 0, 0}, {5, 0, 0}, 0, 300, 0, 0));
    ExpectRecord(moves[2], Record(2, {5, 0, 0}, {5, 0, 0}, {5, 0, 0}, 0, 300, 0, 1));
    ExpectRecord(moves[3], Record(3, {5, 0, 0}, {5, 0, 0}, {5, 0, 0}, 1, 300, 0, 0));
    EXPECT_EQ(nc.FeedDistance(), 5.0);
    EXPECT_EQ(nc.MachiningTime(), 5.0);
}

TEST(NcInterpreter, WordsActInLineOrderAndIncrementalMovesAddToTheLineStart)
{
    NcInterpreter nc;
    const std::vector<MoveRecord> moves =
        RunLines(nc, {"X10 Y10 G91", "X5 Y5 Z-2", "X1 X2", "G90 X1 X2", "G01X10Y5F200", "G01 X10 Y5 F200"});
    ASSERT_EQ(moves.size(), 5u);
    // The G91 after the words leaves the first line absolute.
    EXPECT_EQ(moves[0].endX, 10.0f);
    EXPECT_EQ(moves[0].endY, -10.0f);
    // Incremental Y is negated like absolute Y.
    ExpectRecord(moves[1], Record(1, {10, -10, 0}, {15, -15, -2}, {10, -10, 0}, 0, 1, 0, 0));
    // Two X words on one incremental line do not accumulate: the last wins.
    EXPECT_EQ(moves[2].endX, 17.0f);
    // G90 comes first on its line, so both X words there are absolute.
    EXPECT_EQ(moves[3].endX, 2.0f);
    // Without separators the words read the same; the repeat changes nothing.
    ExpectRecord(moves[4], Record(4, {2, -15, -2}, {10, -5, -2}, {2, -15, -2}, 0, 200, 0, 0));
}

TEST(NcInterpreter, ArcsRecordTheirCentreAndStayModal)
{
    NcInterpreter nc;
    const std::vector<MoveRecord> moves =
        RunLines(nc, {"G00 X0 Y0 Z1", "G02 X10 Y0 I5 J0 F50", "X20 Y-5 I4 J-2.5 K1", "G91 G03 X2 Z-1 I1 J1 K0.5"});
    ASSERT_EQ(moves.size(), 4u);
    ExpectRecord(moves[1], Record(1, {0, -0.0f, 1}, {10, -0.0f, 1}, {5, -0.0f, 1}, 1, 50, 0, 0));
    // No G word: still a circular feed move.  J is subtracted because Y is
    // stored negated.
    ExpectRecord(moves[2], Record(2, {10, -0.0f, 1}, {20, 5, 1}, {14, 2.5f, 2}, 1, 50, 0, 0));
    // A helical move: the centre is taken from the start, not from the end
    // that Z has already moved.
    ExpectRecord(moves[3], Record(3, {20, 5, 1}, {22, 5, 0}, {21, 4, 1.5f}, 1, 50, 0, 0));
    // Line 2 starts 4.72 from its centre and ends 6.5 from it.
    EXPECT_EQ(nc.Warnings().lines, 1);
    EXPECT_EQ(nc.Warnings().firstLine, 2);
    EXPECT_EQ(nc.Warnings().kinds[WARNING_END_OFF_CIRCLE], 1);
}

TEST(NcInterpreter, ArcsKeepTheirDirectionBesideTheirRecords)
{
    NcInterpreter nc;
    // G03 alone on its line changes no record, only the direction the next
    // circular move takes; straight and rapid moves have none.
    const std::vector<MoveRecord> moves = RunLines(
        nc, {"G00 X0 Y0", "G02 X10 I5 F50", "X20 I5", "G03", "X30 I5", "G01 X40", "G3 X50 I5", "G0 Z5", "G2X60I5"});
    ASSERT_EQ(moves.size(), 8u);
    const ArcDirection expected[] = {ARC_NONE, ARC_CLOCKWISE, ARC_CLOCKWISE, ARC_COUNTERCLOCKWISE,
                                     ARC_NONE, ARC_COUNTERCLOCKWISE, ARC_NONE, ARC_CLOCKWISE};
    for (size_t i = 0; i < moves.size(); ++i)
        EXPECT_EQ(nc.Moves().Direction(i), expected[i]) << "record " << i << " of line " << moves[i].line;
    EXPECT_EQ(moves[3].line, 4);
    // A new run starts over.
    RunLines(nc, {"G03 X1 I1"});
    ASSERT_EQ(nc.Moves().size(), 1u);
    EXPECT_EQ(nc.Moves().Direction(0), ARC_COUNTERCLOCKWISE);
}

TEST(NcInterpreter, ARunWithoutANumberReadsAsZero)
{
    NcInterpreter nc;
    const std::vector<MoveRecord> moves = RunLines(nc, {"G1 X5 Y5 F100", "X-", "Y.", "F-- X1", "X2"});
    ASSERT_EQ(moves.size(), 5u);
    EXPECT_EQ(std::bit_cast<uint32_t>(moves[1].endX), 0u);
    EXPECT_EQ(std::bit_cast<uint32_t>(moves[2].endY), 0x80000000u);  // -0: Y is negated
    EXPECT_EQ(moves[3].feed, 0.0f);
    // At feed 0 the last two moves take no time.
    EXPECT_EQ(nc.MachiningTime(), std::sqrt(50.0) / 100 + 0.05 + 0.05);
}

TEST(NcInterpreter, CoordinatesAreStoredAsFloatAndDistancesUseTheStoredValues)
{
    NcInterpreter nc;
    std::vector<MoveRecord> moves = RunLines(nc, {"G1 X0.1 F1", "X16777217"});
    ASSERT_EQ(moves.size(), 2u);
    EXPECT_EQ(moves[0].endX, 0.1f);
    EXPECT_EQ(moves[1].endX, 16777216.0f);
    // From the stored values the two distances add up to exactly 2^24; from
    // the programmed ones they would not.
    EXPECT_EQ(nc.FeedDistance(), 16777216.0);

    // The incremental sum is rounded to float once, from double: 0.1f + 0.13
    // gives the float nearest 0.23, a float sum 0.1f + 0.13f the one below.
    moves = RunLines(nc, {"G1 X0.1", "G91 X0.13"});
    ASSERT_EQ(moves.size(), 2u);
    EXPECT_EQ(moves[1].endX, 0.23f);
    EXPECT_NE(moves[1].endX, 0.1f + 0.13f);
}

TEST(NcInterpreter, DistanceAddsTheSquaresFromZToX)
{
    // Summed from X first the squares would round to 1.004987562260361.
    NcInterpreter nc;
    RunLines(nc, {"G1 X1 Y0.1 Z0.00000001"});
    EXPECT_EQ(nc.FeedDistance(), 1.0049875622603612);
}

TEST(NcInterpreter, ToolsAreCollectedOnceInOrderAndApplyFromTheNextLine)
{
    NcInterpreter nc;
    const std::vector<MoveRecord> moves =
        RunLines(nc, {"T2 M06", "G1 X10", "T5 X20", "X30", "T2", "T99999999999", "T0007 X40"});
    ASSERT_EQ(moves.size(), 4u);
    EXPECT_EQ(moves[0].tool, 2);
    EXPECT_EQ(moves[1].tool, 2);  // T5 on the moving line counts from the next line
    EXPECT_EQ(moves[2].tool, 5);
    EXPECT_EQ(moves[3].tool, 2147483647);
    EXPECT_EQ(nc.ToolNumbers(), (std::vector<int32_t>{2, 5, 2147483647, 7}));
    ASSERT_EQ(nc.Tools().size(), 4u);
    for (size_t i = 0; i < nc.Tools().size(); ++i) {
        ToolSlot expected;
        expected.number = nc.ToolNumbers()[i];
        EXPECT_EQ(std::memcmp(&nc.Tools()[i], &expected, sizeof(ToolSlot)), 0) << "slot " << i;
    }
    // Settings made between runs are replaced by fresh slots.
    nc.Tools()[0].D = 6.0f;
    nc.Run(FakeLines{"T2"});
    ASSERT_EQ(nc.Tools().size(), 1u);
    EXPECT_EQ(nc.Tools()[0].D, 0.0f);
}

// The document re-reads an edited program and keeps what the user defined.
TEST(NcInterpreter, KeptToolDefinitionsFollowTheirNumbersIntoTheNewOrder)
{
    NcInterpreter nc;
    nc.Run(FakeLines{"T1", "T2", "T3"});
    std::vector<ToolSlot> earlier = nc.Tools();
    for (ToolSlot& slot : earlier) {
        slot.type = ToolType::BU;
        slot.D = float(slot.number) * 2.0f;
        slot.TD = slot.number + 0.5;
        slot.name[0] = char('a' + slot.number);
    }
    // T2 is gone, T4 is new, T3 now comes first.
    nc.Run(FakeLines{"T3 G1 X1", "T4", "T1"});
    nc.KeepToolDefinitions(earlier);
    ASSERT_EQ(nc.Tools().size(), 3u);
    EXPECT_EQ(std::memcmp(&nc.Tools()[0], &earlier[2], sizeof(ToolSlot)), 0);
    ToolSlot fresh;
    fresh.number = 4;
    EXPECT_EQ(std::memcmp(&nc.Tools()[1], &fresh, sizeof(ToolSlot)), 0);
    EXPECT_EQ(std::memcmp(&nc.Tools()[2], &earlier[0], sizeof(ToolSlot)), 0);

    // Nothing to keep from an empty list, and nothing left when the program
    // calls no tool any more.
    nc.KeepToolDefinitions({});
    EXPECT_EQ(nc.Tools()[0].D, 6.0f);
    nc.Run(FakeLines{"G1 X2"});
    nc.KeepToolDefinitions(earlier);
    EXPECT_TRUE(nc.Tools().empty());
}

TEST(NcInterpreter, CommentsSkipWholeLinesUntilALineWithAClosingParenthesis)
{
    NcInterpreter nc;
    const std::vector<MoveRecord> moves = RunLines(nc, {
        "(X50)",               // 0: walked, so X50 counts
        "X1 (start",           // 1: opens a comment
        "X2",                  // 2: skipped
        "Y7",                  // 3: skipped
        "X3 (nested) still",   // 4: walked from its first byte, depth stays 1
        "X4",                  // 5: skipped
        "Z9 end)",             // 6: walked, closes the comment
        ") ) X5",              // 7: stray closing parentheses do nothing
        "X6",                  // 8
    });
    std::vector<int> lines;
    for (const MoveRecord& m : moves)
        lines.push_back(m.line);
    EXPECT_EQ(lines, (std::vector<int>{0, 1, 4, 6, 7, 8}));
    EXPECT_EQ(moves[0].endX, 50.0f);
    ExpectRecord(moves[2], Record(4, {1, 0, 0}, {3, 0, 0}, {1, 0, 0}, 0, 1, 0, 0));
    EXPECT_EQ(moves[3].endZ, 9.0f);
    EXPECT_EQ(moves[5].endX, 6.0f);
}

TEST(NcInterpreter, MovesAtAFeedOfZeroOrBelowCountDistanceButNoTime)
{
    NcInterpreter nc;
    RunLines(nc, {"G1 X10 F0", "X20 F-5", "X30 F10", "F" + std::string(400, '9'), "X40"});
    ASSERT_EQ(nc.Moves().size(), 5u);
    EXPECT_TRUE(std::isinf(Last(nc).feed));
    EXPECT_EQ(nc.FeedDistance(), 40.0);
    EXPECT_EQ(nc.MachiningTime(), 1.0);
}

TEST(NcInterpreter, EveryRunStartsFromTheResetState)
{
    NcInterpreter nc;
    const FakeLines program{"G91 T3 G0 X5 F20 (open", "X1)", "X2"};
    nc.Run(program);
    const std::vector<MoveRecord> first = Moves(nc);
    const double feed = nc.FeedDistance(), rapid = nc.RapidDistance(), time = nc.MachiningTime();
    nc.Run(program);
    ASSERT_EQ(Moves(nc).size(), first.size());
    for (size_t i = 0; i < first.size(); ++i)
        ExpectRecord(Moves(nc)[i], first[i]);
    EXPECT_EQ(nc.FeedDistance(), feed);
    EXPECT_EQ(nc.RapidDistance(), rapid);
    EXPECT_EQ(nc.MachiningTime(), time);

    // A buffer without lines is a failure and leaves everything reset.
    EXPECT_EQ(nc.Run(FakeLines(std::vector<std::string>{})), 0);
    EXPECT_TRUE(nc.Moves().empty());
    EXPECT_TRUE(nc.ToolNumbers().empty());
    EXPECT_TRUE(nc.Tools().empty());
    EXPECT_EQ(nc.FeedDistance() + nc.RapidDistance() + nc.MachiningTime(), 0.0);
    // The reset position, feed 1 and absolute mode are in force again.
    nc.InterpretLine("G1 X2", 5, 0);
    ExpectRecord(Last(nc), Record(0, {0, 0, 0}, {2, 0, 0}, {0, 0, 0}, 0, 1, 0, 0));
}

TEST(NcInterpreter, ReadsOnlyTheGivenLengthOfTheLine)
{
    // The buffer's lines are not NUL-terminated; bytes past the length belong
    // to the next line.
    NcInterpreter nc;
    const char text[] = "X12Y34";
    nc.InterpretLine(text, 2, 0);
    ASSERT_EQ(nc.Moves().size(), 1u);
    EXPECT_EQ(Last(nc).endX, 1.0f);
    EXPECT_EQ(Last(nc).endY, 0.0f);
}
