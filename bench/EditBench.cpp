// The NC code view editing a generated program, driven offscreen: typing a
// character, Enter, and Backspace joining two lines, at the first line, in
// the middle and at the last line, each with the repaint of the visible
// rows; pasting a million lines and undoing it.
// TORNEL_BENCH_LINES sets the program's size (default 200000 lines).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QClipboard>
#include <QWindow>
#include <memory>

#include "BenchProgram.h"
#include "CTornelDoc.h"
#include "CTornelView.h"
#include "DataTransfer.h"
#include "QtBenchMain.h"
#include "ids.h"

namespace {

struct Fixture
{
    CTornelDoc doc;
    CTornelView* view = nullptr;

    Fixture()
    {
        LoadThroughFile(doc.TextBuffer(), BenchProgramText());
        view = new CTornelView;
        doc.AddView(view);
        view->OnInitialUpdate();
        ShowOnScreen(view, QSize(800, 1000));
        view->setFocus();
        view->viewport()->repaint();
    }
    ~Fixture() { delete view; }

    // Line 0, the middle line or the last line.
    int Line(int where) const
    {
        const int count = doc.TextBuffer().LineCount();
        return where == 0 ? 0 : where == 1 ? count / 2 : count - 1;
    }
    void Place(TextPos pt)
    {
        view->SetSelection(pt, pt);
        view->SetSelectionAnchor(pt);
        view->SetCursorTextPos(pt);
        view->ScrollIntoView(pt);
        view->viewport()->repaint();
    }
    void Undo()
    {
        view->OnCmdMsg(ID_EDIT_UNDO, nullptr);
        view->viewport()->repaint();
    }
};

std::unique_ptr<Fixture> g_fixture;

Fixture& TheFixture()
{
    if (!g_fixture)
        g_fixture = std::make_unique<Fixture>();
    return *g_fixture;
}

const char* WhereName(int where)
{
    return where == 0 ? "first" : where == 1 ? "middle" : "last";
}

// One edit at a position of line 0, the middle line or the last line
// (state.range(0)), with the repaint; undone outside the clock.
template <typename Edit>
void TimeEdit(benchmark::State& state, TextPos (*where)(Fixture&, int line), Edit edit)
{
    Fixture& f = TheFixture();
    const TextPos at = where(f, f.Line(int(state.range(0))));
    for (auto _ : state) {
        state.PauseTiming();
        f.Place(at);
        state.ResumeTiming();
        edit(*f.view);
        f.view->viewport()->repaint();
        state.PauseTiming();
        f.Undo();
        state.ResumeTiming();
    }
    state.SetLabel(WhereName(int(state.range(0))));
}

TextPos InLine(Fixture& f, int line)
{
    return {std::min(2, f.doc.TextBuffer().LineLength(line)), line};
}

// Char 0 of the line, line 1 for the first: Backspace joins it to the one above.
TextPos LineStart(Fixture&, int line)
{
    return {0, std::max(1, line)};
}

void BM_TypeCharacter(benchmark::State& state)
{
    TimeEdit(state, InLine, [](CTornelView& view) { view.OnChar('X'); });
}
BENCHMARK(BM_TypeCharacter)->DenseRange(0, 2)->Unit(benchmark::kMillisecond)->Iterations(30);

void BM_Enter(benchmark::State& state)
{
    TimeEdit(state, InLine, [](CTornelView& view) { view.OnChar('\r'); });
}
BENCHMARK(BM_Enter)->DenseRange(0, 2)->Unit(benchmark::kMillisecond)->Iterations(30);

void BM_BackspaceJoin(benchmark::State& state)
{
    TimeEdit(state, LineStart, [](CTornelView& view) { view.OnCmdMsg(ID_EDIT_BACKSPACE, nullptr); });
}
BENCHMARK(BM_BackspaceJoin)->DenseRange(0, 2)->Unit(benchmark::kMillisecond)->Iterations(30);

std::string MillionLines()
{
    NcGenOptions options;
    options.lines = 1000000;
    options.seed = 7;
    return GenerateNcString(options);
}

void BM_PasteMillionLines(benchmark::State& state)
{
    Fixture& f = TheFixture();
    const std::string text = MillionLines();
    QGuiApplication::clipboard()->setMimeData(NewTextMimeData(text));
    for (auto _ : state) {
        state.PauseTiming();
        f.Place({0, f.Line(1)});
        state.ResumeTiming();
        f.view->OnCmdMsg(ID_EDIT_PASTE, nullptr);
        f.view->viewport()->repaint();
        state.PauseTiming();
        f.Undo();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_PasteMillionLines)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_UndoPasteMillionLines(benchmark::State& state)
{
    Fixture& f = TheFixture();
    const std::string text = MillionLines();
    QGuiApplication::clipboard()->setMimeData(NewTextMimeData(text));
    for (auto _ : state) {
        state.PauseTiming();
        f.Place({0, f.Line(1)});
        f.view->OnCmdMsg(ID_EDIT_PASTE, nullptr);
        f.view->viewport()->repaint();
        state.ResumeTiming();
        f.Undo();
    }
}
BENCHMARK(BM_UndoPasteMillionLines)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv)
{
    return RunQtBenchmarks(argc, argv, "offscreen", [] { g_fixture.reset(); });
}
