// DNC transfer through a pseudo-terminal whose other side reads (or writes)
// as fast as it can, offscreen:
//  - BM_SendProgram: a generated program of TORNEL_BENCH_LINES lines
//    (3.5 million unless set) sent with the send dialog, from Start to the
//    end; counters: the event loop's worst lateness during the transfer,
//    edit-box updates a second, the snapshot's size against the text's.
//  - BM_ReceiveBytes: N bytes of program received with the receive dialog
//    until all have arrived; counters: label repaints a second; the time a
//    byte should stay flat as N grows.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <thread>
#include <unistd.h>

#include "AfxMessageBox.h"
#include "BenchProgram.h"
#include "CReceiveDlg.h"
#include "CSendDlg.h"
#include "Crc32.h"
#include "PortSettings.h"
#include "QtBenchMain.h"
#include "SendWorker.h"
#include "TempDir.h"

namespace {

struct Pty
{
    Pty()
    {
        char name[256] = {};
        openpty(&master, &slave, name, nullptr, nullptr);
        path = QString::fromLocal8Bit(name);
    }
    ~Pty()
    {
        close(master);
        close(slave);
    }
    int master = -1;
    int slave = -1;
    QString path;
};

// Measures how late a 10 ms timer fires while the transfer runs.
class LoopLatency
{
public:
    LoopLatency()
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            const qint64 now = m_clock.nsecsElapsed();
            if (m_last > 0)
                m_worst = std::max(m_worst, (now - m_last) / 1e6 - 10.0);
            m_last = now;
        });
        m_clock.start();
        m_timer.start(10);
    }
    double WorstMs() const { return m_worst; }

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_last = 0;
    double m_worst = 0;
};

void UseSettingsIn(const TempDir& dir, const QString& port, TransferKind kind)
{
    QDir::setCurrent(QString::fromStdString(dir.Path().string()));
    PortSettings settings;
    settings.port = port;
    settings.baud = QStringLiteral("256000");
    QString error;
    SaveSettingsFile(settings, kind, error);
}

void BM_SendProgram(benchmark::State& state)
{
    NcGenOptions options;
    options.lines = 3500000;
    if (const char* env = std::getenv("TORNEL_BENCH_LINES"))
        options.lines = std::strtoull(env, nullptr, 10);
    CTextBuffer buffer;
    std::string text = GenerateNcString(options);
    LoadThroughFile(buffer, text);
    const size_t textBytes = text.size();
    text = std::string();

    TempDir dir;
    double worst = 0, updatesPerSecond = 0, snapshotBytes = 0, sent = 0;
    for (auto _ : state) {
        Pty pty;
        UseSettingsIn(dir, pty.path, TransferKind::Send);
        CSendDlg dialog(&buffer, QStringLiteral("bench.nc"));
        dialog.show();
        auto* log = dialog.findChild<QPlainTextEdit*>();
        int updates = 0;
        QObject::connect(log, &QPlainTextEdit::textChanged, [&] { ++updates; });
        // The machine reads everything as it comes and sends one DC1.
        std::atomic<uint64_t> received{0};
        std::atomic<bool> done{false};
        std::thread machine([&] {
            char chunk[65536];
            pollfd p{pty.master, POLLIN, 0};
            while (!done) {
                if (poll(&p, 1, 20) > 0) {
                    const ssize_t n = read(pty.master, chunk, sizeof chunk);
                    if (n > 0)
                        received += uint64_t(n);
                }
            }
        });
        QElapsedTimer clock;
        clock.start();
        dialog.OnStart();
        const qint64 started = clock.elapsed();
        write(pty.master, "\x11", 1);
        LoopLatency latency;
        while (dialog.IsSending())
            QTest::qWait(5);
        const double seconds = clock.elapsed() / 1000.0;
        done = true;
        machine.join();
        state.SetIterationTime(seconds);
        worst = latency.WorstMs();
        updatesPerSecond = updates / seconds;
        sent = double(received.load());
        QElapsedTimer snapshotClock;
        snapshotClock.start();
        const SendSnapshot snapshot(buffer);
        state.counters["snapshot_ms"] = double(snapshotClock.elapsed());
        snapshotBytes = double(snapshot.Bytes().capacity()) + 8.0 * snapshot.LineCount();
        state.counters["start_ms"] = double(started);
    }
    state.counters["lines"] = double(buffer.LineCount());
    state.counters["loop_worst_ms"] = worst;
    state.counters["edit_updates_per_s"] = updatesPerSecond;
    state.counters["snapshot_per_text"] = snapshotBytes / double(textBytes);
    state.SetBytesProcessed(int64_t(sent) * int64_t(state.iterations()));
}

void BM_ReceiveBytes(benchmark::State& state)
{
    const qsizetype size = state.range(0);
    QByteArray program;
    program.reserve(size);
    for (int i = 0; program.size() < size; ++i)
        program.append("N" + QByteArray::number(i) + " G01 X" + QByteArray::number(i % 1000) + " Y-2.5 F300\r\n");
    program.truncate(size);

    TempDir dir;
    double paintsPerSecond = 0;
    for (auto _ : state) {
        Pty pty;
        UseSettingsIn(dir, pty.path, TransferKind::Receive);
        CReceiveDlg dialog;
        dialog.show();
        int paints = 0;
        struct PaintCounter : QObject
        {
            int* count;
            bool eventFilter(QObject*, QEvent* event) override
            {
                if (event->type() == QEvent::Paint)
                    ++*count;
                return false;
            }
        } counter;
        counter.count = &paints;
        dialog.findChild<QLabel*>(QStringLiteral("label1038"))->installEventFilter(&counter);
        dialog.OnStart();
        fcntl(pty.master, F_SETFL, fcntl(pty.master, F_GETFL) | O_NONBLOCK);
        QElapsedTimer clock;
        clock.start();
        std::thread machine([&] {
            qsizetype at = 0;
            pollfd p{pty.master, POLLOUT, 0};
            while (at < program.size()) {
                const ssize_t n = write(pty.master, program.constData() + at, size_t(program.size() - at));
                if (n > 0)
                    at += n;
                else
                    poll(&p, 1, 20);
            }
        });
        while (dialog.Received().size() < program.size())
            QTest::qWait(1);
        const double seconds = clock.elapsed() / 1000.0;
        machine.join();
        state.SetIterationTime(seconds);
        paintsPerSecond = paints / seconds;
        if (dialog.Received() != program)
            state.SkipWithError("received bytes differ");
        // Cancelling asks before it drops what came: yes, drop it.
        SetMessageBoxHook([](const QString&, unsigned) { return int(IDYES); });
        dialog.reject();
        SetMessageBoxHook({});
    }
    state.counters["label_paints_per_s"] = paintsPerSecond;
    state.SetBytesProcessed(int64_t(size) * int64_t(state.iterations()));
    state.SetComplexityN(size);
}

BENCHMARK(BM_SendProgram)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_ReceiveBytes)
    ->RangeMultiplier(2)
    ->Range(2 << 20, 10 << 20)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Complexity(benchmark::oN);

}  // namespace

int main(int argc, char** argv)
{
    return RunQtBenchmarks(argc, argv, "offscreen", [] {});
}
