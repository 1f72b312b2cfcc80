// CSerialComm: the serial communications control of the transfer dialogs.
// It offers the properties the dialogs set and read (port, settings,
// handshaking, buffers, the modem lines, input and output) and raises
// OnComm with a CommEvent code when bytes arrive, a modem line changes or
// the driver counts a line error.
//
// Threads: the control belongs to the thread that made it, which receives
// through a QSocketNotifier and raises every signal.  Output, OutBufferCount,
// SetOutBufferCount(0) and WaitForOutput may also be called from one other
// thread (the send worker); opening and closing the port may not while that
// thread runs.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <functional>
#include <mutex>

#include "SerialDevice.h"

class QSocketNotifier;
class QTimer;

class CSerialComm : public QObject
{
    Q_OBJECT

public:
    // CommEvent codes.
    enum : int
    {
        comEvReceive = 2,
        comEvCTS = 3,
        comEvDSR = 4,
        comEvCD = 5,
        comEvRing = 6,
        comEvEOF = 7,
        comEventBreak = 1001,
        comEventCTSTO = 1002,
        comEventDSRTO = 1003,
        comEventFrame = 1004,
        comEventOverrun = 1006,
        comEventCDTO = 1007,
        comEventRxOver = 1008,
        comEventRxParity = 1009,
        comEventTxFull = 1010,
    };

    // The modem lines (MODEM_* bits) and the error counts, as the device
    // reports them; false when it has no modem lines.  Tests put their own
    // in place of the device's to play lines a pseudo-terminal lacks.
    using LineSource = std::function<bool(int& lines, LineErrorCounts& counts)>;

    explicit CSerialComm(QObject* parent = nullptr);
    ~CSerialComm() override;

    // COMn: the device of the port as the profile maps it ([Ports] COMn=),
    // by default /dev/ttyS(n-1).
    void SetCommPort(int port);
    int CommPort() const { return m_commPort; }
    // Any device file, in place of a numbered port.
    void SetDevicePath(const QString& path) { m_devicePath = path; }
    const QString& DevicePath() const { return m_devicePath; }
    static QString DeviceOfPort(int port);

    bool PortOpen() const { return m_device.IsOpen(); }
    // Opening fails with a reason in LastError.  Closing drops what is held
    // here; what the driver holds still goes out (SetOutBufferCount(0)
    // first drops that too).
    void SetPortOpen(bool open);
    const QString& LastError() const { return m_lastError; }

    // "9600,n,7,1".  A string the line cannot take is refused (false, the
    // reason in LastError) and the old settings stay.
    bool SetSettings(const QString& settings);
    QString Settings() const { return m_settings; }
    // 0 none, 1 XON/XOFF, 2 RTS/CTS, 3 both; done by the driver.
    bool SetHandshaking(int handshaking);
    int Handshaking() const { return m_handshaking; }

    void SetRTSEnable(bool on);
    bool RTSEnable() const { return m_rtsEnable; }
    void SetDTREnable(bool on);
    bool DTREnable() const { return m_dtrEnable; }
    // The CTS line as last seen.  Setting it true says that the program is
    // ready to receive: RTS goes up, so that a machine that waits for it
    // may send.
    bool CTSHolding() const;
    void SetCTSHolding(bool ready);

    // Received bytes: held until Input takes them, and never dropped.  At
    // InBufferSize held bytes the control stops reading until Input, so the
    // driver (and its handshake) holds back the rest.
    void SetInBufferSize(int size) { m_inBufferSize = size > 0 ? size : 1; }
    int InBufferSize() const { return m_inBufferSize; }
    int InBufferCount() const { return int(m_input.size()); }
    // 0 takes everything held; n takes at most n bytes.
    void SetInputLen(int length) { m_inputLen = length < 0 ? 0 : length; }
    // 1: Input returns bytes as they came; 0 (text) is the same here, since
    // the control never converts what it receives.
    void SetInputMode(int mode) { m_inputMode = mode; }
    int InputMode() const { return m_inputMode; }
    QByteArray Input();
    // An event for every RThreshold bytes held (0: no receive events).
    void SetRThreshold(int bytes) { m_rThreshold = bytes < 0 ? 0 : bytes; }
    // Send events are not raised; 0, which asks for none, is what the
    // dialogs set.
    void SetSThreshold(int bytes) { m_sThreshold = bytes; }
    // When on, a received EOF byte (0x1A) also raises comEvEOF.
    void SetEOFEnable(bool on) { m_eofEnable = on; }

    // Bytes to send: handed to the driver as far as it takes them, the rest
    // held and pushed on by WaitForOutput.  Held bytes beyond OutBufferSize
    // raise comEventTxFull; nothing is dropped.
    void SetOutBufferSize(int size) { m_outBufferSize = size > 0 ? size : 1; }
    int OutBufferSize() const { return m_outBufferSize; }
    bool Output(const QByteArray& bytes);
    // Bytes not yet on the line: held here and queued in the driver.
    int OutBufferCount() const;
    // 0 discards everything unsent, here and in the driver.
    void SetOutBufferCount(int count);
    // Pushes held bytes on and waits at most timeoutMs for room or for the
    // driver to send; false when the device has gone (see DeviceLost).
    bool WaitForOutput(int timeoutMs);

    int CommEvent() const { return m_commEvent; }

    void SetLineSource(LineSource source);

signals:
    // Read CommEvent in the handler.
    void OnComm();
    // The device has gone (unplugged, hung up): nothing more is read; the
    // owner closes the port once nothing writes to it any more.
    void DeviceLost(const QString& reason);

private:
    void OnReadable();
    void PollLines();
    void Raise(int event);
    bool ApplyLine();
    // Sets a field of the line and applies it; on failure the old value
    // stays, on the device too.
    template <class T>
    bool ChangeLine(T& field, const T& value);
    bool PushHeld(std::string& reason);
    void SetLost(const std::string& reason);

    SerialDevice m_device;
    QSocketNotifier* m_notifier = nullptr;
    QTimer* m_lineTimer = nullptr;
    LineSource m_lineSource;
    int m_lines = 0;
    LineErrorCounts m_counts;

    int m_commPort = 1;
    QString m_devicePath;
    QString m_settings = QStringLiteral("9600,n,8,1");
    LineSettings m_line;
    int m_handshaking = 0;
    bool m_rtsEnable = false;
    bool m_dtrEnable = false;
    QString m_lastError;

    QByteArray m_input;
    int m_inBufferSize = 1024;
    int m_inputLen = 0;
    int m_inputMode = 0;
    int m_rThreshold = 0;
    int m_sThreshold = 0;
    bool m_eofEnable = false;
    int m_commEvent = 0;

    // Shared with the writing thread.
    mutable std::mutex m_outMutex;
    QByteArray m_held;
    int m_outBufferSize = 512;
    bool m_lost = false;
};
