// The serial control on a pseudo-terminal: the line settings it gives the
// device, ports by number through the profile, the lock against a second
// user, the modem-line and error events, output and input, and a device
// that goes away.
#include <QSignalSpy>

#include "ApplyPortSettings.h"
#include "CSerialComm.h"
#include "CWinApp.h"
#include "DncFixture.h"
#include "LineState.h"
#include "TempDir.h"

namespace {

using SerialCommTest = DncTest;

TEST_F(SerialCommTest, SettingsReachTheDeviceIncludingOddRatesAndMarkParity)
{
    CSerialComm comm;
    PortSettings settings = UseMachine(TransferKind::Receive);
    ASSERT_TRUE(ApplyPortSettings(comm, settings, TransferKind::Receive));
    EXPECT_EQ(comm.Settings(), QStringLiteral("9600,n,7,1"));
    LineState line = ReadLineState(machine.Slave());
    // A pseudo-terminal keeps every setting but the character size and the
    // parity switch, which it holds at 8 bits and none.
    EXPECT_EQ(line.speed, 9600u);
    EXPECT_FALSE(line.stick || line.odd || line.twoStopBits || line.rtsCts);
    // Receiving with XON/XOFF: the driver holds the machine back, and passes
    // on every byte that comes.
    EXPECT_TRUE(line.xoff);
    EXPECT_FALSE(line.xon);
    EXPECT_TRUE(line.raw);

    settings.baud = QStringLiteral("56000");
    settings.parity = QStringLiteral("MARK");
    settings.dataBits = QStringLiteral("8");
    settings.stopBits = QStringLiteral("2");
    settings.rtsCts = 1;
    ASSERT_TRUE(ApplyPortSettings(comm, settings, TransferKind::Send));
    line = ReadLineState(machine.Slave());
    EXPECT_EQ(line.speed, 56000u);
    EXPECT_TRUE(line.stick && line.odd && line.twoStopBits && line.rtsCts && line.xoff);
    EXPECT_FALSE(line.xon);
    EXPECT_EQ(comm.Handshaking(), 3);

    settings.parity = QStringLiteral("SPACE");
    settings.baud = QStringLiteral("256000");
    ASSERT_TRUE(ApplyPortSettings(comm, settings, TransferKind::Send));
    line = ReadLineState(machine.Slave());
    EXPECT_EQ(line.speed, 256000u);
    EXPECT_TRUE(line.stick && !line.odd);
    EXPECT_TRUE(messages.empty());
}

TEST_F(SerialCommTest, OneAndAHalfStopBitsOnlyWithFiveDataBits)
{
    CSerialComm comm;
    PortSettings settings = UseMachine(TransferKind::Send);
    settings.stopBits = QStringLiteral("1.5");
    EXPECT_FALSE(ApplyPortSettings(comm, settings, TransferKind::Send));
    EXPECT_FALSE(comm.PortOpen());
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].startsWith(QStringLiteral("不能打开指定的串口！")));
    EXPECT_TRUE(messages[0].contains(QStringLiteral("1.5"))) << messages[0].toStdString();

    settings.dataBits = QStringLiteral("5");
    ASSERT_TRUE(ApplyPortSettings(comm, settings, TransferKind::Send));
    EXPECT_TRUE(ReadLineState(machine.Slave()).twoStopBits);
    // A settings string the line cannot take leaves the old one in force.
    EXPECT_FALSE(comm.SetSettings(QStringLiteral("9600,x,8,1")));
    EXPECT_FALSE(comm.SetSettings(QStringLiteral("fast,n,8,1")));
    EXPECT_EQ(comm.Settings(), QStringLiteral("9600,n,5,1.5"));
}

TEST_F(SerialCommTest, NumberedPortsFollowTheProfileAndTheDefaultDevices)
{
    CSerialComm comm;
    comm.SetCommPort(4);
    EXPECT_EQ(comm.DevicePath(), QStringLiteral("/dev/ttyS3"));
    {
        CWinApp app(QStringLiteral("Tornel"));
        app.SetRegistryKey(QStringLiteral("Halvane"));
        ASSERT_TRUE(app.WriteProfileString(QStringLiteral("Ports"), QStringLiteral("COM3"), machine.Path()));
        PortSettings settings;
        settings.port = QStringLiteral("COM3");
        ASSERT_TRUE(ApplyPortSettings(comm, settings, TransferKind::Receive));
        EXPECT_EQ(comm.CommPort(), 3);
        EXPECT_EQ(comm.DevicePath(), machine.Path());
        comm.SetPortOpen(false);
        app.WriteProfileString(QStringLiteral("Ports"), QStringLiteral("COM3"), QString());
    }
}

TEST_F(SerialCommTest, AnOpenPortIsNotOpenedTwiceAndAMissingOneIsNamed)
{
    CSerialComm first;
    CSerialComm second;
    first.SetDevicePath(machine.Path());
    first.SetPortOpen(true);
    ASSERT_TRUE(first.PortOpen()) << first.LastError().toStdString();
    second.SetDevicePath(machine.Path());
    second.SetPortOpen(true);
    EXPECT_FALSE(second.PortOpen());
    EXPECT_TRUE(second.LastError().contains(QStringLiteral("正被其他程序使用"))) << second.LastError().toStdString();
    first.SetPortOpen(false);
    second.SetPortOpen(true);
    EXPECT_TRUE(second.PortOpen());

    CSerialComm missing;
    missing.SetDevicePath(QStringLiteral("/dev/ttyUSB-not-here"));
    missing.SetPortOpen(true);
    EXPECT_FALSE(missing.PortOpen());
    EXPECT_TRUE(missing.LastError().contains(QStringLiteral("/dev/ttyUSB-not-here")));
    // A file that is no tty is refused, not written to.
    TempDir dir;
    WriteBytes(dir.File("plain"), "G00\n");
    missing.SetDevicePath(QString::fromStdString(dir.File("plain")));
    missing.SetPortOpen(true);
    EXPECT_FALSE(missing.PortOpen());
}

TEST_F(SerialCommTest, EveryReceivedByteIsHeldUntilInputTakesIt)
{
    CSerialComm comm;
    comm.SetDevicePath(machine.Path());
    comm.SetRThreshold(1);
    comm.SetInBufferSize(1024);
    comm.SetPortOpen(true);
    ASSERT_TRUE(comm.PortOpen());
    QSignalSpy events(&comm, &CSerialComm::OnComm);
    // More than the buffer: the rest waits in the driver, nothing is lost.
    QByteArray sent;
    for (int i = 0; i < 5000; ++i)
        sent.append(char(i * 7));
    machine.Send(sent);
    QByteArray got;
    ASSERT_TRUE(WaitFor([&] {
        EXPECT_LE(comm.InBufferCount(), 1024);
        got += comm.Input();
        return got.size() >= sent.size();
    }));
    EXPECT_EQ(got, sent);
    EXPECT_GE(events.count(), 1);
    EXPECT_EQ(comm.CommEvent(), CSerialComm::comEvReceive);

    // InputLen takes part of what is held.
    machine.Send("ABCDEF");
    ASSERT_TRUE(WaitFor([&] { return comm.InBufferCount() == 6; }));
    comm.SetInputLen(4);
    EXPECT_EQ(comm.Input(), QByteArray("ABCD"));
    EXPECT_EQ(comm.Input(), QByteArray("EF"));
}

TEST_F(SerialCommTest, ModemLinesAndLineErrorsRaiseTheirEvents)
{
    int lines = MODEM_CTS;
    LineErrorCounts counts;
    CSerialComm comm;
    comm.SetLineSource([&](int& now, LineErrorCounts& errors) {
        now = lines;
        errors = counts;
        return true;
    });
    comm.SetDevicePath(machine.Path());
    comm.SetPortOpen(true);
    ASSERT_TRUE(comm.PortOpen());
    EXPECT_TRUE(comm.CTSHolding());
    std::vector<int> events;
    QObject::connect(&comm, &CSerialComm::OnComm, [&] { events.push_back(comm.CommEvent()); });

    lines = MODEM_DSR | MODEM_CD;  // CTS falls, DSR and CD rise
    ASSERT_TRUE(WaitFor([&] { return events.size() >= 3; }));
    EXPECT_EQ(events, (std::vector<int>{CSerialComm::comEvCTS, CSerialComm::comEvDSR, CSerialComm::comEvCD}));
    EXPECT_FALSE(comm.CTSHolding());

    events.clear();
    lines |= MODEM_RING;
    ++counts.frame;
    ++counts.parity;
    ++counts.breaks;
    ASSERT_TRUE(WaitFor([&] { return events.size() >= 4; }));
    EXPECT_EQ(events, (std::vector<int>{CSerialComm::comEvRing, CSerialComm::comEventBreak, CSerialComm::comEventFrame,
                                        CSerialComm::comEventRxParity}));
    // The ring ends: no event; an overrun and a full driver buffer.
    events.clear();
    lines &= ~MODEM_RING;
    ++counts.overrun;
    ++counts.bufferOverrun;
    ASSERT_TRUE(WaitFor([&] { return events.size() >= 2; }));
    QTest::qWait(120);
    EXPECT_EQ(events, (std::vector<int>{CSerialComm::comEventOverrun, CSerialComm::comEventRxOver}));
}

TEST_F(SerialCommTest, AMachineThatHangsUpIsReportedOnceAndNotPolledForever)
{
    CSerialComm comm;
    comm.SetDevicePath(machine.Path());
    comm.SetRThreshold(1);
    comm.SetPortOpen(true);
    ASSERT_TRUE(comm.PortOpen());
    QSignalSpy lost(&comm, &CSerialComm::DeviceLost);
    QSignalSpy events(&comm, &CSerialComm::OnComm);
    machine.Send("G00\n");
    ASSERT_TRUE(WaitFor([&] { return comm.InBufferCount() == 4; }));
    machine.HangUp();
    ASSERT_TRUE(WaitFor([&] { return lost.count() > 0; }));
    // The bytes that came before the hang-up are still there to take.
    EXPECT_EQ(comm.Input(), QByteArray("G00\n"));
    const int before = events.count();
    QTest::qWait(200);
    EXPECT_EQ(lost.count(), 1);
    EXPECT_EQ(events.count(), before);
    EXPECT_FALSE(comm.Output("M30\n"));
    comm.SetPortOpen(false);
    EXPECT_FALSE(comm.PortOpen());
}

}  // namespace
