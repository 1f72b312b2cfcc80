// Interpreting while loading must give exactly what loading and then running
// the interpreter gives, across many read blocks and in every line style.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "CTextBuffer.h"
#include "LoadAndInterpret.h"
#include "NcGen.h"
#include "NcInterpreter.h"
#include "TempDir.h"

namespace {

void ExpectSameResults(const NcInterpreter& a, const NcInterpreter& b)
{
    ASSERT_EQ(a.Moves().size(), b.Moves().size());
    for (size_t i = 0; i < a.Moves().size(); ++i)
        ASSERT_EQ(a.Moves()[i], b.Moves()[i]) << "record " << i;
    EXPECT_EQ(a.FeedDistance(), b.FeedDistance());
    EXPECT_EQ(a.RapidDistance(), b.RapidDistance());
    EXPECT_EQ(a.MachiningTime(), b.MachiningTime());
    EXPECT_EQ(a.ToolNumbers(), b.ToolNumbers());
    ASSERT_EQ(a.Tools().size(), b.Tools().size());
    for (size_t i = 0; i < a.Tools().size(); ++i)
        EXPECT_EQ(0, std::memcmp(&a.Tools()[i], &b.Tools()[i], sizeof(ToolSlot)));
}

}  // namespace

TEST(LoadAndInterpret, GivesTheResultsOfLoadingThenRunning)
{
    TempDir dir;
    for (const int eol : {NCGEN_EOL_DOS, NCGEN_EOL_UNIX, NCGEN_EOL_MAC}) {
        // Well over the loader's 4 MiB read block, so lines arrive in batches.
        NcGenOptions options;
        options.lines = 400000;
        options.eol = eol;
        options.seed = 3 + eol;
        const std::string path = dir.File("p.nc");
        WriteBytes(path, GenerateNcString(options));

        CTextBuffer loaded;
        ASSERT_TRUE(loaded.LoadFile(path.c_str(), EOL_AUTO));
        NcInterpreter run;
        ASSERT_EQ(run.Run(loaded), 1);
        ASSERT_GT(run.Moves().size(), 100000u);

        CTextBuffer buffer;
        NcInterpreter pipelined;
        ASSERT_TRUE(LoadAndInterpret(path.c_str(), buffer, pipelined));
        EXPECT_EQ(buffer.LineCount(), loaded.LineCount());
        ExpectSameResults(pipelined, run);
    }

    // An empty file is one empty line: no moves, and no failure.
    const std::string empty = dir.File("empty.nc");
    WriteBytes(empty, "");
    CTextBuffer buffer;
    NcInterpreter interpreter;
    ASSERT_TRUE(LoadAndInterpret(empty.c_str(), buffer, interpreter));
    EXPECT_EQ(buffer.LineCount(), 1);
    EXPECT_TRUE(interpreter.Moves().empty());
}

TEST(LoadAndInterpret, AFailedLoadLeavesTheInterpreterReset)
{
    TempDir dir;
    const std::string good = dir.File("good.nc");
    WriteBytes(good, "G1 X10 F10 T4\r\n");
    CTextBuffer buffer;
    NcInterpreter interpreter;
    ASSERT_TRUE(LoadAndInterpret(good.c_str(), buffer, interpreter));
    ASSERT_EQ(interpreter.Moves().size(), 1u);

    CTextBuffer other;
    EXPECT_FALSE(LoadAndInterpret(dir.File("missing.nc").c_str(), other, interpreter));
    EXPECT_FALSE(other.LastFileError().empty());
    EXPECT_TRUE(interpreter.Moves().empty());
    EXPECT_TRUE(interpreter.ToolNumbers().empty());
    EXPECT_EQ(interpreter.FeedDistance(), 0.0);
}

TEST(LoadAndInterpret, ReportsTheBytesReadAndStopsWhenAsked)
{
    TempDir dir;
    NcGenOptions options;
    options.lines = 600000;  // some 20 MiB: several read blocks
    const std::string text = GenerateNcString(options);
    const std::string path = dir.File("p.nc");
    WriteBytes(path, text);

    std::vector<uint64_t> seen;
    CTextBuffer buffer;
    NcInterpreter interpreter;
    ASSERT_TRUE(LoadAndInterpret(path.c_str(), buffer, interpreter, [&](uint64_t done, uint64_t total) {
        EXPECT_EQ(total, text.size());
        seen.push_back(done);
        return true;
    }));
    ASSERT_GE(seen.size(), 3u);
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    EXPECT_EQ(seen.back(), text.size());
    const int lines = buffer.LineCount();
    const size_t moves = interpreter.Moves().size();

    // Stopped after the second block: the load fails, the buffer keeps
    // what it had, the interpreter is reset, and the rest is not read.
    seen.clear();
    EXPECT_FALSE(LoadAndInterpret(path.c_str(), buffer, interpreter, [&](uint64_t done, uint64_t) {
        seen.push_back(done);
        return seen.size() < 2;
    }));
    EXPECT_EQ(seen.size(), 2u);
    EXPECT_FALSE(buffer.LastFileError().empty());
    EXPECT_EQ(buffer.LineCount(), lines);
    EXPECT_EQ(buffer.Line(lines - 1), std::string_view(text).substr(text.rfind('\n') + 1));
    EXPECT_TRUE(interpreter.Moves().empty());
    EXPECT_EQ(interpreter.FeedDistance(), 0.0);

    // And the same buffer and interpreter open the file again in full.
    ASSERT_TRUE(LoadAndInterpret(path.c_str(), buffer, interpreter));
    EXPECT_EQ(interpreter.Moves().size(), moves);
}
