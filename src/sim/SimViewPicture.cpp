// CSimView: the picture of the scene under the tool.
//
// The picture is a framebuffer object with colour and depth, of the pane's
// size, holding what the scene draws before the tool: the axis indicator,
// the box and the first records of the toolpath.  Drawn into it one after
// the other, records give the pixels and depths they give drawn at once
// (the depth test is GL_LESS and the arrays keep the records' order), so a
// paint adds only the records the picture lacks.  It then copies colour and
// depth to the pane's framebuffer, and the tool is drawn over the copy
// against the toolpath's depths, as the whole scene would draw it.  The
// picture's format is the one QOpenGLWidget gives the pane (RGBA8, 24-bit
// depth with stencil), which a depth copy needs.
//
// What else the picture shows is its key: the camera, the size, the arrays
// and a generation that changes with the move list and extents.  A frame
// with another key, or with fewer records than the picture holds (a
// playback started again, a pick in simulation mode), starts it over.
// Frames the picture cannot serve - reduced frames while the camera moves,
// the per-record reference drawing, a list whose lines do not ascend in
// simulation mode, a pane with several samples a pixel - are drawn whole,
// and leave the picture as it is.
#include <GL/gl.h>
#include <QOpenGLContext>
#include <QOpenGLExtraFunctions>
#include <QOpenGLFramebufferObject>
#include <QSurfaceFormat>
#include <QTimer>
#include <algorithm>
#include <cmath>

#include "CSimView.h"
#include "MoveList.h"

CSimView::PictureKey CSimView::CurrentPictureKey() const
{
    const qreal ratio = devicePixelRatioF();
    return {m_rotX,
            m_rotY,
            m_scale,
            m_panX,
            m_panY,
            int(std::lround(width() * ratio)),
            int(std::lround(height() * ratio)),
            m_batch.get(),
            m_pictureGeneration};
}

bool CSimView::PaintFromPicture()
{
    m_pictureUnfinished = false;
    const MoveList& moves = Moves();
    // The copy needs a pane framebuffer of single samples, as the picture's.
    if (!m_incrementalDrawing || !m_batchedDrawing || m_interacting || moves.empty() || format().samples() > 0 ||
        !QOpenGLFramebufferObject::hasOpenGLFramebufferBlit())
        return false;
    // A new long toolpath is drawn once its arrays are built after the
    // window's repaint (DrawToolpath).
    if (moves.size() > m_recordsPerSlice && !(m_batch && m_batch->IsBuiltFor(moves)))
        return false;
    PrepareBatch(moves);
    StartReduction();
    if (m_simulating && !m_batch->LinesAscending())
        return false;
    const size_t count = m_simulating ? ToolpathBatch::CountUpToLine(moves, m_currentLine) : moves.size();
    const PictureKey key = CurrentPictureKey();
    if ((!m_picture || !(key == m_pictureKey) || count < m_pictureRecords) && !StartPicture(key))
        return false;
    const size_t last = std::min(count, m_pictureRecords + m_recordsPerSlice);
    if (last > m_pictureRecords) {
        context()->functions()->glBindFramebuffer(GL_FRAMEBUFFER, m_picture->handle());
        glPushMatrix();
        glTranslatef(float(m_panX), float(m_panY), 0.0f);
        ApplySceneTransform();
        m_batch->Draw(m_pictureRecords, last);
        glPopMatrix();
        m_pictureRecords = last;
        context()->functions()->glBindFramebuffer(GL_FRAMEBUFFER, defaultFramebufferObject());
    }
    ShowPicture();
    m_lastFrameSegments = m_pictureRecords;
    // The tool goes over the whole toolpath, after the last slice.
    m_pictureUnfinished = m_pictureRecords < count;
    if (!m_pictureUnfinished)
        DrawToolAtPan();
    return true;
}

bool CSimView::StartPicture(const PictureKey& key)
{
    const QSize size(key.deviceWidth, key.deviceHeight);
    if (size.isEmpty())
        return false;
    if (!m_picture || m_picture->size() != size) {
        m_picture.reset();
        QOpenGLFramebufferObjectFormat format;
        format.setAttachment(QOpenGLFramebufferObject::CombinedDepthStencil);
        m_picture = std::make_unique<QOpenGLFramebufferObject>(size, format);
        if (!m_picture->isValid()) {
            m_picture.reset();
            return false;
        }
    }
    QOpenGLFunctions* gl = context()->functions();
    gl->glBindFramebuffer(GL_FRAMEBUFFER, m_picture->handle());
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    DrawAxisIndicator();
    glPushMatrix();
    glTranslatef(float(m_panX), float(m_panY), 0.0f);
    DrawBoundingBox();
    glPopMatrix();
    gl->glBindFramebuffer(GL_FRAMEBUFFER, defaultFramebufferObject());
    m_pictureKey = key;
    m_pictureRecords = 0;
    return true;
}

void CSimView::ShowPicture()
{
    QOpenGLExtraFunctions* gl = context()->extraFunctions();
    const GLint w = m_picture->width(), h = m_picture->height();
    gl->glBindFramebuffer(GL_READ_FRAMEBUFFER, m_picture->handle());
    gl->glBindFramebuffer(GL_DRAW_FRAMEBUFFER, defaultFramebufferObject());
    const GLbitfield buffers = CopyPictureDepth() ? GL_COLOR_BUFFER_BIT : GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT;
    gl->glBlitFramebuffer(0, 0, w, h, 0, 0, w, h, buffers, GL_NEAREST);
    gl->glBindFramebuffer(GL_FRAMEBUFFER, defaultFramebufferObject());
}

// llvmpipe blits depth through a fragment shader, at several times the
// cost of the colour; a copy of the depth buffer's bytes (ARB_copy_image)
// is a memcpy.  Both depth buffers are renderbuffers of one format, the
// read and draw framebuffers bound.
bool CSimView::CopyPictureDepth()
{
    if (m_depthCopy == DepthCopy::Unknown) {
        const QSurfaceFormat format = context()->format();
        const bool available = format.version() >= qMakePair(4, 3) || context()->hasExtension("GL_ARB_copy_image");
        m_depthCopy = available ? DepthCopy::Untried : DepthCopy::Unavailable;
    }
    if (m_depthCopy == DepthCopy::Unavailable)
        return false;
    QOpenGLExtraFunctions* gl = context()->extraFunctions();
    const auto depthBuffer = [gl](GLenum target) -> GLuint {
        GLint type = GL_NONE, name = 0;
        gl->glGetFramebufferAttachmentParameteriv(target, GL_DEPTH_ATTACHMENT, GL_FRAMEBUFFER_ATTACHMENT_OBJECT_TYPE,
                                                  &type);
        if (type != GL_RENDERBUFFER)
            return 0;
        gl->glGetFramebufferAttachmentParameteriv(target, GL_DEPTH_ATTACHMENT, GL_FRAMEBUFFER_ATTACHMENT_OBJECT_NAME,
                                                  &name);
        return GLuint(name);
    };
    const GLuint from = depthBuffer(GL_READ_FRAMEBUFFER), to = depthBuffer(GL_DRAW_FRAMEBUFFER);
    if (!from || !to)
        return false;
    // The first copy tells whether the formats match; the errors before it
    // are not ours to keep, but neither is there anything to do with them.
    if (m_depthCopy == DepthCopy::Untried)
        while (gl->glGetError() != GL_NO_ERROR) {
        }
    gl->glCopyImageSubData(from, GL_RENDERBUFFER, 0, 0, 0, 0, to, GL_RENDERBUFFER, 0, 0, 0, 0, m_picture->width(),
                           m_picture->height(), 1);
    if (m_depthCopy == DepthCopy::Untried)
        m_depthCopy = gl->glGetError() == GL_NO_ERROR ? DepthCopy::Works : DepthCopy::Unavailable;
    return m_depthCopy == DepthCopy::Works;
}

void CSimView::ReleasePicture()
{
    m_picture.reset();
    m_pictureRecords = 0;
    m_pictureUnfinished = false;
}

void CSimView::ResumeSlicesSoon()
{
    // One resumption waits at a time; it goes on with whatever frame is
    // under way when it comes.
    if (m_sliceQueued)
        return;
    m_sliceQueued = true;
    QTimer::singleShot(0, this, [this] {
        m_sliceQueued = false;
        if (m_pictureUnfinished)
            update();
    });
}

void CSimView::SetRecordsPerSlice(size_t records)
{
    m_recordsPerSlice = std::max<size_t>(records, 1);
    DiscardPicture();
    update();
}

void CSimView::SetIncrementalDrawing(bool incremental)
{
    m_incrementalDrawing = incremental;
    DiscardPicture();
    update();
}
