// Tests of the ncgen command: it runs the built program and checks its exit
// status, its messages and that it writes what the library writes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>

#include "NcGen.h"
#include "NcGenOptions.h"

namespace {

class NcGenCli : public ::testing::Test
{
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/ncgen-cli-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        m_dir = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }

    // Runs ncgen with the arguments; its stdout and stderr land in out and err.
    int Run(const std::string& arguments)
    {
        const std::string command = std::string(NCGEN_PATH) + " " + arguments + " >" + Path("stdout") + " 2>" +
                                    Path("stderr");
        const int status = std::system(command.c_str());
        out = Read(Path("stdout"));
        err = Read(Path("stderr"));
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::string Path(const std::string& name) const { return (m_dir / name).string(); }
    static std::string Read(const std::string& path)
    {
        std::ifstream file(path, std::ios::binary);
        std::ostringstream text;
        text << file.rdbuf();
        return text.str();
    }

    std::filesystem::path m_dir;
    std::string out, err;
};

TEST_F(NcGenCli, HelpPrintsUsageAndSucceeds)
{
    EXPECT_EQ(Run("--help"), 0);
    EXPECT_NE(out.find("usage: ncgen"), std::string::npos);
    EXPECT_EQ(err, "");
}

TEST_F(NcGenCli, BadUsageExitsTwoWithAMessageAndWritesNothing)
{
    for (const char* arguments :
         {"--lines", "--lines abc", "--lines 0", "--lines 12K", "--size 12Q", "--size K", "--size 99999999999G",
          "--eol crlf", "--seed -1", "--frobnicate", "program.nc", "--lines 10 --size 1K"}) {
        EXPECT_EQ(Run(arguments), 2) << arguments;
        EXPECT_EQ(out, "") << arguments;
        EXPECT_NE(err.find("ncgen:"), std::string::npos) << arguments;
    }
}

TEST_F(NcGenCli, WritesTheLibrarysProgramForItsOptions)
{
    const std::string file = Path("part.nc");
    EXPECT_EQ(Run("--lines 500 --eol unix --seed 9 -o " + file), 0);
    EXPECT_EQ(out, "");
    EXPECT_EQ(Read(file), GenerateNcString(Options(500, 0, NCGEN_EOL_UNIX, 9)));

    EXPECT_EQ(Run("--size 2K --eol mac"), 0);
    EXPECT_EQ(out, GenerateNcString(Options(0, 2048, NCGEN_EOL_MAC, 1)));
    EXPECT_EQ(Run("--size=1M --seed=4"), 0);
    EXPECT_EQ(out, GenerateNcString(Options(0, 1 << 20, NCGEN_EOL_DOS, 4)));

    EXPECT_EQ(Run(""), 0);  // the defaults
    EXPECT_EQ(out, GenerateNcString(Options(1000, 0, NCGEN_EOL_DOS, 1)));
    EXPECT_EQ(err, "");
}

TEST_F(NcGenCli, OutputThatCannotBeWrittenExitsOne)
{
    EXPECT_EQ(Run("--lines 100 -o " + Path("missing/part.nc")), 1);
    EXPECT_NE(err.find("part.nc"), std::string::npos);

    if (!std::filesystem::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full here";
    EXPECT_EQ(Run("--lines 100 -o /dev/full"), 1);  // small enough to sit in the stdio buffer until the end
    EXPECT_NE(err.find("/dev/full"), std::string::npos);
    EXPECT_EQ(Run("--size 8M -o /dev/full"), 1);
}

}  // namespace
