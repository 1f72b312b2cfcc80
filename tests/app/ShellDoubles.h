// Test doubles for the application shell: a document, a view, a document
// window, a main frame and an application whose command maps record which
// of them handled a command, so that the route can be watched.
#pragma once

#include <QWidget>
#include <string>
#include <vector>

#include "CDocument.h"
#include "CMDIChildWnd.h"
#include "CMainFrame.h"
#include "CMultiDocTemplate.h"
#include "CTornelApp.h"
#include "CView.h"
#include "ids.h"

// Private command ids of the route test: 9001 is handled by the view and
// everything after it, 9002 from the document on, ..., 9005 only by the
// application, 9006 by nothing.
enum : int
{
    ID_TEST_VIEW = 9001,
    ID_TEST_DOC,
    ID_TEST_CHILD,
    ID_TEST_MAIN,
    ID_TEST_APP,
    ID_TEST_NOBODY,
};

inline std::vector<std::string>& RouteLog()
{
    static std::vector<std::string> log;
    return log;
}

class TestDoc : public CDocument
{
public:
    void OnTest(int id) { RouteLog().push_back("doc " + std::to_string(id)); }
    DECLARE_COMMAND_MAP()
};

class TestView : public QWidget, public CView
{
public:
    explicit TestView(QWidget* parent) : QWidget(parent) { setFocusPolicy(Qt::StrongFocus); }
    void OnTest(int id) { RouteLog().push_back("view " + std::to_string(id)); }
    // Fills the cursor pane as the text views will.
    void OnUpdatePosition(CCmdUI* ui) { ui->SetText(QStringLiteral("Ln 7, Col 3")); }
    DECLARE_COMMAND_MAP()
};

// A view that claims every framework and text engine command, to see which
// id a key or an item sends.
class CatchAllView : public TestView
{
public:
    using TestView::TestView;
    void OnAny(int id) { RouteLog().push_back("any " + std::to_string(id)); }
    void OnUpdateAny(CCmdUI* ui) { ui->Enable(true); }
    DECLARE_COMMAND_MAP()
};

class TestChild : public CMDIChildWnd
{
public:
    void OnTest(int id) { RouteLog().push_back("child " + std::to_string(id)); }
    DECLARE_COMMAND_MAP()
};

class TestMainFrame : public CMainFrame
{
public:
    void OnTest(int id) { RouteLog().push_back("main " + std::to_string(id)); }
    DECLARE_COMMAND_MAP()
};

// The real application with a test route entry, a recorded pause and a
// main frame that can be made to fail.
class TestApp : public CTornelApp
{
public:
    void OnTest(int id) { RouteLog().push_back("app " + std::to_string(id)); }

    struct PauseSeen
    {
        int ms;
        bool splashUp;
        bool mainFrameVisible;
    };
    std::vector<PauseSeen> pauses;
    bool realPause = false;
    bool failMainFrame = false;

    DECLARE_COMMAND_MAP()

protected:
    // The shell is tested with documents of its own (MakeTestTemplate).
    void AddDocTemplates() override {}
    CMainFrame* NewMainFrame() override;
    void Pause(int ms) override;
};

// The view class the test template makes; CatchAllView when set.
inline bool& UseCatchAllView()
{
    static bool use = false;
    return use;
}

inline std::unique_ptr<CMultiDocTemplate> MakeTestTemplate()
{
    return std::make_unique<CMultiDocTemplate>(
        IDR_TORNELTYPE, [] { return std::make_unique<TestDoc>(); }, [] { return new TestChild; },
        [](QWidget* parent) -> CView* {
            if (UseCatchAllView())
                return new CatchAllView(parent);
            return new TestView(parent);
        });
}
