// The serial settings files.  Any bytes, read as the settings file of
// sending and of receiving, must not crash; what was read and written again
// must read back as the same settings; and any settings record the dialog
// could hold (texts of any length, including the lengths where the file
// switches to a longer length field) must come back from its file as it was.
#include <fuzzer/FuzzedDataProvider.h>

#include <QDir>
#include <QFile>
#include <cstdint>
#include <cstdlib>

#include "FuzzScratch.h"
#include "PortSettings.h"

namespace {

void CheckRoundTrip(const PortSettings& settings, TransferKind kind)
{
    PortSettings back;
    back.startFromMachine = settings.startFromMachine;
    if (!DecodeSettings(EncodeSettings(settings, kind), kind, back) || !(back == settings))
        std::abort();
}

// A text of the dialog: fuzzer bytes as UTF-8, or for the length fields'
// edges one byte repeated up to a little over 64 KiB.
QString Text(FuzzedDataProvider& input)
{
    if (input.ConsumeIntegralInRange<int>(0, 31) != 0) {
        const std::string bytes = input.ConsumeRandomLengthString(64);
        return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
    }
    const int length = input.ConsumeIntegralInRange<int>(0xF0, 0x10010);
    return QString(length, QLatin1Char('P'));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    for (TransferKind kind : {TransferKind::Send, TransferKind::Receive}) {
        PortSettings read;
        if (DecodeSettings(bytes, kind, read))
            CheckRoundTrip(read, kind);
    }

    // Through the file itself, as the dialogs read and write it.
    static const bool inScratch = QDir::setCurrent(QString::fromStdString(Scratch().Folder()));
    if (!inScratch)
        std::abort();
    const TransferKind kind = size % 2 ? TransferKind::Receive : TransferKind::Send;
    Scratch().Write(SettingsFileName(kind), data, size);
    PortSettings loaded;
    QString problem;
    LoadSettingsFile(loaded, kind, problem);
    PortSettings again;
    LoadSettingsFile(again, kind, problem);
    if (!problem.isEmpty() || !(again == loaded))
        std::abort();

    // A record the dialog could hold.
    FuzzedDataProvider input(data, size);
    PortSettings settings;
    for (QString* text : {&settings.port, &settings.baud, &settings.dataBits, &settings.parity, &settings.stopBits}) {
        *text = Text(input);
        if (text->isEmpty())
            *text = QStringLiteral("1");
    }
    settings.rtsCts = input.ConsumeBool();
    settings.xonXoff = input.ConsumeBool();
    settings.dtrDsr = input.ConsumeBool();
    settings.timeoutMs = input.ConsumeIntegralInRange<int32_t>(0, INT32_MAX);
    // A text read from the file is its UTF-8 decoded; bytes that were not
    // UTF-8 came in as replacement characters, which encode and read back
    // as they are.
    CheckRoundTrip(settings, TransferKind::Receive);
    settings.timeoutMs = PortSettings().timeoutMs;
    CheckRoundTrip(settings, TransferKind::Send);
    return 0;
}
