// Interpreting a program straight from its file must give exactly what
// loading it into a text buffer and running the interpreter gives - the same
// lines, moves, figures, tools and warnings - in every line style and at
// every block boundary, while holding no more than its read blocks.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "CTextBuffer.h"
#include "InterpretFile.h"
#include "LineReader.h"
#include "NcGen.h"
#include "NcInterpreter.h"
#include "TempDir.h"

namespace {

class CollectedMoves final : public MoveSink
{
public:
    void MoveMade(const MoveRecord& record, ArcDirection direction) override
    {
        records.push_back(record);
        directions.push_back(direction);
    }

    std::vector<MoveRecord> records;
    std::vector<ArcDirection> directions;
};

class IgnoredMoves final : public MoveSink
{
public:
    void MoveMade(const MoveRecord&, ArcDirection) override {}
};

bool SameBits(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// Streams path with blocks of blockSize and compares everything with the
// buffer's load and a run over it.
void ExpectSameAsBuffer(const std::string& path, size_t blockSize)
{
    SCOPED_TRACE(path + ", blocks of " + std::to_string(blockSize));
    CTextBuffer buffer;
    ASSERT_TRUE(buffer.LoadFile(path.c_str(), EOL_AUTO));
    NcInterpreter run;
    ASSERT_EQ(run.Run(buffer), 1);

    LineReader reader(blockSize);
    ASSERT_TRUE(reader.Open(path.c_str())) << reader.Error();
    NcInterpreter streamed;
    CollectedMoves moves;
    streamed.SendMovesTo(&moves);
    ASSERT_TRUE(InterpretFile(reader, streamed)) << reader.Error();

    EXPECT_EQ(reader.LinesRead(), uint64_t(buffer.LineCount()));
    EXPECT_EQ(reader.EolStyle(), buffer.EolStyle());
    EXPECT_TRUE(streamed.Moves().empty());
    EXPECT_EQ(streamed.MoveCount(), run.MoveCount());
    ASSERT_EQ(moves.records.size(), run.Moves().size());
    for (size_t i = 0; i < moves.records.size(); ++i) {
        ASSERT_EQ(moves.records[i], run.Moves()[i]) << "record " << i;
        ASSERT_EQ(moves.directions[i], run.Moves().Direction(i)) << "record " << i;
    }
    EXPECT_TRUE(SameBits(streamed.FeedDistance(), run.FeedDistance()));
    EXPECT_TRUE(SameBits(streamed.RapidDistance(), run.RapidDistance()));
    EXPECT_TRUE(SameBits(streamed.MachiningTime(), run.MachiningTime()));
    EXPECT_EQ(streamed.ToolNumbers(), run.ToolNumbers());
    EXPECT_EQ(streamed.Tools().size(), run.Tools().size());
    EXPECT_EQ(streamed.Warnings().lines, run.Warnings().lines);
    EXPECT_EQ(streamed.Warnings().firstLine, run.Warnings().firstLine);
    EXPECT_EQ(streamed.Warnings().kinds, run.Warnings().kinds);
}

std::string Generated(uint64_t lines, int eol, uint64_t seed)
{
    NcGenOptions options;
    options.lines = lines;
    options.eol = eol;
    options.seed = seed;
    return GenerateNcString(options);
}

// Lines of a program in LF CR, LF, CR LF and lone CR, taking turns in an
// order that drifts, with a CR CR LF now and then.
std::string MixedEndings(const std::string& dosProgram)
{
    static const char* const endings[] = {"\r\n", "\n", "\n\r", "\r", "\r\r\n"};
    std::string out;
    size_t start = 0;
    for (size_t n = 0;; ++n) {
        const size_t end = dosProgram.find("\r\n", start);
        if (end == std::string::npos)
            break;
        out.append(dosProgram, start, end - start);
        out += endings[(n * 7 + n / 13) % 5];
        start = end + 2;
    }
    return out;
}

std::string Replaced(std::string text, const std::string& from, const std::string& to)
{
    for (size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size())
        text.replace(at, from.size(), to);
    return text;
}

// What the interpreter passes over but a control acts on, lines apart in a
// generated program: lower-case words, spaced and signed numbers, canned
// cycles, parameters, an arc without a centre.
const char kWarnedLines[] =
    "g1 x20\r\nG81 Z-5 R1 F50\r\nG1 X 3 Y+2\r\n#1=5\r\nG02 X9 Y9\r\nG4 P1\r\nM98 P100\r\n(G18 inside a comment\r\nX1)\r\n";

}  // namespace

TEST(InterpretFile, GivesTheResultsOfLoadingThenRunning)
{
    TempDir dir;
    int files = 0;
    const auto check = [&](const std::string& name, const std::string& bytes) {
        const std::string path = dir.File(name);
        WriteBytes(path, bytes);
        // The smallest block puts block ends all over the lines; the usual
        // one is what tornel-info reads with.
        ExpectSameAsBuffer(path, LineReader::kDetectBlock);
        ExpectSameAsBuffer(path, kInterpretBlock);
        ++files;
    };

    for (const auto& entry : std::filesystem::directory_iterator(TORNEL_EXAMPLES_DIR)) {
        if (entry.path().extension() == ".nc") {
            ExpectSameAsBuffer(entry.path().string(), LineReader::kDetectBlock);
            ++files;
        }
    }
    ASSERT_GE(files, 3);

    const std::string dos = Generated(60000, NCGEN_EOL_DOS, 11);
    ASSERT_NE(dos.find("G28"), std::string::npos);  // it warns of something itself
    check("dos.nc", dos);
    check("unix.nc", Generated(60000, NCGEN_EOL_UNIX, 12));
    check("mac.nc", Generated(60000, NCGEN_EOL_MAC, 13));
    check("unterminated.nc", dos.substr(0, dos.size() - 2));
    check("cut-in-a-separator.nc", dos.substr(0, dos.size() - 1));
    check("mixed.nc", MixedEndings(dos));
    check("lone-cr.nc", Replaced(dos, "\r\n", "\r"));  // no LF: one DOS line
    check("unix-with-lone-lf.nc", Replaced(Generated(20000, NCGEN_EOL_UNIX, 14), "G01", "G01\n"));
    check("nul.nc", Replaced(dos, "F1800", std::string("F1\0 X7", 6)));
    check("warnings.nc", std::string(kWarnedLines) + dos.substr(0, dos.size() / 2) + kWarnedLines +
                             dos.substr(dos.size() / 2));
    // A program written as one line of a few megabytes, alone and followed
    // by LF CR lines: the style is only known past the first blocks.
    const std::string line = GenerateNcLine(3 << 20, 15);
    check("one-line.nc", line);
    check("one-line-then-unix.nc", line + "\n\r" + Generated(2000, NCGEN_EOL_UNIX, 16));
    // The first LF as the very last byte of the first block, the byte that
    // decides the style in the next one.
    check("lf-at-block-end.nc", "G1 X1 F10 " + std::string(LineReader::kDetectBlock - 11, 'A') + "\n\rG1 X5\n\rG1 Y3");
    check("empty.nc", "");
    check("only-separators.nc", "\r\n\r\n\r\n");
}

TEST(InterpretFile, HoldsItsReadBlockWhateverTheFileLength)
{
    TempDir dir;
    const std::string shortFile = dir.File("short.nc"), longFile = dir.File("long.nc");
    WriteBytes(shortFile, Generated(50000, NCGEN_EOL_DOS, 21));
    WriteBytes(longFile, Generated(800000, NCGEN_EOL_DOS, 22));  // some 28 MB

    const auto bytesHeld = [](const std::string& path, size_t& moves) {
        LineReader reader(kInterpretBlock);
        EXPECT_TRUE(reader.Open(path.c_str()));
        NcInterpreter interpreter;
        IgnoredMoves ignored;
        interpreter.SendMovesTo(&ignored);
        EXPECT_TRUE(InterpretFile(reader, interpreter));
        EXPECT_EQ(interpreter.Moves().capacity(), 0u);  // no record kept
        moves = interpreter.MoveCount();
        return reader.BytesHeld();
    };
    size_t shortMoves = 0, longMoves = 0;
    const size_t shortHeld = bytesHeld(shortFile, shortMoves);
    const size_t longHeld = bytesHeld(longFile, longMoves);
    EXPECT_GT(longMoves, 10 * shortMoves);
    EXPECT_LE(shortHeld, kInterpretBlock);
    EXPECT_EQ(longHeld, shortHeld);

    // What the count stands for: a line longer than the block is held whole.
    const std::string longLine = dir.File("long-line.nc");
    WriteBytes(longLine, "G1 X1\r\n" + GenerateNcLine(4 * kInterpretBlock, 23) + "\r\nG1 X2\r\n");
    LineReader reader(kInterpretBlock);
    ASSERT_TRUE(reader.Open(longLine.c_str()));
    NcInterpreter interpreter;
    ASSERT_TRUE(InterpretFile(reader, interpreter));
    EXPECT_GT(reader.BytesHeld(), 4 * kInterpretBlock);
    EXPECT_EQ(interpreter.Moves().size(), interpreter.MoveCount());
}

TEST(InterpretFile, AnUnreadableFileLeavesTheInterpreterResetAndSaysWhy)
{
    TempDir dir;
    LineReader reader;
    EXPECT_FALSE(reader.Open(dir.File("missing.nc").c_str()));
    EXPECT_NE(reader.Error().find("No such file"), std::string::npos) << reader.Error();
    EXPECT_FALSE(reader.Open(dir.Path().c_str()));
    EXPECT_EQ(reader.Error(), "is a folder");
    EXPECT_FALSE(reader.Open("/dev/null"));
    EXPECT_EQ(reader.Error(), "is not a regular file");

    // A reader that was never opened reads nothing, and the interpreter
    // keeps nothing of an earlier run.
    NcInterpreter interpreter;
    const std::string good = dir.File("good.nc");
    WriteBytes(good, "G1 X10 F10 T4\r\n");
    LineReader opened;
    ASSERT_TRUE(opened.Open(good.c_str()));
    ASSERT_TRUE(InterpretFile(opened, interpreter));
    ASSERT_EQ(interpreter.MoveCount(), 1u);
    EXPECT_FALSE(InterpretFile(reader, interpreter));
    EXPECT_FALSE(reader.Error().empty());
    EXPECT_EQ(interpreter.MoveCount(), 0u);
    EXPECT_TRUE(interpreter.ToolNumbers().empty());
    EXPECT_EQ(interpreter.FeedDistance(), 0.0);

    // Read again from the start, the file gives the same run.
    ASSERT_TRUE(InterpretFile(opened, interpreter));
    EXPECT_EQ(interpreter.MoveCount(), 1u);
    EXPECT_EQ(opened.LinesRead(), 2u);
}
