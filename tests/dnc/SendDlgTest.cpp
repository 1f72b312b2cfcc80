// Sending on a pseudo-terminal: what reaches the machine byte for byte,
// when it starts, DC3 and DC1 as the machine sends them, Cancel against a
// machine that never lets go, a machine that hangs up, and the text as it
// was at Start whatever the user does afterwards.
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include "CGradientProgress.h"
#include "CPortSettingsDlg.h"
#include "CSendDlg.h"
#include "CSerialComm.h"
#include "CTextBuffer.h"
#include "Crc32.h"
#include "SendWorker.h"
#include "DncFixture.h"
#include "TempDir.h"

namespace {

class SendTest : public DncTest
{
protected:
    // A buffer holding the file bytes, read as the program reads it.
    void Load(const std::string& bytes)
    {
        WriteBytes(dir.File("p.nc"), bytes);
        ASSERT_TRUE(buffer.LoadFile(dir.File("p.nc").c_str(), EOL_AUTO));
    }
    // A program of lines numbered lines.
    static std::string Program(int lines)
    {
        std::string text;
        for (int i = 0; i < lines; ++i)
            text += "N" + std::to_string(i) + " G01 X" + std::to_string(i % 97) + ".5 Y-3.25 F200\r\n";
        return text;
    }
    static std::string WithLf(std::string text)
    {
        std::string out;
        for (char c : text)
            if (c != '\r')
                out += c;
        return out;
    }
    std::unique_ptr<CSendDlg> Dialog()
    {
        auto dialog = std::make_unique<CSendDlg>(&buffer, QStringLiteral("/nc/p.nc"));
        dialog->show();
        return dialog;
    }
    PortSettings FromComputer(int xonXoff)
    {
        PortSettings settings;
        settings.xonXoff = xonXoff;
        settings = UseMachine(TransferKind::Send, settings);
        return settings;
    }
    void ChooseStartFromComputer(CSendDlg& dialog)
    {
        // The settings dialog as the user works it: "从计算机开始", OK.
        QTimer::singleShot(0, [] {
            auto* settings = dynamic_cast<CSendSettingsDlg*>(QApplication::activeModalWidget());
            ASSERT_TRUE(settings);
            settings->findChild<QCheckBox*>(QStringLiteral("check1019"))->click();
            settings->accept();
        });
        dialog.OnSettings();
        ASSERT_EQ(dialog.Settings().startFromMachine, 0);
    }

    TempDir dir;
    CTextBuffer buffer;
};

TEST_F(SendTest, WithTheDefaultsNothingGoesBeforeTheMachinesDc1AndThenEveryLineEndsInLf)
{
    Load("A\r\nB\r\nC\r\n");
    UseMachine(TransferKind::Send);
    auto dialog = Dialog();
    EXPECT_TRUE(dialog->findChild<QLabel*>(QStringLiteral("program"))->text().contains(QStringLiteral("p.nc")));
    dialog->OnStart();
    ASSERT_TRUE(dialog->IsSending());
    EXPECT_EQ(dialog->findChild<QPlainTextEdit*>()->toPlainText(), QStringLiteral("正在机床等待接收！"));
    EXPECT_TRUE(machine.ReadFor(300).isEmpty());
    EXPECT_EQ(dialog->WorkerPauseCount(), 1);

    machine.Send("\x11");
    ASSERT_TRUE(WaitFor([&] { return !dialog->IsSending(); }));
    EXPECT_EQ(machine.Poll(), QByteArray("A\nB\nC\n"));
    EXPECT_EQ(dialog->findChild<QPlainTextEdit*>()->toPlainText(), QStringLiteral("全部文件发送完毕!"));
    EXPECT_EQ(dialog->findChild<CGradientProgress*>()->GetPos(), 100);
    // On the way the bar showed the line under way: 0, 33 and 66 of three;
    // a million lines later it still counts without overflowing.
    EXPECT_EQ(SendWorker::Percent(0, 3), 0);
    EXPECT_EQ(SendWorker::Percent(1, 3), 33);
    EXPECT_EQ(SendWorker::Percent(2, 3), 66);
    EXPECT_EQ(SendWorker::Percent(3499999, 3500000), 99);
    EXPECT_FALSE(dialog->Comm()->PortOpen());
    const QString crc = QStringLiteral("%1").arg(Crc32(0, "A\nB\nC\n", 6), 8, 16, QLatin1Char('0')).toUpper();
    EXPECT_TRUE(dialog->StatusText().contains(QStringLiteral("6 字节"))) << dialog->StatusText().toStdString();
    EXPECT_TRUE(dialog->StatusText().contains(crc)) << dialog->StatusText().toStdString();
}

TEST_F(SendTest, FromTheComputerWithXonXoffItStartsAtOnceAndDc3PausesTillDc1)
{
    const std::string program = Program(20000);
    Load(program);
    FromComputer(1);
    auto dialog = Dialog();
    ChooseStartFromComputer(*dialog);
    dialog->OnStart();
    ASSERT_TRUE(machine.ReadUntil([](const QByteArray& got) { return got.size() > 1000; }));
    machine.Send("\x13");
    ASSERT_TRUE(WaitFor([&] { return dialog->WorkerPauseCount() == 1; }));
    EXPECT_EQ(dialog->StatusText(), QStringLiteral("接收到DC3,挂起传输"));
    // At most the line under way still arrives; then the line is quiet.
    machine.ReadFor(100);
    const qsizetype paused = machine.Poll().size();
    EXPECT_EQ(machine.ReadFor(300).size(), paused);
    EXPECT_EQ(machine.Received().back(), '\n');
    machine.Send("\x11");
    ASSERT_TRUE(machine.ReadUntil([&](const QByteArray&) { return !dialog->IsSending(); }, 20000));
    EXPECT_EQ(dialog->StatusText().left(4), QStringLiteral("已发送 "));
    EXPECT_TRUE(machine.Poll() == QByteArray::fromStdString(WithLf(program)));
}

TEST_F(SendTest, PausesNestAndEveryByteOfAReadIsLookedAt)
{
    // Long enough to be under way still when the controls arrive.
    const std::string program = Program(20000);
    Load(program);
    UseMachine(TransferKind::Send);
    auto dialog = Dialog();
    dialog->OnStart();
    // Noise around the controls, in one write: resumed, paused twice.
    machine.Send(QByteArray("%\x00\x11G\x13\x13\xFFM30", 10));
    ASSERT_TRUE(WaitFor([&] { return dialog->WorkerPauseCount() == 2; }));
    EXPECT_EQ(dialog->StatusText(), QStringLiteral("接收到DC3,挂起传输"));
    machine.Send("\x11");
    ASSERT_TRUE(WaitFor([&] { return dialog->WorkerPauseCount() == 1; }));
    EXPECT_EQ(dialog->StatusText(), QStringLiteral("接收到DC1,继续传输"));
    const qsizetype before = machine.ReadFor(200).size();
    EXPECT_EQ(machine.ReadFor(200).size(), before);
    machine.Send("\x11\x11");  // the second finds it running: no effect
    ASSERT_TRUE(machine.ReadUntil([&](const QByteArray&) { return !dialog->IsSending(); }, 20000));
    EXPECT_TRUE(machine.Poll() == QByteArray::fromStdString(WithLf(program)));
}

TEST_F(SendTest, FromTheComputerWithoutHandshakeItWaitsForDc1)
{
    Load("G00 X1\r\nM30\r\n");
    FromComputer(0);
    auto dialog = Dialog();
    ChooseStartFromComputer(*dialog);
    dialog->OnStart();
    EXPECT_TRUE(machine.ReadFor(300).isEmpty());
    machine.Send("\x11");
    ASSERT_TRUE(machine.ReadUntil([](const QByteArray& got) { return got == "G00 X1\nM30\n"; }))
        << machine.Received().toHex().toStdString() << " " << dialog->StatusText().toStdString() << " "
        << dialog->WorkerPauseCount();
}

TEST_F(SendTest, CancelEndsATransferThatTheMachineHoldsForever)
{
    Load(Program(5000));
    UseMachine(TransferKind::Send);
    auto dialog = Dialog();
    dialog->OnStart();
    machine.Send("\x11");
    ASSERT_TRUE(machine.ReadUntil([](const QByteArray& got) { return got.size() > 100; }));
    machine.Send("\x13");
    ASSERT_TRUE(WaitFor([&] { return dialog->WorkerPauseCount() == 1; }));
    QElapsedTimer clock;
    clock.start();
    dialog->findChild<QPushButton*>(QStringLiteral("button1005"))->click();
    EXPECT_LT(clock.elapsed(), 1000);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_FALSE(dialog->IsSending());
    EXPECT_FALSE(dialog->Comm()->PortOpen());
}

TEST_F(SendTest, CancelEndsATransferToAMachineThatStoppedReading)
{
    // The machine never reads: the line fills up and the worker waits on it.
    Load(Program(50000));
    FromComputer(1);
    auto dialog = Dialog();
    ChooseStartFromComputer(*dialog);
    dialog->OnStart();
    QTest::qWait(300);
    QElapsedTimer clock;
    clock.start();
    dialog->reject();
    EXPECT_LT(clock.elapsed(), 1000);
    EXPECT_FALSE(dialog->IsSending());
}

TEST_F(SendTest, AMachineThatHangsUpEndsTheTransferAndSaysSo)
{
    Load(Program(50000));
    FromComputer(1);
    auto dialog = Dialog();
    ChooseStartFromComputer(*dialog);
    dialog->OnStart();
    ASSERT_TRUE(machine.ReadUntil([](const QByteArray& got) { return got.size() > 1000; }));
    machine.HangUp();
    ASSERT_TRUE(WaitFor([&] { return !dialog->IsSending(); }));
    EXPECT_TRUE(dialog->StatusText().contains(QStringLiteral("断开"))) << dialog->StatusText().toStdString();
    EXPECT_FALSE(dialog->Comm()->PortOpen());
    EXPECT_NE(dialog->findChild<QPlainTextEdit*>()->toPlainText(), QStringLiteral("全部文件发送完毕!"));
    // The interface goes on: a new Start is refused with a message.
    dialog->OnStart();
    EXPECT_FALSE(dialog->IsSending());
}

TEST_F(SendTest, WhatIsSentIsTheTextAsItWasAtStart)
{
    Load("G00 X1\r\nG01 Y2\r\nM30\r\n");
    UseMachine(TransferKind::Send);
    auto dialog = Dialog();
    dialog->OnStart();
    int endLine = 0, endChar = 0;
    ASSERT_TRUE(buffer.InsertText(nullptr, 1, 0, "M00\r\n", endLine, endChar, ACTION_PASTE));
    ASSERT_TRUE(buffer.DeleteText(nullptr, 0, 0, 0, 3, ACTION_DELETE));
    machine.Send("\x11");
    ASSERT_TRUE(WaitFor([&] { return !dialog->IsSending(); }));
    EXPECT_EQ(machine.Poll(), QByteArray("G00 X1\nG01 Y2\nM30\n"));
}

TEST_F(SendTest, NewSettingsDuringATransferStopItAndAStartBeginsAgainFromTheTop)
{
    Load("N1\r\nN2\r\nN3\r\n");
    UseMachine(TransferKind::Send);
    auto dialog = Dialog();
    dialog->OnStart();
    dialog->OnStart();  // a second Start replaces the waiting worker
    EXPECT_EQ(dialog->WorkerPauseCount(), 1);
    QTimer::singleShot(0, [] { QApplication::activeModalWidget()->findChild<QPushButton*>(QStringLiteral("button1"))->click(); });
    dialog->OnSettings();
    EXPECT_FALSE(dialog->IsSending());
    EXPECT_FALSE(dialog->Comm()->PortOpen());
    EXPECT_TRUE(dialog->findChild<QPlainTextEdit*>()->toPlainText().endsWith(QStringLiteral("已准备好发送!")));
    machine.Send("\x11");
    EXPECT_TRUE(machine.ReadFor(200).isEmpty());
    dialog->OnStart();
    machine.Send("\x11");
    ASSERT_TRUE(WaitFor([&] { return !dialog->IsSending(); }));
    EXPECT_EQ(machine.Poll(), QByteArray("N1\nN2\nN3\n"));
}

TEST_F(SendTest, AnEmptyProgramIsNotSentAndALastLineWithoutLineEndGetsOne)
{
    Load("");
    UseMachine(TransferKind::Send);
    auto dialog = Dialog();
    dialog->OnStart();
    EXPECT_FALSE(dialog->IsSending());
    EXPECT_FALSE(dialog->Comm()->PortOpen());
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], QStringLiteral("没有文件可传输!"));

    Load("G00\r\n\r\nM30");
    dialog->OnStart();
    machine.Send("\x11");
    ASSERT_TRUE(WaitFor([&] { return !dialog->IsSending(); }));
    EXPECT_EQ(machine.Poll(), QByteArray("G00\n\nM30\n"));
}

}  // namespace
