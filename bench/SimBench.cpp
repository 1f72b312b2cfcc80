// The simulation view drawing a generated program's toolpath: one frame
// from the vertex arrays and one frame record by record (one glBegin/glEnd
// each, as the pick draws), in the same run.  A frame is RenderScene into
// the view's framebuffer up to glFinish, without Qt's composition.
// A third frame is the renderer's floor for the same toolpath: every
// segment (an arc's as the arrays cut it) in a single glDrawArrays of
// GL_LINES in one colour, without stipple and without state changes, so
// that what is left is the software renderer's own work on the segments.
// Then the tool model alone at the fitted zoom, each shape.  Then a
// right-button pick at the pane's centre, which draws in GL_SELECT mode
// the records that may cross its window, and the same pick drawing every
// record.  Last, what a drag
// costs: building the exact arrays and the reduced levels of a new move
// list, a frame during an interaction (the reduced level the default budget
// picks), and a whole drag step - the mouse move through the view's event
// handler, the frame and Qt's composition of the pane into its window.
// Then the playback at its fastest (slider at 200, period 0) from the
// start, the middle and the end of the toolpath: ticks per second, each
// tick painted and composed before the next, as the control dialog's
// events start it (paint_ms is the view's own drawing in a tick, to the
// end of its GL work; the rest is Qt's composition of the window and the X
// server); and the same at the middle with every frame drawn whole, as it
// was before frames kept their picture.
// Every frame draws the tool model too: the program's T numbers are given
// shapes and sizes, as a user gives them before playing back.
// TORNEL_BENCH_MOVES sets the number of move records (default 1000000).
// Needs an X display with GLX; without one it starts Xvfb for the run.
#include <benchmark/benchmark.h>

#include <GL/gl.h>
#include <QApplication>
#include <QMouseEvent>
#include <QWindow>
#include <QElapsedTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "BenchProgram.h"
#include "CSimView.h"
#include "CTornelDoc.h"
#include "MoveList.h"
#include "NcGen.h"
#include "NcInterpreter.h"
#include "DisplayBenchMain.h"
#include "SimControlEvent.h"
#include "ToolpathReduction.h"

namespace {

// The head of a generated program that makes exactly moves records.
std::string ProgramWithMoves(size_t moves)
{
    for (uint64_t lines = moves * 2;; lines *= 2) {
        NcGenOptions options;
        options.lines = lines;
        const std::string text = GenerateNcString(options);
        NcInterpreter interpreter;
        size_t at = 0;
        int index = 0;
        while (at < text.size()) {
            size_t end = text.find('\n', at);
            end = end == std::string::npos ? text.size() : end + 1;
            size_t length = end - at;
            while (length > 0 && (text[at + length - 1] == '\n' || text[at + length - 1] == '\r'))
                --length;
            interpreter.InterpretLine(text.data() + at, int(length), index++);
            at = end;
            if (interpreter.Moves().size() == moves)
                return text.substr(0, at);
        }
    }
}

// The view with the floor frame (its scene transform around one
// glDrawArrays of every record) and a handle on its interaction state.
class BenchSimView : public CSimView
{
public:
    using CSimView::BeginInteraction;
    using CSimView::DrawTool;
    using CSimView::EndInteraction;

    // The tool numbered tool at the middle of the scene.
    void PlaceToolInTheMiddle(int32_t tool)
    {
        m_currentTool = tool;
        std::copy(std::begin(m_centre), std::end(m_centre), std::begin(m_toolPos));
    }

    // The paints, and how long they took to the end of their GL work.
    int m_paints = 0;
    qint64 m_paintNs = 0;
    void paintGL() override
    {
        ++m_paints;
        QElapsedTimer clock;
        clock.start();
        CSimView::paintGL();
        glFinish();
        m_paintNs += clock.nsecsElapsed();
    }

    // Waits for the worker to hand over the reduced levels.
    const ToolpathReduction& WaitForReduction()
    {
        while (!m_reduction)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        return *m_reduction;
    }
    float Scale() const { return m_scale; }
    double ArcTolerance() const { return m_arcTolerance; }

    // Plays from a record on, as Continue does at the slider's fastest.
    void PlayFrom(size_t record)
    {
        m_playPos = record;
        m_simulating = true;
        QCoreApplication::postEvent(this, new SimControlEvent(SimControlEvent::kContinue, 200));
    }
    void Stop()
    {
        QCoreApplication::postEvent(this, new SimControlEvent(SimControlEvent::kLeave, 0));
        while (IsPlaying())
            QCoreApplication::processEvents();
    }
    // Runs the event loop until the playback has made a step.
    void WaitForStep()
    {
        const size_t position = m_playPos;
        while (m_playPos == position)
            QCoreApplication::processEvents();
    }

    void DrawFloorFrame(const std::vector<float>& segments)
    {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glPushMatrix();
        glTranslatef(float(m_panX), float(m_panY), 0.0f);
        ApplySceneTransform();
        glColor3f(1.0f, 1.0f, 0.0f);
        glEnableClientState(GL_VERTEX_ARRAY);
        glVertexPointer(3, GL_FLOAT, 0, segments.data());
        glDrawArrays(GL_LINES, 0, GLsizei(segments.size() / 3));
        glDisableClientState(GL_VERTEX_ARRAY);
        glPopMatrix();
    }
};

struct Fixture
{
    CTornelDoc doc;
    std::unique_ptr<BenchSimView> view;

    Fixture()
    {
        size_t moves = 1000000;
        if (const char* env = std::getenv("TORNEL_BENCH_MOVES"))
            moves = std::strtoull(env, nullptr, 10);
        const std::string text = ProgramWithMoves(moves);
        LoadThroughFile(doc.TextBuffer(), text);
        doc.Interpreter().Run(doc.TextBuffer());
        // Every T number defined, as a user does before playing back, so
        // that the frames draw the tool model: the shapes in turn, 10 mm
        // cutters 30 mm long.
        std::vector<ToolSlot>& tools = doc.Interpreter().Tools();
        for (size_t i = 0; i < tools.size(); ++i) {
            tools[i].type = ToolType(i % 5);
            tools[i].D = 10.0f;
            tools[i].L = 30.0f;
            tools[i].R = 2.0f;
            tools[i].F = 10.0f;
            tools[i].TD = 4.0;
            tools[i].A = 118.0f;
        }
        view = std::make_unique<BenchSimView>();
        doc.AddView(view.get());
        view->OnInitialUpdate();
        view->resize(800, 600);
        view->show();
        for (int i = 0; i < 100 && !(view->windowHandle() && view->windowHandle()->isExposed()); ++i)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        view->OnZoomAll();
        view->OnIsoView();
    }
};

std::unique_ptr<Fixture> g_fixture;

Fixture& TheFixture()
{
    if (!g_fixture)
        g_fixture = std::make_unique<Fixture>();
    return *g_fixture;
}

void Frame(CSimView& view)
{
    view.makeCurrent();
    view.RenderScene();
    glFinish();
}

void DrawFrames(benchmark::State& state, bool batched)
{
    Fixture& f = TheFixture();
    f.view->SetBatchedDrawing(batched);
    Frame(*f.view);  // builds the arrays once
    for (auto _ : state)
        Frame(*f.view);
    state.counters["records"] = double(f.doc.Moves().size());
}

void BM_FrameBatched(benchmark::State& state)
{
    DrawFrames(state, true);
}
BENCHMARK(BM_FrameBatched)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5)->Repetitions(5);

void BM_FramePerRecord(benchmark::State& state)
{
    DrawFrames(state, false);
}
BENCHMARK(BM_FramePerRecord)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3)->Repetitions(5);

void BM_RendererFloor(benchmark::State& state)
{
    Fixture& f = TheFixture();
    ToolpathBatch batch;
    batch.Build(f.doc.Moves(), f.view->ArcTolerance());
    std::vector<float> segments;
    segments.reserve(batch.SegmentCount() * 6);
    batch.ForEachSegment([&](size_t, int, const float* start, const float* end) {
        segments.insert(segments.end(), start, start + 3);
        segments.insert(segments.end(), end, end + 3);
    });
    f.view->makeCurrent();
    for (auto _ : state) {
        f.view->DrawFloorFrame(segments);
        glFinish();
    }
    state.counters["records"] = double(f.doc.Moves().size());
    state.counters["segments"] = double(batch.SegmentCount());
}

BENCHMARK(BM_RendererFloor)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5)->Repetitions(5);

// As the right button does it, press and release.  With the arrays off
// the pick draws every record, as the reference drawing does.
void Picks(benchmark::State& state, bool batched)
{
    Fixture& f = TheFixture();
    f.view->SetBatchedDrawing(batched);
    const QPointF centre(400, 300), global = f.view->mapToGlobal(centre);
    for (auto _ : state) {
        QMouseEvent press(QEvent::MouseButtonPress, centre, global, Qt::RightButton, Qt::RightButton, {});
        QCoreApplication::sendEvent(f.view.get(), &press);
        QMouseEvent release(QEvent::MouseButtonRelease, centre, global, Qt::RightButton, Qt::NoButton, {});
        QCoreApplication::sendEvent(f.view.get(), &release);
    }
}

// The tool model alone as the pane shows it at the program's fitted zoom
// (isometric, a 10 mm cutter 30 mm long in the middle of the scene): each
// shape (0 FL .. 4 DR) and the default marker (5, no slot), up to
// glFinish, each time on a cleared pane (not timed).
void BM_DrawToolInTheProgram(benchmark::State& state)
{
    Fixture& f = TheFixture();
    std::vector<ToolSlot>& tools = f.doc.Interpreter().Tools();
    const std::vector<ToolSlot> kept = tools;
    const int shape = int(state.range(0));
    if (shape == 5)
        tools.clear();
    for (ToolSlot& slot : tools)
        slot.type = ToolType(shape);
    f.view->PlaceToolInTheMiddle(kept.empty() ? 0 : kept.front().number);
    f.view->makeCurrent();
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glFinish();
        const auto start = std::chrono::steady_clock::now();
        f.view->DrawTool();
        glFinish();
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    state.counters["scale"] = f.view->Scale();
    tools = kept;
}
BENCHMARK(BM_DrawToolInTheProgram)
    ->ArgName("shape")
    ->DenseRange(0, 5)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(50)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_Pick(benchmark::State& state)
{
    Picks(state, true);
}
BENCHMARK(BM_Pick)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3)->Repetitions(3);

void BM_PickEveryRecord(benchmark::State& state)
{
    Picks(state, false);
}
BENCHMARK(BM_PickEveryRecord)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1)->Repetitions(3);

// What the first paint of a new move list does before it draws.
void BM_BuildBatch(benchmark::State& state)
{
    Fixture& f = TheFixture();
    size_t segments = 0;
    for (auto _ : state) {
        ToolpathBatch batch;
        batch.Build(f.doc.Moves(), f.view->ArcTolerance());
        segments = batch.SegmentCount();
    }
    state.counters["segments"] = double(segments);
}
BENCHMARK(BM_BuildBatch)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3)->Repetitions(5);

// The worker's job, here on the benchmark's thread.  The counters give the
// segments of each level by its resolution.
void BM_BuildReduction(benchmark::State& state)
{
    Fixture& f = TheFixture();
    ToolpathBatch batch;
    batch.Build(f.doc.Moves(), f.view->ArcTolerance());
    std::unique_ptr<ToolpathReduction> reduction;
    for (auto _ : state)
        reduction = ToolpathReduction::Build(batch);
    // The name built by appending: GCC 12 warns (-Wrestrict, wrongly) of
    // "L" + std::string at -O3.
    for (size_t level = 0; level < reduction->LevelCount(); ++level) {
        std::string name = std::to_string(reduction->Resolution(level));
        name.insert(name.begin(), 'L');
        state.counters[name] = double(reduction->SegmentCount(level));
    }
}
BENCHMARK(BM_BuildReduction)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3)->Repetitions(5);

// Waits for the reduction the view builds, and counts the level a frame at
// the view's camera picks under the default budget (its resolution, 0 for
// the exact toolpath) and the estimate it was picked by.  The whole box is
// on the pane at zoom all.
void ReadyReduction(Fixture& f, benchmark::State& state)
{
    f.view->SetBatchedDrawing(true);
    Frame(*f.view);  // the arrays, and the worker started
    const ToolpathReduction& reduction = f.view->WaitForReduction();
    const size_t level = reduction.LevelFor(f.view->ReducedFrameBudget(), f.view->Scale());
    state.counters["level"] = double(level == ToolpathReduction::kExact ? 0 : reduction.Resolution(level));
    state.counters["estimate_ms"] = reduction.FrameCost(level, f.view->Scale()) / 1000.0;
}

void BM_FrameReduced(benchmark::State& state)
{
    Fixture& f = TheFixture();
    ReadyReduction(f, state);
    f.view->BeginInteraction(true);
    for (auto _ : state)
        Frame(*f.view);
    state.counters["records"] = double(f.doc.Moves().size());
    state.counters["segments"] = double(f.view->LastFrameSegments());
    f.view->EndInteraction();
}
BENCHMARK(BM_FrameReduced)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10)->Repetitions(5);

// A rotate drag of one pixel a step, back and forth, each step painted and
// shown before the next: the event loop runs until the view has painted,
// which Qt follows with the composition, and glFinish waits for the
// renderer.
void BM_DragStepReduced(benchmark::State& state)
{
    Fixture& f = TheFixture();
    f.view->OnDynRotate();
    ReadyReduction(f, state);
    const QPointF start(400, 300);
    const auto send = [&](QEvent::Type type, QPointF point, Qt::MouseButton button, Qt::MouseButtons buttons) {
        QMouseEvent event(type, point, f.view->mapToGlobal(point), button, buttons, {});
        QCoreApplication::sendEvent(f.view.get(), &event);
    };
    send(QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
    int step = 0;
    for (auto _ : state) {
        send(QEvent::MouseMove, start + QPointF(step++ % 2 == 0 ? 1 : 0, 0), Qt::NoButton, Qt::LeftButton);
        const int painted = f.view->m_paints;
        while (f.view->m_paints == painted)
            QCoreApplication::processEvents();
        f.view->makeCurrent();
        glFinish();
    }
    send(QEvent::MouseButtonRelease, start, Qt::LeftButton, {});
    state.counters["segments"] = double(f.view->LastFrameSegments());
    f.view->EndInteraction();
    f.view->OnIsoView();
}
BENCHMARK(BM_DragStepReduced)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10)->Repetitions(5);

// The playback from a share of the toolpath on (0, 50 or 100 percent: the
// last records).  A few steps first, which build the picture up to there.
void PlaybackTicks(benchmark::State& state, bool incremental)
{
    Fixture& f = TheFixture();
    f.view->SetBatchedDrawing(true);
    f.view->SetIncrementalDrawing(incremental);
    const size_t records = f.doc.Moves().size();
    const size_t warmUp = 5;
    const size_t steps = warmUp + size_t(state.max_iterations) + 10;
    const size_t from = std::min(records * size_t(state.range(0)) / 100, records > steps ? records - steps : 0);
    // The reduced levels' worker is done: it would take a core.
    Frame(*f.view);
    f.view->WaitForReduction();
    f.view->PlayFrom(from);
    for (size_t i = 0; i < warmUp; ++i)
        f.view->WaitForStep();
    const int paints = f.view->m_paints;
    f.view->m_paintNs = 0;
    for (auto _ : state)
        f.view->WaitForStep();
    state.counters["paint_ms"] = double(f.view->m_paintNs) / 1e6 / double(state.iterations());
    state.counters["ticks_per_s"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["paints_per_tick"] = double(f.view->m_paints - paints) / double(state.iterations());
    state.counters["records"] = double(records);
    f.view->Stop();
    f.view->SetIncrementalDrawing(true);
}

void BM_PlaybackTick(benchmark::State& state)
{
    PlaybackTicks(state, true);
}
BENCHMARK(BM_PlaybackTick)
    ->ArgName("from_percent")
    ->Arg(0)
    ->Arg(50)
    ->Arg(100)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(300)
    ->Repetitions(5);

void BM_PlaybackTickRedrawn(benchmark::State& state)
{
    PlaybackTicks(state, false);
}
BENCHMARK(BM_PlaybackTickRedrawn)
    ->ArgName("from_percent")
    ->Arg(50)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(5)
    ->Repetitions(3);

}  // namespace

int main(int argc, char** argv)
{
    return RunDisplayBenchmarks(argc, argv, [] { g_fixture.reset(); });
}
