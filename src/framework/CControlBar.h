// A bar of the main frame whose items follow command updates: a toolbar's
// buttons, a status bar's panes.
#pragma once

class CFrameWnd;

class CControlBar
{
public:
    // Asks target (the start of the command route) about every item.
    virtual void OnUpdateCmdUI(CFrameWnd* target) = 0;

protected:
    ~CControlBar() = default;
};
