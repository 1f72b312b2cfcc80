// Command maps and overrides of the shell's test doubles.
#include "ShellDoubles.h"

#include "CSplashWnd.h"

BEGIN_COMMAND_MAP(TestDoc, CDocument)
    ON_COMMAND_RANGE(ID_TEST_VIEW, ID_TEST_DOC, OnTest)
END_COMMAND_MAP()

BEGIN_COMMAND_MAP(TestView, CView)
    ON_COMMAND_RANGE(ID_TEST_VIEW, ID_TEST_VIEW, OnTest)
    ON_UPDATE_COMMAND_UI(ID_EDIT_INDICATOR_POSITION, OnUpdatePosition)
END_COMMAND_MAP()

BEGIN_COMMAND_MAP(CatchAllView, TestView)
    ON_COMMAND_RANGE(ID_FILE_NEW, ID_PREV_PANE, OnAny)
    ON_UPDATE_COMMAND_UI_RANGE(ID_FILE_NEW, ID_PREV_PANE, OnUpdateAny)
    ON_COMMAND_RANGE(ID_EDIT_DELETE, ID_EDIT_CLEAR_ALL_BOOKMARKS, OnAny)
    ON_UPDATE_COMMAND_UI_RANGE(ID_EDIT_DELETE, ID_EDIT_CLEAR_ALL_BOOKMARKS, OnUpdateAny)
END_COMMAND_MAP()

BEGIN_COMMAND_MAP(TestChild, CMDIChildWnd)
    ON_COMMAND_RANGE(ID_TEST_VIEW, ID_TEST_CHILD, OnTest)
END_COMMAND_MAP()

BEGIN_COMMAND_MAP(TestMainFrame, CMainFrame)
    ON_COMMAND_RANGE(ID_TEST_VIEW, ID_TEST_MAIN, OnTest)
END_COMMAND_MAP()

BEGIN_COMMAND_MAP(TestApp, CTornelApp)
    ON_COMMAND_RANGE(ID_TEST_VIEW, ID_TEST_APP, OnTest)
END_COMMAND_MAP()

namespace {

class FailingMainFrame : public TestMainFrame
{
public:
    int OnCreate() override { return -1; }
};

}  // namespace

CMainFrame* TestApp::NewMainFrame()
{
    if (failMainFrame)
        return new FailingMainFrame;
    return new TestMainFrame;
}

void TestApp::Pause(int ms)
{
    CSplashWnd* splash = CSplashWnd::Current();
    pauses.push_back({ms, splash && splash->isVisible(), m_pMainWnd && m_pMainWnd->Widget()->isVisible()});
    if (realPause)
        CTornelApp::Pause(ms);
}
