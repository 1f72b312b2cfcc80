// The window of one NC document: the code view on the left (260 pixels
// wide), and on the right the machining information (100 pixels high) above
// the simulation.  Always maximized; the keyboard focus goes to the
// simulation.
#pragma once

#include "CMDIChildWnd.h"

class CSplitterWnd;
class CView;

class CChildFrame : public CMDIChildWnd
{
    Q_OBJECT

public:
    CChildFrame();

    static constexpr int kCodeWidth = 260;
    static constexpr int kInfoHeight = 100;

    bool OnCreateClient(CCreateContext* context) override;
    void ActivateFrame(int showCommand = ShowDefault) override;
    void OnSetFocus() override;
    // Commands the focused pane does not handle go to the code first, then
    // to the simulation, then to the information.
    std::vector<CView*> PaneRoute() const override;

    CSplitterWnd* OuterSplitter() const { return m_wndSplitter; }
    CSplitterWnd* InnerSplitter() const { return m_wndSplitter2; }

private:
    CSplitterWnd* m_wndSplitter = nullptr;
    CSplitterWnd* m_wndSplitter2 = nullptr;
};
