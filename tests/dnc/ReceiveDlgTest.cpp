// Receiving on a pseudo-terminal: "Temp.txt" holds exactly what came, the
// label counts lines with its full stops, Start asks the machine to send,
// silence without data keeps waiting, a flood loses nothing, and a file
// that cannot be written loses nothing either.
#include <QDir>
#include <QLabel>
#include <QPlainTextEdit>

#include "CReceiveDlg.h"
#include "CSerialComm.h"
#include "Crc32.h"
#include "DncFixture.h"
#include "TempDir.h"

namespace {

class ReceiveTest : public DncTest
{
protected:
    std::unique_ptr<CReceiveDlg> Dialog(int timeoutMs, int xonXoff = 1, int rtsCts = 0)
    {
        PortSettings settings;
        settings.timeoutMs = timeoutMs;
        settings.xonXoff = xonXoff;
        settings.rtsCts = rtsCts;
        UseMachine(TransferKind::Receive, settings);
        auto dialog = std::make_unique<CReceiveDlg>();
        dialog->show();
        return dialog;
    }
    static QString Label(const CReceiveDlg& dialog)
    {
        return dialog.findChild<QLabel*>(QStringLiteral("label1038"))->text();
    }
    static QByteArray TempFile()
    {
        QFile file(QStringLiteral("Temp.txt"));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(none)");
    }
};

TEST_F(ReceiveTest, TwoLinesThenSilenceWriteExactlyTheirBytesAndTheLabelCounts)
{
    auto dialog = Dialog(400);
    dialog->OnStart();
    // With XON/XOFF, Start asks the machine to send.
    ASSERT_TRUE(machine.ReadUntil([](const QByteArray& got) { return got == "\x11"; }));
    machine.Send("G00 X1\r\n");
    ASSERT_TRUE(WaitFor([&] { return Label(*dialog) == QStringLiteral("接收代码的第1行."); }));
    EXPECT_EQ(dialog->findChild<QPlainTextEdit*>()->toPlainText(), QStringLiteral("G00 X1"));
    machine.Send("M30\r\n");
    ASSERT_TRUE(WaitFor([&] { return Label(*dialog) == QStringLiteral("接收代码的第2行.."); }));
    EXPECT_TRUE(dialog->isVisible());
    ASSERT_TRUE(WaitFor([&] { return !dialog->isVisible(); }));
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(TempFile(), QByteArray("G00 X1\r\nM30\r\n"));
    EXPECT_EQ(dialog->SavedPath(), QDir::current().absoluteFilePath(QStringLiteral("Temp.txt")));
    EXPECT_EQ(dialog->ReceivedCrc(), Crc32(0, "G00 X1\r\nM30\r\n", 13));
    EXPECT_FALSE(dialog->Comm()->PortOpen());
}

TEST_F(ReceiveTest, TheFullStopsRunUpToSixAndStartAgainAtTheSeventhLine)
{
    auto dialog = Dialog(5000, 0);
    dialog->OnStart();
    const QString expected[] = {QStringLiteral("第6行......"), QStringLiteral("第7行"), QStringLiteral("第8行.")};
    for (int line = 1; line <= 8; ++line) {
        machine.Send("N" + QByteArray::number(line) + "\n");
        ASSERT_TRUE(WaitFor([&] { return dialog->LineCount() == line; }));
        if (line >= 6) {
            ASSERT_TRUE(WaitFor([&] { return Label(*dialog) == QStringLiteral("接收代码的") + expected[line - 6]; }))
                << Label(*dialog).toStdString();
        }
    }
    // Without XON/XOFF nothing was written to the machine.
    EXPECT_TRUE(machine.Poll().isEmpty());
    dialog->reject();
}

TEST_F(ReceiveTest, AnUnfinishedLastLineGarbageAndNulBytesAreKept)
{
    auto dialog = Dialog(300);
    dialog->OnStart();
    QByteArray sent("%\r\nO0001\n", 10);
    sent.append(QByteArray("\x00\xFF\x13\x7F\xB0\xA1\r\r\n", 9));
    sent.append("M30");  // no line end
    machine.Send(sent);
    ASSERT_TRUE(WaitFor([&] { return !dialog->isVisible(); }));
    EXPECT_EQ(TempFile(), sent);
    EXPECT_EQ(dialog->LineCount(), 3);
}

TEST_F(ReceiveTest, StartWithoutDataKeepsWaiting)
{
    auto dialog = Dialog(100);
    dialog->OnStart();
    QTest::qWait(500);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(TempFile(), QByteArray("(none)"));
    // Cancel with nothing received asks nothing and writes nothing.
    dialog->reject();
    EXPECT_TRUE(messages.empty());
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_FALSE(QFile::exists(QStringLiteral("Temp.txt")));
}

TEST_F(ReceiveTest, AFloodOfTenMegabytesArrivesWhole)
{
    auto dialog = Dialog(300);
    dialog->OnStart();
    QByteArray sent;
    sent.reserve(10 * 1024 * 1024);
    for (int i = 0; sent.size() < 10 * 1024 * 1024; ++i)
        sent.append("N" + QByteArray::number(i) + " G01 X" + QByteArray::number(i % 1000) + " Y-2.5 F300\r\n");
    machine.Send(sent);
    ASSERT_TRUE(WaitFor([&] { return !dialog->isVisible(); }, 20000));
    EXPECT_EQ(dialog->LineCount(), sent.count('\n'));
    EXPECT_TRUE(TempFile() == sent);
}

TEST_F(ReceiveTest, ATempFileThatCannotBeWrittenKeepsTheDataAndIsTriedAgain)
{
    // A folder where the file should be: no writing there, even as root.
    ASSERT_TRUE(QDir::current().mkdir(QStringLiteral("Temp.txt")));
    auto dialog = Dialog(200);
    dialog->OnStart();
    machine.Send("G00 X1\r\nM30\r\n");
    ASSERT_TRUE(WaitFor([&] { return dialog->StatusText().contains(QStringLiteral("不能写入")); }));
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->Received(), QByteArray("G00 X1\r\nM30\r\n"));

    // Cancel asks first; No keeps the dialog and the data.
    answer = IDNO;
    dialog->reject();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].contains(QStringLiteral("13 字节")));
    EXPECT_TRUE(dialog->isVisible());

    // The next tick after the way is clear writes them.
    ASSERT_TRUE(QDir::current().rmdir(QStringLiteral("Temp.txt")));
    ASSERT_TRUE(WaitFor([&] { return !dialog->isVisible(); }));
    EXPECT_EQ(TempFile(), QByteArray("G00 X1\r\nM30\r\n"));
}

TEST_F(ReceiveTest, AMachineThatHangsUpLeavesWhatCameToBeWritten)
{
    auto dialog = Dialog(300);
    dialog->OnStart();
    machine.Send("G00 X1\r\nG01");
    ASSERT_TRUE(WaitFor([&] { return dialog->LineCount() == 1; }));
    machine.HangUp();
    ASSERT_TRUE(WaitFor([&] { return !dialog->isVisible(); }));
    EXPECT_EQ(TempFile(), QByteArray("G00 X1\r\nG01"));
}

// With RTS/CTS, a machine that raises CTS after its last byte (ready for
// more, or simply done) must not keep the program from being written.
TEST_F(ReceiveTest, CtsRaisedAfterTheLastByteStillEndsWithTheFile)
{
    auto dialog = Dialog(200, 0, 1);
    int lines = 0;
    dialog->Comm()->SetLineSource([&](int& now, LineErrorCounts&) {
        now = lines;
        return true;
    });
    dialog->OnStart();
    machine.Send("G00 X1\r\nM30\r\n");
    ASSERT_TRUE(WaitFor([&] { return dialog->LineCount() == 2; }));
    lines = MODEM_CTS;
    ASSERT_TRUE(WaitFor([&] { return !dialog->isVisible(); }));
    EXPECT_EQ(TempFile(), QByteArray("G00 X1\r\nM30\r\n"));
}

// Start again after data came asks before it throws them away.
TEST_F(ReceiveTest, StartAgainAsksBeforeUnsavedDataAreDropped)
{
    auto dialog = Dialog(5000);
    dialog->OnStart();
    machine.Send("G00 X1\r\n");
    ASSERT_TRUE(WaitFor([&] { return dialog->LineCount() == 1; }));
    answer = IDNO;
    dialog->OnStart();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(dialog->Received(), QByteArray("G00 X1\r\n"));
    answer = IDYES;
    dialog->OnStart();
    EXPECT_EQ(messages.size(), 2u);
    EXPECT_TRUE(dialog->Received().isEmpty());
}

}  // namespace
