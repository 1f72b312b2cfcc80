// The NC code view on a program that is one very long line, driven
// offscreen: opening it (initial update, first paint, scroll bars), End the
// first time and again, Home, typing a character in the middle and at the
// end of the line, Enter in the middle, and the first character typed after
// loading, each with its repaint.
// TORNEL_BENCH_LINE_BYTES sets the line's length (default 10000000).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QWindow>
#include <cstdlib>
#include <memory>

#include "BenchProgram.h"
#include "CTornelDoc.h"
#include "CTornelView.h"
#include "QtBenchMain.h"
#include "ids.h"

namespace {

uint64_t LineBytes()
{
    const char* env = std::getenv("TORNEL_BENCH_LINE_BYTES");
    return env ? std::strtoull(env, nullptr, 10) : 10000000;
}

struct Fixture
{
    CTornelDoc doc;
    CTornelView* view = nullptr;
    const std::string text = GenerateNcLine(LineBytes());

    Fixture()
    {
        LoadThroughFile(doc.TextBuffer(), text);
        view = new CTornelView;
        doc.AddView(view);
        ShowOnScreen(view, QSize(1000, 800));
        view->setFocus();
        Open();
    }
    ~Fixture() { delete view; }

    // What opening a document does for its code view; the horizontal bar
    // is set up from the event loop, just after the first paint.
    void Open()
    {
        view->OnInitialUpdate();
        view->viewport()->repaint();
        QCoreApplication::processEvents();
    }
    void Command(int id)
    {
        view->OnCmdMsg(id, nullptr);
        view->viewport()->repaint();
    }
    void Place(int x)
    {
        const TextPos pt{x, 0};
        view->SetSelection(pt, pt);
        view->SetSelectionAnchor(pt);
        view->SetCursorTextPos(pt);
        view->ScrollIntoView(pt);
        view->viewport()->repaint();
    }
    int Length() { return doc.TextBuffer().LineLength(0); }
};

std::unique_ptr<Fixture> g_fixture;

Fixture& TheFixture()
{
    if (!g_fixture)
        g_fixture = std::make_unique<Fixture>();
    return *g_fixture;
}

void BM_Open(benchmark::State& state)
{
    Fixture& f = TheFixture();
    for (auto _ : state)
        f.Open();
    state.counters["bytes"] = f.Length();
}
BENCHMARK(BM_Open)->Unit(benchmark::kMillisecond)->Iterations(10);

// The first End after opening: nothing of the line's far end is known yet.
void BM_EndFirstTime(benchmark::State& state)
{
    Fixture& f = TheFixture();
    for (auto _ : state) {
        state.PauseTiming();
        f.Open();
        state.ResumeTiming();
        f.Command(ID_EDIT_MOVE_LINE_END);
    }
}
BENCHMARK(BM_EndFirstTime)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_End(benchmark::State& state)
{
    Fixture& f = TheFixture();
    f.Command(ID_EDIT_MOVE_LINE_END);
    for (auto _ : state) {
        state.PauseTiming();
        f.Place(0);
        state.ResumeTiming();
        f.Command(ID_EDIT_MOVE_LINE_END);
    }
}
BENCHMARK(BM_End)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_Home(benchmark::State& state)
{
    Fixture& f = TheFixture();
    for (auto _ : state) {
        state.PauseTiming();
        f.Place(f.Length());
        state.ResumeTiming();
        f.Command(ID_EDIT_MOVE_LINE_HOME);
    }
}
BENCHMARK(BM_Home)->Unit(benchmark::kMillisecond)->Iterations(10);

// One character typed in the middle (0) or at the end (1) of the line, with
// the repaint; undone outside the clock.
void BM_TypeCharacter(benchmark::State& state)
{
    Fixture& f = TheFixture();
    const bool atEnd = state.range(0) == 1;
    for (auto _ : state) {
        state.PauseTiming();
        f.Place(atEnd ? f.Length() : f.Length() / 2);
        state.ResumeTiming();
        f.view->OnChar('X');
        f.view->viewport()->repaint();
        state.PauseTiming();
        f.Command(ID_EDIT_UNDO);
        state.ResumeTiming();
    }
    state.SetLabel(atEnd ? "end" : "middle");
}
BENCHMARK(BM_TypeCharacter)->DenseRange(0, 1)->Unit(benchmark::kMillisecond)->Iterations(10);

// Enter in the middle of the line: the line splits in two; undone outside
// the clock.
void BM_Enter(benchmark::State& state)
{
    Fixture& f = TheFixture();
    for (auto _ : state) {
        state.PauseTiming();
        f.Place(f.Length() / 2);
        state.ResumeTiming();
        f.view->OnChar('\r');
        f.view->viewport()->repaint();
        state.PauseTiming();
        f.Command(ID_EDIT_UNDO);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Enter)->Unit(benchmark::kMillisecond)->Iterations(10);

// The first character typed in the middle of a line just loaded: the line
// leaves the block it was loaded into for a larger one of its own.
void BM_TypeFirstCharacter(benchmark::State& state)
{
    Fixture& f = TheFixture();
    for (auto _ : state) {
        state.PauseTiming();
        f.doc.TextBuffer().ClearAll();
        LoadThroughFile(f.doc.TextBuffer(), f.text);
        f.Open();
        f.Place(f.Length() / 2);
        state.ResumeTiming();
        f.view->OnChar('X');
        f.view->viewport()->repaint();
    }
}
BENCHMARK(BM_TypeFirstCharacter)->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace

int main(int argc, char** argv)
{
    return RunQtBenchmarks(argc, argv, "offscreen", [] { g_fixture.reset(); });
}
