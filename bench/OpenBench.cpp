// Opening a large program in the real program, as File > Open does it: the
// time until the code and the statistics are on screen (both panes painted),
// and until the toolpath has followed (the simulation pane painted after
// them).  The window is closed again between openings.
//
// TORNEL_BENCH_FILE names the program to open; without it one of
// TORNEL_BENCH_LINES lines (3500000 unless set) is generated once into /tmp.
// Needs an X display with GLX; without one it starts Xvfb for the run.
// bench/compare-open.sh puts the figures beside vim's load of the same file.
#include <benchmark/benchmark.h>

#include <QAbstractScrollArea>
#include <QElapsedTimer>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "AfxMessageBox.h"
#include "CInfoView.h"
#include "CMainFrame.h"
#include "CSimView.h"
#include "CTornelApp.h"
#include "CTornelView.h"
#include "NcGen.h"
#include "DisplayBenchMain.h"

namespace {

class QuickApp : public CTornelApp
{
protected:
    void Pause(int) override {}
};

std::string BenchFile()
{
    if (const char* file = std::getenv("TORNEL_BENCH_FILE"))
        return file;
    NcGenOptions options;
    options.lines = 3500000;
    if (const char* env = std::getenv("TORNEL_BENCH_LINES"))
        options.lines = std::strtoull(env, nullptr, 10);
    const std::string path = "/tmp/tornel-open-bench-" + std::to_string(options.lines) + ".nc";
    if (FILE* existing = std::fopen(path.c_str(), "rb")) {
        std::fclose(existing);
        return path;
    }
    const std::string text = GenerateNcString(options);
    FILE* out = std::fopen(path.c_str(), "wb");
    std::fwrite(text.data(), 1, text.size(), out);
    std::fclose(out);
    return path;
}

// Notes the paints of the three panes after Arm.
class PaintWatch : public QObject
{
public:
    void Arm()
    {
        code = info = false;
        simPaints = 0;
        m_clock.start();
    }
    bool eventFilter(QObject* receiver, QEvent* event) override
    {
        if (event->type() != QEvent::Paint)
            return false;
        QObject* owner = receiver->parent();
        if (dynamic_cast<CTornelView*>(owner))
            code = true;
        else if (dynamic_cast<CInfoView*>(owner))
            info = true;
        else if (dynamic_cast<CSimView*>(receiver))
            ++simPaints;
        return false;
    }
    double Seconds() const { return double(m_clock.nsecsElapsed()) / 1e9; }

    bool code = false, info = false;
    int simPaints = 0;

private:
    QElapsedTimer m_clock;
};

struct Fixture
{
    std::unique_ptr<QuickApp> app;
    CMainFrame* frame = nullptr;
    PaintWatch watch;
    std::string path = BenchFile();

    Fixture()
    {
        SetMessageBoxHook([](const QString& text, unsigned) {
            std::fprintf(stderr, "message: %s\n", text.toLocal8Bit().constData());
            return IDOK;
        });
        app = std::make_unique<QuickApp>();
        app->SetArguments({QStringLiteral("--no-splash")});
        app->InitInstance();
        frame = dynamic_cast<CMainFrame*>(app->m_pMainWnd);
        frame->resize(1200, 800);
        if (!QTest::qWaitForWindowExposed(frame))
            std::fprintf(stderr, "the window did not show\n");
        qApp->installEventFilter(&watch);
    }
    ~Fixture()
    {
        qApp->removeEventFilter(&watch);
        delete frame;
        app.reset();
        SetMessageBoxHook({});
    }

    // Opens the file and waits for the panes: the seconds until the code
    // and the statistics were painted (and so, once the event pass that
    // painted them is over, on screen), and until the simulation pane has
    // painted for the last time, which is taken to be when it has been
    // quiet for a second.
    std::pair<double, double> OpenOnce()
    {
        watch.Arm();
        if (!app->OpenDocumentFile(QString::fromStdString(path)))
            return {-1, -1};
        while (!watch.code || !watch.info)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        const double shown = watch.Seconds();
        double toolpath = shown;
        for (int seen = watch.simPaints; watch.Seconds() < toolpath + 1.0;) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            if (watch.simPaints != seen) {
                seen = watch.simPaints;
                toolpath = watch.Seconds();
            }
        }
        frame->MDIClient()->closeAllSubWindows();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
        return {shown, toolpath};
    }
};

std::unique_ptr<Fixture> g_fixture;

void BM_OpenUntilCodeAndStatisticsShow(benchmark::State& state)
{
    if (!g_fixture)
        g_fixture = std::make_unique<Fixture>();
    double toolpath = 0;
    for (auto _ : state) {
        const auto [shown, sim] = g_fixture->OpenOnce();
        if (shown < 0) {
            state.SkipWithError("the program could not be opened");
            return;
        }
        state.SetIterationTime(shown);
        toolpath = sim;
    }
    state.counters["toolpath_s"] = toolpath;
}
BENCHMARK(BM_OpenUntilCodeAndStatisticsShow)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);

}  // namespace

int main(int argc, char** argv)
{
    return RunDisplayBenchmarks(argc, argv, [] { g_fixture.reset(); });
}
