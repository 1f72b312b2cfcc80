// The main frame: the MDI frame with the standard, simulation and transfer
// toolbars and the status bar.
#pragma once

#include "CMDIFrameWnd.h"

class CStatusBar;
class CToolBar;

class CMainFrame : public CMDIFrameWnd
{
    Q_OBJECT

public:
    CMainFrame();

    int OnCreate() override;

    CStatusBar* m_wndStatusBar = nullptr;
    CToolBar* m_wndToolBar = nullptr;
    CToolBar* m_wndSimToolBar = nullptr;
    CToolBar* m_wndTransferToolBar = nullptr;
};

// The panes of the status bar, in order.
extern const int kMainFrameIndicators[9];
