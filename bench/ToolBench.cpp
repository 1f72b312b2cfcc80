// The simulation view drawing its tool model: DrawTool alone, up to
// glFinish, for each of the five shapes (0 FL .. 4 DR) and the default
// marker (5), in the isometric view of an 800 x 600 pane.  The tool (D 12,
// L 36) stands in the middle of the pane at 2, 6, 10 and 18 pixels per
// unit: about a tenth and a third of the pane's height, then about a tenth
// and a third of its area (running off its edges).  Each frame starts from
// a cleared pane (not timed), as a frame of the view does.  First as the
// view draws (texture objects, the far sides of closed parts culled), then
// with the texture images re-specified at every draw, then with both sides
// of every part drawn.  Counters: the
// pixels the model covers, their share of the pane's area, and the share
// of its height between the model's highest and lowest pixel.
// Needs an X display with GLX; without one it starts Xvfb for the run.
#include <benchmark/benchmark.h>

#include <GL/gl.h>
#include <QApplication>
#include <QWindow>
#include <algorithm>
#include <chrono>
#include <memory>
#include <vector>

#include "BenchProgram.h"
#include "CSimView.h"
#include "CTornelDoc.h"
#include "DisplayBenchMain.h"

namespace {

constexpr int kWidth = 800, kHeight = 600;
// The shapes by ToolType, and the default marker (no slot at all).
constexpr int kDefault = 5;

class ToolBenchView : public CSimView
{
public:
    using CSimView::DrawTool;

    // Tool number tool, its point at (x, y, z) (stored Y), at scale
    // pixels per unit.
    void Place(int32_t tool, float x, float y, float z, float scale)
    {
        m_currentTool = tool;
        m_toolPos[0] = x;
        m_toolPos[1] = y;
        m_toolPos[2] = z;
        m_scale = scale;
    }
};

struct Fixture
{
    CTornelDoc doc;
    std::unique_ptr<ToolBenchView> view;

    Fixture()
    {
        // One feed move across the box from the origin: extents 0..100.
        LoadThroughFile(doc.TextBuffer(), "G1 X100 Y-100 Z100 F500\n");
        doc.Interpreter().Run(doc.TextBuffer());
        view = std::make_unique<ToolBenchView>();
        doc.AddView(view.get());
        view->OnInitialUpdate();
        view->resize(kWidth, kHeight);
        view->show();
        for (int i = 0; i < 100 && !(view->windowHandle() && view->windowHandle()->isExposed()); ++i)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        view->OnIsoView();
    }

    // The tool list holds one slot numbered 1 of the shape, or nothing.
    void UseShape(int shape, float scale)
    {
        // The box's middle (Y is stored negated), the tool point below it
        // so that the tool stands in the middle of the pane.
        view->Place(1, 50.0f, 50.0f, 32.0f, scale);
        std::vector<ToolSlot>& tools = doc.Interpreter().Tools();
        tools.clear();
        if (shape == kDefault)
            return;
        ToolSlot slot;
        slot.number = 1;
        slot.type = ToolType(shape);
        slot.D = 12.0f;
        slot.L = 36.0f;
        slot.R = 2.0f;
        slot.F = 15.0f;
        slot.TD = 5.0;
        slot.A = 118.0f;
        tools.push_back(slot);
    }
};

std::unique_ptr<Fixture> g_fixture;

Fixture& TheFixture()
{
    if (!g_fixture)
        g_fixture = std::make_unique<Fixture>();
    return *g_fixture;
}

void Clear()
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glFinish();
}

// The pixels the last draw lit, and the rows between its highest and its
// lowest.
struct Coverage
{
    int pixels = 0;
    int rows = 0;
};

Coverage LitPixels()
{
    std::vector<unsigned char> pixels(size_t(kWidth) * kHeight * 4);
    glReadPixels(0, 0, kWidth, kHeight, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    Coverage coverage;
    int top = kHeight, bottom = -1;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const unsigned char* p = &pixels[(size_t(y) * kWidth + x) * 4];
            if ((p[0] | p[1] | p[2]) != 0) {
                ++coverage.pixels;
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    coverage.rows = bottom < top ? 0 : bottom - top + 1;
    return coverage;
}

void DrawTools(benchmark::State& state, bool objects, bool culled)
{
    Fixture& f = TheFixture();
    f.UseShape(int(state.range(0)), float(state.range(1)));
    f.view->SetToolTextureObjects(objects);
    f.view->SetToolBackFacesCulled(culled);
    f.view->makeCurrent();
    for (auto _ : state) {
        Clear();
        const auto start = std::chrono::steady_clock::now();
        f.view->DrawTool();
        glFinish();
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    Clear();
    f.view->DrawTool();
    const Coverage lit = LitPixels();
    state.counters["pixels"] = lit.pixels;
    state.counters["area_share"] = double(lit.pixels) / (kWidth * kHeight);
    state.counters["height_share"] = double(lit.rows) / kHeight;
    f.view->SetToolTextureObjects(true);
    f.view->SetToolBackFacesCulled(true);
}

// Every shape and the default marker at four scales, as each way of
// drawing is measured.
void ShapesAndScales(benchmark::internal::Benchmark* b)
{
    b->ArgsProduct({benchmark::CreateDenseRange(0, kDefault, 1), {2, 6, 10, 18}})
        ->ArgNames({"shape", "scale"})
        ->Unit(benchmark::kMillisecond)
        ->UseManualTime()
        ->Iterations(50)
        ->Repetitions(5)
        ->ReportAggregatesOnly(true);
}

void BM_DrawTool(benchmark::State& state)
{
    DrawTools(state, true, true);
}
BENCHMARK(BM_DrawTool)->Apply(ShapesAndScales);

void BM_DrawToolRespecifying(benchmark::State& state)
{
    DrawTools(state, false, true);
}
BENCHMARK(BM_DrawToolRespecifying)->Apply(ShapesAndScales);

void BM_DrawToolBothSides(benchmark::State& state)
{
    DrawTools(state, true, false);
}
BENCHMARK(BM_DrawToolBothSides)->Apply(ShapesAndScales);

}  // namespace

int main(int argc, char** argv)
{
    return RunDisplayBenchmarks(argc, argv, [] { g_fixture.reset(); });
}
