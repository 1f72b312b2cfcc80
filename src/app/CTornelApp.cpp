// Start-up and exit of the program.
//
// The serial line is our own code, built in, so there is no control to
// register at start or unregister at exit.
#include "CTornelApp.h"

#include <QApplication>
#include <memory>
#include <thread>

#include "CAboutDlg.h"
#include "CChildFrame.h"
#include "CMainFrame.h"
#include "CMultiDocTemplate.h"
#include "CSplashWnd.h"
#include "CTornelDoc.h"
#include "CTornelView.h"
#include "ids.h"

BEGIN_COMMAND_MAP(CTornelApp, CWinApp)
    ON_COMMAND(ID_APP_ABOUT, OnAppAbout)
END_COMMAND_MAP()

namespace {

constexpr int kRecentFiles = 4;

}  // namespace

CTornelApp::CTornelApp() : CWinApp(QStringLiteral("Tornel")) {}

bool CTornelApp::InitInstance()
{
    {
        CCommandLineInfo splashInfo;
        ParseCommandLine(splashInfo);
        CSplashWnd::EnableSplashScreen(splashInfo.m_bShowSplash);
    }

    SetRegistryKey(QStringLiteral("Halvane"));
    LoadStdProfileSettings(kRecentFiles);

    AddDocTemplates();

    CMainFrame* mainFrame = NewMainFrame();
    if (!mainFrame->LoadFrame(IDR_MAINFRAME)) {
        delete mainFrame;
        return false;
    }
    m_pMainWnd = mainFrame;

    CSplashWnd::ShowSplashScreen(mainFrame);
    Pause(kSplashPauseMs);

    mainFrame->DragAcceptFiles();

    // No empty document at start, and a file named on the command line is
    // not opened either.
    CCommandLineInfo cmdInfo;
    ParseCommandLine(cmdInfo);
    cmdInfo.m_nShellCommand = CCommandLineInfo::FileNothing;
    if (!ProcessShellCommand(cmdInfo))
        return false;

    mainFrame->show();
    mainFrame->update();
    return true;
}

bool CTornelApp::PreTranslateMessage(QObject* receiver, QEvent* event)
{
    if (CSplashWnd::PreTranslateAppMessage(event))
        return true;
    return CWinApp::PreTranslateMessage(receiver, event);
}

void CTornelApp::AddDocTemplates()
{
    // One kind of document: an NC program in a window of three panes.
    AddDocTemplate(std::make_unique<CMultiDocTemplate>(
        IDR_TORNELTYPE, [] { return std::make_unique<CTornelDoc>(); }, [] { return new CChildFrame; },
        [](QWidget* parent) -> CView* { return new CTornelView(parent); }));
}

CMainFrame* CTornelApp::NewMainFrame()
{
    auto* frame = new CMainFrame;
    frame->setAttribute(Qt::WA_DeleteOnClose);
    return frame;
}

void CTornelApp::Pause(int ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

void CTornelApp::OnAppAbout()
{
    CAboutDlg dialog(m_pMainWnd ? m_pMainWnd->Widget() : nullptr);
    dialog.exec();
}
