// Loading files into lines and saving them back: separator styles and their
// near misses, NUL bytes, huge lines, block boundaries, failures that must not
// damage the buffer or the file on disk.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include "CTextBuffer.h"
#include "RecordingView.h"
#include "TempDir.h"

namespace {

std::vector<std::string> Lines(const CTextBuffer& buffer)
{
    std::vector<std::string> lines;
    for (int i = 0; i < buffer.LineCount(); ++i)
        lines.emplace_back(buffer.Line(i));
    return lines;
}

struct LoadCase
{
    const char* name;
    std::string bytes;
    int style;
    std::vector<std::string> lines;
    friend void PrintTo(const LoadCase& c, std::ostream* os) { *os << c.name; }
};

class LoadStyles : public ::testing::TestWithParam<LoadCase>
{
};

TEST_P(LoadStyles, SplitsAsTheSeparatorMatcherDoesAndSavesBackByteForByte)
{
    const LoadCase& c = GetParam();
    TempDir dir;
    const std::string path = dir.File("in.nc");
    WriteBytes(path, c.bytes);

    CTextBuffer buffer;
    ASSERT_TRUE(buffer.LoadFile(path.c_str(), EOL_AUTO));
    EXPECT_EQ(buffer.EolStyle(), c.style);
    EXPECT_EQ(Lines(buffer), c.lines);
    for (int i = 0; i < buffer.LineCount(); ++i) {
        EXPECT_EQ(buffer.LineFlags(i), 0u);
        // Slots are sized in 16-byte steps, always with room to spare.
        EXPECT_EQ(LineCapacityFor(buffer.LineLength(i)) % 16, 0);
    }

    const std::string out = dir.File("out.nc");
    ASSERT_TRUE(buffer.SaveFile(out.c_str(), EOL_AUTO, true));
    if (c.bytes.find('\0') == std::string::npos) {
        EXPECT_EQ(ReadBytes(out), c.bytes);
    }
}

const std::string CR = "\r", LF = "\n";

INSTANTIATE_TEST_SUITE_P(
    Files, LoadStyles,
    ::testing::Values(
        LoadCase{"Empty", "", EOL_DOS, {""}},
        LoadCase{"DosWithFinalSeparator", "A\r\nB\r\n", EOL_DOS, {"A", "B", ""}},
        LoadCase{"DosWithoutFinalSeparator", "G0 X1\r\nG1 Y2", EOL_DOS, {"G0 X1", "G1 Y2"}},
        LoadCase{"DosCrCrLfStaysInTheLine", "A\r\r\nB\r\nC", EOL_DOS, {"A\r\r\nB", "C"}},
        LoadCase{"DosLoneLfAndCrStayInTheLine", "x\r\ny\nz\rw\r\n", EOL_DOS, {"x", "y\nz\rw", ""}},
        LoadCase{"OnlyCrIsOneDosLine", "a\rb\rc\r", EOL_DOS, {"a\rb\rc\r"}},
        LoadCase{"UnixIsLfCr", "A\n\rB\n\r\n\rC", EOL_UNIX, {"A", "B", "", "C"}},
        LoadCase{"UnixLfLfCrDoesNotEndALine", "A\n\rB\n\n\rC", EOL_UNIX, {"A", "B\n\n\rC"}},
        LoadCase{"MacIsLoneLf", "A\nB\r\nC\n", EOL_MAC, {"A", "B\r", "C", ""}},
        LoadCase{"MacFirstLfAtEnd", "AB\n", EOL_MAC, {"AB", ""}},
        LoadCase{"FirstByteLfIsNotDos", "\n\rX", EOL_UNIX, {"", "X"}},
        LoadCase{"LoneLfAtStartIsMac", "\nX\n", EOL_MAC, {"", "X", ""}},
        LoadCase{"TrailingHalfSeparator", "A\r\nB\r", EOL_DOS, {"A", "B\r"}},
        LoadCase{"NulCutsTheLine", std::string("G1\0junk\r\nX2\r\n\0\r\n", 17), EOL_DOS, {"G1", "X2", "", ""}},
        LoadCase{"GbkBytesPassThrough", "(\xB4\xD6\xBC\xD3\xB9\xA4)\r\nG1 X\xFF\x80\r\n", EOL_DOS,
                 {"(\xB4\xD6\xBC\xD3\xB9\xA4)", "G1 X\xFF\x80", ""}},
        LoadCase{"TabsStay", "\tG1\t X1\r\n", EOL_DOS, {"\tG1\t X1", ""}}),
    [](const auto& info) { return std::string(info.param.name); });

// The style is read from the first 32768 bytes only.
TEST(Load, DetectsTheStyleAtTheFirstLineEndHoweverFarItIs)
{
    TempDir dir;
    const std::string path = dir.File("late.nc");
    // A first line of 5 MB, longer than any read block.
    const std::string first(5 << 20, 'x');
    WriteBytes(path, first + "\n\rA\n\rB");
    CTextBuffer buffer;
    ASSERT_TRUE(buffer.LoadFile(path.c_str(), EOL_AUTO));
    EXPECT_EQ(buffer.EolStyle(), EOL_UNIX);
    ASSERT_EQ(buffer.LineCount(), 3);
    EXPECT_EQ(buffer.LineLength(0), int(first.size()));
    EXPECT_EQ(buffer.Line(2), "B");

    // The LF where the first block ends is looked at with the byte after it.
    std::string edge(32767, 'y');
    edge += "\n\rZ";
    WriteBytes(path, edge);
    CTextBuffer second;
    ASSERT_TRUE(second.LoadFile(path.c_str(), EOL_AUTO));
    EXPECT_EQ(second.EolStyle(), EOL_UNIX);
    ASSERT_EQ(second.LineCount(), 2);
    EXPECT_EQ(second.Line(1), "Z");

    // A long LF line, and a file without any LF, which stays CR LF.
    WriteBytes(path, std::string(40000, 'q') + "\nR");
    CTextBuffer third;
    ASSERT_TRUE(third.LoadFile(path.c_str(), EOL_AUTO));
    EXPECT_EQ(third.EolStyle(), EOL_MAC);
    EXPECT_EQ(third.LineCount(), 2);
    WriteBytes(path, std::string(40000, 'q') + "\rR\rS");
    CTextBuffer fourth;
    ASSERT_TRUE(fourth.LoadFile(path.c_str(), EOL_AUTO));
    EXPECT_EQ(fourth.EolStyle(), EOL_DOS);
    EXPECT_EQ(fourth.LineCount(), 1);
}

TEST(Load, ExplicitStyleOverridesDetection)
{
    TempDir dir;
    const std::string path = dir.File("f.nc");
    WriteBytes(path, "A\r\nB\nC");
    CTextBuffer buffer;
    ASSERT_TRUE(buffer.LoadFile(path.c_str(), EOL_MAC));
    EXPECT_EQ(buffer.EolStyle(), EOL_MAC);
    EXPECT_EQ(Lines(buffer), (std::vector<std::string>{"A\r", "B", "C"}));
}

// Separators and near misses that straddle the boundaries of the reads, in
// every style, compared against a straightforward byte-at-a-time matcher.
std::vector<std::string> ReferenceSplit(const std::string& bytes, const std::string& sep)
{
    std::vector<std::string> lines;
    std::string acc;
    size_t match = 0;
    for (char c : bytes) {
        acc += c;
        if (c == sep[match]) {
            if (++match == sep.size()) {
                acc.resize(acc.size() - sep.size());
                lines.push_back(acc.substr(0, acc.find('\0')));
                acc.clear();
                match = 0;
            }
        } else {
            match = 0;
        }
    }
    lines.push_back(acc.substr(0, acc.find('\0')));
    return lines;
}

TEST(Load, LargeFilesMatchTheByteAtATimeSplitAcrossReadBoundaries)
{
    TempDir dir;
    const std::string path = dir.File("big.nc");
    const char* seps[] = {"\r\n", "\n\r", "\n"};
    uint64_t state = 12345;
    auto next = [&] {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return uint32_t(state >> 33);
    };
    for (int style = EOL_DOS; style <= EOL_MAC; ++style) {
        std::string bytes;
        bytes.reserve(9u << 20);
        // The first separator fixes the detected style.
        bytes += style == EOL_DOS ? "X\r\n" : style == EOL_UNIX ? "\n\r" : "\nA";
        while (bytes.size() < (9u << 20)) {
            const uint32_t r = next() % 100;
            if (r < 6)
                bytes += "\r\r\n";
            else if (r < 12)
                bytes += "\n\n\r";
            else if (r < 14)
                bytes += '\0';
            else if (r < 40)
                bytes += seps[style];
            else
                bytes += char('A' + r % 26);
            if (r == 99)
                bytes.append(300000, 'L');  // lines longer than a read
        }
        WriteBytes(path, bytes);

        CTextBuffer buffer;
        ASSERT_TRUE(buffer.LoadFile(path.c_str(), EOL_AUTO));
        ASSERT_EQ(buffer.EolStyle(), style);
        const std::vector<std::string> expected = ReferenceSplit(bytes, seps[style]);
        ASSERT_EQ(buffer.LineCount(), int(expected.size())) << "style " << style;
        EXPECT_TRUE(Lines(buffer) == expected) << "style " << style;
    }
}

TEST(Load, TenMegabyteSingleLineRoundTrips)
{
    TempDir dir;
    const std::string path = dir.File("long.nc");
    std::string bytes;
    for (int i = 0; bytes.size() < (10u << 20); ++i)
        bytes += "G1X" + std::to_string(i % 1000) + ' ';
    WriteBytes(path, bytes);
    CTextBuffer buffer;
    ASSERT_TRUE(buffer.LoadFile(path.c_str(), EOL_AUTO));
    ASSERT_EQ(buffer.LineCount(), 1);
    EXPECT_EQ(size_t(buffer.LineLength(0)), bytes.size());
    const std::string out = dir.File("long2.nc");
    ASSERT_TRUE(buffer.SaveFile(out.c_str(), EOL_AUTO, true));
    EXPECT_TRUE(ReadBytes(out) == bytes);
}

TEST(Load, ASmallProgramTakesLittleMemoryAndALargeOneGrowsItsBlocks)
{
    TempDir dir;
    const std::string path = dir.File("small.nc");
    WriteBytes(path, "G0 X0\r\nG1 X1\r\nM30\r\n");
    CTextBuffer buffer;
    ASSERT_TRUE(buffer.LoadFile(path.c_str(), EOL_AUTO));
    EXPECT_LT(buffer.MemoryUsed(), size_t(256) << 10);

    // 5 MB of short lines: the blocks keep up without holding much more
    // than the texts' slots.
    std::string bytes;
    while (bytes.size() < (5u << 20))
        bytes += "G01 X12.5 Y-3 F200\n\r";
    WriteBytes(path, bytes);
    ASSERT_TRUE(buffer.LoadFile(path.c_str(), EOL_AUTO));
    ASSERT_EQ(buffer.LineCount(), int(bytes.size() / 20) + 1);
    EXPECT_EQ(buffer.Line(buffer.LineCount() - 2), "G01 X12.5 Y-3 F200");
    EXPECT_LT(buffer.MemoryUsed(), size_t(buffer.LineCount()) * (32 + sizeof(CTextBuffer::TextLine)) + (size_t(8) << 20));
}

TEST(Load, SetsTheLoadedStateAndNotifiesReset)
{
    TempDir dir;
    const std::string path = dir.File("f.nc");
    WriteBytes(path, "G1\r\n");
    CTextBuffer buffer;
    RecordingView view;
    buffer.AttachView(&view);
    ASSERT_TRUE(buffer.LoadFile(path.c_str(), EOL_AUTO));
    EXPECT_TRUE(buffer.IsInitialised());
    EXPECT_FALSE(buffer.IsReadOnly());
    EXPECT_FALSE(buffer.CanUndo());
    ASSERT_EQ(view.log.size(), 1u);
    EXPECT_EQ(view.log[0].hints, uint32_t(HINT_RESET));
    EXPECT_EQ(view.log[0].line, -1);
    EXPECT_FALSE(view.log[0].hasAdjuster);
    EXPECT_EQ(view.log[0].source, nullptr);
    buffer.DetachView(&view);
}

TEST(Load, FailuresLeaveTheBufferAsItWas)
{
    TempDir dir;
    CTextBuffer buffer;
    RecordingView view;
    buffer.ResetToEmpty(EOL_UNIX);
    int endLine = 0, endChar = 0;
    ASSERT_TRUE(buffer.RawInsert(nullptr, 0, 0, "keep me", endLine, endChar));
    buffer.AttachView(&view);

    EXPECT_FALSE(buffer.LoadFile(dir.File("missing.nc").c_str(), EOL_AUTO));
    EXPECT_FALSE(buffer.LastFileError().empty());
    EXPECT_FALSE(buffer.LoadFile(dir.Path().c_str(), EOL_AUTO));  // a folder
    EXPECT_NE(buffer.LastFileError().find("folder"), std::string::npos);
    EXPECT_FALSE(buffer.LoadFile("/dev/null", EOL_AUTO));  // not a regular file

    EXPECT_EQ(buffer.LineCount(), 1);
    EXPECT_EQ(buffer.Line(0), "keep me");
    EXPECT_EQ(buffer.EolStyle(), EOL_UNIX);
    EXPECT_TRUE(view.log.empty());
    buffer.DetachView(&view);
}

TEST(Load, AFileWithoutWritePermissionOpensReadOnly)
{
    TempDir dir;
    const std::string path = dir.File("ro.nc");
    WriteBytes(path, "G0 X0\r\n");
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    CTextBuffer buffer;
    ASSERT_TRUE(buffer.LoadFile(path.c_str(), EOL_AUTO));
    EXPECT_TRUE(buffer.IsReadOnly());
    int endLine = 0, endChar = 0;
    EXPECT_FALSE(buffer.RawInsert(nullptr, 0, 0, "x", endLine, endChar));
}

TEST(Save, WritesTheRequestedStyleWithoutAFinalSeparator)
{
    TempDir dir;
    CTextBuffer buffer;
    buffer.ResetToEmpty(EOL_DOS);
    int endLine = 0, endChar = 0;
    ASSERT_TRUE(buffer.RawInsert(nullptr, 0, 0, "A\r\nB\rC", endLine, endChar));
    const std::string path = dir.File("s.nc");
    ASSERT_TRUE(buffer.SaveFile(path.c_str(), EOL_AUTO, false));
    EXPECT_EQ(ReadBytes(path), "A\r\nB\r\nC");
    ASSERT_TRUE(buffer.SaveFile(path.c_str(), EOL_UNIX, false));
    EXPECT_EQ(ReadBytes(path), "A\n\rB\n\rC");
    ASSERT_TRUE(buffer.SaveFile(path.c_str(), EOL_MAC, false));
    EXPECT_EQ(ReadBytes(path), "A\nB\nC");
    // Saving with an explicit style does not change the buffer's own.
    EXPECT_EQ(buffer.EolStyle(), EOL_DOS);
}

TEST(Save, ReplacesTheFileKeepingItsPermissionsAndLeavesNoTemporaryFile)
{
    TempDir dir;
    const std::string path = dir.File("p.nc");
    WriteBytes(path, "old\r\n");
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    CTextBuffer buffer;
    ASSERT_TRUE(buffer.LoadFile(path.c_str(), EOL_AUTO));
    int endLine = 0, endChar = 0;
    ASSERT_TRUE(buffer.InsertText(nullptr, 1, 0, "new", endLine, endChar, ACTION_TYPING));
    EXPECT_TRUE(buffer.IsModifiedFlag());
    ASSERT_TRUE(buffer.SaveFile(path.c_str(), EOL_AUTO, true));
    EXPECT_FALSE(buffer.IsModifiedFlag());
    EXPECT_EQ(buffer.SavedPos(), buffer.UndoPos());
    EXPECT_EQ(ReadBytes(path), "old\r\nnew");
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

TEST(Save, WritesThroughASymbolicLink)
{
    TempDir dir;
    const std::string real = dir.File("real.nc");
    const std::string link = dir.File("link.nc");
    WriteBytes(real, "a");
    ASSERT_EQ(::symlink(real.c_str(), link.c_str()), 0);
    CTextBuffer buffer;
    ASSERT_TRUE(buffer.LoadFile(link.c_str(), EOL_AUTO));
    int endLine = 0, endChar = 0;
    ASSERT_TRUE(buffer.RawInsert(nullptr, 0, 1, "b", endLine, endChar));
    ASSERT_TRUE(buffer.SaveFile(link.c_str(), EOL_AUTO, true));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(ReadBytes(real), "ab");
}

TEST(Save, RefusesAFileThatMayNotBeWrittenAndLeavesItUntouched)
{
    TempDir dir;
    const std::string path = dir.File("locked.nc");
    WriteBytes(path, "original");
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    CTextBuffer buffer;
    buffer.ResetToEmpty(EOL_DOS);
    int endLine = 0, endChar = 0;
    ASSERT_TRUE(buffer.RawInsert(nullptr, 0, 0, "replacement", endLine, endChar));
    EXPECT_FALSE(buffer.SaveFile(path.c_str(), EOL_AUTO, true));
    EXPECT_EQ(ReadBytes(path), "original");
    EXPECT_TRUE(buffer.IsModifiedFlag());  // the failed save cleared nothing
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);

    EXPECT_FALSE(buffer.SaveFile(dir.File("no/such/folder.nc").c_str(), EOL_AUTO, true));
    EXPECT_FALSE(buffer.SaveFile(dir.Path().c_str(), EOL_AUTO, true));  // a folder
    EXPECT_TRUE(std::filesystem::is_directory(dir.Path()));
}

}  // namespace
