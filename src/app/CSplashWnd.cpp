// The splash window.
#include "CSplashWnd.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPainter>
#include <QScreen>
#include <QWindow>

#include "Resources.h"
#include "ids.h"

bool CSplashWnd::s_bShowSplashWnd = false;
CSplashWnd* CSplashWnd::s_pSplashWnd = nullptr;

namespace {

// How long the splash may wait for the window system to put it on screen
// before the start-up's pause.
constexpr int kExposeWaitMs = 300;

}  // namespace

CSplashWnd::CSplashWnd(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setCursor(Qt::ArrowCursor);
}

CSplashWnd::~CSplashWnd()
{
    if (s_pSplashWnd == this)
        s_pSplashWnd = nullptr;
}

void CSplashWnd::EnableSplashScreen(bool enable)
{
    s_bShowSplashWnd = enable;
}

void CSplashWnd::ShowSplashScreen(QWidget* parent)
{
    if (!s_bShowSplashWnd || s_pSplashWnd)
        return;
    auto* splash = new CSplashWnd(parent);
    if (!splash->Create()) {
        delete splash;
        return;
    }
    s_pSplashWnd = splash;
    // Painted now: the start-up pause that follows handles no events.
    QElapsedTimer waited;
    waited.start();
    while (splash->windowHandle() && !splash->windowHandle()->isExposed() && waited.elapsed() < kExposeWaitMs)
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 10);
    splash->repaint();
}

bool CSplashWnd::Create()
{
    m_bitmap = LoadBitmapResource(IDB_SPLASH);
    if (m_bitmap.isNull())
        return false;
    setFixedSize(m_bitmap.size());
    // Centred on the owner, which need not be on screen yet.
    QWidget* owner = parentWidget();
    const QRect area = owner ? owner->frameGeometry() : screen()->geometry();
    move(area.center() - rect().center());
    show();
    m_nTimer = startTimer(kTimerPeriodMs);
    return m_nTimer != 0;
}

bool CSplashWnd::PreTranslateAppMessage(QEvent* event)
{
    if (!s_pSplashWnd)
        return false;
    switch (event->type()) {
    case QEvent::ShortcutOverride:
        // The key must reach the splash as a key press, not run a command.
        event->accept();
        return true;
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::NonClientAreaMouseButtonDblClick:
        HideSplashScreen();
        return true;
    default:
        return false;
    }
}

void CSplashWnd::HideSplashScreen()
{
    CSplashWnd* splash = s_pSplashWnd;
    if (!splash)
        return;
    s_pSplashWnd = nullptr;
    QWidget* owner = splash->parentWidget();
    splash->hide();
    // The event being handled may be the splash's own.
    splash->deleteLater();
    if (owner && owner->isVisible()) {
        // The keys that follow are for the frame the splash stood over.
        owner->activateWindow();
        owner->update();
    }
}

void CSplashWnd::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(0, 0, m_bitmap);
}

void CSplashWnd::timerEvent(QTimerEvent* event)
{
    if (event->timerId() == m_nTimer)
        HideSplashScreen();
}
