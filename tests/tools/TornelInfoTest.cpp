// tornel-info as scripts use it: the text and JSON reports, several files,
// unreadable files, usage errors and exit codes.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <sys/wait.h>

#include "CTextBuffer.h"
#include "InfoReport.h"
#include "NcGen.h"
#include "NcInterpreter.h"
#include "TempDir.h"
#include "WorkedExample.h"

namespace {

struct Result
{
    int status;
    std::string out;
    std::string err;
};

// Runs tornel-info with the given arguments (already shell-quoted).
Result RunInfo(const std::string& args, const TempDir& dir)
{
    const std::string errFile = dir.File("stderr.txt");
    const std::string command = std::string(TORNEL_INFO_PATH) + " " + args + " 2>'" + errFile + "'";
    Result result{-1, {}, {}};
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return result;
    std::array<char, 65536> chunk;
    size_t n;
    while ((n = std::fread(chunk.data(), 1, chunk.size(), pipe)) > 0)
        result.out.append(chunk.data(), n);
    const int status = ::pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.err = ReadBytes(errFile);
    return result;
}

std::string Quote(const std::string& path)
{
    return "'" + path + "'";
}


const char kInfo[] =
    "[加工信息]：\n"
    "加工工时为：0小时0分\n"
    "快速进给距离为：11.000000mm\n"
    "进给距离为：103.123890mm\n";

TEST(TornelInfo, PrintsTheInformationTextAndHeadersForSeveralFiles)
{
    TempDir dir;
    const std::string a = dir.File("a.nc"), b = dir.File("b.nc");
    WriteBytes(a, kWorkedExample);
    WriteBytes(b, "G1 X100 F1\n\rG1 X40 T3\n\r");  // 160 minutes, LF CR lines
    Result r = RunInfo(Quote(a), dir);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, kInfo);
    EXPECT_EQ(r.err, "");

    r = RunInfo(Quote(a) + " " + Quote(b), dir);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "==> " + a + " <==\n" + kInfo + "==> " + b + " <==\n" +
                         "[加工信息]：\n加工工时为：2小时40分\n快速进给距离为：0.000000mm\n进给距离为：160.000000mm\n");
}

TEST(TornelInfo, JsonDescribesTheProgramAndItsMoves)
{
    TempDir dir;
    const std::string a = dir.File("a.nc");
    WriteBytes(a, std::string(kWorkedExample) + "\r\nT7 M06\r\nT2\r\nT7\r\nG1 X1\r\n");
    Result r = RunInfo("--json " + Quote(a), dir);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "{\"file\": \"" + a +
                         "\", \"lines\": 10, \"eol\": \"DOS\", \"feed_distance\": 162.12388980384691, "
                         "\"rapid_distance\": 11, \"machining_time\": 0.84061944901923447, \"moves\": 6, "
                         "\"tools\": [7, 2]}\n");

    WriteBytes(a, kWorkedExample);
    r = RunInfo("--moves --json " + Quote(a), dir);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out,
              "{\"file\": \"" + a +
                  "\", \"lines\": 5, \"eol\": \"DOS\", \"feed_distance\": 103.12388980384689, "
                  "\"rapid_distance\": 11, \"machining_time\": 0.54561944901923443, \"moves\": 5, \"tools\": [], "
                  "\"move_list\": ["
                  "[0, 0, 0, 0, 0, -0, 5, 0, 0, 0, 0, 1, 0, 1], "
                  "[1, 0, -0, 5, 0, -0, -1, 0, -0, 5, 0, 100, 0, 0], "
                  "[2, 0, -0, -1, 50, -0, -1, 0, -0, -1, 0, 200, 0, 0], "
                  "[3, 50, -0, -1, 60, -10, -1, 50, -10, -1, 1, 200, 0, 0], "
                  "[4, 60, -10, -1, 60, -10, 5, 60, -10, -1, 0, 200, 0, 1]]}\n");
}

TEST(TornelInfo, WarningsFollowTheFiguresInTextAndJson)
{
    TempDir dir;
    const std::string a = dir.File("w.nc");
    // Lines 2 and 4 are in lower case, lines 3 and 4 drill canned cycles.
    WriteBytes(a, "G0 X0 Y0\r\nG1 X10 F100\r\ng1 x20\r\nG81 Z-5 R1 F50\r\nG82 Z-6 R1 x1\r\nG80\r\n");
    Result r = RunInfo(Quote(a), dir);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out,
              "[加工信息]：\n加工工时为：0小时0分\n快速进给距离为：0.000000mm\n进给距离为：16.000000mm\n"
              "注意：3 行含有未解释的指令（首次出现于第 3 行）\n");

    // In JSON the first line counts from zero, like the lines of the moves;
    // kinds no line holds are left out.
    const std::string warnings =
        "\"warnings\": {\"lines\": 3, \"first_line\": 2, \"kinds\": {\"lowercase\": 2, \"canned_cycle\": 2}}";
    r = RunInfo("--json " + Quote(a), dir);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(r.out.ends_with(", \"tools\": [], " + warnings + "}\n")) << r.out;
    // Before the move list, which may be long.
    r = RunInfo("--json --moves " + Quote(a), dir);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find(", \"tools\": [], " + warnings + ", \"move_list\": [[0, "), std::string::npos) << r.out;
}

TEST(TornelInfo, UnreadableFilesAreReportedAndTheOthersStillProcessed)
{
    TempDir dir;
    const std::string good = dir.File("good.nc");
    WriteBytes(good, kWorkedExample);
    const std::string missing = dir.File("missing.nc");
    Result r = RunInfo("--json " + Quote(missing) + " " + Quote(dir.Path().string()) + " " + Quote(good), dir);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find(missing + ": "), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("No such file"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find(dir.Path().string() + ": is a folder"), std::string::npos) << r.err;
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 1);
    EXPECT_NE(r.out.find("\"lines\": 5"), std::string::npos);
}

TEST(TornelInfo, UsageErrorsExitWithTwo)
{
    TempDir dir;
    const std::string good = dir.File("good.nc");
    WriteBytes(good, kWorkedExample);
    for (const std::string& args : {std::string(""), std::string("--json"), "--bogus " + Quote(good),
                                   "--moves " + Quote(good)}) {
        const Result r = RunInfo(args, dir);
        EXPECT_EQ(r.status, 2) << args;
        EXPECT_EQ(r.out, "") << args;
        EXPECT_NE(r.err.find("usage:"), std::string::npos) << args;
    }
    const Result help = RunInfo("--help", dir);
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("usage:"), std::string::npos);
    // After "--" a name that looks like an option is a file.
    const Result dashed = RunInfo("-- --json", dir);
    EXPECT_EQ(dashed.status, 1);
}

TEST(TornelInfo, PathsThatAreNotUtf8AndNumbersThatAreNotFinite)
{
    TempDir dir;
    const std::string path = dir.File("\xB3\xCC\xD0\xF2.nc");  // GBK bytes in the name
    // A coordinate too large for a float makes the distances infinite.
    WriteBytes(path, "G1 X" + std::string(60, '9') + " F100\r\n");
    const Result r = RunInfo("--json --moves " + Quote(path), dir);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("tornel-test-"), std::string::npos);
    EXPECT_NE(r.out.find("/\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD.nc\""), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\"feed_distance\": null"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("[0, 0, 0, 0, null, 0, 0"), std::string::npos) << r.out;
}

// tornel-info reads a program line by line and keeps nothing; what it prints
// must be what the program gives when loaded whole as the editor loads it.
TEST(TornelInfo, ReportsWhatTheLoadedProgramGives)
{
    TempDir dir;
    NcGenOptions options;
    options.lines = 120000;  // several read blocks
    std::vector<std::string> paths;
    for (const int eol : {NCGEN_EOL_DOS, NCGEN_EOL_UNIX, NCGEN_EOL_MAC}) {
        options.eol = eol;
        options.seed = 40 + eol;
        paths.push_back(dir.File("p" + std::to_string(eol) + ".nc"));
        WriteBytes(paths.back(), GenerateNcString(options));
    }
    // Warnings, a comment over several lines and no final line end.
    paths.push_back(dir.File("warned.nc"));
    WriteBytes(paths.back(), "g1 x5\r\nG81 Z-2 R1 F40\r\n(T9\r\nX4)\r\n" + GenerateNcString(options) + "G1 X#1");

    for (const std::string& path : paths) {
        SCOPED_TRACE(path);
        CTextBuffer buffer;
        ASSERT_TRUE(buffer.LoadFile(path.c_str(), EOL_AUTO));
        NcInterpreter run;
        ASSERT_EQ(run.Run(buffer), 1);
        const std::string head = InfoJsonHead(path, buffer.LineCount(), buffer.EolStyle(), run);
        std::string moves = head + ", \"move_list\": [";
        for (size_t i = 0; i < run.Moves().size(); ++i) {
            if (i > 0)
                moves += ", ";
            AppendMoveJson(moves, run.Moves()[i]);
        }
        moves += "]}\n";

        Result r = RunInfo(Quote(path), dir);
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, InfoText(run));
        r = RunInfo("--json " + Quote(path), dir);
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, head + "}\n");
        r = RunInfo("--json --moves " + Quote(path), dir);
        EXPECT_EQ(r.status, 0) << r.err;
        ASSERT_EQ(r.out.size(), moves.size());
        EXPECT_TRUE(r.out == moves);  // megabytes: no dump of both on failure
    }
}

TEST(InfoReport, NumbersReadBackExactlyAndStringsAreEscaped)
{
    uint32_t state = 99;
    for (int i = 0; i < 20000; ++i) {
        state = state * 1664525u + 1013904223u;
        float f;
        std::memcpy(&f, &state, sizeof f);
        std::string out;
        AppendJsonNumber(out, f);
        if (!std::isfinite(f)) {
            EXPECT_EQ(out, "null");
            continue;
        }
        const float back = std::strtof(out.c_str(), nullptr);
        ASSERT_EQ(std::memcmp(&back, &f, sizeof f), 0) << out;
        const double d = double(f) * 1.000000123456789;
        out.clear();
        AppendJsonNumber(out, d);
        ASSERT_EQ(std::strtod(out.c_str(), nullptr), d) << out;
    }
    std::string out;
    AppendJsonNumber(out, -0.0f);
    EXPECT_EQ(out, "-0");

    out.clear();
    AppendJsonString(out, "a\"b\\c\n\t\x01 \xE5\x8A\xA0 \xED\xA0\x80 \xC0\xAF");
    EXPECT_EQ(out, "\"a\\\"b\\\\c\\n\\t\\u0001 \xE5\x8A\xA0 \xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD \xEF\xBF\xBD\xEF\xBF\xBD\"");
}

}  // namespace
