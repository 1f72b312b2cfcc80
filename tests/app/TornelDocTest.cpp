// The NC program document: new, open (good, empty, missing, unreadable),
// save, re-interpretation after edits, the read-only switch with its message
// and check mark, and the two links between editor lines and toolpath records.
#include <gtest/gtest.h>

#include <QApplication>
#include <QStringList>
#include <QThread>
#include <clocale>
#include <filesystem>
#include <cstdlib>
#include <sys/stat.h>

#include "AfxMessageBox.h"
#include "CTornelDoc.h"
#include "CView.h"
#include "DocumentLinks.h"
#include "TempDir.h"
#include "WorkedExample.h"
#include "ids.h"

namespace {


class DocTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SetMessageBoxHook([this](const QString& text, unsigned type) {
            messages << text;
            types.push_back(type);
            return IDOK;
        });
    }
    void TearDown() override { SetMessageBoxHook({}); }

    QString Write(const std::string& name, const std::string& bytes)
    {
        const std::string path = dir.File(name);
        WriteBytes(path, bytes);
        return QString::fromStdString(path);
    }

    TempDir dir;
    QStringList messages;
    std::vector<unsigned> types;
};

class CodeView : public CView, public CRunningLineView
{
public:
    void MarkRunningLine(int line) override { marked.push_back(line); }
    void OnUpdate(CView*, long hint, CObject*) override { updates.push_back(hint); }
    std::vector<int> marked;
    std::vector<long> updates;
};

class SimView : public CView, public CMoveSelectionView
{
public:
    void SelectMoveByLine(int line) override { selected.push_back(line); }
    void OnUpdate(CView*, long, CObject*) override { ++updates; }
    std::vector<int> selected;
    int updates = 0;
};

TEST_F(DocTest, OpenInterpretsTheProgramAndCopiesTheStatistics)
{
    CTornelDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(Write("p.nc", kWorkedExample)));
    EXPECT_EQ(doc.TextBuffer().LineCount(), 5);
    EXPECT_EQ(doc.m_rapidDistance, 11.0);
    EXPECT_NEAR(doc.m_feedDistance, 103.1238898038469, 1e-12);
    EXPECT_NEAR(doc.m_machiningTime, 0.5456194490192345, 1e-12);
    EXPECT_FALSE(doc.Warnings().Any());
    EXPECT_EQ(doc.Interpreter().Moves().size(), 5u);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_FALSE(doc.TextBuffer().IsReadOnly());
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_EQ(doc.Font().lfWeight, 900);
    EXPECT_EQ(doc.Font().lfFaceName, QStringLiteral("宋体"));
    EXPECT_EQ(doc.Font().lfHeight, 0);
}

// A desktop program runs with the user's locale; a comma-decimal one must not
// change how coordinates are read.
TEST_F(DocTest, TheUsersLocaleDoesNotChangeTheNumbers)
{
    const std::string locales = dir.File("locales");
    const std::string command = "localedef -i de_DE -f UTF-8 '" + locales + "/de_DE.UTF-8' >/dev/null 2>&1";
    std::filesystem::create_directories(locales);
    if (std::system(command.c_str()) != 0)
        GTEST_SKIP() << "localedef cannot build a comma-decimal locale here";
    ::setenv("LOCPATH", locales.c_str(), 1);
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr);
    ASSERT_STREQ(std::localeconv()->decimal_point, ",");
    CTornelDoc doc;
    const bool opened = doc.OnOpenDocument(Write("l.nc", "G1 X1.5 F0.5\r\nY2.25\r\n"));
    std::setlocale(LC_ALL, "C");
    ::unsetenv("LOCPATH");
    ASSERT_TRUE(opened);
    EXPECT_EQ(doc.m_feedDistance, 1.5 + 2.25);
    EXPECT_EQ(doc.m_machiningTime, (1.5 + 2.25) / 0.5);
}

TEST_F(DocTest, AnEmptyFileOpensWithOneLineAndNoMoves)
{
    CTornelDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(Write("empty.nc", "")));
    EXPECT_EQ(doc.TextBuffer().LineCount(), 1);
    EXPECT_EQ(doc.Interpreter().Moves().size(), 0u);
    EXPECT_EQ(doc.m_machiningTime, 0.0);
    EXPECT_EQ(doc.m_feedDistance, 0.0);
    EXPECT_EQ(doc.m_rapidDistance, 0.0);
}

TEST_F(DocTest, FilesThatCannotBeOpenedAreReportedAndLeaveNoText)
{
    CTornelDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(Write("p.nc", kWorkedExample)));
    EXPECT_FALSE(doc.OnOpenDocument(QString::fromStdString(dir.File("missing.nc"))));
    EXPECT_FALSE(doc.OnOpenDocument(QString::fromStdString(dir.Path().string())));
    ASSERT_EQ(messages.size(), 2);
    EXPECT_TRUE(messages[0].contains(QStringLiteral("missing.nc")));
    EXPECT_TRUE(messages[1].contains(QStringLiteral("文件夹")));
}

TEST_F(DocTest, ANewDocumentIsEmptyWritableAndUninterpreted)
{
    CTornelDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(Write("p.nc", std::string(kWorkedExample) + "\r\ng1 x1")));
    ASSERT_TRUE(doc.Warnings().Any());
    ASSERT_TRUE(doc.OnNewDocument());
    EXPECT_EQ(doc.TextBuffer().LineCount(), 1);
    EXPECT_EQ(doc.TextBuffer().LineLength(0), 0);
    EXPECT_EQ(doc.TextBuffer().EolStyle(), EOL_DOS);
    EXPECT_EQ(doc.m_machiningTime, 0.0);
    EXPECT_EQ(doc.m_rapidDistance, 0.0);
    EXPECT_FALSE(doc.Warnings().Any());
    EXPECT_FALSE(doc.TextBuffer().IsReadOnly());
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(DocTest, EditsSetTheModifiedFlagAndSavingClearsIt)
{
    CTornelDoc doc;
    const QString path = Write("p.nc", kWorkedExample);
    ASSERT_TRUE(doc.OnOpenDocument(path));
    int endLine = 0, endChar = 0;
    ASSERT_TRUE(doc.TextBuffer().InsertText(nullptr, 4, 10, "\r\nM30", endLine, endChar, ACTION_TYPING));
    EXPECT_TRUE(doc.IsModified());
    // The document's buffer keeps no flag of its own.
    EXPECT_FALSE(doc.TextBuffer().IsModifiedFlag());
    ASSERT_TRUE(doc.OnSaveDocument(path));
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(ReadBytes(path.toStdString()), std::string(kWorkedExample) + "\r\nM30");

    // Undoing back to the saved text keeps the document modified (the rules
    // that clear it look at the buffer's own flag).
    TextPos point;
    ASSERT_TRUE(doc.TextBuffer().InsertText(nullptr, 0, 0, "X", endLine, endChar, ACTION_TYPING));
    ASSERT_TRUE(doc.TextBuffer().Undo(point));
    EXPECT_TRUE(doc.IsModified());

    // A failed save reports failure and keeps the flag.
    EXPECT_FALSE(doc.OnSaveDocument(QString::fromStdString(dir.File("no/such/dir.nc"))));
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(DocTest, ReinterpretationShowsTheEditedTextOnlyWhenAskedFor)
{
    CTornelDoc doc;
    CodeView code;
    SimView sim;
    doc.AddView(&code);
    doc.AddView(&sim);
    ASSERT_TRUE(doc.OnOpenDocument(Write("p.nc", kWorkedExample)));
    int endLine = 0, endChar = 0;
    ASSERT_TRUE(doc.TextBuffer().InsertText(nullptr, 4, 10, "\r\nG00 X0", endLine, endChar, ACTION_PASTE));
    EXPECT_EQ(doc.Interpreter().Moves().size(), 5u);  // editing does not re-run
    EXPECT_EQ(doc.m_rapidDistance, 11.0);

    doc.OnCmdMsg(ID_NC_UPDATEVIEWS, nullptr);
    EXPECT_EQ(doc.Interpreter().Moves().size(), 6u);
    EXPECT_EQ(doc.m_rapidDistance, 11.0 + 60.0);
    EXPECT_EQ(code.updates, (std::vector<long>{0}));
    EXPECT_EQ(sim.updates, 1);

    // The views see the warnings of the new interpretation, and only then.
    EXPECT_FALSE(doc.Warnings().Any());
    ASSERT_TRUE(doc.TextBuffer().InsertText(nullptr, 5, 6, "\r\nG81 Z-5 R1", endLine, endChar, ACTION_PASTE));
    EXPECT_FALSE(doc.Warnings().Any());
    doc.OnCmdMsg(ID_NC_UPDATEVIEWS, nullptr);
    EXPECT_EQ(doc.Warnings().lines, 1);
    EXPECT_EQ(doc.Warnings().firstLine, 6);
    EXPECT_EQ(doc.Warnings().kinds[WARNING_CANNED_CYCLE], 1);
}

TEST_F(DocTest, ReadOnlyToggleTellsTheUserOnlyWhenTurningItOn)
{
    CTornelDoc doc;
    ASSERT_TRUE(doc.OnNewDocument());
    CCmdUI ui(ID_EDIT_READONLY);
    ASSERT_TRUE(doc.OnCmdMsg(ID_EDIT_READONLY, &ui));
    EXPECT_TRUE(ui.m_enabled);
    EXPECT_EQ(ui.m_check, 0);

    ASSERT_TRUE(doc.OnCmdMsg(ID_EDIT_READONLY, nullptr));
    EXPECT_TRUE(doc.TextBuffer().IsReadOnly());
    ASSERT_EQ(messages, QStringList{QStringLiteral("文档将被设为只读！")});
    EXPECT_EQ(types, std::vector<unsigned>{MB_OK});
    doc.OnCmdMsg(ID_EDIT_READONLY, &ui);
    EXPECT_EQ(ui.m_check, 1);
    int endLine = 0, endChar = 0;
    EXPECT_FALSE(doc.TextBuffer().InsertText(nullptr, 0, 0, "x", endLine, endChar, ACTION_TYPING));

    doc.OnCmdMsg(ID_EDIT_READONLY, nullptr);
    EXPECT_FALSE(doc.TextBuffer().IsReadOnly());
    EXPECT_EQ(messages.size(), 1);  // silently writable again
    doc.OnCmdMsg(ID_EDIT_READONLY, &ui);
    EXPECT_EQ(ui.m_check, 0);
}

TEST_F(DocTest, AReadOnlyFileOpensReadOnly)
{
    CTornelDoc doc;
    const QString path = Write("ro.nc", kWorkedExample);
    ASSERT_EQ(::chmod(path.toLocal8Bit().constData(), 0444), 0);
    ASSERT_TRUE(doc.OnOpenDocument(path));
    EXPECT_TRUE(doc.TextBuffer().IsReadOnly());
    CCmdUI ui(ID_EDIT_READONLY);
    doc.OnCmdMsg(ID_EDIT_READONLY, &ui);
    EXPECT_EQ(ui.m_check, 1);
}

TEST_F(DocTest, LinksReachTheFirstViewOfTheRightKind)
{
    CTornelDoc doc;
    CView plain;
    SimView sim1, sim2;
    CodeView code1, code2;
    doc.AddView(&plain);
    doc.AddView(&sim1);
    doc.AddView(&code1);
    doc.AddView(&sim2);
    doc.AddView(&code2);
    ASSERT_TRUE(doc.OnOpenDocument(Write("p.nc", kWorkedExample)));

    doc.ShowLine(3);
    doc.ShowLine(5);   // beyond the text: the text was shortened since
    doc.ShowLine(-1);
    EXPECT_EQ(code1.marked, (std::vector<int>{3}));
    EXPECT_TRUE(code2.marked.empty());

    doc.ShowLineInSimulation(2);
    EXPECT_EQ(sim1.selected, (std::vector<int>{2}));
    EXPECT_TRUE(sim2.selected.empty());

    doc.RemoveView(&code1);
    doc.ShowLine(1);
    EXPECT_EQ(code2.marked, (std::vector<int>{1}));
}

TEST_F(DocTest, TheCalculatorIsTheFirstOneInstalled)
{
    // Two calculators on the path: the earlier in the list starts.
    const std::string marker = dir.File("started");
    for (const std::string name : {"galculator", "xcalc"}) {
        const std::string script = dir.File(name);
        WriteBytes(script, "#!/bin/sh\necho " + name + " > '" + marker + "'\n");
        chmod(script.c_str(), 0755);
    }
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QByteArray::fromStdString(dir.File("")));
    CTornelDoc doc;
    ASSERT_TRUE(doc.OnNewDocument());
    EXPECT_TRUE(doc.OnCmdMsg(ID_NC_CALCULATOR, nullptr));
    qputenv("PATH", path);
    std::string started;
    for (int i = 0; i < 100 && started.empty(); ++i) {
        QThread::msleep(20);
        if (std::filesystem::exists(marker))
            started = ReadBytes(marker);
    }
    EXPECT_EQ(started, "galculator\n");
    // None installed: nothing happens, and nothing is said.
    qputenv("PATH", QByteArray::fromStdString(dir.File("none")));
    EXPECT_TRUE(doc.OnCmdMsg(ID_NC_CALCULATOR, nullptr));
    qputenv("PATH", path);
    EXPECT_TRUE(messages.isEmpty());
}

}  // namespace

int main(int argc, char** argv)
{
    // The tests need no display; test discovery runs this without ctest's
    // environment.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // QApplication adopts the user's locale for the C library; the tests set
    // the one they need.
    std::setlocale(LC_ALL, "C");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
