// Frames: views, control bars and the command route through a child frame.
#include "CFrameWnd.h"

#include <QPointer>
#include <QWidget>
#include <algorithm>

#include "CDocument.h"
#include "CMultiDocTemplate.h"
#include "CView.h"
#include "CWinApp.h"
#include "FrameworkIds.h"

BEGIN_COMMAND_MAP(CFrameWnd, CCmdTarget)
    ON_UPDATE_COMMAND_UI_RANGE(ID_INDICATOR_CAPS, ID_INDICATOR_SCRL, OnUpdateKeyIndicator)
    ON_COMMAND_RANGE(ID_NEXT_PANE, ID_PREV_PANE, OnNextPaneCmd)
    ON_UPDATE_COMMAND_UI_RANGE(ID_NEXT_PANE, ID_PREV_PANE, OnUpdateNextPaneMenu)
END_COMMAND_MAP()

CFrameWnd::~CFrameWnd()
{
    for (CView* view : m_views)
        view->m_pFrame = nullptr;
}

void CFrameWnd::SetActiveView(CView* view)
{
    m_pActiveView = view;
}

CDocument* CFrameWnd::GetActiveDocument() const
{
    return m_pActiveView ? m_pActiveView->GetDocument() : nullptr;
}

CView* CFrameWnd::CreateView(CCreateContext* context, QWidget* parent)
{
    if (!context || !context->m_pNewViewClass)
        return nullptr;
    CView* view = context->m_pNewViewClass(parent);
    if (!view)
        return nullptr;
    view->m_pFrame = this;
    m_views.push_back(view);
    if (context->m_pCurrentDoc)
        context->m_pCurrentDoc->AddView(view);
    return view;
}

void CFrameWnd::RemoveView(CView* view)
{
    m_views.erase(std::remove(m_views.begin(), m_views.end(), view), m_views.end());
    view->m_pFrame = nullptr;
    if (m_pActiveView == view)
        m_pActiveView = m_views.empty() ? nullptr : m_views.front();
}

void CFrameWnd::AddControlBar(int id, QWidget* bar)
{
    m_controlBars.emplace_back(id, bar);
}

QWidget* CFrameWnd::GetControlBar(int id) const
{
    for (const auto& [barId, bar] : m_controlBars)
        if (barId == id)
            return bar;
    return nullptr;
}

std::vector<CView*> CFrameWnd::PaneRoute() const
{
    return m_views;
}

bool CFrameWnd::OnCmdMsg(int id, CCmdUI* ui)
{
    if (CView* active = m_pActiveView) {
        if (active->OnCmdMsg(id, ui))
            return true;
        // A command belongs to the window, not to the pane that happens to
        // have the focus: the other panes of the same document come next.
        for (CView* view : PaneRoute())
            if (view != active && view->GetDocument() == active->GetDocument() && view->OnCmdMsg(id, ui))
                return true;
        if (CDocument* document = active->GetDocument(); document && document->OnCmdMsg(id, ui))
            return true;
    }
    return CCmdTarget::OnCmdMsg(id, ui);
}

void CFrameWnd::DoUpdate(CCmdUI* ui)
{
    if (!OnCmdMsg(ui->m_nID, ui))
        ui->Enable(false);
}

void CFrameWnd::SetMessageText(const QString& text)
{
    CWinApp* app = AfxGetApp();
    if (app && app->m_pMainWnd && app->m_pMainWnd != this)
        app->m_pMainWnd->SetMessageText(text);
}

void CFrameWnd::OnNextPaneCmd(int id)
{
    // F6 and Shift+F6 walk the panes in the order they were made, around.
    if (m_views.size() < 2)
        return;
    const auto at = std::find(m_views.begin(), m_views.end(), m_pActiveView);
    const size_t count = m_views.size();
    size_t index = at == m_views.end() ? 0 : size_t(at - m_views.begin());
    index = id == ID_PREV_PANE ? (index + count - 1) % count : (index + 1) % count;
    if (auto* widget = dynamic_cast<QWidget*>(m_views[index])) {
        SetActiveView(m_views[index]);
        widget->setFocus(Qt::TabFocusReason);
    }
}

void CFrameWnd::OnUpdateNextPaneMenu(CCmdUI* ui)
{
    ui->Enable(m_views.size() > 1);
}

void CFrameWnd::OnUpdateKeyIndicator(CCmdUI* ui)
{
    ui->Enable(IsKeyLockOn(ui->m_nID));
}
