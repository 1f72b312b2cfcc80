// Read and write failures in the middle of a file.  This test program is
// linked with read() and write() wrapped (-Wl,--wrap), so a test can make
// the n-th call after a point fail the way a failing disk or a vanished
// network share would.
#include <gtest/gtest.h>

#include <cerrno>
#include <unistd.h>

#include "CTextBuffer.h"
#include "RecordingView.h"
#include "TempDir.h"

extern "C" {
ssize_t __real_read(int fd, void* buffer, size_t count);
ssize_t __real_write(int fd, const void* buffer, size_t count);

int g_failReadAfter = -1;   // calls to let through before failing; -1: never fail
int g_failWriteAfter = -1;
int g_shortWriteAfter = -1;

ssize_t __wrap_read(int fd, void* buffer, size_t count)
{
    if (g_failReadAfter == 0) {
        errno = EIO;
        return -1;
    }
    if (g_failReadAfter > 0)
        --g_failReadAfter;
    return __real_read(fd, buffer, count);
}

ssize_t __wrap_write(int fd, const void* buffer, size_t count)
{
    if (g_failWriteAfter == 0) {
        errno = ENOSPC;
        return -1;
    }
    if (g_failWriteAfter > 0)
        --g_failWriteAfter;
    if (g_shortWriteAfter == 0) {
        // A device that stops accepting bytes: zero bytes written.
        return 0;
    }
    if (g_shortWriteAfter > 0)
        --g_shortWriteAfter;
    return __real_write(fd, buffer, count);
}
}

namespace {

class FileFaults : public ::testing::Test
{
protected:
    void TearDown() override { g_failReadAfter = g_failWriteAfter = g_shortWriteAfter = -1; }

    TempDir dir;
};

std::string BigProgram()
{
    std::string text;
    for (int i = 0; text.size() < (12u << 20); ++i)
        text += "N" + std::to_string(i) + " G01 X" + std::to_string(i % 500) + ".5 F300\r\n";
    return text;
}

TEST_F(FileFaults, AReadFailureAfterTheFirstBlockFailsTheLoadAndKeepsTheOldText)
{
    const std::string path = dir.File("big.nc");
    WriteBytes(path, BigProgram());
    CTextBuffer buffer;
    buffer.ResetToEmpty(EOL_MAC);
    int endLine = 0, endChar = 0;
    buffer.RawInsert(nullptr, 0, 0, "before", endLine, endChar);
    RecordingView view;
    buffer.AttachView(&view);
    for (int pass : {0, 1, 2}) {
        g_failReadAfter = pass;
        EXPECT_FALSE(buffer.LoadFile(path.c_str(), EOL_AUTO)) << "failing read " << pass;
        EXPECT_NE(buffer.LastFileError().find("read error"), std::string::npos);
        EXPECT_EQ(buffer.LineCount(), 1);
        EXPECT_EQ(buffer.Line(0), "before");
        EXPECT_EQ(buffer.EolStyle(), EOL_MAC);
    }
    EXPECT_TRUE(view.log.empty());
    g_failReadAfter = -1;
    EXPECT_TRUE(buffer.LoadFile(path.c_str(), EOL_AUTO));
    buffer.DetachView(&view);
}

TEST_F(FileFaults, AFailedOrShortWriteLeavesTheOldFileAndNoTemporaryFile)
{
    const std::string path = dir.File("target.nc");
    WriteBytes(path, "old contents\r\n");
    const std::string program = BigProgram();
    const std::string source = dir.File("source.nc");
    WriteBytes(source, program);
    CTextBuffer buffer;
    ASSERT_TRUE(buffer.LoadFile(source.c_str(), EOL_AUTO));
    std::filesystem::remove(source);
    int endLine = 0, endChar = 0;
    buffer.RawInsert(nullptr, 0, 0, "edited ", endLine, endChar);

    for (int after : {0, 1}) {
        g_failWriteAfter = after;
        EXPECT_FALSE(buffer.SaveFile(path.c_str(), EOL_AUTO, true));
        g_failWriteAfter = -1;
        g_shortWriteAfter = after;
        EXPECT_FALSE(buffer.SaveFile(path.c_str(), EOL_AUTO, true));
        g_shortWriteAfter = -1;
        EXPECT_EQ(ReadBytes(path), "old contents\r\n");
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
        EXPECT_TRUE(buffer.IsModifiedFlag());
    }
    ASSERT_TRUE(buffer.SaveFile(path.c_str(), EOL_AUTO, true));
    EXPECT_TRUE(ReadBytes(path) == "edited " + program);
}

}  // namespace
