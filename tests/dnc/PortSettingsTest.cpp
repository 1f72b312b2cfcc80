// The settings files byte for byte, what a damaged file gives, the summary
// texts and the settings string and handshake the control is given.
#include <QFile>

#include "DncFixture.h"
#include "TempDir.h"

namespace {

QByteArray FileBytes(const char* name)
{
    QFile file(QString::fromLatin1(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

const QByteArray kDefaultSendBytes("\x04" "COM1" "\x04" "9600" "\x01" "7" "\x04" "NONE" "\x01" "1"
                                   "\x00\x00\x00\x00" "\x01\x00\x00\x00" "\x00\x00\x00\x00",
                                   31);

using SettingsFileTest = DncTest;

TEST_F(SettingsFileTest, MissingFilesAreMadeWithTheDefaultsInTheArchiveLayout)
{
    PortSettings send;
    send.baud = QStringLiteral("110");
    QString problem;
    LoadSettingsFile(send, TransferKind::Send, problem);
    EXPECT_TRUE(problem.isEmpty());
    EXPECT_EQ(send, PortSettings());
    EXPECT_EQ(FileBytes("SendSetting.txt"), kDefaultSendBytes);

    PortSettings receive;
    LoadSettingsFile(receive, TransferKind::Receive, problem);
    EXPECT_EQ(FileBytes("ReceiveSetting.txt"), kDefaultSendBytes + QByteArray("\xD0\x07\x00\x00", 4));
    EXPECT_TRUE(messages.empty());
}

TEST_F(SettingsFileTest, EveryFieldReadsBackAndLongStringsTakeTheLongerLengths)
{
    PortSettings settings;
    settings.port = QStringLiteral("/dev/serial/by-id/") + QString(300, QLatin1Char('x'));
    settings.baud = QStringLiteral("56000");
    settings.dataBits = QStringLiteral("8");
    settings.parity = QStringLiteral("MARK");
    settings.stopBits = QStringLiteral("2");
    settings.rtsCts = 1;
    settings.xonXoff = 0;
    settings.dtrDsr = 1;
    settings.timeoutMs = 123456;
    const QByteArray bytes = EncodeSettings(settings, TransferKind::Receive);
    // 0xFF then a 16-bit length of 318.
    EXPECT_EQ(bytes.left(3), QByteArray("\xFF\x3E\x01", 3));
    PortSettings read;
    ASSERT_TRUE(DecodeSettings(bytes, TransferKind::Receive, read));
    EXPECT_EQ(read, settings);
    // A string of 254 bytes still has a one-byte length; 255 does not.
    settings.port = QString(254, QLatin1Char('p'));
    EXPECT_EQ(uint8_t(EncodeSettings(settings, TransferKind::Send)[0]), 254);
    settings.port = QString(255, QLatin1Char('p'));
    EXPECT_EQ(EncodeSettings(settings, TransferKind::Send).left(3), QByteArray("\xFF\xFF\x00", 3));
}

TEST_F(SettingsFileTest, StringsAtTheEdgesOfEachLengthFieldReadBack)
{
    // 0xFFFE and 0xFFFF do not fit the 16-bit field (0xFFFE there marks a
    // wide string, 0xFFFF the 32-bit field), so both take the 32-bit one
    // and must read back from it.
    PortSettings settings;
    for (const qsizetype length : {0xFEll, 0xFFll, 0xFFFDll, 0xFFFEll, 0xFFFFll, 0x10000ll}) {
        settings.port = QString(length, QLatin1Char('p'));
        const QByteArray bytes = EncodeSettings(settings, TransferKind::Receive);
        PortSettings read;
        EXPECT_TRUE(DecodeSettings(bytes, TransferKind::Receive, read)) << length;
        EXPECT_EQ(read.port.size(), length);
    }
    // A 16-bit length of 0xFFFE is still refused.
    PortSettings read;
    EXPECT_FALSE(DecodeSettings(QByteArray("\xFF\xFE\xFF", 3) + QByteArray(0xFFFE, 'p'), TransferKind::Send, read));
}

TEST_F(SettingsFileTest, AShortOrWrongFileGivesTheDefaultsAMessageAndIsWrittenAnew)
{
    PortSettings stored;
    stored.baud = QStringLiteral("19200");
    const QByteArray good = EncodeSettings(stored, TransferKind::Receive);
    const QByteArray wrongFlag = QByteArray(good).replace(good.size() - 12, 1, "\x07");
    for (const QByteArray& bad : {QByteArray("\x04" "CO", 3), good.left(good.size() - 2), wrongFlag,
                                  QByteArray("\x00\x00\x00\x00\x00", 5)}) {
        QFile file(QStringLiteral("ReceiveSetting.txt"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bad);
        file.close();
        messages.clear();
        PortSettings settings = stored;
        QString problem;
        LoadSettingsFile(settings, TransferKind::Receive, problem);
        EXPECT_EQ(settings, PortSettings()) << bad.toHex().toStdString();
        EXPECT_TRUE(problem.contains(QStringLiteral("ReceiveSetting.txt"))) << problem.toStdString();
        EXPECT_EQ(FileBytes("ReceiveSetting.txt").size(), 35);
    }
    // A good file is read as it is.
    QFile file(QStringLiteral("ReceiveSetting.txt"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(good);
    file.close();
    PortSettings settings;
    QString problem;
    LoadSettingsFile(settings, TransferKind::Receive, problem);
    EXPECT_TRUE(problem.isEmpty());
    EXPECT_EQ(settings.baud, QStringLiteral("19200"));
}

TEST(SettingsTextTest, SummariesOfSendingAndReceiving)
{
    PortSettings settings;
    EXPECT_EQ(SettingsSummary(settings, TransferKind::Receive),
              QStringLiteral("正在初使化.....\r\n\r\n串口:COM1\r\n波特率为:9600\r\n数据位为:7\r\n停止位为:1\r\n"
                             "奇偶效验方法为:NONE\r\n握手方式:XON\\OFF   \r\n已准备好接收!"));
    settings.xonXoff = 0;
    EXPECT_EQ(SettingsSummary(settings, TransferKind::Send),
              QStringLiteral("正在初使化.....\r\n\r\n串口:COM1\r\n波特率为:9600\r\n数据位为:7\r\n停止位为:1\r\n"
                             "奇偶校验方法为:NONE\r\n流控制方式:无\r\n已准备好发送!"));
    settings.dtrDsr = 1;
    settings.rtsCts = 1;
    EXPECT_TRUE(SettingsSummary(settings, TransferKind::Send).contains(QStringLiteral("流控制方式: DTR\\DSR RTS\\CTS \r\n")));
}

TEST(SettingsTextTest, SettingsStringAndHandshakingForTheControl)
{
    PortSettings settings;
    EXPECT_EQ(SettingsString(settings), QStringLiteral("9600,n,7,1"));
    const std::pair<const char*, const char*> letters[] = {
        {"EVEN", "e"}, {"ODD", "o"}, {"MARK", "m"}, {"SPACE", "s"}, {"NONE", "n"}};
    for (const auto& [parity, letter] : letters) {
        settings.parity = QString::fromLatin1(parity);
        EXPECT_EQ(SettingsString(settings).section(QLatin1Char(','), 1, 1), QString::fromLatin1(letter));
    }
    // XON/XOFF alone: the driver does it when receiving, the dialog itself
    // when sending.
    EXPECT_EQ(HandshakingFor(settings, TransferKind::Receive), 1);
    EXPECT_EQ(HandshakingFor(settings, TransferKind::Send), 0);
    settings.rtsCts = 1;
    EXPECT_EQ(HandshakingFor(settings, TransferKind::Send), 3);
    EXPECT_EQ(HandshakingFor(settings, TransferKind::Receive), 3);
    settings.xonXoff = 0;
    EXPECT_EQ(HandshakingFor(settings, TransferKind::Send), 2);
    settings.rtsCts = 0;
    EXPECT_EQ(HandshakingFor(settings, TransferKind::Receive), 0);
}

}  // namespace
