// A document window inside the main frame's MDI area.  It carries the
// document type's menu, which the main frame shows while this window is
// active, and makes its views in OnCreateClient.
#pragma once

#include <QMdiSubWindow>

#include "CFrameWnd.h"

class CMDIFrameWnd;
struct CCreateContext;

class CMDIChildWnd : public QMdiSubWindow, public CFrameWnd
{
    Q_OBJECT

public:
    CMDIChildWnd();
    ~CMDIChildWnd() override;

    QWidget* Widget() override { return this; }

    // Takes resourceId's menu and icon, builds the client area and adds the
    // window, still hidden, to mainFrame's MDI area.  False when the client
    // area cannot be built.
    virtual bool LoadFrame(int resourceId, CMDIFrameWnd* mainFrame, CCreateContext* context);
    // The base makes one view of the context's view class fill the window.
    virtual bool OnCreateClient(CCreateContext* context);
    // Shows and activates the window: maximized or normal as asked, or as
    // the active window is when nothing is asked (-1).
    enum ShowCommand
    {
        ShowDefault = -1,
        ShowNormal,
        ShowMaximized,
    };
    virtual void ActivateFrame(int showCommand = ShowDefault);
    // Makes the first view active, gives every view its initial update and,
    // when makeVisible, shows the window.
    void InitialUpdateFrame(bool makeVisible);

    // Where the keyboard focus goes when the window gets it: the active
    // view, unless a frame says otherwise.
    virtual void OnSetFocus();

    int GetMenuId() const { return m_nIDResource; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    void FollowFocus(QWidget* now);

    int m_nIDResource = 0;
    CMDIFrameWnd* m_pMDIFrame = nullptr;
    // Cut in the destructor: the application's signal would otherwise still
    // reach this window while its QWidget part takes the focus elsewhere.
    QMetaObject::Connection m_focusConnection;
};
