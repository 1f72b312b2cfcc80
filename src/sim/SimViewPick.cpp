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
#include <cstring>

#include "CSimView.h"
#include "MoveList.h"
#include "NcDocument.h"

namespace {

constexpr int kSelectBufferSize = 64;  // words
constexpr int32_t kPlaceholderName = -1;

}  // namespace

void CSimView::Pick(QPoint point)
{
    makeCurrent();
    GLuint buffer[kSelectBufferSize] = {};
    glSelectBuffer(kSelectBufferSize, buffer);
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
    RenderScene();
    const GLint hits = glRenderMode(GL_RENDER);
    // A pointer over a dense toolpath can fill the buffer (the count is
    // then -1); the records that did fit are still good.
    if (hits != 0)
        ProcessPick(buffer, hits);
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    doneCurrent();
    update();
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
