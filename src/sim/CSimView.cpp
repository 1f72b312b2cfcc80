// CSimView: lifetime, document updates, the toolpath extents and the
// command map.
#include "CSimView.h"

#include <GL/glu.h>
#include <QOpenGLFramebufferObject>
#include <QSurfaceFormat>
#include <algorithm>

#include "CDocument.h"
#include "MoveList.h"
#include "NcDocument.h"
#include "RecordPolyline.h"
#include "Resources.h"
#include "ids.h"

BEGIN_COMMAND_MAP(CSimView, CView)
    ON_COMMAND(ID_SIM_START, OnSimStart)
    ON_UPDATE_COMMAND_UI(ID_SIM_START, OnUpdateSimStart)
    ON_COMMAND(ID_SIM_FULLSCREEN, OnFullScreen)
    ON_UPDATE_COMMAND_UI(ID_SIM_FULLSCREEN, OnUpdateFullScreen)
    ON_COMMAND(ID_SIM_ZOOMALL, OnZoomAll)
    ON_COMMAND(ID_SIM_ZOOMWINDOW, OnZoomWindow)
    ON_UPDATE_COMMAND_UI(ID_SIM_ZOOMWINDOW, OnUpdateZoomWindow)
    ON_COMMAND(ID_SIM_TOPVIEW, OnTopView)
    ON_UPDATE_COMMAND_UI(ID_SIM_TOPVIEW, OnUpdateTopView)
    ON_COMMAND(ID_SIM_FRONTVIEW, OnFrontView)
    ON_UPDATE_COMMAND_UI(ID_SIM_FRONTVIEW, OnUpdateFrontView)
    ON_COMMAND(ID_SIM_LEFTVIEW, OnLeftView)
    ON_UPDATE_COMMAND_UI(ID_SIM_LEFTVIEW, OnUpdateLeftView)
    ON_COMMAND(ID_SIM_ISOVIEW, OnIsoView)
    ON_UPDATE_COMMAND_UI(ID_SIM_ISOVIEW, OnUpdateIsoView)
    ON_COMMAND(ID_SIM_DYNZOOM, OnDynZoom)
    ON_UPDATE_COMMAND_UI(ID_SIM_DYNZOOM, OnUpdateDynZoom)
    ON_COMMAND(ID_SIM_DYNROTATE, OnDynRotate)
    ON_UPDATE_COMMAND_UI(ID_SIM_DYNROTATE, OnUpdateDynRotate)
    ON_COMMAND(ID_SIM_PAN, OnPan)
    ON_UPDATE_COMMAND_UI(ID_SIM_PAN, OnUpdatePan)
END_COMMAND_MAP()

void CSimView::QuadricDeleter::operator()(GLUquadric* quadric) const
{
    gluDeleteQuadric(quadric);
}

CSimView::CSimView(QWidget* parent) : QOpenGLWidget(parent)
{
    // Immediate mode, GL_SELECT and the fixed-function matrices need a
    // compatibility context; Mesa gives one unless a core profile is asked
    // for.
    QSurfaceFormat format = QSurfaceFormat::defaultFormat();
    format.setRenderableType(QSurfaceFormat::OpenGL);
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setVersion(2, 1);
    format.setDepthBufferSize(16);
    format.setSwapBehavior(QSurfaceFormat::DoubleBuffer);
    setFormat(format);
    // Sliced frames build up over several paints.
    setUpdateBehavior(QOpenGLWidget::PartialUpdate);

    m_arcTolerance = RecordPolyline::ToleranceForExtent(LargestExtent());
    m_hPickCursor = LoadCursorResource(IDCUR_SIM_PICK);
    m_hRotateCursor = LoadCursorResource(IDCUR_SIM_ROTATE);
    m_hZoomCursor = LoadCursorResource(IDCUR_SIM_ZOOM);
    m_hZoomWindowCursor = LoadCursorResource(IDCUR_SIM_ZOOMWINDOW);
    m_hPanCursor = LoadCursorResource(IDCUR_SIM_PAN);
    setFocusPolicy(Qt::StrongFocus);
    UpdateCursor();
    m_settleTimer.setSingleShot(true);
    m_settleTimer.setInterval(kSettleMs);
    connect(&m_settleTimer, &QTimer::timeout, this, &CSimView::OnSettleTimer);
    InitPlayback();
}

CSimView::~CSimView()
{
    // The worker may still be reading the arrays and will post its result
    // to this view: it must be gone first.
    StopReduction();
    // The dialog controls this view and no other.
    CloseControlDialog();
    // The context goes with QOpenGLWidget's part of the view, after this
    // part is gone: what lives in it goes now, while it still can.
    disconnect(m_contextWatch);
    if (m_picture && context()) {
        makeCurrent();
        ReleasePicture();
        doneCurrent();
    }
    ReleaseToolTextures();
    // The full-screen holder is a window of its own; the pane is going, so
    // the holder goes too.
    if (m_fullScreenHolder)
        m_fullScreenHolder->deleteLater();
}

CNcDocument* CSimView::NcDocument() const
{
    return dynamic_cast<CNcDocument*>(GetDocument());
}

const MoveList& CSimView::Moves() const
{
    static const MoveList empty;
    const CNcDocument* document = NcDocument();
    return document ? document->Moves() : empty;
}

void CSimView::OnUpdate(CView*, long hint, CObject*)
{
    // A tool definition changed: the move list, and with it the extents and
    // the arrays, are what they were; only the tool model may look
    // different.
    if (hint == HINT_TOOLS_CHANGED) {
        update();
        return;
    }
    ComputeExtents();
}

void CSimView::ComputeExtents()
{
    const MoveList& moves = Moves();
    // The arrays are rebuilt at the next paint: this is where the move list
    // is known to have changed.
    ReleaseDrawingData();
    m_playPos = moves.empty() ? kNoPosition : 0;
    m_playEnd = moves.empty() ? kNoPosition : moves.size() - 1;
    if (moves.empty()) {
        update();
        return;
    }
    // Starting from zero keeps the origin inside the box.  Only feed moves
    // count, rapids being approaches from outside the work; of a straight
    // one only the end point, as it starts where the previous move ended,
    // and of an arc the box round it, which reaches past its ends where
    // it bulges.
    float lower[3] = {0.0f, 0.0f, 0.0f}, upper[3] = {0.0f, 0.0f, 0.0f};
    for (size_t i = 0; i < moves.size(); ++i) {
        const MoveRecord& record = moves[i];
        if (record.rapid != 0)
            continue;
        float arcLower[3], arcUpper[3];
        const bool arc = RecordPolyline::ArcBounds(record, moves.Direction(i), arcLower, arcUpper);
        const float end[3] = {record.endX, record.endY, record.endZ};
        for (int axis = 0; axis < 3; ++axis) {
            lower[axis] = std::min(lower[axis], arc ? arcLower[axis] : end[axis]);
            upper[axis] = std::max(upper[axis], arc ? arcUpper[axis] : end[axis]);
        }
    }
    m_xMin = lower[0], m_yMin = lower[1], m_zMin = lower[2];
    m_xMax = upper[0], m_yMax = upper[1], m_zMax = upper[2];
    m_centre[0] = (m_xMin + m_xMax) * 0.5f;
    m_centre[1] = (m_yMin + m_yMax) * 0.5f;
    m_centre[2] = (m_zMin + m_zMax) * 0.5f;
    m_arcTolerance = RecordPolyline::ToleranceForExtent(LargestExtent());
    m_playPos = 0;
    update();
}

void CSimView::SetBatchedDrawing(bool batched)
{
    m_batchedDrawing = batched;
    update();
}

void CSimView::SetReducedFrameBudget(double microseconds)
{
    m_reducedFrameBudget = microseconds;
    if (m_interacting)
        update();
}
