// CSimView: the right-button pick and the tool marker.
//
// The pick renders the scene once more in GL_SELECT mode through a 4 x 4
// pixel pick matrix around the pointer.  The toolpath is drawn record by
// record with the record's program line as its name, under a placeholder
// name pushed first; the box and the axis indicator are drawn before the
// name stack is initialised, so a hit on them makes a record without names,
// which the pick passes over.  In simulation mode no record names itself and
// a hit on the toolpath finds only the placeholder.
#include <GL/gl.h>
#include <GL/glu.h>
#include <algorithm>
#include <cmath>
#include <cstring>

#include "CSimView.h"
#include "MoveList.h"
#include "NcDocument.h"
#include "RecordPolyline.h"

namespace {

constexpr int kSelectBufferSize = 64;  // words
constexpr int32_t kPlaceholderName = -1;

}  // namespace

void CSimView::Pick(QPoint point)
{
    makeCurrent();
    GLuint buffer[kSelectBufferSize] = {};
    const int hits = SelectAt(point, buffer, kSelectBufferSize);
    // A pointer over a dense toolpath can fill the buffer (the count is
    // then -1); the records that did fit are still good.
    if (hits != 0)
        ProcessPick(buffer, hits);
    doneCurrent();
    update();
}

int CSimView::SelectAt(QPoint point, unsigned* buffer, int size)
{
    glSelectBuffer(size, buffer);
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    // The viewport is in device pixels, the scene in the pane's pixels.
    const double ratio = devicePixelRatioF();
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glRenderMode(GL_SELECT);
    glLoadIdentity();
    gluPickMatrix(point.x() * ratio, viewport[3] - point.y() * ratio, 4.0, 4.0, viewport);
    const double w = (viewport[2] - viewport[0]) / ratio, h = (viewport[3] - viewport[1]) / ratio;
    glOrtho(-w / 2.0, w / 2.0, h / 2.0, -h / 2.0, -4000.0, 4000.0);
    // The scene's own transforms go on the model-view matrix, as in a paint.
    glMatrixMode(GL_MODELVIEW);
    m_selecting = true;
    RenderScene();
    m_selecting = false;
    const GLint hits = glRenderMode(GL_RENDER);
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    return hits;
}

PickWindow::PickWindow()
{
    GLdouble projection[16], modelView[16];
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetDoublev(GL_MODELVIEW_MATRIX, modelView);
    // Column-major, as GL keeps them: m = projection * modelView.
    for (int column = 0; column < 4; ++column)
        for (int row = 0; row < 4; ++row) {
            double sum = 0.0;
            for (int k = 0; k < 4; ++k)
                sum += projection[k * 4 + row] * modelView[column * 4 + k];
            m_matrix[column * 4 + row] = sum;
        }
}

namespace {

// The pick matrix maps the 4 x 4 pixel window onto [-1, 1]; a pixel is 0.5
// wide there, so the margin is two pixels.
constexpr double kPickEdge = 1.0 + 1.0;

}  // namespace

bool PickWindow::Project(const float* v, double* xy) const
{
    double p[4];
    for (int row = 0; row < 4; ++row)
        p[row] = m_matrix[row] * v[0] + m_matrix[4 + row] * v[1] + m_matrix[8 + row] * v[2] + m_matrix[12 + row];
    // Behind the eye (never with the view's orthographic projection):
    // leave it to GL.
    if (!(p[3] > 0.0))
        return false;
    xy[0] = p[0] / p[3];
    xy[1] = p[1] / p[3];
    return true;
}

bool PickWindow::MayHit(const MoveRecord& record, ArcDirection direction) const
{
    float lower[3], upper[3];
    if (RecordPolyline::ArcBounds(record, direction, lower, upper)) {
        // The rectangle round the box's projected corners.
        double left = HUGE_VAL, right = -HUGE_VAL, bottom = HUGE_VAL, top = -HUGE_VAL;
        for (int corner = 0; corner < 8; ++corner) {
            const float v[3] = {corner & 1 ? upper[0] : lower[0], corner & 2 ? upper[1] : lower[1],
                                corner & 4 ? upper[2] : lower[2]};
            double xy[2];
            if (!Project(v, xy) || std::isnan(xy[0]) || std::isnan(xy[1]))
                return true;
            left = std::min(left, xy[0]);
            right = std::max(right, xy[0]);
            bottom = std::min(bottom, xy[1]);
            top = std::max(top, xy[1]);
        }
        return right >= -kPickEdge && left <= kPickEdge && top >= -kPickEdge && bottom <= kPickEdge;
    }
    const float ends[2][3] = {{record.startX, record.startY, record.startZ}, {record.endX, record.endY, record.endZ}};
    double p[2][2];
    for (int end = 0; end < 2; ++end)
        if (!Project(ends[end], p[end]))
            return true;
    // Clip the segment to the widened square (Liang-Barsky); any part left
    // may hit.
    const double x0 = p[0][0], y0 = p[0][1], dx = p[1][0] - x0, dy = p[1][1] - y0;
    double enter = 0.0, leave = 1.0;
    const auto clip = [&](double denominator, double numerator) {
        // The part of the segment with denominator * t <= numerator.
        if (denominator == 0.0)
            return numerator >= 0.0;
        const double t = numerator / denominator;
        if (denominator > 0.0)
            leave = std::min(leave, t);
        else
            enter = std::max(enter, t);
        return enter <= leave;
    };
    return clip(dx, kPickEdge - x0) && clip(-dx, kPickEdge + x0) && clip(dy, kPickEdge - y0) &&
           clip(-dy, kPickEdge + y0);
}

// Hit records: name count, minimum depth, maximum depth, the names.  The
// first record with a name decides; hits < 0 means the buffer overflowed and
// only whole records within it are read.
void CSimView::ProcessPick(const uint32_t* buffer, int hits)
{
    int at = 0;
    for (int record = 0; hits < 0 || record < hits; ++record) {
        if (at + 3 > kSelectBufferSize)
            return;
        const uint32_t names = buffer[at];
        if (names >= 1) {
            if (at + 3 >= kSelectBufferSize)
                return;
            int32_t line;
            std::memcpy(&line, &buffer[at + 3], sizeof line);
            m_currentLine = line;
            if (line != kPlaceholderName) {
                SelectMoveByLine(line);
                if (CNcDocument* document = NcDocument())
                    document->ShowLine(line);
            }
            return;
        }
        at += 3;
    }
}

void CSimView::SelectMoveByLine(int line)
{
    for (const MoveRecord& record : Moves()) {
        if (record.line != line)
            continue;
        // The start point: the marker shows where the line's move begins.
        m_toolPos[0] = record.startX;
        m_toolPos[1] = record.startY;
        m_toolPos[2] = record.startZ;
        m_currentLine = line;
        m_currentTool = record.tool;
        update();
        return;
    }
}
