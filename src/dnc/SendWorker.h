// The send worker: the thread that writes a program to the serial control
// line by line, waiting after each line until the control has sent it, so
// that a pause (the machine's DC3) leaves at most one line on the way.
//
// It sends a snapshot taken when the transfer starts, never the live text,
// and is never killed: it stops at safe points (before a line, while paused,
// while waiting for output) when asked, and its owner joins it.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

class CSerialComm;
class CTextBuffer;

// The text to send: every line's bytes followed by one LF, whatever the
// file's separators were.  A program ending in a line end ends in one LF.
class SendSnapshot
{
public:
    explicit SendSnapshot(const CTextBuffer& buffer);

    int LineCount() const { return int(m_lineEnds.size()); }
    // Line i with its LF.
    std::string_view Line(int i) const;
    const std::string& Bytes() const { return m_bytes; }

private:
    std::string m_bytes;
    std::vector<size_t> m_lineEnds;  // one past each line's LF
};

class SendWorker
{
public:
    enum class Outcome
    {
        Running,
        Finished,
        Stopped,
        DeviceLost,
    };

    // Starts the thread paused (pause count 1); onEnd is called on the
    // worker's thread when it ends by itself (finished or device lost).
    SendWorker(CSerialComm& comm, std::shared_ptr<const SendSnapshot> snapshot, std::function<void()> onEnd);
    // Stops and joins.
    ~SendWorker();
    SendWorker(const SendWorker&) = delete;
    SendWorker& operator=(const SendWorker&) = delete;

    void Pause();
    // Lowers the pause count, never below 0.
    void Resume();
    int PauseCount() const;
    // Asks the thread to stop at its next safe point and waits for it.
    void StopAndJoin();

    Outcome Result() const { return m_outcome.load(); }
    // The line being sent (-1 before the first), and what has gone so far.
    int CurrentLine() const { return m_currentLine.load(); }
    int LinesSent() const { return m_linesSent.load(); }
    uint64_t BytesSent() const { return m_bytesSent.load(); }
    // The progress shown while line of lines is being sent: 0, 33 and 66
    // for three lines (100 comes when the last has gone).
    static int Percent(int line, int lines) { return int(int64_t(line) * 100 / lines); }
    // CRC-32 of the bytes sent; read it once the worker has ended.
    uint32_t Crc() const { return m_crc; }
    const SendSnapshot& Snapshot() const { return *m_snapshot; }

private:
    void Run();
    // Waits while paused; false when asked to stop.
    bool WaitUntilRunning();

    CSerialComm& m_comm;
    std::shared_ptr<const SendSnapshot> m_snapshot;
    std::function<void()> m_onEnd;

    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    int m_pauseCount = 1;
    std::atomic<bool> m_stop{false};

    std::atomic<Outcome> m_outcome{Outcome::Running};
    std::atomic<int> m_currentLine{-1};
    std::atomic<int> m_linesSent{0};
    std::atomic<uint64_t> m_bytesSent{0};
    uint32_t m_crc = 0;
    std::thread m_thread;
};
