// The tool library's file: every field through the text and back, the
// user's own edits of the file, bad lines named and bad files set aside,
// and writing in one step.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QString>
#include <cfloat>
#include <cstring>
#include <filesystem>
#include <limits>

#include "TempDir.h"
#include "ToolLibrary.h"
#include "ToolSlotText.h"

namespace {

ToolSlot Tool(int32_t number, const char16_t* name, ToolType type, float d)
{
    ToolSlot tool;
    tool.number = number;
    EXPECT_TRUE(SetToolSlotName(tool, name));
    tool.type = type;
    tool.D = d;
    return tool;
}

// Tools with every field set, names in Chinese, and the extremes of each
// number.
std::vector<ToolSlot> EveryField()
{
    ToolSlot a = Tool(12, u"球头刀φ6", ToolType::SP, 6.0f);
    a.SD = 63.5f;
    a.TD = 0.1;
    a.R = 3.0f;
    a.L = 75.25f;
    a.F = 1.0f / 3.0f;
    a.CL = 40.0f;
    a.CD = 32.0f;
    a.A = 0.0f;
    ToolSlot b = Tool(3, u"锥度刀", ToolType::CO, FLT_MAX);
    b.SD = -FLT_MAX;
    b.TD = DBL_MAX;
    b.R = std::numeric_limits<float>::denorm_min();
    b.L = FLT_MIN;
    b.F = -0.0f;
    b.CL = 1e-30f;
    b.CD = 16777216.0f;
    b.A = 7.5f;
    ToolSlot c = Tool(2147483647, u"", ToolType::DR, 8.5f);
    c.TD = std::numeric_limits<double>::denorm_min();
    c.A = 118.0f;
    ToolSlot d = Tool(0, u"ab\\c d#1", ToolType::BU, 10.0f);
    d.TD = -0.0;
    ToolSlot e = Tool(-4, u"FL", ToolType::FL, 0.0f);
    return {a, b, c, d, e};
}

bool SameSlot(const ToolSlot& a, const ToolSlot& b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

TEST(ToolLibrary, EveryFieldComesBackBitForBitThroughTheFile)
{
    TempDir dir;
    const QString path = QString::fromStdString(dir.File("ToolLibrary.txt"));
    ToolLibrary library;
    for (const ToolSlot& tool : EveryField())
        library.Put(tool);
    // Kept in the order of their numbers.
    ASSERT_EQ(library.Entries().size(), 5u);
    for (size_t i = 1; i < library.Entries().size(); ++i)
        EXPECT_LT(library.Entries()[i - 1].number, library.Entries()[i].number);
    QString message;
    ASSERT_TRUE(library.Save(path, &message)) << message.toStdString();

    ToolLibrary read;
    const ToolLibrary::LoadResult result = read.Load(path);
    EXPECT_EQ(result.status, ToolLibrary::LoadStatus::Loaded);
    EXPECT_TRUE(result.message.isEmpty());
    ASSERT_EQ(read.Entries().size(), library.Entries().size());
    for (const ToolSlot& tool : EveryField()) {
        const ToolSlot* back = read.Find(tool.number);
        ASSERT_TRUE(back) << tool.number;
        EXPECT_TRUE(SameSlot(*back, tool)) << tool.number;
    }

    // A person can read it: the names in UTF-8, one tool a line, its fields
    // between tabs.
    const std::string text = ReadBytes(dir.File("ToolLibrary.txt"));
    EXPECT_NE(text.find("12\t球头刀φ6\tSP\t63.5\t0.1\t3\t75.25\t0.33333334\t6\t40\t32\t0\n"), std::string::npos)
        << text;
    EXPECT_NE(text.find("\n3\t锥度刀\tCO\t"), std::string::npos);
    EXPECT_EQ(text.rfind("# ", 0), 0u);
}

TEST(ToolLibrary, PutReplacesTheEntryOfTheSameNumber)
{
    ToolLibrary library;
    library.Put(Tool(5, u"旧", ToolType::FL, 5.0f));
    library.Put(Tool(1, u"一", ToolType::FL, 1.0f));
    library.Put(Tool(5, u"新", ToolType::BU, 6.0f));
    ASSERT_EQ(library.Entries().size(), 2u);
    ASSERT_TRUE(library.Find(5));
    EXPECT_EQ(ToolSlotName(*library.Find(5)), QStringLiteral("新"));
    EXPECT_EQ(library.Find(5)->D, 6.0f);
    EXPECT_EQ(library.Find(2), nullptr);
}

TEST(ToolLibrary, AFileEditedByHandIsRead)
{
    // A byte order mark, CR LF, comments, blank lines, columns lined up
    // with spaces, any order.
    const QByteArray text = "\xEF\xBB\xBF# my tools\r\n"
                            "\r\n"
                            "  7 \t端铣刀 10\t FL \t 40\t0\t0\t 75\t25\t 10\t30\t20\t0\r\n"
                            "   \n"
                            "2\t\tDR\t0\t0\t0\t50\t40\t6\t0\t0\t118";
    ToolLibrary library;
    ToolLibrary::TextError error;
    ASSERT_TRUE(library.FromText(text, &error)) << error.line << " " << error.reason.toStdString();
    ASSERT_EQ(library.Entries().size(), 2u);
    EXPECT_EQ(library.Entries()[0].number, 2);
    EXPECT_EQ(library.Entries()[0].A, 118.0f);
    const ToolSlot* mill = library.Find(7);
    ASSERT_TRUE(mill);
    EXPECT_EQ(ToolSlotName(*mill), QStringLiteral("端铣刀 10"));
    EXPECT_EQ(mill->type, ToolType::FL);
    EXPECT_EQ(mill->L, 75.0f);
    EXPECT_EQ(mill->D, 10.0f);
}

TEST(ToolLibrary, ABadLineIsNamedAndChangesNothing)
{
    const std::string good = "1\tok\tFL\t0\t0\t0\t0\t0\t10\t0\t0\t0\n";
    struct Case
    {
        std::string line;
        const char* says;
    };
    const Case cases[] = {
        {"2\tx\tFL\t0\t0\t0\t0\t0\t10\t0\t0\n", "实有 11 项"},
        {"2\tx\tFL\t0\t0\t0\t0\t0\t10\t0\t0\t0\t0\n", "实有 13 项"},
        {"2 3 FL 0 0 0 0 0 10 0 0 0\n", "实有 1 项"},
        {"T2\tx\tFL\t0\t0\t0\t0\t0\t10\t0\t0\t0\n", "T 号“T2”"},
        {"2.5\tx\tFL\t0\t0\t0\t0\t0\t10\t0\t0\t0\n", "T 号“2.5”"},
        {"2\tx\tfl\t0\t0\t0\t0\t0\t10\t0\t0\t0\n", "“fl”不是刀具类型"},
        {"2\tx\tFL\t0\t0\t0\t0\t0\t1,5\t0\t0\t0\n", "D 的值“1,5”"},
        {"2\tx\tFL\t1e39\t0\t0\t0\t0\t10\t0\t0\t0\n", "SD 的值“1e39”"},
        {"2\tx\tFL\t0\tnan\t0\t0\t0\t10\t0\t0\t0\n", "TD 的值“nan”"},
        {"2\tx\tFL\t0\t0\t0\t0\t0\t10\t0\t0\t\n", "A 的值“”"},
        {"2\t一二三四五六\tFL\t0\t0\t0\t0\t0\t10\t0\t0\t0\n", "超过 10 个字节"},
        {"2\t\xFF\xFE\tFL\t0\t0\t0\t0\t0\t10\t0\t0\t0\n", "不是 UTF-8"},
        {good, "T1 已在前面出现过"},
    };
    for (const Case& c : cases) {
        ToolLibrary library;
        library.Put(Tool(9, u"kept", ToolType::SP, 9.0f));
        ToolLibrary::TextError error;
        const std::string text = "# header\n" + good + c.line;
        EXPECT_FALSE(library.FromText(QByteArray::fromStdString(text), &error)) << c.line;
        EXPECT_EQ(error.line, 3) << c.line;
        EXPECT_TRUE(error.reason.contains(QString::fromUtf8(c.says))) << error.reason.toStdString();
        ASSERT_EQ(library.Entries().size(), 1u);
        EXPECT_EQ(library.Entries()[0].number, 9);
    }
}

TEST(ToolLibrary, ACorruptFileIsSetAsideNeverLostAndTheLibraryStartsEmpty)
{
    TempDir dir;
    const std::string file = dir.File("ToolLibrary.txt");
    const QString path = QString::fromStdString(file);
    const std::string corrupt = "# tools\n1\tok\tFL\t0\t0\t0\t0\t0\t10\t0\t0\t0\n2\tbroken\n";
    WriteBytes(file, corrupt);

    ToolLibrary library;
    library.Put(Tool(4, u"x", ToolType::FL, 1.0f));
    ToolLibrary::LoadResult result = library.Load(path);
    EXPECT_EQ(result.status, ToolLibrary::LoadStatus::Corrupt);
    EXPECT_TRUE(library.Entries().empty());
    // The message names the file and the line, and where the file went.
    EXPECT_TRUE(result.message.contains(path)) << result.message.toStdString();
    EXPECT_TRUE(result.message.contains(QStringLiteral("第 3 行"))) << result.message.toStdString();
    EXPECT_EQ(result.keptAsPath, path + QStringLiteral(".bad"));
    EXPECT_TRUE(result.message.contains(result.keptAsPath));
    EXPECT_FALSE(std::filesystem::exists(file));
    EXPECT_EQ(ReadBytes(file + ".bad"), corrupt);

    // Saved anew, and corrupted again: the first bad file stays as it was
    // and the second goes beside it under another name.
    library.Put(Tool(4, u"x", ToolType::FL, 1.0f));
    ASSERT_TRUE(library.Save(path));
    WriteBytes(file, "garbage\n");
    result = library.Load(path);
    EXPECT_EQ(result.status, ToolLibrary::LoadStatus::Corrupt);
    EXPECT_TRUE(result.keptAsPath.startsWith(path + QStringLiteral(".bad-"))) << result.keptAsPath.toStdString();
    EXPECT_EQ(ReadBytes(result.keptAsPath.toStdString()), "garbage\n");
    EXPECT_EQ(ReadBytes(file + ".bad"), corrupt);
}

TEST(ToolLibrary, MissingUnreadableAndUnwritableFiles)
{
    TempDir dir;
    ToolLibrary library;
    library.Put(Tool(1, u"a", ToolType::FL, 1.0f));

    // No file yet: an empty library, nothing to say.
    ToolLibrary::LoadResult result = library.Load(QString::fromStdString(dir.File("none.txt")));
    EXPECT_EQ(result.status, ToolLibrary::LoadStatus::Loaded);
    EXPECT_TRUE(result.message.isEmpty());
    EXPECT_TRUE(library.Entries().empty());

    // Something that cannot be read is left alone, and the caller must not
    // write over it.
    const QString folder = QString::fromStdString(dir.File("folder"));
    ASSERT_TRUE(QDir().mkdir(folder));
    result = library.Load(folder);
    EXPECT_EQ(result.status, ToolLibrary::LoadStatus::Unreadable);
    EXPECT_TRUE(result.message.contains(folder));
    EXPECT_TRUE(QFileInfo(folder).isDir());

    // A library that cannot be written says where and why.
    library.Put(Tool(1, u"a", ToolType::FL, 1.0f));
    const QString nowhere = QString::fromStdString(dir.File("no such folder/ToolLibrary.txt"));
    QString message;
    EXPECT_FALSE(library.Save(nowhere, &message));
    EXPECT_TRUE(message.contains(nowhere)) << message.toStdString();
}

TEST(ToolLibrary, SavingReplacesTheFileInOneStep)
{
    TempDir dir;
    const std::string file = dir.File("ToolLibrary.txt");
    WriteBytes(file, "# an older library\n");
    ToolLibrary library;
    library.Put(Tool(3, u"c", ToolType::CO, 3.0f));
    ASSERT_TRUE(library.Save(QString::fromStdString(file)));
    ToolLibrary read;
    read.Load(QString::fromStdString(file));
    ASSERT_EQ(read.Entries().size(), 1u);
    EXPECT_EQ(read.Entries()[0].type, ToolType::CO);
    // No temporary file is left beside it.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), std::filesystem::directory_iterator()),
              1);
}

}  // namespace
