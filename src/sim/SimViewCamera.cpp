// CSimView: the view commands, the left-button drag modes, the wheel, the
// zoom window, full screen and the cursors.
//
// Angles are whole degrees, one per pixel of drag, kept within -359..359 by
// a remainder with the sign of the dividend.  The pan is whole pixels,
// measured during a drag from the button-down point.
#include <GL/gl.h>
#include <QBoxLayout>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QSplitter>
#include <QWheelEvent>
#include <cmath>

#include "CSimView.h"

namespace {

// Wheel zoom per notch (120 eighths of a degree).
constexpr double kWheelStep = 1.2;
// A zoom window smaller than this (in either direction) is taken for a slip
// of the hand and ignored.
constexpr double kMinZoomWindow = 4.0;

}  // namespace

// ---- View commands.  They change only the angles; scale and pan stay.

void CSimView::SetView(float rotX, float rotY)
{
    EndInteraction();
    m_rotX = rotX;
    m_rotY = rotY;
    update();
}

void CSimView::OnTopView()
{
    SetView(0.0f, 0.0f);
}

void CSimView::OnFrontView()
{
    SetView(90.0f, 0.0f);
}

void CSimView::OnLeftView()
{
    SetView(90.0f, 90.0f);
}

void CSimView::OnIsoView()
{
    SetView(45.0f, -45.0f);
}

void CSimView::OnUpdateTopView(CCmdUI* ui)
{
    ui->Enable();
    ui->SetCheck(m_rotX == 0.0f && m_rotY == 0.0f);
}

void CSimView::OnUpdateFrontView(CCmdUI* ui)
{
    ui->Enable();
    ui->SetCheck(m_rotX == 90.0f && m_rotY == 0.0f);
}

void CSimView::OnUpdateLeftView(CCmdUI* ui)
{
    ui->Enable();
    ui->SetCheck(m_rotX == 90.0f && m_rotY == 90.0f);
}

void CSimView::OnUpdateIsoView(CCmdUI* ui)
{
    ui->Enable();
    ui->SetCheck(m_rotX == 45.0f && m_rotY == -45.0f);
}

void CSimView::OnZoomAll()
{
    m_panX = m_panY = 0;
    m_panBaseX = m_panBaseY = 0;
    m_lastMouse = QPoint(0, 0);
    FitScale();
    EndInteraction();
    update();
}

// ---- Modes.

void CSimView::SetMode(ViewMode mode)
{
    if (mode != VM_ZOOMWINDOW)
        CancelZoomWindow();
    m_mode = mode;
    UpdateCursor();
}

void CSimView::OnZoomWindow()
{
    SetMode(VM_ZOOMWINDOW);
}

void CSimView::OnDynZoom()
{
    SetMode(VM_ZOOM);
}

void CSimView::OnDynRotate()
{
    SetMode(VM_ROTATE);
}

void CSimView::OnPan()
{
    SetMode(VM_PAN);
}

void CSimView::OnUpdateZoomWindow(CCmdUI* ui)
{
    ui->Enable();
    ui->SetCheck(m_mode == VM_ZOOMWINDOW);
}

void CSimView::OnUpdateDynZoom(CCmdUI* ui)
{
    ui->Enable();
    ui->SetCheck(m_mode == VM_ZOOM);
}

void CSimView::OnUpdateDynRotate(CCmdUI* ui)
{
    ui->Enable();
    ui->SetCheck(m_mode == VM_ROTATE);
}

void CSimView::OnUpdatePan(CCmdUI* ui)
{
    ui->Enable();
    ui->SetCheck(m_mode == VM_PAN);
}

void CSimView::UpdateCursor()
{
    // While the right button is held (a pick) the pick cursor wins.
    if (m_renderMode == GL_SELECT) {
        setCursor(m_hPickCursor);
        return;
    }
    switch (m_mode) {
    case VM_PAN:
        setCursor(m_hPanCursor);
        break;
    case VM_ROTATE:
        setCursor(m_hRotateCursor);
        break;
    case VM_ZOOM:
        setCursor(m_hZoomCursor);
        break;
    case VM_ZOOMWINDOW:
        setCursor(m_hZoomWindowCursor);
        break;
    default:
        unsetCursor();
        break;
    }
}

// ---- Mouse.

void CSimView::mousePressEvent(QMouseEvent* event)
{
    const QPoint point = event->position().toPoint();
    if (event->button() == Qt::LeftButton) {
        // Qt keeps the mouse for this widget until the button is released.
        m_lastMouse = point;
        if (m_mode == VM_ZOOMWINDOW) {
            m_zoomBanding = true;
            m_zoomStart = m_zoomEnd = point;
        }
    } else if (event->button() == Qt::RightButton) {
        // A right click during a zoom window cancels it and picks nothing.
        if (m_zoomBanding) {
            CancelZoomWindow();
            return;
        }
        m_mode = VM_ROTATE;
        m_renderMode = GL_SELECT;
        UpdateCursor();
        Pick(point);
    }
    QOpenGLWidget::mousePressEvent(event);
}

void CSimView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        m_panBaseX = m_panX;
        m_panBaseY = m_panY;
        if (m_zoomBanding) {
            // The zoom is a jump to a still picture, which is exact at once.
            m_zoomEnd = event->position().toPoint();
            m_zoomBanding = false;
            ZoomToRect(QRectF(QPointF(m_zoomStart), QPointF(m_zoomEnd)).normalized());
            EndInteraction();
            update();
        } else if (m_dragging) {
            EndDrag();
        }
    } else if (event->button() == Qt::RightButton && m_renderMode == GL_SELECT) {
        m_mode = VM_ROTATE;
        m_renderMode = GL_RENDER;
        UpdateCursor();
    }
    QOpenGLWidget::mouseReleaseEvent(event);
}

void CSimView::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint point = event->position().toPoint();
    if (event->buttons() & Qt::LeftButton) {
        switch (m_mode) {
        case VM_ROTATE:
            OnRotateDrag(point);
            break;
        case VM_ZOOM:
            OnZoomDrag(point);
            break;
        case VM_PAN:
            OnPanDrag(point);
            break;
        case VM_ZOOMWINDOW:
            // The band moves over a still scene, but the scene is drawn
            // again under it at every step.
            if (m_zoomBanding) {
                m_zoomEnd = point;
                BeginInteraction(true);
                update();
            }
            break;
        }
    }
    QOpenGLWidget::mouseMoveEvent(event);
}

void CSimView::OnRotateDrag(QPoint point)
{
    // Truncated, then the remainder with the dividend's sign: dragging 400
    // pixels right from -15 gives 25, 20 pixels left from 0 gives -20.
    m_rotY = float(int(float(point.x() - m_lastMouse.x()) + m_rotY) % 360);
    m_rotX = float(int(float(m_lastMouse.y() - point.y()) + m_rotX) % 360);
    m_lastMouse = point;
    BeginInteraction(true);
    update();
}

void CSimView::OnZoomDrag(QPoint point)
{
    // 0.4 % of the current scale per pixel, up enlarging.  A long drag down
    // overshoots through zero and is taken back as positive; landing
    // exactly on zero would leave nothing to multiply, so that step is
    // dropped.
    double scale = m_scale + (m_lastMouse.y() - point.y()) * double(m_scale) * 0.004;
    if (scale < 0.0)
        scale = -scale;
    if (scale > 0.0 && std::isfinite(scale))
        m_scale = float(scale);
    m_lastMouse = point;
    BeginInteraction(true);
    update();
}

void CSimView::OnPanDrag(QPoint point)
{
    m_panX = m_panBaseX + (point.x() - m_lastMouse.x());
    m_panY = m_panBaseY + (point.y() - m_lastMouse.y());
    BeginInteraction(true);
    update();
}

void CSimView::wheelEvent(QWheelEvent* event)
{
    const int delta = event->angleDelta().y();
    if (delta == 0) {
        QOpenGLWidget::wheelEvent(event);
        return;
    }
    BeginInteraction(false);
    ZoomAbout(event->position(), std::pow(kWheelStep, delta / 120.0));
    SettleSoon();
    event->accept();
}

// The scene point under point keeps its place: with v the point from the
// pane's centre, v = pan + scale * q before and after, so the new pan is
// v - factor * (v - pan).
void CSimView::ZoomAbout(QPointF point, double factor)
{
    const double scale = m_scale * factor;
    if (!(scale > 0.0) || !std::isfinite(scale))
        return;
    const double vx = point.x() - width() / 2.0, vy = point.y() - height() / 2.0;
    m_panX = int32_t(std::lround(vx - factor * (vx - m_panX)));
    m_panY = int32_t(std::lround(vy - factor * (vy - m_panY)));
    m_panBaseX = m_panX;
    m_panBaseY = m_panY;
    m_scale = float(scale);
    update();
}

// The rectangle's centre moves to the pane's centre and the scale grows
// until the rectangle's longer side (relative to the pane) fills the pane.
void CSimView::ZoomToRect(const QRectF& rect)
{
    if (rect.width() < kMinZoomWindow || rect.height() < kMinZoomWindow)
        return;
    const double factor = std::min(width() / rect.width(), height() / rect.height());
    const double scale = m_scale * factor;
    if (!(scale > 0.0) || !std::isfinite(scale))
        return;
    const double cx = rect.center().x() - width() / 2.0, cy = rect.center().y() - height() / 2.0;
    m_panX = int32_t(std::lround(-factor * (cx - m_panX)));
    m_panY = int32_t(std::lround(-factor * (cy - m_panY)));
    m_panBaseX = m_panX;
    m_panBaseY = m_panY;
    m_scale = float(scale);
    update();
}

void CSimView::CancelZoomWindow()
{
    if (!m_zoomBanding)
        return;
    m_zoomBanding = false;
    EndInteraction();
    update();
}

void CSimView::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && m_zoomBanding) {
        CancelZoomWindow();
        return;
    }
    if (event->key() == Qt::Key_Escape && IsFullScreen()) {
        LeaveFullScreen();
        return;
    }
    QOpenGLWidget::keyPressEvent(event);
}

void CSimView::focusInEvent(QFocusEvent* event)
{
    QOpenGLWidget::focusInEvent(event);
    update();
}

// ---- Full screen: the pane moves into a frameless window of its own that
// covers the screen, and back to its place (splitter pane, layout slot or
// plain child) when the command comes again or Esc is pressed.

void CSimView::OnFullScreen()
{
    if (IsFullScreen()) {
        LeaveFullScreen();
        return;
    }
    QWidget* home = parentWidget();
    if (!home)
        return;  // a window of its own already
    m_homeParent = home;
    m_homeIndex = -1;
    m_homeSizes.clear();
    m_homeGeometry = geometry();
    if (auto* splitter = qobject_cast<QSplitter*>(home)) {
        m_homeIndex = splitter->indexOf(this);
        m_homeSizes = splitter->sizes();
    } else if (home->layout()) {
        m_homeIndex = home->layout()->indexOf(this);
    }
    // Owned by the main window so that it never outlives the program; if
    // the pane's home goes while the pane is away, the pane goes with it,
    // as it would have as the home's child.
    auto* holder = new QWidget(home->window(), Qt::Window | Qt::FramelessWindowHint);
    auto* layout = new QVBoxLayout(holder);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(this);
    m_fullScreenHolder = holder;
    m_homeWatch = connect(home, &QObject::destroyed, this, [this] { delete this; });
    holder->showFullScreen();
    show();
    setFocus();
}

void CSimView::LeaveFullScreen()
{
    QWidget* holder = m_fullScreenHolder;
    if (!holder)
        return;
    disconnect(m_homeWatch);
    m_fullScreenHolder = nullptr;
    QWidget* home = m_homeParent;
    if (auto* splitter = qobject_cast<QSplitter*>(home)) {
        splitter->insertWidget(m_homeIndex, this);
        splitter->setSizes(m_homeSizes);
    } else if (auto* box = home ? qobject_cast<QBoxLayout*>(home->layout()) : nullptr; box && m_homeIndex >= 0) {
        box->insertWidget(m_homeIndex, this);
    } else {
        setParent(home);
        setGeometry(m_homeGeometry);
    }
    show();
    holder->hide();
    holder->deleteLater();
    setFocus();
}

void CSimView::OnUpdateFullScreen(CCmdUI* ui)
{
    ui->Enable();
    ui->SetCheck(IsFullScreen());
}
