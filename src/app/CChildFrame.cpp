// The document window of an NC program: its three panes, its maximized
// showing, where its focus goes and the order its panes take commands in.
#include "CChildFrame.h"

#include "CInfoView.h"
#include "CMultiDocTemplate.h"
#include "CSimView.h"
#include "CSplitterWnd.h"
#include "CTornelView.h"

CChildFrame::CChildFrame() = default;

bool CChildFrame::OnCreateClient(CCreateContext* context)
{
    if (!context)
        return false;
    auto* outer = new CSplitterWnd;
    if (!outer->CreateStatic(1, 2)) {
        delete outer;
        return false;
    }
    setWidget(outer);
    m_wndSplitter = outer;

    // The three views share the context's document; the code view is the
    // template's view class.
    auto* code = dynamic_cast<CTornelView*>(CreateView(context, outer));
    if (!code)
        return false;
    outer->SetPane(0, 0, code);

    auto* inner = new CSplitterWnd;
    inner->CreateStatic(2, 1);
    inner->setFrameStyle(QFrame::Box | QFrame::Plain);  // a thin border
    outer->SetPane(0, 1, inner);
    m_wndSplitter2 = inner;

    CCreateContext infoContext = *context;
    infoContext.m_pNewViewClass = [](QWidget* parent) { return new CInfoView(parent); };
    auto* info = dynamic_cast<CInfoView*>(CreateView(&infoContext, inner));
    CCreateContext simContext = *context;
    simContext.m_pNewViewClass = [](QWidget* parent) { return new CSimView(parent); };
    auto* sim = dynamic_cast<CSimView*>(CreateView(&simContext, inner));
    if (!info || !sim)
        return false;
    inner->SetPane(0, 0, info);
    inner->SetPane(1, 0, sim);

    // The code keeps its width and the information its height; the
    // simulation takes what the window gains.
    outer->setStretchFactor(0, 0);
    outer->setStretchFactor(1, 1);
    outer->setSizes({kCodeWidth, 10000});
    inner->setStretchFactor(0, 0);
    inner->setStretchFactor(1, 1);
    inner->setSizes({kInfoHeight, 10000});

    code->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    code->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    return true;
}

void CChildFrame::ActivateFrame(int)
{
    CMDIChildWnd::ActivateFrame(ShowMaximized);
}

void CChildFrame::OnSetFocus()
{
    if (m_wndSplitter2)
        if (QWidget* sim = m_wndSplitter2->GetPane(1, 0))
            sim->setFocus();
}

std::vector<CView*> CChildFrame::PaneRoute() const
{
    std::vector<CView*> route;
    if (m_wndSplitter)
        route.push_back(dynamic_cast<CView*>(m_wndSplitter->GetPane(0, 0)));
    if (m_wndSplitter2) {
        route.push_back(dynamic_cast<CView*>(m_wndSplitter2->GetPane(1, 0)));
        route.push_back(dynamic_cast<CView*>(m_wndSplitter2->GetPane(0, 0)));
    }
    std::erase(route, nullptr);
    return route;
}
