// The skinned frame: loading its bitmaps, taking over a window, painting the
// frame and answering the mouse over it.
//
// The window is frameless, so what a window manager would do with its frame
// is done here.  A caption press asks the window system to move the window
// (startSystemMove) and a border press to size it (startSystemResize);
// where the window system says no, as on a bare X server without a window
// manager, the frame follows the mouse itself until the release.
#include "CSkinFrame.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QLayout>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QStyle>
#include <QWidget>
#include <QWindow>

#include "AfxMessageBox.h"
#include "Resources.h"
#include "ids.h"

namespace {

bool IsSizingCode(int code)
{
    return code >= CSkinFrame::HTLEFT && code <= CSkinFrame::HTBOTTOMRIGHT;
}

bool IsCaptionButton(int code)
{
    return code == CSkinFrame::HTCLOSE || code == CSkinFrame::HTMINBUTTON || code == CSkinFrame::HTMAXBUTTON;
}

Qt::Edges EdgesOf(int code)
{
    switch (code) {
    case CSkinFrame::HTLEFT:
        return Qt::LeftEdge;
    case CSkinFrame::HTRIGHT:
        return Qt::RightEdge;
    case CSkinFrame::HTTOP:
        return Qt::TopEdge;
    case CSkinFrame::HTBOTTOM:
        return Qt::BottomEdge;
    case CSkinFrame::HTTOPLEFT:
        return Qt::TopEdge | Qt::LeftEdge;
    case CSkinFrame::HTTOPRIGHT:
        return Qt::TopEdge | Qt::RightEdge;
    case CSkinFrame::HTBOTTOMLEFT:
        return Qt::BottomEdge | Qt::LeftEdge;
    case CSkinFrame::HTBOTTOMRIGHT:
        return Qt::BottomEdge | Qt::RightEdge;
    default:
        return {};
    }
}

// A rectangle given by its corners, the far ones outside it.
QRect Corners(int left, int top, int right, int bottom)
{
    return QRect(left, top, right - left, bottom - top);
}

// One edge drawn along target: the head of source unstretched at the start,
// its tail unstretched at the end, its middle tiled between them.  The
// sections are offsets along the edge: the head ends at the first, the
// tail starts at the second.
void DrawEdge(QPainter& painter, const CSkinBitmap& bitmap, const QRect& source, const QRect& target,
              Qt::Orientation along, const int sections[2])
{
    if (along == Qt::Horizontal) {
        const int head = sections[0], tail = source.width() - sections[1];
        const QRect middleTarget = Corners(target.left() + head, target.top(), target.right() + 1 - tail,
                                           target.bottom() + 1);
        bitmap.DrawTiled(painter, middleTarget,
                         Corners(source.left() + head, source.top(), source.left() + sections[1], source.bottom() + 1));
        painter.save();
        painter.setClipRect(target, Qt::IntersectClip);
        bitmap.Draw(painter, QPoint(target.right() + 1 - tail, target.top()),
                    QRect(source.left() + sections[1], source.top(), tail, source.height()));
        bitmap.Draw(painter, target.topLeft(), QRect(source.left(), source.top(), head, source.height()));
        painter.restore();
    } else {
        const int head = sections[0], tail = source.height() - sections[1];
        const QRect middleTarget = Corners(target.left(), target.top() + head, target.right() + 1,
                                           target.bottom() + 1 - tail);
        bitmap.DrawTiled(painter, middleTarget,
                         Corners(source.left(), source.top() + head, source.right() + 1, source.top() + sections[1]));
        painter.save();
        painter.setClipRect(target, Qt::IntersectClip);
        bitmap.Draw(painter, QPoint(target.left(), target.bottom() + 1 - tail),
                    QRect(source.left(), source.top() + sections[1], source.width(), tail));
        bitmap.Draw(painter, target.topLeft(), QRect(source.left(), source.top(), source.width(), head));
        painter.restore();
    }
}

int SmallIconSize()
{
    return QApplication::style()->pixelMetric(QStyle::PM_SmallIconSize);
}

}  // namespace

bool CSkinFrame::LoadSkin(const QString& /*path*/)
{
    m_bLoaded = false;
    for (CSkinBitmap* bitmap : {&m_bmpTop, &m_bmpLeft, &m_bmpRight, &m_bmpBottom, &m_bmpBackground, &m_bmpMinimize,
                                &m_bmpMaximize, &m_bmpClose, &m_bmpRestore})
        bitmap->DeleteObject();

    m_bmpBackground.LoadBitmap(IDB_SKIN_BACKGROUND);
    const struct
    {
        CSkinBitmap* bitmap;
        int id;
        const char* name;
    } edges[] = {
        {&m_bmpTop, IDB_SKIN_TOP, "top"},
        {&m_bmpLeft, IDB_SKIN_LEFT, "Left"},
        {&m_bmpRight, IDB_SKIN_RIGHT, "Right"},
        {&m_bmpBottom, IDB_SKIN_BOTTOM, "Bottom"},
    };
    for (const auto& edge : edges) {
        if (!edge.bitmap->LoadBitmap(edge.id)) {
            AfxMessageBox(QString::fromLatin1(edge.name));
            return false;
        }
    }
    m_nBorderTop = m_bmpTop.Height() / 2;
    m_nBorderLeft = m_bmpLeft.Width() / 2;
    m_nBorderRight = m_bmpRight.Width() / 2;
    m_nBorderBottom = m_bmpBottom.Height() / 2;
    m_nTopSections[0] = 76;
    m_nTopSections[1] = m_bmpTop.Width() - 84;
    m_nLeftSections[0] = 33;
    m_nLeftSections[1] = m_bmpLeft.Height() - 13;
    m_nRightSections[0] = 33;
    m_nRightSections[1] = m_bmpRight.Height() - 13;

    // The restore image stands in for the maximize image while the window
    // is maximized.
    if (!m_bmpClose.LoadBitmap(IDB_SKIN_CLOSE) || !m_bmpMaximize.LoadBitmap(IDB_SKIN_MAXIMIZE) ||
        !m_bmpMinimize.LoadBitmap(IDB_SKIN_MINIMIZE) || !m_bmpRestore.LoadBitmap(IDB_SKIN_RESTORE))
        return false;

    m_activeTitleColour = QColor(Qt::white);
    m_inactiveTitleColour = QColor(192, 192, 102);
    m_bLoaded = true;
    return true;
}

void CSkinFrame::AttachToWindow(QWidget* window)
{
    HookWindow(window);
    if (window == nullptr)
        return;
    const Qt::WindowFlags flags = window->windowFlags();
    m_bHasMinBox = flags.testFlag(Qt::WindowMinimizeButtonHint);
    m_bHasMaxBox = flags.testFlag(Qt::WindowMaximizeButtonHint);
    const bool fixedSize = window->minimumSize() == window->maximumSize() ||
                           flags.testFlag(Qt::MSWindowsFixedSizeDialogHint) ||
                           (window->layout() != nullptr && window->layout()->sizeConstraint() == QLayout::SetFixedSize);
    m_bSizable = !fixedSize;
    m_strTitle = window->windowTitle();
    m_bActive = window->isActiveWindow();
    m_nState = STATE_NORMAL;
    if (!m_bLoaded)
        return;

    // The frame is ours to draw; the dialog stays a dialog.
    window->setWindowFlags(flags | Qt::FramelessWindowHint);
    window->setMouseTracking(true);

    // The borders around the client area.  A layout keeps to the contents
    // rectangle; children placed by hand move into the client area, and the
    // window grows by the borders.
    const QMargins borders = Borders();
    window->setContentsMargins(window->contentsMargins() + borders);
    if (window->layout() == nullptr) {
        const QPoint shift(borders.left(), borders.top());
        for (QObject* child : window->children()) {
            auto* widget = qobject_cast<QWidget*>(child);
            if (widget != nullptr && !widget->isWindow())
                widget->move(widget->pos() + shift);
        }
        const QSize extra(borders.left() + borders.right(), borders.top() + borders.bottom());
        const QSize minimum = window->minimumSize(), maximum = window->maximumSize();
        const QSize size = window->size();
        if (maximum.width() < QWIDGETSIZE_MAX || maximum.height() < QWIDGETSIZE_MAX)
            window->setMaximumSize((maximum + extra).boundedTo(QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX)));
        if (!minimum.isNull())
            window->setMinimumSize(minimum + extra);
        window->resize(size + extra);
    }
    if (m_bSizable)
        ApplyMinimumTrackingSize();
}

void CSkinFrame::ApplyMinimumTrackingSize()
{
    // The frame plus 800 x 600, but never more than the window would be of
    // itself: a small dialog must not be blown up by its frame.
    QWidget* window = HookedWindow();
    const QSize frame(m_nBorderLeft + m_nBorderRight, m_nBorderTop + m_nBorderBottom);
    const QSize tracking = frame + QSize(kMinClientWidth, kMinClientHeight);
    const QSize own = window->testAttribute(Qt::WA_Resized) ? window->size() : window->sizeHint();
    QSize minimum = tracking.boundedTo(own.isValid() ? own : tracking);
    minimum = minimum.expandedTo(window->minimumSizeHint()).expandedTo(window->minimumSize());
    window->setMinimumSize(minimum.boundedTo(window->maximumSize()));
}

QRect CSkinFrame::ClientRect() const
{
    const QWidget* window = HookedWindow();
    return window != nullptr ? window->rect().marginsRemoved(Borders()) : QRect();
}

QRect CSkinFrame::CloseRect() const
{
    const int w = HookedWindow() != nullptr ? HookedWindow()->width() : 0;
    const int width = m_bmpClose.Width() / 3;
    return Corners(w - 23, 4, w - 23 + width, 4 + m_bmpClose.Height());
}

QRect CSkinFrame::MaximizeRect() const
{
    const int w = HookedWindow() != nullptr ? HookedWindow()->width() : 0;
    const int width = m_bmpMaximize.Width() / 3;
    return Corners(w - 42, 4, w - 42 + width, 4 + m_bmpMaximize.Height());
}

QRect CSkinFrame::MinimizeRect() const
{
    const int w = HookedWindow() != nullptr ? HookedWindow()->width() : 0;
    const int width = m_bmpMinimize.Width() / 3;
    return Corners(w - 61, 4, w - 61 + width, 4 + m_bmpMinimize.Height());
}

QRect CSkinFrame::IconRect() const
{
    const int size = SmallIconSize();
    return QRect(m_nBorderLeft, 5, size, size);
}

QRect CSkinFrame::TitleRect() const
{
    const int w = HookedWindow() != nullptr ? HookedWindow()->width() : 0;
    return Corners(m_nCaptionTextLeft, m_nCaptionTextTop, w - 84, m_nBorderTop);
}

int CSkinFrame::HitTest(QPoint point) const
{
    const QWidget* window = HookedWindow();
    if (window == nullptr)
        return HTNOWHERE;
    const int W = window->width(), H = window->height();
    const int t = m_nBorderTop, l = m_nBorderLeft, r = m_nBorderRight, b = m_nBorderBottom;
    if (CloseRect().contains(point))
        return HTCLOSE;
    if (m_bHasMinBox && MinimizeRect().contains(point))
        return HTMINBUTTON;
    if (m_bHasMaxBox && MaximizeRect().contains(point))
        return HTMAXBUTTON;
    if (IconRect().contains(point))
        return HTSYSMENU;
    if (m_bSizable && m_nState != STATE_MAXIMIZED) {
        // The top-right corner is as wide as the left border, and the top
        // band as high as the bottom border: the frame has always sized so.
        const struct
        {
            int code;
            QRect rect;
        } bands[] = {
            {HTTOPLEFT, Corners(0, 0, l, t)},
            {HTTOPRIGHT, Corners(W - l, 0, W, t)},
            {HTBOTTOMLEFT, Corners(0, H - b, l, H)},
            {HTBOTTOMRIGHT, Corners(W - r, H - b, W, H)},
            {HTLEFT, Corners(0, t, l, H - b)},
            {HTRIGHT, Corners(W - r, t, W, H - b)},
            {HTBOTTOM, Corners(l, H - b, W - r, H)},
            {HTTOP, Corners(l, 0, W - r, b)},
        };
        for (const auto& band : bands) {
            if (band.rect.contains(point))
                return band.code;
        }
    }
    if (Corners(l, 5, W - r, t).contains(point))
        return HTCAPTION;
    return HTCLIENT;
}

void CSkinFrame::PaintFrame(QPainter& painter) const
{
    const QWidget* window = HookedWindow();
    if (window == nullptr || !m_bLoaded)
        return;
    const int W = window->width(), H = window->height();
    const int t = m_nBorderTop, l = m_nBorderLeft, r = m_nBorderRight, b = m_nBorderBottom;
    const int copy = m_bActive ? 0 : 1;

    painter.save();
    painter.setClipRegion(QRegion(window->rect()) - QRegion(ClientRect()), Qt::IntersectClip);
    DrawEdge(painter, m_bmpLeft, QRect(copy * l, 0, l, m_bmpLeft.Height()), QRect(0, 0, l, H), Qt::Vertical,
             m_nLeftSections);
    DrawEdge(painter, m_bmpRight, QRect(copy * r, 0, r, m_bmpRight.Height()), QRect(W - r, 0, r, H), Qt::Vertical,
             m_nRightSections);
    DrawEdge(painter, m_bmpTop, QRect(0, copy * t, m_bmpTop.Width(), t), Corners(l, 0, W - r, t), Qt::Horizontal,
             m_nTopSections);
    m_bmpBottom.DrawTiled(painter, Corners(l, H - b, W - r, H), QRect(0, copy * b, m_bmpBottom.Width(), b));

    // The caption buttons: 0 normal, 1 pressed, 2 hover.  A pressed button
    // shows pressed only while the mouse is still on it.
    const auto drawButton = [&](const CSkinBitmap& bitmap, const QRect& rect, int code) {
        int image = 0;
        if (m_nPressed == code && m_nHover == code)
            image = 1;
        else if (m_nHover == code && (m_nPressed == HTNOWHERE || m_nPressed == code))
            image = 2;
        const int width = bitmap.Width() / 3;
        bitmap.Draw(painter, rect.topLeft(), QRect(image * width, 0, width, bitmap.Height()));
    };
    drawButton(m_bmpClose, CloseRect(), HTCLOSE);
    if (m_bHasMaxBox)
        drawButton(m_nState == STATE_MAXIMIZED ? m_bmpRestore : m_bmpMaximize, MaximizeRect(), HTMAXBUTTON);
    if (m_bHasMinBox)
        drawButton(m_bmpMinimize, MinimizeRect(), HTMINBUTTON);

    QIcon icon = window->windowIcon();
    if (icon.isNull())
        icon = LoadIconResource(IDR_MAINFRAME);
    icon.paint(&painter, IconRect());

    const QString title = m_strTitle.isEmpty() ? window->windowTitle() : m_strTitle;
    QFont font = QApplication::font();
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(m_bActive ? m_activeTitleColour : m_inactiveTitleColour);
    const QRect text = TitleRect();
    painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     painter.fontMetrics().elidedText(title, Qt::ElideRight, text.width()));
    painter.restore();
}

void CSkinFrame::UpdateFrame()
{
    // The client's children cover the rest; repainting the whole window is
    // cheap and keeps the frame and the background in step.
    if (HookedWindow() != nullptr)
        HookedWindow()->update();
}

void CSkinFrame::Maximize()
{
    QWidget* window = HookedWindow();
    if (window == nullptr || m_nState == STATE_MAXIMIZED)
        return;
    if (m_nState == STATE_MINIMIZED)
        window->showNormal();
    m_rcRestore = window->geometry();
    m_nState = STATE_MAXIMIZED;
    QScreen* screen = window->screen() != nullptr ? window->screen() : QGuiApplication::primaryScreen();
    if (screen != nullptr)
        window->setGeometry(screen->availableGeometry());
    UpdateFrame();
}

void CSkinFrame::Minimize()
{
    QWidget* window = HookedWindow();
    if (window == nullptr || m_nState == STATE_MINIMIZED)
        return;
    m_nStateBeforeMinimize = m_nState;
    m_nState = STATE_MINIMIZED;
    window->showMinimized();
}

void CSkinFrame::Restore()
{
    QWidget* window = HookedWindow();
    if (window == nullptr)
        return;
    if (m_nState == STATE_MAXIMIZED) {
        m_nState = STATE_NORMAL;
        window->setGeometry(m_rcRestore);
    } else if (m_nState == STATE_MINIMIZED) {
        m_nState = m_nStateBeforeMinimize;
        window->showNormal();
    }
    m_nHover = m_nPressed = HTNOWHERE;
    UpdateFrame();
}

void CSkinFrame::SetHover(int code)
{
    // Only the caption buttons change the picture.
    const int hover = IsCaptionButton(code) ? code : HTNOWHERE;
    if (hover == m_nHover)
        return;
    m_nHover = hover;
    UpdateFrame();
}

void CSkinFrame::UpdateCursor(int code)
{
    QWidget* window = HookedWindow();
    switch (code) {
    case HTLEFT:
    case HTRIGHT:
        window->setCursor(Qt::SizeHorCursor);
        break;
    case HTTOP:
    case HTBOTTOM:
        window->setCursor(Qt::SizeVerCursor);
        break;
    case HTTOPLEFT:
    case HTBOTTOMRIGHT:
        window->setCursor(Qt::SizeFDiagCursor);
        break;
    case HTTOPRIGHT:
    case HTBOTTOMLEFT:
        window->setCursor(Qt::SizeBDiagCursor);
        break;
    default:
        window->unsetCursor();
        break;
    }
}

void CSkinFrame::StartMove(QPoint global)
{
    QWidget* window = HookedWindow();
    QWindow* handle = window->windowHandle();
    if (handle != nullptr && handle->startSystemMove())
        return;
    m_drag = {HTCAPTION, global, window->geometry(), false};
}

void CSkinFrame::StartSize(int code, QPoint global)
{
    QWidget* window = HookedWindow();
    QWindow* handle = window->windowHandle();
    if (handle != nullptr && handle->startSystemResize(EdgesOf(code)))
        return;
    m_drag = {code, global, window->geometry(), false};
}

void CSkinFrame::DragTo(QPoint global)
{
    QWidget* window = HookedWindow();
    const QPoint delta = global - m_drag.pressGlobal;
    if (m_drag.code == HTCAPTION) {
        window->move(m_drag.startGeometry.topLeft() + delta);
        return;
    }
    // Sizing keeps the opposite edges where they are, within the window's
    // least and greatest size.
    const Qt::Edges edges = EdgesOf(m_drag.code);
    const QSize least = window->minimumSize().expandedTo(window->minimumSizeHint());
    const QSize most = window->maximumSize();
    QRect rect = m_drag.startGeometry;
    if (edges & Qt::LeftEdge) {
        const int width = qBound(least.width(), rect.width() - delta.x(), most.width());
        rect.setLeft(rect.right() + 1 - width);
    }
    if (edges & Qt::RightEdge)
        rect.setWidth(qBound(least.width(), rect.width() + delta.x(), most.width()));
    if (edges & Qt::TopEdge) {
        const int height = qBound(least.height(), rect.height() - delta.y(), most.height());
        rect.setTop(rect.bottom() + 1 - height);
    }
    if (edges & Qt::BottomEdge)
        rect.setHeight(qBound(least.height(), rect.height() + delta.y(), most.height()));
    window->setGeometry(rect);
}

void CSkinFrame::EndDrag()
{
    QWidget* window = HookedWindow();
    if (m_drag.fromMenu && window != nullptr) {
        window->releaseMouse();
        window->releaseKeyboard();
        window->unsetCursor();
    }
    m_drag = Drag();
}

void CSkinFrame::ShowSystemMenu(QPoint global)
{
    QWidget* window = HookedWindow();
    if (m_systemMenu)
        m_systemMenu->close();
    auto* menu = new QMenu(window);
    menu->setObjectName(QStringLiteral("systemMenu"));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    const bool normal = m_nState == STATE_NORMAL;
    const auto add = [&](const QString& text, bool enabled, auto action) {
        QAction* item = menu->addAction(text);
        item->setEnabled(enabled);
        QObject::connect(item, &QAction::triggered, window, action);
        return item;
    };
    QPointer<QWidget> guard(window);
    add(QStringLiteral("还原(&R)"), !normal, [this] { Restore(); });
    // Move and Size from the menu: the window follows the mouse until the
    // next click (Esc puts it back).
    add(QStringLiteral("移动(&M)"), normal, [this, window] {
        m_drag = {HTCAPTION, QCursor::pos(), window->geometry(), true};
        window->grabMouse(Qt::SizeAllCursor);
        window->grabKeyboard();
    });
    add(QStringLiteral("大小(&S)"), normal && m_bSizable, [this, window] {
        m_drag = {HTBOTTOMRIGHT, QCursor::pos(), window->geometry(), true};
        window->grabMouse(Qt::SizeFDiagCursor);
        window->grabKeyboard();
    });
    add(QStringLiteral("最小化(&N)"), m_bHasMinBox && m_nState != STATE_MINIMIZED, [this] { Minimize(); });
    add(QStringLiteral("最大化(&X)"), m_bHasMaxBox && m_nState != STATE_MAXIMIZED, [this] { Maximize(); });
    menu->addSeparator();
    QAction* close = add(QStringLiteral("关闭(&C)"), true, [guard] {
        if (guard)
            guard->close();
    });
    close->setShortcut(QKeySequence(Qt::ALT | Qt::Key_F4));
    close->setShortcutVisibleInContextMenu(true);
    m_systemMenu = menu;
    menu->popup(global);
}

bool CSkinFrame::OnMousePress(QMouseEvent* event)
{
    if (m_drag.fromMenu) {
        EndDrag();
        return true;
    }
    const int code = HitTest(event->position().toPoint());
    if (code == HTCLIENT || code == HTNOWHERE)
        return Default();
    const QPoint global = event->globalPosition().toPoint();
    if (event->button() == Qt::RightButton) {
        if (code == HTCAPTION)
            ShowSystemMenu(global);
        return true;
    }
    if (event->button() != Qt::LeftButton)
        return true;
    if (IsCaptionButton(code)) {
        m_nHover = m_nPressed = code;
        UpdateFrame();
    } else if (code == HTSYSMENU) {
        ShowSystemMenu(global);
    } else if (code == HTCAPTION) {
        if (m_nState != STATE_MAXIMIZED)
            StartMove(global);
    } else if (IsSizingCode(code)) {
        StartSize(code, global);
    }
    return true;
}

bool CSkinFrame::OnMouseMove(QMouseEvent* event)
{
    if (m_drag.code != HTNOWHERE) {
        DragTo(event->globalPosition().toPoint());
        return true;
    }
    const int code = HitTest(event->position().toPoint());
    SetHover(code);
    UpdateCursor(code);
    return code == HTCLIENT ? Default() : true;
}

bool CSkinFrame::OnMouseRelease(QMouseEvent* event)
{
    if (m_drag.code != HTNOWHERE) {
        if (!m_drag.fromMenu && event->button() == Qt::LeftButton)
            EndDrag();
        return true;
    }
    const int code = HitTest(event->position().toPoint());
    const int pressed = m_nPressed;
    if (event->button() != Qt::LeftButton || pressed == HTNOWHERE)
        return code == HTCLIENT ? Default() : true;
    // A caption button acts only when the press and the release were both
    // on it.
    m_nPressed = HTNOWHERE;
    m_nHover = IsCaptionButton(code) ? code : HTNOWHERE;
    UpdateFrame();
    if (code != pressed)
        return true;
    switch (pressed) {
    case HTCLOSE:
        HookedWindow()->close();
        break;
    case HTMINBUTTON:
        Minimize();
        m_nHover = HTNOWHERE;
        break;
    case HTMAXBUTTON:
        if (m_nState == STATE_MAXIMIZED)
            Restore();
        else
            Maximize();
        m_nHover = HTNOWHERE;
        break;
    default:
        break;
    }
    return true;
}

bool CSkinFrame::OnDoubleClick(QMouseEvent* event)
{
    const int code = HitTest(event->position().toPoint());
    if (code == HTCAPTION && event->button() == Qt::LeftButton) {
        if (m_bSizable) {
            if (m_nState == STATE_MAXIMIZED)
                Restore();
            else
                Maximize();
        }
        m_nHover = m_nPressed = HTNOWHERE;
        UpdateFrame();
        return true;
    }
    // Anywhere else the second click is one more press.
    return OnMousePress(event);
}

bool CSkinFrame::WindowProc(QEvent* event)
{
    QWidget* window = HookedWindow();
    if (!m_bLoaded || window == nullptr)
        return Default();
    switch (event->type()) {
    case QEvent::Paint: {
        const bool result = Default();
        QPainter painter(window);
        PaintFrame(painter);
        return result;
    }
    case QEvent::WindowActivate:
    case QEvent::WindowDeactivate:
    case QEvent::ActivationChange: {
        const bool result = Default();
        const bool active = window->isActiveWindow();
        if (active != m_bActive) {
            m_bActive = active;
            UpdateFrame();
        }
        return result;
    }
    case QEvent::WindowTitleChange:
        m_strTitle = window->windowTitle();
        UpdateFrame();
        return Default();
    case QEvent::WindowStateChange: {
        // Shown again by the window system (a task bar, say) after our own
        // minimize: back to the state before it.
        const bool result = Default();
        if (m_nState == STATE_MINIMIZED && !window->isMinimized()) {
            m_nState = m_nStateBeforeMinimize;
            UpdateFrame();
        }
        return result;
    }
    case QEvent::Resize:
    case QEvent::Show:
        UpdateFrame();
        return Default();
    case QEvent::MouseButtonPress:
        return OnMousePress(static_cast<QMouseEvent*>(event));
    case QEvent::MouseMove:
        return OnMouseMove(static_cast<QMouseEvent*>(event));
    case QEvent::MouseButtonRelease:
        return OnMouseRelease(static_cast<QMouseEvent*>(event));
    case QEvent::MouseButtonDblClick:
        return OnDoubleClick(static_cast<QMouseEvent*>(event));
    case QEvent::Leave:
        SetHover(HTNOWHERE);
        if (m_drag.code == HTNOWHERE)
            window->unsetCursor();
        return Default();
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (m_drag.fromMenu) {
            if (key->key() == Qt::Key_Escape)
                window->setGeometry(m_drag.startGeometry);
            if (key->key() == Qt::Key_Escape || key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
                EndDrag();
            return true;
        }
        // The window manager's Alt+F4 has no frame to come from where there
        // is no window manager.
        if (key->key() == Qt::Key_F4 && key->modifiers() == Qt::AltModifier) {
            window->close();
            return true;
        }
        return Default();
    }
    default:
        return Default();
    }
}

QMenu* CSkinFrame::SystemMenu() const
{
    return m_systemMenu;
}
