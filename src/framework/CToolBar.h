// A toolbar made from a toolbar resource: buttons with their images, tool
// tips and status prompts, enabled and checked by command updates.
#pragma once

#include <QToolBar>
#include <vector>

#include "CControlBar.h"

class CMDIFrameWnd;

class CToolBar : public QToolBar, public CControlBar
{
    Q_OBJECT

public:
    explicit CToolBar(QWidget* parent = nullptr) : QToolBar(parent) {}

    // Makes the bar a child of frame with child id id (the frame finds its
    // bars by id; several bars may share one).
    bool CreateEx(CMDIFrameWnd* frame, int id);
    // Adds the buttons of toolbar resource resourceId; false when the
    // resource or one of its images is missing.
    bool LoadToolBar(int resourceId);
    // Lets the bar be docked at every edge of the frame and float.
    void EnableDocking();

    int GetDlgCtrlID() const { return m_nID; }
    int GetResourceID() const { return m_nResourceID; }
    // The command of every button, 0 for a separator, in order.
    const std::vector<int>& ButtonIds() const { return m_buttonIds; }
    QAction* ButtonAction(int commandId) const;

    void OnUpdateCmdUI(CFrameWnd* target) override;

private:
    CMDIFrameWnd* m_pFrame = nullptr;
    int m_nID = 0;
    int m_nResourceID = 0;
    std::vector<int> m_buttonIds;
};
