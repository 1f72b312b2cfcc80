// A simulation view over a document that holds a move list the test fills
// and records the lines the view asks it to show, in a plain frame on an X
// display.  Pixels are read back with grabFramebuffer.
#pragma once

#include <GL/gl.h>
#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QMouseEvent>
#include <QTest>
#include <QWheelEvent>
#include <QWidget>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "CDocument.h"
#include "CFrameWnd.h"
#include "CMultiDocTemplate.h"
#include "CSimView.h"
#include "LogFont.h"
#include "NcDocument.h"
#include "NcGen.h"
#include "NcInterpreter.h"

class SimTestFrame : public CFrameWnd
{
public:
    QWidget* Widget() override { return &m_widget; }
    QWidget m_widget;
};

class FakeNcDocument : public CDocument, public CNcDocument
{
public:
    CTextBuffer* CodeBuffer() override { return nullptr; }
    const LogFont& CodeFont() const override { return m_font; }
    const MoveList& Moves() const override { return m_moves; }
    const std::vector<ToolSlot>& Tools() const override { return m_tools; }
    double MachiningTime() const override { return 0.0; }
    double RapidDistance() const override { return 0.0; }
    double FeedDistance() const override { return 0.0; }
    void ShowLine(int line) override { m_shownLines.push_back(line); }
    void ShowLineInSimulation(int) override {}

    MoveList m_moves;
    std::vector<ToolSlot> m_tools;
    std::vector<int> m_shownLines;
    LogFont m_font;
};

// The view with its state open to the tests; it counts its paints, and
// calls m_afterPaint after each, with the context current and the pane's
// framebuffer bound.
class ProbeSimView : public CSimView
{
public:
    using CSimView::CSimView;
    void paintGL() override
    {
        ++m_paints;
        CSimView::paintGL();
        if (m_afterPaint)
            m_afterPaint();
    }
    int m_paints = 0;
    std::function<void()> m_afterPaint;
    using CSimView::m_batch;
    using CSimView::m_reduction;
    using CSimView::m_settleTimer;
    using CSimView::m_currentLine;
    using CSimView::m_currentTool;
    using CSimView::m_centre;
    using CSimView::m_hPanCursor;
    using CSimView::m_hPickCursor;
    using CSimView::m_hRotateCursor;
    using CSimView::m_hZoomCursor;
    using CSimView::m_hZoomWindowCursor;
    using CSimView::m_mode;
    using CSimView::m_panX;
    using CSimView::m_panY;
    using CSimView::m_playEnd;
    using CSimView::m_playPos;
    using CSimView::m_renderMode;
    using CSimView::SelectAt;
    using CSimView::ApplySceneTransform;
    using CSimView::DepthCopy;
    using CSimView::m_depthCopy;
    using CSimView::m_rotX;
    using CSimView::m_rotY;
    using CSimView::m_scale;
    using CSimView::m_simulating;
    using CSimView::m_toolPos;
    using CSimView::m_xMax;
    using CSimView::m_xMin;
    using CSimView::m_yMax;
    using CSimView::m_yMin;
    using CSimView::m_zMax;
    using CSimView::m_zMin;
};

// A realistic program of about lines lines, interpreted into doc's list.
inline void Interpret(FakeNcDocument& doc, uint64_t lines)
{
    NcGenOptions options;
    options.lines = lines;
    const std::string text = GenerateNcString(options);
    NcInterpreter interpreter;
    std::istringstream in(text);
    std::string line;
    int index = 0;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        interpreter.InterpretLine(line.data(), int(line.size()), index++);
    }
    interpreter.FinishRun();
    const MoveList& moves = interpreter.Moves();
    for (size_t i = 0; i < moves.size(); ++i)
        doc.m_moves.push_back(moves[i], moves.Direction(i));
}

inline int NonBlack(const QImage& image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += (image.pixel(x, y) & 0xFFFFFFu) != 0;
    return count;
}

// One turn of the wheel by delta eighths of a degree over point.
inline void Wheel(CSimView* view, QPoint point, int delta)
{
    QWheelEvent event(QPointF(point), view->mapToGlobal(QPointF(point)), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view, &event);
}

// Timers running for an object or any object below it.
inline int RunningTimers(QObject* root)
{
    QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance(root->thread());
    int count = int(dispatcher->registeredTimers(root).size());
    for (QObject* child : root->findChildren<QObject*>())
        count += int(dispatcher->registeredTimers(child).size());
    return count;
}

// Runs the event loop until done() or timeout milliseconds.
template <class Done>
bool ProcessEventsUntil(Done done, int timeout = 10000)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeout)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

inline MoveRecord Segment(int line, float x0, float y0, float z0, float x1, float y1, float z1, int tool = 0,
                          bool rapid = false)
{
    MoveRecord record;
    record.line = line;
    record.startX = record.centreX = x0;
    record.startY = record.centreY = y0;
    record.startZ = record.centreZ = z0;
    record.endX = x1;
    record.endY = y1;
    record.endZ = z1;
    record.tool = tool;
    record.rapid = rapid ? 1 : 0;
    return record;
}

// A circular record between program points (Y as programmed, stored
// negated as the interpreter stores it) around the program point (cx, cy).
inline MoveRecord ArcSegment(int line, float x0, float y0, float z0, float x1, float y1, float z1, float cx,
                             float cy, int tool = 0, bool rapid = false)
{
    MoveRecord record = Segment(line, x0, -y0, z0, x1, -y1, z1, tool, rapid);
    record.kind = 1;
    record.centreX = cx;
    record.centreY = -cy;
    return record;
}

class SimViewTest : public ::testing::Test
{
protected:
    static constexpr int kWidth = 500;
    static constexpr int kHeight = 400;

    void SetUp() override
    {
        frame = std::make_unique<SimTestFrame>();
        doc = std::make_unique<FakeNcDocument>();
        CCreateContext context;
        context.m_pCurrentDoc = doc.get();
        context.m_pNewViewClass = [](QWidget* parent) { return new ProbeSimView(parent); };
        view = dynamic_cast<ProbeSimView*>(frame->CreateView(&context, &frame->m_widget));
        ASSERT_TRUE(view);
        view->OnInitialUpdate();
    }
    // Puts the pane on screen at kWidth x kHeight: the first resize.
    void Show()
    {
        view->resize(kWidth, kHeight);
        frame->m_widget.resize(kWidth, kHeight);
        frame->m_widget.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame->m_widget));
        QCoreApplication::processEvents();
    }
    // The document's moves changed: the document tells its views.
    void Interpreted() { doc->UpdateAllViews(nullptr); }
    void TearDown() override
    {
        delete view;  // before its document and frame
        view = nullptr;
    }

    bool Run(int id) { return view->OnCmdMsg(id, nullptr); }
    CCmdUI Update(int id)
    {
        CCmdUI ui(id);
        view->OnCmdMsg(id, &ui);
        return ui;
    }

    // Where program point p (stored Y) lands in the pane, from the camera
    // model: pan + scale * Ry * Rx * (p - centre) from the pane's centre.
    QPointF Project(double x, double y, double z) const
    {
        const double pi = 3.14159265358979323846;
        const double ax = view->m_rotX * pi / 180.0, ay = view->m_rotY * pi / 180.0;
        x -= view->m_centre[0];
        y -= view->m_centre[1];
        z -= view->m_centre[2];
        const double y1 = y * std::cos(ax) - z * std::sin(ax);
        const double z1 = y * std::sin(ax) + z * std::cos(ax);
        const double x2 = x * std::cos(ay) + z1 * std::sin(ay);
        return {kWidth / 2.0 + view->m_panX + view->m_scale * x2, kHeight / 2.0 + view->m_panY + view->m_scale * y1};
    }
    // The program point (stored Y, on the plane z = centre) under a pane
    // point in the top view.
    QPointF UnprojectTop(QPointF point) const
    {
        return {(point.x() - kWidth / 2.0 - view->m_panX) / view->m_scale + view->m_centre[0],
                (point.y() - kHeight / 2.0 - view->m_panY) / view->m_scale + view->m_centre[1]};
    }

    QImage Grab() { return view->grabFramebuffer().convertToFormat(QImage::Format_RGB32); }
    // The exact picture at the present camera, drawn record by record.
    QImage PerRecord()
    {
        view->SetBatchedDrawing(false);
        const QImage image = Grab();
        view->SetBatchedDrawing(true);
        return image;
    }
    // What the pane's framebuffer holds now, without drawing anything.
    QImage Shown()
    {
        view->makeCurrent();
        const QImage image = ReadPixels();
        view->doneCurrent();
        return image;
    }
    // The bound framebuffer's pixels, the context current.
    QImage ReadPixels() const
    {
        const int w = view->width() * int(view->devicePixelRatioF());
        const int h = view->height() * int(view->devicePixelRatioF());
        QImage image(w, h, QImage::Format_RGBA8888);
        glReadPixels(0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, image.bits());
        return image.mirrored().convertToFormat(QImage::Format_RGB32);
    }
    static bool SamePixels(const QImage& a, const QImage& b)
    {
        if (a.size() != b.size())
            return false;
        for (int y = 0; y < a.height(); ++y)
            for (int x = 0; x < a.width(); ++x)
                if ((a.pixel(x, y) & 0xFFFFFFu) != (b.pixel(x, y) & 0xFFFFFFu))
                    return false;
        return true;
    }
    // Asks for a still frame and lets it build up slice by slice; how many
    // paints it took.
    int PaintsOfAFrame()
    {
        const int before = view->m_paints;
        view->update();
        EXPECT_TRUE(ProcessEventsUntil([&] { return view->m_paints > before && !view->IsDrawingSlices(); }));
        return view->m_paints - before;
    }

    static bool Near(QRgb a, QRgb b)
    {
        return std::abs(qRed(a) - qRed(b)) <= 2 && std::abs(qGreen(a) - qGreen(b)) <= 2 &&
               std::abs(qBlue(a) - qBlue(b)) <= 2;
    }
    // Whether a pixel within radius of point has colour (rasterisation
    // puts a line on one of two rows when it runs along a pixel edge).
    static bool ColourNear(const QImage& image, QPointF point, QRgb colour, int radius = 1)
    {
        const int cx = int(std::floor(point.x())), cy = int(std::floor(point.y()));
        for (int y = cy - radius; y <= cy + radius; ++y)
            for (int x = cx - radius; x <= cx + radius; ++x)
                if (image.rect().contains(x, y) && Near(image.pixel(x, y), colour))
                    return true;
        return false;
    }
    static bool BlackAround(const QImage& image, QPointF point, int radius = 2)
    {
        const int cx = int(std::floor(point.x())), cy = int(std::floor(point.y()));
        for (int y = cy - radius; y <= cy + radius; ++y)
            for (int x = cx - radius; x <= cx + radius; ++x)
                if (image.rect().contains(x, y) && (image.pixel(x, y) & 0xFFFFFFu) != 0)
                    return false;
        return true;
    }

    void Mouse(QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons buttons, QPoint point)
    {
        QMouseEvent event(type, QPointF(point), view->mapToGlobal(QPointF(point)), button, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(view, &event);
    }
    void Press(Qt::MouseButton button, QPoint point)
    {
        Mouse(QEvent::MouseButtonPress, button, button, point);
    }
    void MoveTo(Qt::MouseButtons buttons, QPoint point) { Mouse(QEvent::MouseMove, Qt::NoButton, buttons, point); }
    void Release(Qt::MouseButton button, QPoint point) { Mouse(QEvent::MouseButtonRelease, button, {}, point); }
    // A left-button drag in one move.
    void Drag(QPoint from, QPoint to)
    {
        Press(Qt::LeftButton, from);
        MoveTo(Qt::LeftButton, to);
        Release(Qt::LeftButton, to);
    }

    std::unique_ptr<SimTestFrame> frame;
    std::unique_ptr<FakeNcDocument> doc;
    ProbeSimView* view = nullptr;
};

inline const QRgb kBlue = qRgb(0, 0, 255);
inline const QRgb kGrey = qRgb(204, 204, 204);
inline const QRgb kRed = qRgb(255, 0, 0);
inline const QRgb kGreen = qRgb(0, 255, 0);
inline const QRgb kCyan = qRgb(0, 255, 255);
inline const QRgb kYellow = qRgb(255, 255, 0);
