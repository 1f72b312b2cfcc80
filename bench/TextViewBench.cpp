// The text view on a generated program, driven offscreen: the first paint
// after attaching, a page down anywhere, Ctrl+End (every parse cookie up to
// the end), the notification of a one-line edit near the top, and marking
// the running line as a playback does, a line further at each step near the
// end of the program.
// TORNEL_BENCH_LINES sets the program's size (default 200000 lines).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QWindow>
#include <algorithm>
#include <memory>
#include <random>

#include "BenchProgram.h"
#include "CTextBuffer.h"
#include "CTextView.h"
#include "QtBenchMain.h"
#include "ids.h"

namespace {

struct Fixture
{
    CTextBuffer buffer;
    std::unique_ptr<CTextView> view;

    Fixture()
    {
        LoadThroughFile(buffer, BenchProgramText());
        view = std::make_unique<CTextView>();
        ShowOnScreen(view.get(), QSize(800, 1000));
    }
};

// Made on first use and gone before the application: widgets may not
// outlive it.
std::unique_ptr<Fixture> g_fixture;

Fixture& TheFixture()
{
    if (!g_fixture)
        g_fixture = std::make_unique<Fixture>();
    return *g_fixture;
}

void BM_FirstPaint(benchmark::State& state)
{
    Fixture& f = TheFixture();
    for (auto _ : state) {
        f.view->AttachBuffer(&f.buffer);
        f.view->viewport()->repaint();
    }
    state.counters["lines"] = f.buffer.LineCount();
}
BENCHMARK(BM_FirstPaint)->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_PageDownAnywhere(benchmark::State& state)
{
    Fixture& f = TheFixture();
    f.view->AttachBuffer(&f.buffer);
    f.view->viewport()->repaint();
    std::mt19937 random(1);
    for (auto _ : state) {
        state.PauseTiming();
        f.view->ScrollToLine(int(random() % uint32_t(f.buffer.LineCount() - 100)), true);
        f.view->viewport()->repaint();
        state.ResumeTiming();
        f.view->OnVScroll(CTextView::SB_PAGEDOWN);
        f.view->viewport()->repaint();
    }
}
BENCHMARK(BM_PageDownAnywhere)->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_CtrlEndFirstTime(benchmark::State& state)
{
    Fixture& f = TheFixture();
    for (auto _ : state) {
        state.PauseTiming();
        f.view->AttachBuffer(&f.buffer);
        f.view->viewport()->repaint();
        state.ResumeTiming();
        f.view->OnCmdMsg(ID_EDIT_MOVE_TEXT_END, nullptr);
        f.view->viewport()->repaint();
    }
}
BENCHMARK(BM_CtrlEndFirstTime)->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_CtrlEndAgain(benchmark::State& state)
{
    Fixture& f = TheFixture();
    f.view->AttachBuffer(&f.buffer);
    f.view->OnCmdMsg(ID_EDIT_MOVE_TEXT_END, nullptr);
    f.view->viewport()->repaint();
    for (auto _ : state) {
        f.view->OnCmdMsg(ID_EDIT_MOVE_TEXT_START, nullptr);
        f.view->viewport()->repaint();
        f.view->OnCmdMsg(ID_EDIT_MOVE_TEXT_END, nullptr);
        f.view->viewport()->repaint();
    }
    state.SetItemsProcessed(state.iterations() * 2);
}
BENCHMARK(BM_CtrlEndAgain)->Unit(benchmark::kMillisecond)->Iterations(20);

// One character typed and taken out again on line 5 (two notifications),
// and a line inserted and removed there (two more).
void BM_EditNearTopNotify(benchmark::State& state)
{
    Fixture& f = TheFixture();
    f.view->AttachBuffer(&f.buffer);
    f.view->GetWidestLineColumns();
    f.view->viewport()->repaint();
    int endLine, endChar;
    for (auto _ : state) {
        f.buffer.RawInsert(nullptr, 5, 0, "X", endLine, endChar);
        f.buffer.RawDelete(nullptr, 5, 0, 5, 1);
        f.buffer.RawInsert(nullptr, 5, 0, "X\r\n", endLine, endChar);
        f.buffer.RawDelete(nullptr, 5, 0, 6, 0);
    }
    state.SetItemsProcessed(state.iterations() * 4);
}
BENCHMARK(BM_EditNearTopNotify)->Unit(benchmark::kMicrosecond)->Iterations(200);

// The mark moves on and the view follows it; painted every step, as the
// playback's steps are.
void BM_MarkRunningLine(benchmark::State& state)
{
    Fixture& f = TheFixture();
    f.view->AttachBuffer(&f.buffer);
    f.view->viewport()->repaint();
    const int first = std::max(0, f.buffer.LineCount() - 5000);
    int line = first;
    for (auto _ : state) {
        f.view->MarkRunningLine(line);
        f.view->viewport()->repaint();
        line = line + 1 < f.buffer.LineCount() ? line + 1 : first;
    }
    state.counters["lines"] = f.buffer.LineCount();
}
BENCHMARK(BM_MarkRunningLine)->Unit(benchmark::kMicrosecond)->Iterations(2000);

}  // namespace

int main(int argc, char** argv)
{
    return RunQtBenchmarks(argc, argv, "offscreen", [] { g_fixture.reset(); });
}
