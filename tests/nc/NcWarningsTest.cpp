// The warnings of an interpretation: each kind on a line of its own, what is
// no warning (comments, program numbers, the codes the interpreter ignores
// rightly), how lines and kinds are counted, and none at all for the example
// programs.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "CTextBuffer.h"
#include "FakeLines.h"
#include "LoadAndInterpret.h"
#include "NcInterpreter.h"

namespace {

// The kinds a warning set holds, as a mask, for comparing with one message.
NcWarningMask KindsOf(const NcWarnings& warnings)
{
    NcWarningMask mask = 0;
    for (int kind = 0; kind < WARNING_KIND_COUNT; ++kind) {
        if (warnings.kinds[kind] != 0)
            mask |= WarningBit(NcWarningKind(kind));
    }
    return mask;
}

std::string Names(NcWarningMask mask)
{
    std::string names;
    for (int kind = 0; kind < WARNING_KIND_COUNT; ++kind) {
        if (mask & WarningBit(NcWarningKind(kind)))
            names += std::string(NcWarningKindName(NcWarningKind(kind))) + " ";
    }
    return names.empty() ? "none" : names;
}

TEST(NcWarnings, EachKindOnAOneLineProgram)
{
    struct Case
    {
        const char* line;
        NcWarningMask kinds;
    } cases[] = {
        {"g1 x10 f100", WarningBit(WARNING_LOWERCASE)},
        {"G1 y-5", WarningBit(WARNING_LOWERCASE)},
        {"G1 X.5 z.5", WarningBit(WARNING_LOWERCASE)},
        {"G1 X 10", WarningBit(WARNING_SPACED)},
        {"G01 Y\t-2.5", WarningBit(WARNING_SPACED)},
        {"G 01 X1", WarningBit(WARNING_SPACED)},
        {"T 2", WarningBit(WARNING_SPACED)},
        {"G1 X+10", WarningBit(WARNING_PLUS)},
        {"G1 F+.5", WarningBit(WARNING_PLUS)},
        {"#1=10", WarningBit(WARNING_PARAMETER)},
        {"G1 X#1", WarningBit(WARNING_PARAMETER)},
        {"G1 X[10*2]", WarningBit(WARNING_EXPRESSION)},
        {"G04 P500", WarningBit(WARNING_DWELL)},
        {"G4 X0.5", WarningBit(WARNING_DWELL)},
        {"G18", WarningBit(WARNING_PLANE)},
        {"G19 G02 Y10 Z0 J5", WarningBit(WARNING_PLANE)},
        {"G20", WarningBit(WARNING_INCH)},
        {"G91 G28 Z0", WarningBit(WARNING_MACHINE_POSITION)},
        {"G53 G0 Z0", WarningBit(WARNING_MACHINE_POSITION)},
        {"G41 D1 X5", WarningBit(WARNING_COMPENSATION)},
        {"G42", WarningBit(WARNING_COMPENSATION)},
        {"G68 X0 Y0 R45", WarningBit(WARNING_ROTATION)},
        {"G81 X10 Y10 Z-5 R2 F100", WarningBit(WARNING_CANNED_CYCLE)},
        {"G83 Z-20 Q2 R1", WarningBit(WARNING_CANNED_CYCLE)},
        {"G89", WarningBit(WARNING_CANNED_CYCLE)},
        {"M98 P1000", WarningBit(WARNING_SUBPROGRAM)},
        {"o100 sub", WarningBit(WARNING_O_WORD)},
        {"O100 CALL", WarningBit(WARNING_O_WORD)},
        {"o7 while", WarningBit(WARNING_O_WORD)},
        {"o8 do", WarningBit(WARNING_O_WORD)},
        {"o9 repeat", WarningBit(WARNING_O_WORD)},
        {"o10 if", WarningBit(WARNING_O_WORD)},
        {"o101 if [#1 GT 2]", WarningBit(WARNING_O_WORD) | WarningBit(WARNING_PARAMETER) |
                                  WarningBit(WARNING_EXPRESSION)},
        {"G02 X10 R2", WarningBit(WARNING_RADIUS_TOO_SMALL)},
        {"G02 X10.5 I5", WarningBit(WARNING_END_OFF_CIRCLE)},
        {"G02 X10", WarningBit(WARNING_NO_CENTRE)},
        {"g1 X 1 #2", WarningBit(WARNING_LOWERCASE) | WarningBit(WARNING_SPACED) | WarningBit(WARNING_PARAMETER)},
    };
    for (const Case& c : cases) {
        NcInterpreter nc;
        nc.Run(FakeLines{c.line});
        const NcWarnings& w = nc.Warnings();
        EXPECT_EQ(Names(KindsOf(w)), Names(c.kinds)) << c.line;
        EXPECT_EQ(w.lines, 1) << c.line;
        EXPECT_EQ(w.firstLine, 0) << c.line;
        for (int kind = 0; kind < WARNING_KIND_COUNT; ++kind)
            EXPECT_LE(w.kinds[kind], 1) << c.line << ": a line counts once per kind";
    }
}

TEST(NcWarnings, CommentsProgramNumbersAndCodesWithoutEffectAreNone)
{
    const char* const lines[] = {
        "O1000",
        "O1000 (PART 7)",
        "O0001 DONE",              // a word that only starts like "do"
        "o12 subway",
        "%",
        "N10 G17 G21 G40 G49 G54 G80 G90 G94 G98",
        "G43 H1 Z50. M08",
        "T1 M06",
        "M03 S1000",
        "M30",
        "G1 X-10 Y.5 Z-.25 F-",
        "G02 X10 R5",              // an arc by R
        "G03 X5 Y0 I-5",           // a full circle by I
        "G1 X1 (g1 x10 #1 [2] G81 X 10 o1 sub M98)",
        "G1 X2 ; g1 x10 #1 [2] G28 X+10 M98",
        "(DRILL PATTERN 4 X 3)",
        "X3 (#1) Y4",
        "M99",
        "G1 X1+2",                 // the '+' after a number is no detached number
        "X",
        "G",
        "G1 X5 T",
    };
    for (const char* line : lines) {
        NcInterpreter nc;
        nc.Run(FakeLines{"G0 X5 Y0", line});
        EXPECT_EQ(Names(KindsOf(nc.Warnings())), "none") << line;
        EXPECT_FALSE(nc.Warnings().Any()) << line;
        EXPECT_EQ(nc.Warnings().firstLine, -1) << line;
    }
    // The lines of a comment that spans lines are comment throughout.
    NcInterpreter nc;
    nc.Run(FakeLines{"(SETUP:", "x10 #1 G28 M98 [2]", "o1 call", "G41 X 5 END)", "G1 X1"});
    EXPECT_FALSE(nc.Warnings().Any());
    // Outside the comment the same line warns.
    nc.Run(FakeLines{"(SETUP:", "x10 (a) G28", "END) G28 X+5"});
    EXPECT_EQ(nc.Warnings().lines, 1);
    EXPECT_EQ(nc.Warnings().firstLine, 2);
    EXPECT_EQ(KindsOf(nc.Warnings()), WarningBit(WARNING_MACHINE_POSITION) | WarningBit(WARNING_PLUS));
}

TEST(NcWarnings, LinesAreCountedOnceAndKindsByTheLinesHoldingThem)
{
    NcInterpreter nc;
    nc.Run(FakeLines{
        "G0 X0 Y0",         // 0
        "G1 X10 F100",      // 1
        "g1 x20 y20",       // 2: lowercase, once though three words
        "G81 Z-5 R1",       // 3: canned cycle
        "G82 Z-5 R1 x1",    // 4: canned cycle and lowercase
        "",                 // 5
        "G80",              // 6
        "#1 = 2",           // 7: parameter
    });
    const NcWarnings& w = nc.Warnings();
    EXPECT_EQ(w.lines, 4);
    EXPECT_EQ(w.firstLine, 2);
    EXPECT_EQ(w.kinds[WARNING_LOWERCASE], 2);
    EXPECT_EQ(w.kinds[WARNING_CANNED_CYCLE], 2);
    EXPECT_EQ(w.kinds[WARNING_PARAMETER], 1);
    EXPECT_EQ(KindsOf(w), WarningBit(WARNING_LOWERCASE) | WarningBit(WARNING_CANNED_CYCLE) |
                              WarningBit(WARNING_PARAMETER));
    // Warnings change nothing in the toolpath: the lower-case words move
    // nothing, the first cycle's Z word moves as Z words always did.
    EXPECT_EQ(nc.Moves().size(), 3u);

    // A new run starts without warnings.
    nc.Run(FakeLines{"G1 X1"});
    EXPECT_FALSE(nc.Warnings().Any());
    EXPECT_EQ(nc.Warnings().kinds[WARNING_LOWERCASE], 0);
}

TEST(NcWarnings, EveryKindHasItsOwnName)
{
    std::vector<std::string_view> names;
    for (int kind = 0; kind < WARNING_KIND_COUNT; ++kind) {
        const std::string_view name = NcWarningKindName(NcWarningKind(kind));
        EXPECT_FALSE(name.empty()) << kind;
        EXPECT_EQ(name.find_first_not_of("abcdefghijklmnopqrstuvwxyz_"), std::string_view::npos) << name;
        EXPECT_EQ(std::count(names.begin(), names.end(), name), 0) << name;
        names.push_back(name);
    }
    EXPECT_EQ(NcWarningKindName(WARNING_CANNED_CYCLE), "canned_cycle");
}

TEST(NcWarnings, TheExampleProgramsHaveNone)
{
    int programs = 0;
    for (const auto& entry : std::filesystem::directory_iterator(TORNEL_EXAMPLES_DIR)) {
        if (entry.path().extension() != ".nc")
            continue;
        CTextBuffer buffer;
        NcInterpreter nc;
        ASSERT_TRUE(LoadAndInterpret(entry.path().c_str(), buffer, nc)) << entry.path();
        EXPECT_FALSE(nc.Warnings().Any()) << entry.path() << ": first at line " << nc.Warnings().firstLine;
        EXPECT_GT(nc.Moves().size(), 0u) << entry.path();
        ++programs;
    }
    EXPECT_GE(programs, 3);
}

}  // namespace
