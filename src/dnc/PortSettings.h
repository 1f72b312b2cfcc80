// The serial settings of sending and of receiving: the record, its file in
// the current directory ("SendSetting.txt", "ReceiveSetting.txt", in the
// framework's archive layout) and the summary the transfer dialogs show.
// QtCore only; ApplyPortSettings puts a record onto the serial control.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>

enum class TransferKind
{
    Send,
    Receive,
};

struct PortSettings
{
    QString port = QStringLiteral("COM1");
    QString baud = QStringLiteral("9600");
    QString dataBits = QStringLiteral("7");
    QString parity = QStringLiteral("NONE");
    QString stopBits = QStringLiteral("1");
    int32_t rtsCts = 0;
    int32_t xonXoff = 1;
    int32_t dtrDsr = 0;
    int32_t timeoutMs = 2000;  // receiving only
    int startFromMachine = 1;  // sending only, never stored

    bool operator==(const PortSettings&) const = default;
};

const char* SettingsFileName(TransferKind kind);

// The file's bytes for settings.
QByteArray EncodeSettings(const PortSettings& settings, TransferKind kind);
// Reads the file's bytes into settings; false, with settings untouched,
// when they are short or do not hold a settings record.
bool DecodeSettings(const QByteArray& bytes, TransferKind kind, PortSettings& settings);

// Reads the settings file of kind from the current directory.  A missing
// file is made with the defaults.  A file that cannot be read or holds no
// settings record gives the defaults too, is written anew, and problem
// names it; otherwise problem is emptied.
void LoadSettingsFile(PortSettings& settings, TransferKind kind, QString& problem);
// Writes the settings file of kind in one step; false with the reason.
bool SaveSettingsFile(const PortSettings& settings, TransferKind kind, QString& error);

// The text the transfer dialog shows before a transfer.
QString SettingsSummary(const PortSettings& settings, TransferKind kind);
// "9600,n,7,1".
QString SettingsString(const PortSettings& settings);
// The control's Handshaking for settings.  Sending with XON/XOFF alone
// gives 0: the send dialog answers DC1 and DC3 itself.
int HandshakingFor(const PortSettings& settings, TransferKind kind);

// The values the settings dialogs offer, in the order they show them.
QStringList PortChoices();
QStringList BaudChoices();
QStringList DataBitsChoices();
QStringList ParityChoices();
QStringList StopBitsChoices();
