// What every frame window has, whichever Qt widget it is: its views and the
// active one, its control bars, and its place in the command route.
//
// The route of a command or of an update is one fixed order: the active
// view, the frame's other views, the document, the child frame, the main
// frame, the application.  A child frame routes the first four (OnCmdMsg
// below); the main frame puts its active child first and itself and the
// application after (CMDIFrameWnd).
#pragma once

#include <QString>

#include <vector>

#include "CCmdTarget.h"

class CDocument;
class CView;
struct CCreateContext;
class QWidget;

class CFrameWnd : public CCmdTarget
{
public:
    ~CFrameWnd() override;

    // The frame as a widget.
    virtual QWidget* Widget() = 0;

    CView* GetActiveView() const { return m_pActiveView; }
    void SetActiveView(CView* view);
    CDocument* GetActiveDocument() const;
    const std::vector<CView*>& Views() const { return m_views; }

    // Makes a view of the context's view class as a child of parent, shows
    // the context's document in it and counts it as one of this frame's
    // views.  Null when the context has no view class.
    CView* CreateView(CCreateContext* context, QWidget* parent);
    void RemoveView(CView* view);

    // Control bars by child id; several bars may share an id, and the first
    // one registered is the one found.
    void AddControlBar(int id, QWidget* bar);
    QWidget* GetControlBar(int id) const;
    const std::vector<std::pair<int, QWidget*>>& ControlBars() const { return m_controlBars; }

    // The route: the active view, the frame's other views in PaneRoute's
    // order, the active view's document, the frame itself.
    bool OnCmdMsg(int id, CCmdUI* ui) override;
    // The order in which the views other than the active one are offered a
    // command: by default the order they were made in.
    virtual std::vector<CView*> PaneRoute() const;
    // Routes an update and shows the item disabled when nothing handles it.
    void DoUpdate(CCmdUI* ui);

    // Shows text in the status bar's message pane: the main frame's, which
    // a document window passes it on to.
    virtual void SetMessageText(const QString& text);

    // Next pane (F6) and previous pane (Shift+F6): the keyboard focus moves
    // to the next or previous view of the frame.
    void OnNextPaneCmd(int id);
    void OnUpdateNextPaneMenu(CCmdUI* ui);
    // CAP, NUM and SCRL: enabled (shown) while the key's lock is on.
    void OnUpdateKeyIndicator(CCmdUI* ui);

    DECLARE_COMMAND_MAP()

private:
    std::vector<CView*> m_views;
    CView* m_pActiveView = nullptr;
    std::vector<std::pair<int, QWidget*>> m_controlBars;
};

// The lock state of a lock key indicator (ID_INDICATOR_CAPS, _NUM, _SCRL);
// false where the window system does not tell.
bool IsKeyLockOn(int indicatorId);
