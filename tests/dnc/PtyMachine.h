// The machine tool at the other end of the line, played by a test: a
// pseudo-terminal pair whose terminal side the program opens as its port,
// while the test reads and writes the master side.  Every wait runs the
// event loop, since the program receives on this same thread.
#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QString>
#include <QTest>
#include <cerrno>
#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <pty.h>
#include <stdexcept>
#include <unistd.h>

class PtyMachine
{
public:
    PtyMachine()
    {
        char name[256] = {};
        if (::openpty(&m_master, &m_slave, name, nullptr, nullptr) != 0)
            throw std::runtime_error("openpty failed");
        m_path = QString::fromLocal8Bit(name);
        ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
    }
    ~PtyMachine()
    {
        HangUp();
        if (m_slave >= 0)
            ::close(m_slave);
    }
    PtyMachine(const PtyMachine&) = delete;
    PtyMachine& operator=(const PtyMachine&) = delete;

    // The device the program opens.
    const QString& Path() const { return m_path; }
    // The terminal side as the test holds it, to look at its settings.
    int Slave() const { return m_slave; }

    // Writes all of bytes, running the event loop while the line is full.
    void Send(const QByteArray& bytes)
    {
        qsizetype at = 0;
        while (at < bytes.size()) {
            const ssize_t n = ::write(m_master, bytes.constData() + at, size_t(bytes.size() - at));
            if (n > 0)
                at += n;
            else if (n < 0 && errno != EAGAIN && errno != EINTR)
                throw std::runtime_error("write to the pty failed");
            else
                QCoreApplication::processEvents();
        }
    }

    // Whatever has arrived so far (added to Received).
    const QByteArray& Poll()
    {
        while (ReadSome()) {
        }
        return m_received;
    }
    const QByteArray& Received() const { return m_received; }
    void ClearReceived() { m_received.clear(); }

    // Runs the event loop and reads until done holds or timeoutMs pass.
    // done is asked after every small read, as a machine reading its
    // buffer a piece at a time would: reading all there is first could
    // take a whole program from a sender that keeps up with the reads.
    bool ReadUntil(const std::function<bool(const QByteArray&)>& done, int timeoutMs = 10000)
    {
        QElapsedTimer clock;
        clock.start();
        while (!done(m_received)) {
            if (clock.elapsed() > timeoutMs)
                return false;
            if (!ReadSome())
                QTest::qWait(5);
        }
        return true;
    }
    // Runs the event loop for ms, reading what comes.
    const QByteArray& ReadFor(int ms)
    {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < ms) {
            Poll();
            QTest::qWait(5);
        }
        return Poll();
    }

    // The machine goes away: the program's side sees a hang-up.
    void HangUp()
    {
        if (m_master >= 0)
            ::close(m_master);
        m_master = -1;
    }

private:
    // One read of at most a few kilobytes; false when nothing was there.
    bool ReadSome()
    {
        char buffer[4096];
        const ssize_t n = m_master >= 0 ? ::read(m_master, buffer, sizeof buffer) : -1;
        if (n <= 0)
            return false;
        m_received.append(buffer, n);
        return true;
    }

    int m_master = -1;
    int m_slave = -1;
    QString m_path;
    QByteArray m_received;
};
