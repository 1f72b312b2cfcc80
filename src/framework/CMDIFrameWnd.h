// The main frame of an MDI program: the menu bar, the toolbars and status
// bar, the accelerators, and the MDI area with the document windows.
//
// It shows its own menu while no document window is active and the active
// window's menu otherwise.  Menus are brought up to date by command updates
// just before they open; toolbars and status panes once the events of the
// moment are handled, after every command, every input and every repaint of
// a view, and never while nothing happens.
#pragma once

#include <QMainWindow>
#include <QTimer>
#include <map>
#include <vector>

#include "CFrameWnd.h"

class CMDIChildWnd;
class CToolBar;
class QMdiArea;
class QMenu;

class CMDIFrameWnd : public QMainWindow, public CFrameWnd
{
    Q_OBJECT

public:
    CMDIFrameWnd();
    ~CMDIFrameWnd() override;

    QWidget* Widget() override { return this; }

    // Takes the title, icon, menu and accelerators of resourceId, then
    // calls OnCreate.  False when OnCreate fails.
    virtual bool LoadFrame(int resourceId);
    // Builds the bars; -1 on failure.
    virtual int OnCreate() { return 0; }

    QMdiArea* MDIClient() const { return m_pMdiArea; }
    CMDIChildWnd* MDIGetActive() const;

    // The route: the active document window (its view, its document,
    // itself), this frame, the application.
    bool OnCmdMsg(int id, CCmdUI* ui) override;
    // Runs command id from a menu, a button or an accelerator.  False when
    // nothing handles it.
    bool OnCommand(int id);
    // Brings the toolbars, the status panes, the menu bar and the title up
    // to date.
    void OnIdleUpdateCmdUI();
    // OnIdleUpdateCmdUI once the events now waiting are handled.
    void UpdateCmdUISoon();
    // Updates every item of popup (and so sets their enabled, checked and
    // text state), as when it is about to open.
    void UpdateMenuPopup(QMenu* popup);

    // The popups of menu resource menuId as this frame built them.
    const std::vector<QMenu*>& MenuPopups(int menuId);
    // Pops up popup index of menu resource menuId at global as a context
    // menu; the chosen command goes through the frame's routing.  The menu
    // is made for the occasion and gone afterwards.
    void TrackPopupMenu(int menuId, int index, QPoint global);
    // The menu now in the menu bar.
    int CurrentMenuId() const { return m_nCurrentMenu; }

    // The accelerator table in use: each key with its command.
    const std::vector<std::pair<QKeySequence, int>>& Accelerators() const { return m_accelerators; }

    // Toolbar docking at the top: a bar of its own on a new row, or on the
    // row of another bar, right after it.
    void DockControlBar(CToolBar* bar);
    void DockControlBarRightOf(CToolBar* bar, CToolBar* leftOf);

    // Files dropped on the frame are opened as documents.
    void DragAcceptFiles(bool accept = true);

    void SetMessageText(const QString& text) override;

    // True while the frame closes every document window after having asked
    // about each modified document once.
    bool IsClosingAll() const { return m_bClosingAll; }

    // View > Toolbar, View > Status Bar: show or hide the bar with the
    // command's id.
    void OnBarCheck(int id);
    void OnUpdateControlBarMenu(CCmdUI* ui);
    void OnWindowNew();
    void OnUpdateWindowNew(CCmdUI* ui);
    void OnMDIWindowCmd(int id);
    void OnActivateMDIChild(int id);

    DECLARE_COMMAND_MAP()

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* receiver, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    std::vector<QMenu*> BuildMenu(int menuId);
    void ShowMenu(int menuId);
    void LoadAccelTable(int resourceId);
    void OnAccelerator(int id);
    void UpdateWindowList(QMenu* popup);
    void ArrangeIconicWindows();

    QMdiArea* m_pMdiArea = nullptr;
    int m_nIDResource = 0;
    int m_nCurrentMenu = 0;
    std::map<int, std::vector<QMenu*>> m_menus;
    std::vector<std::pair<QKeySequence, int>> m_accelerators;
    std::vector<std::vector<CToolBar*>> m_dockRows;
    QTimer m_idleTimer;
    bool m_bAcceptFiles = false;
    bool m_bClosingAll = false;
};
