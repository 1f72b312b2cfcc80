// The main frame's bars: three toolbars on two rows (the standard one alone,
// the transfer and simulation ones side by side below it) and the status bar.
#include "CMainFrame.h"

#include <iterator>

#include "CStatusBar.h"
#include "CToolBar.h"
#include "Resources.h"
#include "ids.h"

const int kMainFrameIndicators[9] = {
    ID_SEPARATOR,
    ID_EDIT_INDICATOR_CRLF,
    ID_EDIT_INDICATOR_STATUS,
    ID_EDIT_INDICATOR_READ,
    ID_EDIT_INDICATOR_POSITION,
    ID_INDICATOR_OVR,
    ID_INDICATOR_CAPS,
    ID_INDICATOR_NUM,
    ID_INDICATOR_SCRL,
};

CMainFrame::CMainFrame()
{
    // Children of the frame: Qt owns them.
    m_wndStatusBar = new CStatusBar(this);
    m_wndToolBar = new CToolBar(this);
    m_wndSimToolBar = new CToolBar(this);
    m_wndTransferToolBar = new CToolBar(this);
}

int CMainFrame::OnCreate()
{
    // Every toolbar has the same child id, so View > Toolbar, which looks
    // the bar up by that id, finds the first: the standard toolbar.
    const std::pair<CToolBar*, int> toolbars[] = {
        {m_wndToolBar, IDR_MAINFRAME},
        {m_wndSimToolBar, IDR_SIMULATION},
        {m_wndTransferToolBar, IDR_TRANSFER},
    };
    for (const auto& [bar, resource] : toolbars)
        if (!bar->CreateEx(this, AFX_IDW_TOOLBAR) || !bar->LoadToolBar(resource))
            return -1;

    if (!m_wndStatusBar->Create(this, AFX_IDW_STATUS_BAR) ||
        !m_wndStatusBar->SetIndicators(kMainFrameIndicators, int(std::size(kMainFrameIndicators))))
        return -1;
    m_wndStatusBar->SetPaneText(0, LoadResourceString(AFX_IDS_IDLEMESSAGE));

    for (const auto& [bar, resource] : toolbars)
        bar->EnableDocking();
    DockControlBar(m_wndToolBar);
    DockControlBar(m_wndTransferToolBar);
    DockControlBarRightOf(m_wndSimToolBar, m_wndTransferToolBar);
    return 0;
}
