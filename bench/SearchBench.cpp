// Searching, replacing and printing a generated program in the NC code
// view, offscreen: find next of a text that only the last line holds, from
// the first line; Replace All of a word put on one line in 35 (100,000
// matches in 3.5 million lines) and its Undo; paginating the program for
// print on A4 paper.
// TORNEL_BENCH_LINES sets the program's size (default 200000 lines).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>
#include <QPainter>
#include <QPrinter>
#include <QRadioButton>
#include <QWindow>
#include <chrono>
#include <memory>

#include "AfxMessageBox.h"
#include "BenchProgram.h"
#include "CReplaceDialog.h"
#include "CTornelDoc.h"
#include "CTornelView.h"
#include "QtBenchMain.h"
#include "ids.h"

namespace {

constexpr int kLinesPerMatch = 35;
const char* const kLastLine = "(END OF THE BENCHMARK PROGRAM)";

// The generated program, with " Q1" at the end of every 35th line and a
// last line of its own.
std::string MarkedProgram()
{
    const std::string program = BenchProgramText();
    std::string marked;
    marked.reserve(program.size() + program.size() / 300 + 64);
    int line = 0;
    size_t start = 0;
    for (size_t end; (end = program.find("\r\n", start)) != std::string::npos; start = end + 2) {
        marked.append(program, start, end - start);
        if (++line % kLinesPerMatch == 0)
            marked += " Q1";
        marked += "\r\n";
    }
    marked += kLastLine;
    return marked;
}

struct Fixture
{
    CTornelDoc doc;
    CTornelView* view = nullptr;

    Fixture()
    {
        SetMessageBoxHook([](const QString&, unsigned) { return IDOK; });
        LoadThroughFile(doc.TextBuffer(), MarkedProgram());
        view = new CTornelView;
        doc.AddView(view);
        view->OnInitialUpdate();
        ShowOnScreen(view, QSize(800, 1000));
        view->viewport()->repaint();
    }
    ~Fixture()
    {
        delete view;
        SetMessageBoxHook({});
    }
    void Place(TextPos pt)
    {
        view->SetSelection(pt, pt);
        view->SetSelectionAnchor(pt);
        view->SetCursorTextPos(pt);
        view->ScrollIntoView(pt);
    }
};

std::unique_ptr<Fixture> g_fixture;

Fixture& TheFixture()
{
    if (!g_fixture)
        g_fixture = std::make_unique<Fixture>();
    return *g_fixture;
}

double Seconds(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

void BM_FindNextToTheLastLine(benchmark::State& state)
{
    Fixture& f = TheFixture();
    const std::string text = kLastLine;
    for (auto _ : state) {
        state.PauseTiming();
        f.Place({0, 0});
        state.ResumeTiming();
        TextPos found;
        if (!f.view->FindTextInDocument(text, f.view->GetCursorTextPos(), 0, true, &found))
            state.SkipWithError("not found");
        f.view->SelectFoundText(found, int(text.size()));
        f.view->viewport()->repaint();
    }
    state.counters["lines"] = f.doc.TextBuffer().LineCount();
}
BENCHMARK(BM_FindNextToTheLastLine)->Unit(benchmark::kMillisecond)->Iterations(5);

// Replace All through the Replace dialog (timed), then Undo (the counter
// undo_ms), each with the repaint that follows.
void BM_ReplaceAllAndUndo(benchmark::State& state)
{
    Fixture& f = TheFixture();
    double undoSeconds = 0;
    int replaced = 0;
    for (auto _ : state) {
        state.PauseTiming();
        f.Place({0, 0});
        CReplaceDialog dialog(f.view);
        dialog.findChild<QLineEdit*>(QStringLiteral("control8605"))->setText(QStringLiteral("Q1"));
        dialog.findChild<QLineEdit*>(QStringLiteral("control8609"))->setText(QStringLiteral("Q22"));
        dialog.findChild<QRadioButton*>(QStringLiteral("control8614"))->setChecked(true);
        const int before = f.doc.TextBuffer().UndoPos();
        state.ResumeTiming();
        dialog.OnReplaceAll();
        f.view->viewport()->repaint();
        state.PauseTiming();
        replaced = (f.doc.TextBuffer().UndoPos() - before) / 2;
        const auto start = std::chrono::steady_clock::now();
        f.view->OnCmdMsg(ID_EDIT_UNDO, nullptr);
        f.view->viewport()->repaint();
        undoSeconds += Seconds(start);
        if (f.doc.TextBuffer().Line(f.doc.TextBuffer().LineCount() - 1) != kLastLine ||
            f.doc.TextBuffer().UndoPos() != before)
            state.SkipWithError("undo did not restore the text");
        state.ResumeTiming();
    }
    state.counters["matches"] = replaced;
    state.counters["undo_ms"] = benchmark::Counter(undoSeconds * 1000, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_ReplaceAllAndUndo)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_Paginate(benchmark::State& state)
{
    Fixture& f = TheFixture();
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QStringLiteral("/tmp/tornel-bench-%1.pdf").arg(getpid()));
    printer.setPageSize(QPageSize(QPageSize::A4));
    QPainter dc(&printer);
    int pages = 0;
    for (auto _ : state) {
        CPrintInfo info;
        info.m_rectDraw = QRect(QPoint(0, 0), printer.pageLayout().paintRectPixels(printer.resolution()).size());
        f.view->OnBeginPrinting(dc, &info);
        f.view->PaginateDocument(dc, &info);
        // And the first page, as a job prints it.
        info.m_nCurPage = 1;
        f.view->OnPrint(dc, &info);
        state.PauseTiming();
        pages = f.view->GetPageCount();
        f.view->OnEndPrinting(dc, &info);
        state.ResumeTiming();
    }
    dc.end();
    std::remove(printer.outputFileName().toLocal8Bit().constData());
    state.counters["pages"] = pages;
}
BENCHMARK(BM_Paginate)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv)
{
    return RunQtBenchmarks(argc, argv, "offscreen", [] { g_fixture.reset(); });
}
