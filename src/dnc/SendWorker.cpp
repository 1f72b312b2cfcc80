// The send worker's loop and its pause count.
#include "SendWorker.h"

#include <QByteArray>
#include <cstring>

#include "CSerialComm.h"
#include "CTextBuffer.h"
#include "Crc32.h"

namespace {

// How long one wait for the line lasts before the stop flag is looked at
// again: Cancel ends a transfer within this.
constexpr int kWaitSliceMs = 50;

}  // namespace

SendSnapshot::SendSnapshot(const CTextBuffer& buffer)
{
    // The empty line after a program's last line end is no line of the
    // program: sending it would add an LF that the file does not have.
    int lines = buffer.LineCount();
    if (lines > 0 && buffer.LineLength(lines - 1) == 0)
        --lines;
    size_t total = 0;
    for (int i = 0; i < lines; ++i)
        total += size_t(buffer.LineLength(i)) + 1;
    // Sized once and filled by copying: a program of millions of lines is
    // taken while the user waits on Start.
    m_bytes.resize(total);
    m_lineEnds.resize(size_t(lines));
    char* out = m_bytes.data();
    for (int i = 0; i < lines; ++i) {
        const size_t length = size_t(buffer.LineLength(i));
        std::memcpy(out, buffer.LineChars(i), length);
        out[length] = '\n';
        out += length + 1;
        m_lineEnds[size_t(i)] = size_t(out - m_bytes.data());
    }
}

std::string_view SendSnapshot::Line(int i) const
{
    const size_t begin = i == 0 ? 0 : m_lineEnds[size_t(i) - 1];
    return std::string_view(m_bytes).substr(begin, m_lineEnds[size_t(i)] - begin);
}

SendWorker::SendWorker(CSerialComm& comm, std::shared_ptr<const SendSnapshot> snapshot, std::function<void()> onEnd)
    : m_comm(comm), m_snapshot(std::move(snapshot)), m_onEnd(std::move(onEnd))
{
    m_thread = std::thread([this] { Run(); });
}

SendWorker::~SendWorker()
{
    StopAndJoin();
}

void SendWorker::Pause()
{
    std::lock_guard lock(m_mutex);
    ++m_pauseCount;
}

void SendWorker::Resume()
{
    {
        std::lock_guard lock(m_mutex);
        if (m_pauseCount > 0)
            --m_pauseCount;
    }
    m_wake.notify_all();
}

int SendWorker::PauseCount() const
{
    std::lock_guard lock(m_mutex);
    return m_pauseCount;
}

void SendWorker::StopAndJoin()
{
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

bool SendWorker::WaitUntilRunning()
{
    std::unique_lock lock(m_mutex);
    m_wake.wait(lock, [this] { return m_pauseCount == 0 || m_stop; });
    return !m_stop;
}

void SendWorker::Run()
{
    const SendSnapshot& snapshot = *m_snapshot;
    const int lines = snapshot.LineCount();
    Outcome outcome = Outcome::Finished;
    for (int i = 0; i < lines && outcome == Outcome::Finished; ++i) {
        if (!WaitUntilRunning()) {
            outcome = Outcome::Stopped;
            break;
        }
        m_currentLine = i;
        const std::string_view line = snapshot.Line(i);
        if (!m_comm.Output(QByteArray::fromRawData(line.data(), qsizetype(line.size())))) {
            outcome = Outcome::DeviceLost;
            break;
        }
        while (m_comm.OutBufferCount() > 0) {
            if (m_stop) {
                outcome = Outcome::Stopped;
                break;
            }
            if (!m_comm.WaitForOutput(kWaitSliceMs)) {
                outcome = Outcome::DeviceLost;
                break;
            }
        }
        if (outcome != Outcome::Finished)
            break;
        m_crc = Crc32(m_crc, line.data(), line.size());
        m_bytesSent += line.size();
        m_linesSent = i + 1;
    }
    m_outcome = outcome;
    if (outcome != Outcome::Stopped && m_onEnd)
        m_onEnd();
}
