// CSkinFrame: the hook that gives a dialog its skinned frame.  The dialog
// becomes a frameless window (still a dialog, with its modality and its
// place over its parent); the hook keeps borders around the client area and
// paints them from the skin bitmaps: the caption with the small icon, the
// title and the close, maximize and minimize buttons, and the side and
// bottom edges, each in an active and an inactive copy.  It answers the
// mouse over the frame itself: hit-testing, the caption buttons, moving and
// sizing (through the window system where it can, by hand where it cannot),
// maximize and restore, minimize, and a system menu.
#pragma once

#include <QColor>
#include <QMargins>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QString>

#include "CSkinBitmap.h"
#include "CWindowHook.h"

class QMenu;
class QMouseEvent;
class QPainter;
class QWidget;

class CSkinFrame : public CWindowHook
{
public:
    // What a point of the window is, as hit-testing tells it.
    enum HitCode
    {
        HTNOWHERE = 0,
        HTCLIENT = 1,
        HTCAPTION = 2,
        HTSYSMENU = 3,
        HTMINBUTTON = 8,
        HTMAXBUTTON = 9,
        HTLEFT = 10,
        HTRIGHT = 11,
        HTTOP = 12,
        HTTOPLEFT = 13,
        HTTOPRIGHT = 14,
        HTBOTTOM = 15,
        HTBOTTOMLEFT = 16,
        HTBOTTOMRIGHT = 17,
        HTCLOSE = 20,
    };
    enum WindowState
    {
        STATE_NORMAL = 0,
        STATE_MAXIMIZED = 1,
        STATE_MINIMIZED = 2,
    };

    // The client area's least size for a window the user may size.
    static constexpr int kMinClientWidth = 800;
    static constexpr int kMinClientHeight = 600;

    CSkinFrame() = default;

    // Loads the frame bitmaps.  The path names a skin description, which
    // is not read: every picture comes from the program's bitmaps.  A
    // missing edge is named in a message box ("top", "Left", "Right",
    // "Bottom"); a missing caption button fails quietly.  False on either.
    bool LoadSkin(const QString& path);
    bool IsLoaded() const { return m_bLoaded; }

    // Hooks window (not yet shown) and makes it frameless with the borders
    // around its client area: a layout keeps to the client area, and
    // children placed by hand move into it, the window growing by the
    // borders.  Whether the window is sizable and has minimize and maximize
    // boxes is taken from it now.
    void AttachToWindow(QWidget* window);

    QMargins Borders() const { return {m_nBorderLeft, m_nBorderTop, m_nBorderRight, m_nBorderBottom}; }
    // The client area in the window's coordinates.
    QRect ClientRect() const;

    bool IsSizable() const { return m_bSizable; }
    bool HasMinimizeBox() const { return m_bHasMinBox; }
    bool HasMaximizeBox() const { return m_bHasMaxBox; }
    bool IsActive() const { return m_bActive; }
    int State() const { return m_nState; }
    const QString& Title() const { return m_strTitle; }

    // What the point (window coordinates) is; first match wins, in the
    // order of the caption buttons, the icon, the sizing borders (only for
    // a sizable window that is not maximized), the caption, the client.
    int HitTest(QPoint point) const;
    // The rectangles of the caption buttons in the window's coordinates.
    QRect CloseRect() const;
    QRect MaximizeRect() const;
    QRect MinimizeRect() const;
    QRect IconRect() const;
    QRect TitleRect() const;

    void Maximize();
    void Minimize();
    // Back from maximized to the kept geometry, or from minimized to the
    // state before it.
    void Restore();

    // Paints the frame of the window as it is now.
    void PaintFrame(QPainter& painter) const;

    // The colours of the title.
    QColor ActiveTitleColour() const { return m_activeTitleColour; }
    QColor InactiveTitleColour() const { return m_inactiveTitleColour; }

    // The system menu when it is open (tests choose from it).
    QMenu* SystemMenu() const;

protected:
    bool WindowProc(QEvent* event) override;

private:
    // A move or size that the frame does by hand: where the window system
    // cannot (no window manager), or from the system menu.
    struct Drag
    {
        int code = HTNOWHERE;  // HTCAPTION moves, a border code sizes
        QPoint pressGlobal;
        QRect startGeometry;
        bool fromMenu = false;  // ends at the next click, not the release
    };

    bool OnMousePress(QMouseEvent* event);
    bool OnMouseMove(QMouseEvent* event);
    bool OnMouseRelease(QMouseEvent* event);
    bool OnDoubleClick(QMouseEvent* event);
    void StartMove(QPoint global);
    void StartSize(int code, QPoint global);
    void DragTo(QPoint global);
    void EndDrag();
    void ShowSystemMenu(QPoint global);
    void SetHover(int code);
    void UpdateCursor(int code);
    void ApplyMinimumTrackingSize();
    void UpdateFrame();

    QString m_strTitle;
    CSkinBitmap m_bmpTop, m_bmpLeft, m_bmpRight, m_bmpBottom, m_bmpBackground;
    CSkinBitmap m_bmpMinimize, m_bmpMaximize, m_bmpClose, m_bmpRestore;
    int m_nHover = HTNOWHERE;    // the caption button under the mouse
    int m_nPressed = HTNOWHERE;  // the caption button pressed, until released
    // Sections of the edges: head up to the first, tail from the second.
    int m_nTopSections[2] = {76, 0};
    int m_nLeftSections[2] = {33, 0};
    int m_nRightSections[2] = {33, 0};
    QRect m_rcRestore;  // the geometry before maximizing
    int m_nState = STATE_NORMAL;
    int m_nStateBeforeMinimize = STATE_NORMAL;
    bool m_bSizable = false, m_bHasMinBox = false, m_bHasMaxBox = false;
    int m_nBorderTop = 0, m_nBorderLeft = 0, m_nBorderRight = 0, m_nBorderBottom = 0;
    int m_nCaptionTextLeft = 60, m_nCaptionTextTop = 0;
    QColor m_activeTitleColour;
    QColor m_inactiveTitleColour;
    bool m_bLoaded = false;
    bool m_bActive = false;
    Drag m_drag;
    QPointer<QMenu> m_systemMenu;
};
