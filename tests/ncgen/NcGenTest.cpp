// Tests of the generator: sizes, line ends and determinism, and that what it
// writes is a program that a machine, and Tornel's interpreter, can run.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "NcGen.h"
#include "NcGenOptions.h"

namespace {

const std::string_view SEPARATORS[] = {"\r\n", "\n\r", "\n"};


// Splits a program at its style's separator.  Any CR or LF that does not
// start a whole separator, and any text after the last one, is a failure.
std::vector<std::string_view> SplitLines(std::string_view text, int eol)
{
    const std::string_view separator = SEPARATORS[eol];
    std::vector<std::string_view> lines;
    std::size_t begin = 0;
    for (std::size_t i = 0; i < text.size();) {
        if (text[i] != '\r' && text[i] != '\n') {
            ++i;
        } else if (text.compare(i, separator.size(), separator) == 0) {
            lines.push_back(text.substr(begin, i - begin));
            i += separator.size();
            begin = i;
        } else {
            ADD_FAILURE() << "stray line-end byte at offset " << i;
            return lines;
        }
    }
    EXPECT_EQ(begin, text.size()) << "the program does not end with a line end";
    return lines;
}

bool EndsWithM30(std::string_view line) { return line.size() >= 3 && line.substr(line.size() - 3) == "M30"; }

// Millimetres with exactly three decimals, read exactly into micrometres.
bool ReadMicrons(std::string_view text, int64_t& microns)
{
    const bool negative = !text.empty() && text[0] == '-';
    if (negative)
        text.remove_prefix(1);
    const std::size_t dot = text.find('.');
    if (dot == 0 || dot == std::string_view::npos || text.size() - dot != 4)
        return false;
    int64_t v = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (i == dot)
            continue;
        if (text[i] < '0' || text[i] > '9')
            return false;
        v = v * 10 + (text[i] - '0');
    }
    microns = negative ? -v : v;
    return true;
}

struct Word
{
    char letter;
    std::string_view value;
};

// The words of a line as a controller reads them: parenthesised comments
// (which may span lines; depth carries over) and the rest after ';' are not
// code.  Outside comments a line holds only words and spaces.
std::vector<Word> CodeWords(std::string_view line, int& depth, int lineIndex)
{
    std::vector<Word> words;
    for (std::size_t i = 0; i < line.size();) {
        const char c = line[i];
        if (c == '(' || c == ')') {
            depth += c == '(' ? 1 : -1;
            ++i;
        } else if (depth > 0) {
            ++i;
        } else if (c == ';') {
            break;
        } else if (c >= 'A' && c <= 'Z') {
            std::size_t end = i + 1;
            while (end < line.size() && ((line[end] >= '0' && line[end] <= '9') || line[end] == '.' || line[end] == '-'))
                ++end;
            words.push_back({c, line.substr(i + 1, end - i - 1)});
            i = end;
        } else {
            EXPECT_EQ(c, ' ') << "line " << lineIndex << ": " << line;
            ++i;
        }
    }
    return words;
}

// Walks the program as a machine would and fails on anything that would
// crash it or make its controller stop with an alarm.
void ExpectMachinable(std::string_view program, int eol)
{
    int depth = 0, motion = -1;
    bool absolute = true, zKnown = false, feedGiven = false, spindleOn = false;
    int64_t x = 0, y = 0, z = 0;
    const std::vector<std::string_view> lines = SplitLines(program, eol);
    for (int index = 0; index < int(lines.size()); ++index) {
        const std::string_view line = lines[index];
        int64_t tx = x, ty = y, tz = z, i = 0, j = 0, r = 0;
        bool centre = false, radius = false;
        const bool zWasKnown = zKnown;
        for (const Word& w : CodeWords(line, depth, index)) {
            int64_t v = 0;
            if (std::string_view("XYZIJR").find(w.letter) != std::string_view::npos) {
                ASSERT_TRUE(ReadMicrons(w.value, v)) << "line " << index << ": " << line;
            }
            const int code = std::atoi(std::string(w.value).c_str());
            switch (w.letter) {
            case 'G':
                if (code <= 3)
                    motion = code;
                else if (code == 90 || code == 91)
                    absolute = code == 90;
                break;
            case 'X': tx = absolute ? v : x + v; break;
            case 'Y': ty = absolute ? v : y + v; break;
            case 'Z':
                tz = absolute ? v : z + v;
                zKnown = zKnown || absolute;
                break;
            case 'I': i = v, centre = true; break;
            case 'J': j = v, centre = true; break;
            case 'R': r = v, radius = true; break;
            case 'F': feedGiven = code > 0; break;
            case 'M':
                if (code == 3 || code == 5)
                    spindleOn = code == 3;
                if (code == 6)  // a new tool needs its own feed, and the spindle started again
                    feedGiven = spindleOn = false;
                break;
            case 'K': ADD_FAILURE() << "line " << index << ": K in an XY-plane program"; break;
            default: break;
            }
        }
        const bool arc = motion == 2 || motion == 3;
        if (tx == x && ty == y && tz == z && !(arc && centre))
            continue;
        if (motion == 0) {
            // Before the first Z word the spindle is up at the machine's home.
            const bool across = tx != x || ty != y;
            EXPECT_TRUE(!across || !zWasKnown || (z > 0 && tz > 0))
                << "line " << index << ": rapid across at Z " << z << ": " << line;
        } else {
            EXPECT_TRUE(feedGiven && spindleOn) << "line " << index << ": cut without feed or spindle: " << line;
        }
        if (arc) {
            if (centre) {
                const double r0 = std::hypot(double(i), double(j));
                const double r1 = std::hypot(double(x + i - tx), double(y + j - ty));
                EXPECT_LE(std::fabs(r0 - r1), 2.0) << "line " << index << ": arc radius differs: " << line;
            } else {
                EXPECT_TRUE(radius) << "line " << index << ": arc without centre: " << line;
                EXPECT_LE(std::hypot(double(tx - x), double(ty - y)), 2.0 * double(r)) << "line " << index;
            }
        }
        EXPECT_TRUE(std::llabs(tx) <= 200000 && std::llabs(ty) <= 200000 && tz >= -50000 && tz <= 60000)
            << "line " << index << ": outside the machine: " << line;
        x = tx, y = ty, z = tz;
    }
    EXPECT_EQ(depth, 0);
    EXPECT_FALSE(spindleOn) << "the program ends with the spindle running";
    EXPECT_TRUE(!zKnown || z >= 10000) << "the program ends with the tool at Z " << z;
}

TEST(NcGenSize, LineCountIsExactAndTheLastLineIsM30)
{
    for (int eol = NCGEN_EOL_DOS; eol <= NCGEN_EOL_MAC; ++eol) {
        for (uint64_t count : {1, 2, 3, 4, 5, 6, 9, 17, 1000, 23456}) {
            const std::string program = GenerateNcString(Options(count, 0, eol));
            const auto lines = SplitLines(program, eol);
            ASSERT_EQ(lines.size(), count) << "eol " << eol;
            EXPECT_TRUE(EndsWithM30(lines.back())) << lines.back();
            if (count > 4) {  // room for more than the closing block: a whole program
                EXPECT_EQ(lines.front().substr(0, 1), "O") << count;
                ExpectMachinable(program, eol);
            }
        }
    }
}

TEST(NcGenSize, ByteTargetIsPassedByLessThanOneLine)
{
    for (int eol = NCGEN_EOL_DOS; eol <= NCGEN_EOL_MAC; ++eol) {
        for (uint64_t bytes : {1, 10, 100, 1000, 4096, 100000, 1 << 20}) {
            const std::string program = GenerateNcString(Options(0, bytes, eol, bytes));
            const auto lines = SplitLines(program, eol);
            ASSERT_FALSE(lines.empty());
            std::size_t longest = 0;
            for (std::string_view line : lines)
                longest = std::max(longest, line.size() + SEPARATORS[eol].size());
            EXPECT_GE(program.size(), bytes);
            if (bytes > 200) {  // below that the closing block alone passes the target
                EXPECT_LT(program.size() - bytes, longest) << bytes;
            }
            EXPECT_TRUE(EndsWithM30(lines.back()));
        }
    }
}

TEST(NcGenSize, LinesWinOverBytesAndNoTargetOrBadStyleWritesNothing)
{
    EXPECT_EQ(SplitLines(GenerateNcString(Options(100, 1 << 20)), NCGEN_EOL_DOS).size(), 100u);
    EXPECT_EQ(GenerateNcString(Options(0, 0)), "");
    bool called = false;
    EXPECT_FALSE(GenerateNc(Options(100, 0, 3), [&](const char*, std::size_t) { return called = true; }));
    EXPECT_FALSE(called);
}

TEST(NcGenSize, WriteErrorIsReportedAndEndsTheProgram)
{
    int chunks = 0;
    EXPECT_FALSE(GenerateNc(Options(0, 10 << 20), [&](const char*, std::size_t) {
        ++chunks;
        return false;
    }));
    EXPECT_EQ(chunks, 1);  // nothing more is offered after the sink failed
}

TEST(NcGenDeterminism, SameSeedSameBytesOtherSeedOtherProgram)
{
    const std::string a = GenerateNcString(Options(20000, 0, NCGEN_EOL_DOS, 7));
    EXPECT_EQ(a, GenerateNcString(Options(20000, 0, NCGEN_EOL_DOS, 7)));
    EXPECT_NE(a, GenerateNcString(Options(20000, 0, NCGEN_EOL_DOS, 8)));

    std::FILE* file = std::tmpfile();
    ASSERT_NE(file, nullptr);
    ASSERT_TRUE(GenerateNc(Options(20000, 0, NCGEN_EOL_DOS, 7), file));
    std::string fromFile(a.size() + 1, '\0');
    std::rewind(file);
    fromFile.resize(std::fread(fromFile.data(), 1, fromFile.size(), file));
    std::fclose(file);
    EXPECT_EQ(fromFile, a);
}

TEST(NcGenLineEnds, EachStyleWritesOnlyItsSeparatorAroundTheSameLines)
{
    const auto dos = GenerateNcString(Options(30000, 0, NCGEN_EOL_DOS, 3));
    const auto dosLines = SplitLines(dos, NCGEN_EOL_DOS);
    ASSERT_EQ(dosLines.size(), 30000u);
    for (int eol : {NCGEN_EOL_UNIX, NCGEN_EOL_MAC}) {
        const auto text = GenerateNcString(Options(30000, 0, eol, 3));
        if (eol == NCGEN_EOL_MAC) {
            EXPECT_EQ(text.find('\r'), std::string::npos);
        }
        EXPECT_EQ(SplitLines(text, eol), dosLines) << "eol " << eol;
    }
    int blank = 0;
    for (std::string_view line : dosLines)
        blank += line.empty();
    EXPECT_GT(blank, 0);  // blank lines put separators back to back, a case worth having
}

TEST(NcGenComments, ParenthesesBalanceWhateverTheSize)
{
    // Small targets end the program in the header and inside operations,
    // where a comment block that was cut short would stay open.
    std::vector<NcGenOptions> cases;
    for (uint64_t bytes = 50; bytes < 3000; bytes += 23)
        cases.push_back(Options(0, bytes, NCGEN_EOL_DOS, bytes));
    for (uint64_t lines = 5; lines < 60; ++lines)
        cases.push_back(Options(lines, 0, NCGEN_EOL_DOS, lines));
    cases.push_back(Options(50000, 0, NCGEN_EOL_DOS, 11));
    int openAcrossLines = 0;
    for (const NcGenOptions& options : cases) {
        const std::string program = GenerateNcString(options);
        int depth = 0;
        for (std::string_view line : SplitLines(program, options.eol)) {
            for (std::size_t i = 0; i < line.size(); ++i) {
                if (line[i] == ';') {
                    EXPECT_EQ(line.find_first_of("()", i), std::string_view::npos) << line;
                    break;
                }
                depth += line[i] == '(' ? 1 : line[i] == ')' ? -1 : 0;
                ASSERT_TRUE(depth == 0 || depth == 1) << "nested or unopened comment: " << line;
            }
            openAcrossLines += depth;
        }
        EXPECT_EQ(depth, 0) << "seed " << options.seed;
    }
    EXPECT_GT(openAcrossLines, 0);
}

TEST(NcGenComments, CommentsHoldNoWordTheInterpreterWouldRead)
{
    // Tornel's interpreter reads words inside comments, so X5 in a comment
    // would move its toolpath.
    const std::string program = GenerateNcString(Options(60000, 0, NCGEN_EOL_MAC, 5));
    int depth = 0, comments = 0;
    for (std::size_t i = 0; i + 1 < program.size(); ++i) {
        const char c = program[i], next = program[i + 1];
        depth += c == '(' ? 1 : c == ')' ? -1 : 0;
        comments += c == '(';
        if (depth > 0) {
            const bool number = (next >= '0' && next <= '9') || next == '.' || next == '-';
            const bool word = std::string_view("GXYZIJKRF").find(c) != std::string_view::npos;
            EXPECT_FALSE((word && number) || (c == 'T' && next >= '0' && next <= '9'))
                << "at offset " << i << ": " << program.substr(i, 20);
        }
    }
    EXPECT_GT(comments, 20);
}

TEST(NcGenProgram, ToolpathIsMachinable)
{
    for (uint64_t seed : {1, 2, 3, 4, 99})
        ExpectMachinable(GenerateNcString(Options(40000, 0, NCGEN_EOL_DOS, seed)), NCGEN_EOL_DOS);
}

TEST(NcGenProgram, HasTheIngredientsOfAMillingProgram)
{
    const std::string program = GenerateNcString(Options(100000, 0, NCGEN_EOL_DOS, 1));
    const auto lines = SplitLines(program, NCGEN_EOL_DOS);
    ASSERT_EQ(lines.size(), 100000u);
    EXPECT_TRUE(lines[0].size() > 1 && lines[0][0] == 'O');

    std::set<std::string_view> tools;
    int toolChanges = 0, numbered = 0, glued = 0, notes = 0, arcsIJ = 0, arcsR = 0, incremental = 0;
    int gbk = 0, depth = 0;
    for (int index = 0; index < int(lines.size()); ++index) {
        const std::string_view line = lines[index];
        const std::vector<Word> words = CodeWords(line, depth, index);
        numbered += !words.empty() && words[0].letter == 'N';
        glued += line.size() > 3 && line.find(' ') == std::string_view::npos && !words.empty() && line[0] == 'N' &&
                 words.size() >= 3;
        notes += line.find(';') != std::string_view::npos;
        bool arc = false;
        for (const Word& w : words) {
            arc = arc || (w.letter == 'G' && (w.value == "02" || w.value == "03"));
            arcsIJ += arc && w.letter == 'I';
            arcsR += arc && w.letter == 'R';
            incremental += w.letter == 'G' && w.value == "91";
            if (w.letter == 'T') {
                tools.insert(w.value);
                ++toolChanges;
                EXPECT_NE(line.find("M06"), std::string_view::npos) << line;
            }
        }
        for (std::size_t i = 0; i < line.size(); ++i) {
            const auto lead = static_cast<unsigned char>(line[i]);
            if (lead < 0x80)
                continue;
            // GB2312 pairs only: both bytes high, so no ASCII letter hides in a trail byte.
            ASSERT_TRUE(i + 1 < line.size() && lead >= 0xA1 && lead <= 0xF7 &&
                        static_cast<unsigned char>(line[i + 1]) >= 0xA1 && static_cast<unsigned char>(line[i + 1]) <= 0xFE)
                << line;
            ++gbk;
            ++i;
        }
    }
    EXPECT_GE(tools.size(), 3u);
    EXPECT_LE(tools.size(), 8u);
    EXPECT_GT(toolChanges, 3 * int(tools.size()));  // tools come back
    EXPECT_GT(numbered, 85000);
    EXPECT_GT(glued, 100);
    EXPECT_GT(notes, 100);
    EXPECT_GT(arcsIJ, 100);
    EXPECT_GT(arcsR, 10);
    EXPECT_GT(incremental, 10);
    EXPECT_GT(gbk, 10);
    const double average = double(program.size()) / double(lines.size());
    EXPECT_GE(average, 25.0);
    EXPECT_LE(average, 45.0);
}

TEST(NcGenLine, IsOneLineOfTheProgramWithItsCommentsClosedAndATabNowAndThen)
{
    const std::string line = GenerateNcLine(200000, 5);
    EXPECT_GE(line.size(), 200000u);
    EXPECT_LT(line.size(), 200000u + 200);
    EXPECT_EQ(line.find_first_of("\r\n;"), std::string::npos);
    EXPECT_EQ(line, GenerateNcLine(200000, 5));
    EXPECT_NE(line, GenerateNcLine(200000, 6));
    // Every comment closes on the line: the parentheses pair up in order.
    int depth = 0, comments = 0;
    for (char c : line) {
        if (c == '(' && depth++ == 0)
            ++comments;
        if (c == ')') {
            ASSERT_GE(--depth, 0);
        }
    }
    EXPECT_LE(depth, 1);  // only a comment cut at the very end stays open
    EXPECT_GT(comments, 10);
    const auto tabs = std::count(line.begin(), line.end(), '\t');
    EXPECT_GT(tabs, 5);
    EXPECT_LT(tabs, 100);
    EXPECT_TRUE(std::any_of(line.begin(), line.end(), [](char c) { return static_cast<unsigned char>(c) >= 0xA1; }));
    EXPECT_NE(line.find(" G01 "), std::string::npos);
}

}  // namespace
