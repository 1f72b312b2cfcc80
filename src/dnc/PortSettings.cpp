// The settings record, its file and the summary.
#include "PortSettings.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>


namespace {

// A string as the framework's archives store it: a length of one byte below
// 0xFF, else 0xFF and 16 bits below 0xFFFE, else 0xFF 0xFFFF and 32 bits,
// all little-endian, then the bytes.
void AppendArchiveString(QByteArray& out, const QByteArray& text)
{
    const auto append = [&out](uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            out.append(char((value >> (8 * i)) & 0xFF));
    };
    const uint32_t length = uint32_t(text.size());
    if (length < 0xFF)
        append(length, 1);
    else if (length < 0xFFFE) {
        append(0xFF, 1);
        append(length, 2);
    } else {
        append(0xFF, 1);
        append(0xFFFF, 2);
        append(length, 4);
    }
    out.append(text);
}

void AppendInt32(QByteArray& out, int32_t value)
{
    for (int i = 0; i < 4; ++i)
        out.append(char((uint32_t(value) >> (8 * i)) & 0xFF));
}

class ArchiveReader
{
public:
    explicit ArchiveReader(const QByteArray& bytes) : m_bytes(bytes) {}

    bool ReadUnsigned(int bytes, uint32_t& value)
    {
        if (m_bytes.size() - m_at < bytes)
            return false;
        value = 0;
        for (int i = 0; i < bytes; ++i)
            value |= uint32_t(uint8_t(m_bytes[m_at + i])) << (8 * i);
        m_at += bytes;
        return true;
    }
    bool ReadInt32(int32_t& value)
    {
        uint32_t raw = 0;
        if (!ReadUnsigned(4, raw))
            return false;
        value = int32_t(raw);
        return true;
    }
    bool ReadString(QString& text)
    {
        uint32_t length = 0;
        if (!ReadUnsigned(1, length))
            return false;
        if (length == 0xFF) {
            if (!ReadUnsigned(2, length))
                return false;
            // In the 16-bit field 0xFFFE marks a wide string, which these
            // files never hold; in the 32-bit field it is a length like any
            // other (a string of 0xFFFE bytes is written there).
            if (length == 0xFFFE || (length == 0xFFFF && !ReadUnsigned(4, length)))
                return false;
        }
        if (m_bytes.size() - m_at < qsizetype(length))
            return false;
        text = QString::fromUtf8(m_bytes.constData() + m_at, qsizetype(length));
        m_at += qsizetype(length);
        return true;
    }

private:
    const QByteArray& m_bytes;
    qsizetype m_at = 0;
};

bool IsFlag(int32_t value)
{
    return value == 0 || value == 1;
}

}  // namespace

const char* SettingsFileName(TransferKind kind)
{
    return kind == TransferKind::Send ? "SendSetting.txt" : "ReceiveSetting.txt";
}

QByteArray EncodeSettings(const PortSettings& settings, TransferKind kind)
{
    QByteArray out;
    for (const QString* text : {&settings.port, &settings.baud, &settings.dataBits, &settings.parity, &settings.stopBits})
        AppendArchiveString(out, text->toUtf8());
    AppendInt32(out, settings.rtsCts);
    AppendInt32(out, settings.xonXoff);
    AppendInt32(out, settings.dtrDsr);
    if (kind == TransferKind::Receive)
        AppendInt32(out, settings.timeoutMs);
    return out;
}

bool DecodeSettings(const QByteArray& bytes, TransferKind kind, PortSettings& settings)
{
    PortSettings read = settings;
    ArchiveReader in(bytes);
    for (QString* text : {&read.port, &read.baud, &read.dataBits, &read.parity, &read.stopBits}) {
        if (!in.ReadString(*text) || text->isEmpty())
            return false;
    }
    if (!in.ReadInt32(read.rtsCts) || !in.ReadInt32(read.xonXoff) || !in.ReadInt32(read.dtrDsr))
        return false;
    if (!IsFlag(read.rtsCts) || !IsFlag(read.xonXoff) || !IsFlag(read.dtrDsr))
        return false;
    if (kind == TransferKind::Receive && (!in.ReadInt32(read.timeoutMs) || read.timeoutMs < 0))
        return false;
    settings = read;
    return true;
}

void LoadSettingsFile(PortSettings& settings, TransferKind kind, QString& problem)
{
    problem.clear();
    const QString name = QString::fromLatin1(SettingsFileName(kind));
    QFile file(name);
    const int startFromMachine = settings.startFromMachine;
    if (!file.exists()) {
        settings = PortSettings();
    } else if (!file.open(QIODevice::ReadOnly)) {
        settings = PortSettings();
        problem = QStringLiteral("不能读取设置文件 %1（%2），已改用默认设置。").arg(QDir::current().absoluteFilePath(name), file.errorString());
    } else if (!DecodeSettings(file.readAll(), kind, settings)) {
        settings = PortSettings();
        problem = QStringLiteral("设置文件 %1 已损坏，已改用默认设置并重写该文件。").arg(QDir::current().absoluteFilePath(name));
    } else {
        settings.startFromMachine = startFromMachine;
        return;
    }
    settings.startFromMachine = startFromMachine;
    QString error;
    if (!SaveSettingsFile(settings, kind, error) && problem.isEmpty())
        problem = error;
}

bool SaveSettingsFile(const PortSettings& settings, TransferKind kind, QString& error)
{
    const QString name = QString::fromLatin1(SettingsFileName(kind));
    QSaveFile file(name);
    if (file.open(QIODevice::WriteOnly)) {
        const QByteArray bytes = EncodeSettings(settings, kind);
        if (file.write(bytes) == bytes.size() && file.commit())
            return true;
    }
    error = QStringLiteral("不能保存设置文件 %1：%2").arg(QDir::current().absoluteFilePath(name), file.errorString());
    return false;
}

QString SettingsSummary(const PortSettings& settings, TransferKind kind)
{
    const bool sending = kind == TransferKind::Send;
    QString handshake;
    if (!settings.xonXoff && !settings.dtrDsr && !settings.rtsCts)
        handshake = QStringLiteral("无");
    else
        handshake = QLatin1String(settings.xonXoff ? "XON\\OFF " : " ") + QLatin1String(settings.dtrDsr ? "DTR\\DSR " : " ") +
                    QLatin1String(settings.rtsCts ? "RTS\\CTS " : " ");
    const QString crlf = QStringLiteral("\r\n");
    return QStringLiteral("正在初使化.....\r\n\r\n") + QStringLiteral("串口:") + settings.port + crlf +
           QStringLiteral("波特率为:") + settings.baud + crlf + QStringLiteral("数据位为:") + settings.dataBits + crlf +
           QStringLiteral("停止位为:") + settings.stopBits + crlf +
           (sending ? QStringLiteral("奇偶校验方法为:") : QStringLiteral("奇偶效验方法为:")) + settings.parity + crlf +
           (sending ? QStringLiteral("流控制方式:") : QStringLiteral("握手方式:")) + handshake + crlf +
           (sending ? QStringLiteral("已准备好发送!") : QStringLiteral("已准备好接收!"));
}

QString SettingsString(const PortSettings& settings)
{
    QChar letter = QLatin1Char('s');
    if (settings.parity == QLatin1String("ODD"))
        letter = QLatin1Char('o');
    else if (settings.parity == QLatin1String("EVEN"))
        letter = QLatin1Char('e');
    else if (settings.parity == QLatin1String("MARK"))
        letter = QLatin1Char('m');
    else if (settings.parity == QLatin1String("NONE"))
        letter = QLatin1Char('n');
    return settings.baud + QLatin1Char(',') + letter + QLatin1Char(',') + settings.dataBits + QLatin1Char(',') +
           settings.stopBits;
}

int HandshakingFor(const PortSettings& settings, TransferKind kind)
{
    if (settings.rtsCts)
        return settings.xonXoff ? 3 : 2;
    return settings.xonXoff && kind == TransferKind::Receive ? 1 : 0;
}

QStringList PortChoices()
{
    QStringList ports{QStringLiteral("COM1"), QStringLiteral("COM2"), QStringLiteral("COM3"), QStringLiteral("COM4")};
    // Adapters plugged in now, by the names that stay put first.
    QStringList present;
    const QDir byId(QStringLiteral("/dev/serial/by-id"));
    for (const QString& name : byId.entryList(QDir::System | QDir::Files | QDir::NoDotAndDotDot))
        present << byId.absoluteFilePath(name);
    const QDir dev(QStringLiteral("/dev"));
    for (const QString& name : dev.entryList({QStringLiteral("ttyUSB*"), QStringLiteral("ttyACM*")}, QDir::System))
        present << dev.absoluteFilePath(name);
    present.sort();
    return ports + present;
}

QStringList BaudChoices()
{
    return {QStringLiteral("110"),   QStringLiteral("1200"),  QStringLiteral("128000"), QStringLiteral("14400"),
            QStringLiteral("19200"), QStringLiteral("2400"),  QStringLiteral("256000"), QStringLiteral("300"),
            QStringLiteral("38400"), QStringLiteral("4800"),  QStringLiteral("56000"),  QStringLiteral("600"),
            QStringLiteral("9600")};
}

QStringList DataBitsChoices()
{
    return {QStringLiteral("5"), QStringLiteral("6"), QStringLiteral("7"), QStringLiteral("8")};
}

QStringList ParityChoices()
{
    return {QStringLiteral("EVEN"), QStringLiteral("MARK"), QStringLiteral("NONE"), QStringLiteral("ODD"),
            QStringLiteral("SPACE")};
}

QStringList StopBitsChoices()
{
    return {QStringLiteral("1"), QStringLiteral("1.5"), QStringLiteral("2")};
}
