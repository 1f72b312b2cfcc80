// The serial control on the tty device: receiving through a socket
// notifier, the modem lines and the driver's error counts by polling, and
// output held here while the driver is full.
#include "CSerialComm.h"

#include <QSocketNotifier>
#include <chrono>
#include <cstring>
#include <thread>
#include <QTimer>

#include "CWinApp.h"

namespace {

// How often the modem lines and error counts are looked at.
constexpr int kLinePollMs = 50;
// The most read at one notification, so that a flood leaves the event loop
// time for everything else.
constexpr int kReadSlice = 64 * 1024;

}  // namespace

CSerialComm::CSerialComm(QObject* parent) : QObject(parent)
{
    SetCommPort(1);
    std::string unused;
    ParseLineSettings(m_settings.toStdString(), m_line, unused);
}

CSerialComm::~CSerialComm()
{
    SetPortOpen(false);
}

QString CSerialComm::DeviceOfPort(int port)
{
    const QString fallback = QStringLiteral("/dev/ttyS%1").arg(port - 1);
    CWinApp* app = AfxGetApp();
    return app ? app->GetProfileString(QStringLiteral("Ports"), QStringLiteral("COM%1").arg(port), fallback) : fallback;
}

void CSerialComm::SetCommPort(int port)
{
    m_commPort = port;
    m_devicePath = DeviceOfPort(port);
}

void CSerialComm::SetPortOpen(bool open)
{
    if (open == PortOpen())
        return;
    if (!open) {
        // Later: the port may be closed from a handler of their own signals.
        if (m_notifier) {
            m_notifier->setEnabled(false);
            m_notifier->deleteLater();
            m_notifier = nullptr;
        }
        if (m_lineTimer) {
            m_lineTimer->stop();
            m_lineTimer->deleteLater();
            m_lineTimer = nullptr;
        }
        {
            std::lock_guard lock(m_outMutex);
            m_device.Close();
            m_held.clear();
            m_lost = false;
        }
        m_input.clear();
        return;
    }
    {
        std::lock_guard lock(m_outMutex);
        m_lost = false;
    }
    std::string reason;
    if (!m_device.Open(m_devicePath.toStdString(), reason)) {
        m_lastError = QString::fromStdString(reason);
        return;
    }
    if (!ApplyLine()) {
        m_device.Close();
        return;
    }
    m_device.SetRts(m_rtsEnable);
    m_device.SetDtr(m_dtrEnable);
    m_device.DiscardInput();
    m_lastError.clear();
    m_notifier = new QSocketNotifier(m_device.Fd(), QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &CSerialComm::OnReadable);
    // Modem lines are watched only on devices that have them.
    m_lines = 0;
    m_counts = LineErrorCounts();
    const bool hasLines = m_lineSource ? m_lineSource(m_lines, m_counts) : m_device.ModemLines(m_lines);
    if (!m_lineSource)
        m_device.ErrorCounts(m_counts);
    if (hasLines) {
        m_lineTimer = new QTimer(this);
        connect(m_lineTimer, &QTimer::timeout, this, &CSerialComm::PollLines);
        m_lineTimer->start(kLinePollMs);
    }
}

bool CSerialComm::ApplyLine()
{
    if (!m_device.IsOpen())
        return true;
    std::string reason;
    if (!m_device.Configure(m_line, m_handshaking, reason)) {
        m_lastError = QString::fromStdString(reason);
        return false;
    }
    return true;
}

template <class T>
bool CSerialComm::ChangeLine(T& field, const T& value)
{
    const T old = field;
    field = value;
    if (ApplyLine())
        return true;
    // The device keeps what it had.
    field = old;
    ApplyLine();
    return false;
}

bool CSerialComm::SetSettings(const QString& settings)
{
    LineSettings line;
    std::string reason;
    if (!ParseLineSettings(settings.toStdString(), line, reason)) {
        m_lastError = QString::fromStdString(reason);
        return false;
    }
    if (!ChangeLine(m_line, line))
        return false;
    m_settings = settings;
    return true;
}

bool CSerialComm::SetHandshaking(int handshaking)
{
    return handshaking >= 0 && handshaking <= 3 && ChangeLine(m_handshaking, handshaking);
}

void CSerialComm::SetRTSEnable(bool on)
{
    m_rtsEnable = on;
    if (PortOpen())
        m_device.SetRts(on);
}

void CSerialComm::SetDTREnable(bool on)
{
    m_dtrEnable = on;
    if (PortOpen())
        m_device.SetDtr(on);
}

bool CSerialComm::CTSHolding() const
{
    return (m_lines & MODEM_CTS) != 0;
}

void CSerialComm::SetCTSHolding(bool ready)
{
    if (ready && PortOpen())
        m_device.SetRts(true);
}

QByteArray CSerialComm::Input()
{
    QByteArray taken;
    if (m_inputLen == 0 || m_inputLen >= m_input.size())
        taken.swap(m_input);
    else {
        taken = m_input.left(m_inputLen);
        m_input.remove(0, m_inputLen);
    }
    // Room again: read on what the driver holds.
    if (m_notifier && !m_lost)
        m_notifier->setEnabled(true);
    return taken;
}

void CSerialComm::OnReadable()
{
    int read = 0;
    bool eof = false;
    bool lost = false;
    std::string reason;
    while (read < kReadSlice && m_input.size() < m_inBufferSize) {
        const qsizetype before = m_input.size();
        const int room = int(std::min<qsizetype>(kReadSlice - read, m_inBufferSize - before));
        m_input.resize(before + room);
        const ssize_t n = m_device.Read(m_input.data() + before, size_t(room), reason);
        m_input.resize(before + std::max<ssize_t>(n, 0));
        if (n < 0) {
            // A hung-up device is always readable: stop listening to it.
            m_notifier->setEnabled(false);
            lost = true;
            break;
        }
        if (n == 0)
            break;
        if (m_eofEnable && std::memchr(m_input.constData() + before, 0x1A, size_t(n)))
            eof = true;
        read += int(n);
    }
    // Full: leave the rest in the driver until Input makes room.
    if (m_input.size() >= m_inBufferSize && m_notifier)
        m_notifier->setEnabled(false);
    if (eof)
        Raise(comEvEOF);
    if (read > 0 && m_rThreshold > 0 && m_input.size() >= m_rThreshold)
        Raise(comEvReceive);
    // Only after the bytes that came before it have been handed on.
    if (lost)
        SetLost(reason);
}

void CSerialComm::SetLineSource(LineSource source)
{
    m_lineSource = std::move(source);
}

void CSerialComm::PollLines()
{
    int lines = 0;
    LineErrorCounts counts;
    const bool known = m_lineSource ? m_lineSource(lines, counts)
                                    : m_device.ModemLines(lines) && (m_device.ErrorCounts(counts) || true);
    if (!known)
        return;
    const int changed = lines ^ m_lines;
    const LineErrorCounts before = m_counts;
    m_lines = lines;
    m_counts = counts;
    if (changed & MODEM_CTS)
        Raise(comEvCTS);
    if (changed & MODEM_DSR)
        Raise(comEvDSR);
    if (changed & MODEM_CD)
        Raise(comEvCD);
    // A ring is its rising edge.
    if (changed & lines & MODEM_RING)
        Raise(comEvRing);
    if (counts.breaks > before.breaks)
        Raise(comEventBreak);
    if (counts.frame > before.frame)
        Raise(comEventFrame);
    if (counts.overrun > before.overrun)
        Raise(comEventOverrun);
    if (counts.bufferOverrun > before.bufferOverrun)
        Raise(comEventRxOver);
    if (counts.parity > before.parity)
        Raise(comEventRxParity);
}

void CSerialComm::Raise(int event)
{
    m_commEvent = event;
    emit OnComm();
}

void CSerialComm::SetLost(const std::string& reason)
{
    {
        std::lock_guard lock(m_outMutex);
        if (m_lost)
            return;
        m_lost = true;
    }
    emit DeviceLost(QString::fromStdString(reason));
}

bool CSerialComm::PushHeld(std::string& reason)
{
    // Called with m_outMutex held.
    while (!m_held.isEmpty()) {
        const ssize_t n = m_device.Write(m_held.constData(), size_t(m_held.size()), reason);
        if (n < 0)
            return false;
        if (n == 0)
            break;
        m_held.remove(0, n);
    }
    return true;
}

bool CSerialComm::Output(const QByteArray& bytes)
{
    bool full = false;
    std::string reason;
    {
        std::lock_guard lock(m_outMutex);
        if (!m_device.IsOpen() || m_lost)
            return false;
        full = m_held.size() >= m_outBufferSize;
        m_held.append(bytes);
        if (!PushHeld(reason))
            full = false;
        else
            reason.clear();
    }
    if (!reason.empty()) {
        SetLost(reason);
        return false;
    }
    // Raised on the control's own thread, whichever thread wrote.
    if (full)
        QMetaObject::invokeMethod(this, [this] { Raise(comEventTxFull); }, Qt::QueuedConnection);
    return true;
}

int CSerialComm::OutBufferCount() const
{
    std::lock_guard lock(m_outMutex);
    if (!m_device.IsOpen())
        return 0;
    return int(m_held.size()) + m_device.OutputQueued();
}

void CSerialComm::SetOutBufferCount(int count)
{
    if (count != 0)
        return;
    std::lock_guard lock(m_outMutex);
    m_held.clear();
    if (m_device.IsOpen())
        m_device.DiscardOutput();
}

bool CSerialComm::WaitForOutput(int timeoutMs)
{
    std::unique_lock lock(m_outMutex);
    if (!m_device.IsOpen() || m_lost)
        return false;
    if (m_held.isEmpty()) {
        // Only the driver has bytes: give it a moment to send them.
        lock.unlock();
        if (m_device.OutputQueued() > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(std::min(timeoutMs, 5)));
        return true;
    }
    lock.unlock();
    std::string reason = "串口设备已断开";
    bool ok = m_device.WaitWritable(timeoutMs);
    if (ok) {
        lock.lock();
        ok = PushHeld(reason);
        lock.unlock();
    }
    if (!ok)
        SetLost(reason);
    return ok;
}
