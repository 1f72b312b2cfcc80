// CSimView: the GL state, the projection and the drawing of the scene.
#include <GL/gl.h>
#include <GL/glu.h>
#include <QOpenGLContext>
#include <algorithm>
#include <cmath>

#include "CSimView.h"
#include "MoveList.h"
#include "RecordPolyline.h"

void CSimView::initializeGL()
{
    // A new context (the first, or one for another top-level window): a
    // picture of the old one is gone with it.  What lives in a context is
    // released when it goes; direct, so that the tool textures can make it
    // current once more to delete them.
    ReleasePicture();
    m_depthCopy = DepthCopy::Unknown;
    disconnect(m_contextWatch);
    m_contextWatch = connect(
        context(), &QOpenGLContext::aboutToBeDestroyed, this,
        [this] {
            ReleasePicture();
            ReleaseToolTextures();
        },
        Qt::DirectConnection);
    InitGL();
}

// Once per context.  Qt makes a new context when the pane changes its
// top-level window (full screen), so this may run more than once.
void CSimView::InitGL()
{
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glFrontFace(GL_CCW);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glLineWidth(1.0f);
    // No lighting ever: colours come from glColor and the textures.
    if (!m_pQuadric) {
        m_pQuadric.reset(gluNewQuadric());
        if (m_pQuadric) {
            gluQuadricDrawStyle(m_pQuadric.get(), GLU_FILL);
            gluQuadricNormals(m_pQuadric.get(), GLU_SMOOTH);
            gluQuadricTexture(m_pQuadric.get(), GL_TRUE);
        }
    }
    InitToolTextures();
}

void CSimView::resizeGL(int w, int h)
{
    SetProjection(w, h);
    FitScale();
}

// Window pixels with the origin at the pane's centre and y growing down, as
// in window coordinates, so that program +Y (stored negated) points up.
void CSimView::SetProjection(int cx, int cy)
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-cx / 2.0, cx / 2.0, cy / 2.0, -cy / 2.0, -10000.0, 10000.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    const qreal ratio = devicePixelRatioF();
    glViewport(0, 0, GLsizei(std::lround(cx * ratio)), GLsizei(std::lround(cy * ratio)));
}

void CSimView::FitScale()
{
    const int m = std::min(width(), height());
    const float e = LargestExtent();
    // With a flat point of a toolpath (every extent zero) or no client area
    // there is nothing to fit; the scale stays usable as it was.
    if (e <= 0.0f || m <= 0)
        return;
    m_scale = 0.95f * float(m) / e;
}

float CSimView::LargestExtent() const
{
    return std::max({m_xMax - m_xMin, m_yMax - m_yMin, m_zMax - m_zMin, 0.0f});
}

void CSimView::paintGL()
{
    m_painting = true;
    if (!PaintFromPicture())
        RenderScene();
    m_painting = false;
    if (m_pictureUnfinished)
        ResumeSlicesSoon();
    else
        m_stepShown = true;
    if (m_zoomBanding)
        DrawRubberBand();
}

void CSimView::RenderScene()
{
    if (!m_selecting)
        m_lastFrameSegments = 0;
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    DrawAxisIndicator();
    glPushMatrix();
    glTranslatef(float(m_panX), float(m_panY), 0.0f);
    DrawBoundingBox();
    if (!Moves().empty()) {
        DrawToolpath();
        DrawTool();
    }
    glPopMatrix();
}

void CSimView::DrawToolAtPan()
{
    glPushMatrix();
    glTranslatef(float(m_panX), float(m_panY), 0.0f);
    DrawTool();
    glPopMatrix();
}

void CSimView::ApplySceneTransform() const
{
    glScalef(m_scale, m_scale, m_scale);
    glRotatef(m_rotY, 0.0f, 1.0f, 0.0f);
    glRotatef(m_rotX, 1.0f, 0.0f, 0.0f);
    glTranslatef(-m_centre[0], -m_centre[1], -m_centre[2]);
}

void CSimView::DrawAxisIndicator()
{
    const int w = width(), h = height();
    const int d = int(std::sqrt(double(w) * w + double(h) * h));
    const int a = d / 15, L = d / 20, k = d / 30;
    glPushMatrix();
    glLoadIdentity();
    glTranslatef(float(a - w / 2), float(h / 2 - a), 0.0f);
    glRotatef(m_rotY, 0.0f, 1.0f, 0.0f);
    glRotatef(m_rotX, 1.0f, 0.0f, 0.0f);
    const auto arrow = [](float r, float g, float b, const float (&points)[6][3]) {
        glPushMatrix();
        glColor3f(r, g, b);
        glBegin(GL_LINES);
        for (const auto& p : points)
            glVertex3f(p[0], p[1], p[2]);
        glEnd();
        glPopMatrix();
    };
    const float l = float(L), b = float(k);
    // X to the right, Y along -Y (program +Y: Y is stored negated), Z out.
    arrow(1, 0, 0, {{0, 0, 0}, {l, 0, 0}, {l, 0, 0}, {b, 5, 0}, {l, 0, 0}, {b, -5, 0}});
    arrow(0, 1, 0, {{0, 0, 0}, {0, -l, 0}, {0, -l, 0}, {5, -b, 0}, {0, -l, 0}, {-5, -b, 0}});
    arrow(0, 0, 1, {{0, 0, 0}, {0, 0, l}, {0, 0, l}, {0, 5, b}, {0, 0, l}, {0, -5, b}});
    glLoadIdentity();
    glPopMatrix();
}

void CSimView::DrawBoundingBox()
{
    glPushMatrix();
    ApplySceneTransform();
    const float x0 = m_xMin, x1 = m_xMax, y0 = m_yMin, y1 = m_yMax, z0 = m_zMin, z1 = m_zMax;
    const auto edge = [](float ax, float ay, float az, float bx, float by, float bz) {
        glBegin(GL_LINES);
        glVertex3f(ax, ay, az);
        glVertex3f(bx, by, bz);
        glEnd();
    };
    glColor3f(0.0f, 0.0f, 1.0f);
    edge(x0, y0, z1, x1, y0, z1);
    edge(x1, y0, z1, x1, y1, z1);
    edge(x1, y1, z1, x0, y1, z1);
    edge(x0, y1, z1, x0, y0, z1);
    glColor3f(0.8f, 0.8f, 0.8f);
    edge(x0, y0, z0, x1, y0, z0);
    edge(x1, y0, z0, x1, y1, z0);
    edge(x1, y1, z0, x0, y1, z0);
    edge(x0, y1, z0, x0, y0, z0);
    edge(x0, y0, z0, x0, y0, z1);
    edge(x1, y0, z0, x1, y0, z1);
    edge(x1, y1, z0, x1, y1, z1);
    edge(x0, y1, z0, x0, y1, z1);
    glPopMatrix();
}

void CSimView::DrawToolpath()
{
    const MoveList& moves = Moves();
    // The placeholder name: what a pick finds on a segment drawn without a
    // name of its own (in simulation mode).
    glInitNames();
    glPushName(~GLuint(0));
    glPushMatrix();
    ApplySceneTransform();
    // The pick needs a name per record, which only the per-record path
    // gives; everything else takes the arrays when it can.  Drawing record
    // by record is also the reference the arrays are measured against, so
    // with the arrays switched off the pick draws every record too, and
    // frames during an interaction are not reduced.
    if (m_selecting) {
        const PickWindow window;
        DrawToolpathPerRecord(moves, m_batchedDrawing ? &window : nullptr);
    } else if (!m_batchedDrawing) {
        m_lastFrameSegments = DrawToolpathPerRecord(moves);
    } else if (m_painting && moves.size() > m_recordsPerSlice && !(m_batch && m_batch->IsBuiltFor(moves))) {
        // A new toolpath of many records: this frame goes without it, so that
        // the window shows the rest at once; the arrays are built, and the
        // toolpath drawn, once the window has been repainted.
        if (!m_buildAfterRepaintOf) {
            m_buildAfterRepaintOf = window();
            m_buildAfterRepaintOf->installEventFilter(this);
            update();
        }
    } else {
        PrepareBatch(moves);
        StartReduction();
        size_t level = ToolpathReduction::kExact;
        if (m_interacting && m_reduction) {
            const double visible = VisibleFraction(m_reduction->Lower(), m_reduction->Upper());
            level = m_reduction->LevelFor(m_reducedFrameBudget, m_scale, visible);
        }
        if (m_simulating && !m_batch->LinesAscending()) {
            m_lastFrameSegments = DrawToolpathPerRecord(moves);
        } else {
            const size_t count = m_simulating ? ToolpathBatch::CountUpToLine(moves, m_currentLine) : moves.size();
            if (level != ToolpathReduction::kExact)
                m_lastFrameSegments = m_reduction->Draw(level, count);
            else
                m_lastFrameSegments = m_batch->Draw(0, count);
        }
    }
    glPopMatrix();
}

double CSimView::VisibleFraction(const float* lower, const float* upper) const
{
    if (!(lower[0] <= upper[0] && lower[1] <= upper[1] && lower[2] <= upper[2]))
        return 1.0;
    // The camera model of the header, for the box's eight corners.
    const double pi = 3.14159265358979323846;
    const double ax = m_rotX * pi / 180.0, ay = m_rotY * pi / 180.0;
    double left = HUGE_VAL, right = -HUGE_VAL, top = HUGE_VAL, bottom = -HUGE_VAL;
    for (int corner = 0; corner < 8; ++corner) {
        const double x = double(corner & 1 ? upper[0] : lower[0]) - m_centre[0];
        const double y = double(corner & 2 ? upper[1] : lower[1]) - m_centre[1];
        const double z = double(corner & 4 ? upper[2] : lower[2]) - m_centre[2];
        const double y1 = y * std::cos(ax) - z * std::sin(ax);
        const double z1 = y * std::sin(ax) + z * std::cos(ax);
        const double x2 = x * std::cos(ay) + z1 * std::sin(ay);
        const double px = m_panX + m_scale * x2, py = m_panY + m_scale * y1;
        left = std::min(left, px);
        right = std::max(right, px);
        top = std::min(top, py);
        bottom = std::max(bottom, py);
    }
    const double area = (right - left) * (bottom - top);
    if (!(area > 0.0))
        return 1.0;
    const double w2 = width() / 2.0, h2 = height() / 2.0;
    const double seenX = std::max(0.0, std::min(right, w2) - std::max(left, -w2));
    const double seenY = std::max(0.0, std::min(bottom, h2) - std::max(top, -h2));
    return std::min(1.0, seenX * seenY / area);
}

// One glBegin/glEnd per record, each with its own name in a pick.  An arc
// is its polyline, drawn as the arrays draw it: a strip for a feed move,
// and for a rapid one GL_LINES pair per segment, each stippled on its own.
size_t CSimView::DrawToolpathPerRecord(const MoveList& moves, const PickWindow* window)
{
    const bool named = !m_simulating && m_renderMode == GL_SELECT;
    size_t drawn = 0;
    float vertex[3];
    for (size_t index = 0; index < moves.size(); ++index) {
        const MoveRecord& record = moves[index];
        if (m_simulating && record.line > m_currentLine)
            continue;
        const ArcDirection direction = moves.Direction(index);
        if (window && !window->MayHit(record, direction))
            continue;
        const int colour = ToolpathColourIndex(record);
        const bool rapid = colour == kRapidColour;
        ApplyToolpathColour(colour);
        if (rapid) {
            glEnable(GL_LINE_STIPPLE);
            glLineStipple(1, 0x1111);
        }
        if (named)
            glLoadName(GLuint(record.line));
        const RecordPolyline polyline(record, direction, m_arcTolerance);
        const size_t segments = polyline.SegmentCount();
        glBegin(rapid ? GL_LINES : GL_LINE_STRIP);
        for (size_t i = 0; i <= segments; ++i) {
            polyline.Vertex(i, vertex);
            glVertex3fv(vertex);
            if (rapid && i > 0 && i < segments)
                glVertex3fv(vertex);
        }
        glEnd();
        if (rapid)
            glDisable(GL_LINE_STIPPLE);
        ++drawn;
    }
    return drawn;
}

void CSimView::DrawRubberBand()
{
    // Through the centres of the pixels at the band's corners.
    const float w2 = float(width() / 2.0), h2 = float(height() / 2.0);
    const float left = std::min(m_zoomStart.x(), m_zoomEnd.x()) + 0.5f - w2;
    const float right = std::max(m_zoomStart.x(), m_zoomEnd.x()) + 0.5f - w2;
    const float top = std::min(m_zoomStart.y(), m_zoomEnd.y()) + 0.5f - h2;
    const float bottom = std::max(m_zoomStart.y(), m_zoomEnd.y()) + 0.5f - h2;
    glPushAttrib(GL_ENABLE_BIT);
    glDisable(GL_DEPTH_TEST);
    glPushMatrix();
    glLoadIdentity();
    glColor3f(1.0f, 1.0f, 1.0f);
    glBegin(GL_LINE_LOOP);
    glVertex2f(left, top);
    glVertex2f(right, top);
    glVertex2f(right, bottom);
    glVertex2f(left, bottom);
    glEnd();
    glPopMatrix();
    glPopAttrib();
}
