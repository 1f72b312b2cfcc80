// The splash window: bitmap 102 centred on the main frame while the program
// starts.  It goes at its first timer tick once the event loop runs, or at
// the first key or mouse click, which it swallows.
#pragma once

#include <QImage>
#include <QWidget>

class CSplashWnd : public QWidget
{
    Q_OBJECT

public:
    ~CSplashWnd() override;

    static void EnableSplashScreen(bool enable);
    // Shows the splash over parent if it is enabled and none is up yet.
    static void ShowSplashScreen(QWidget* parent);
    // True when event dismissed the splash (or belongs to a key that did):
    // the caller must drop it.
    static bool PreTranslateAppMessage(QEvent* event);
    static void HideSplashScreen();

    // The one splash on screen, or null.
    static CSplashWnd* Current() { return s_pSplashWnd; }

    static constexpr int kTimerPeriodMs = 750;

protected:
    void paintEvent(QPaintEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    explicit CSplashWnd(QWidget* parent);
    bool Create();

    QImage m_bitmap;
    int m_nTimer = 0;

    static bool s_bShowSplashWnd;
    static CSplashWnd* s_pSplashWnd;
};
