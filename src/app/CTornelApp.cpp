// Start-up and exit of the program, and the files it opens from its command
// line.
//
// The serial line is our own code, built in, so there is no control to
// register at start or unregister at exit.
#include "CTornelApp.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTimer>
#include <QTranslator>
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
    // Qt's own dialogs and buttons speak the interface's language, whatever
    // the user's locale.
    LoadQtTranslations(QStringLiteral("zh_CN"));
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

    // No empty document at start.
    CCommandLineInfo cmdInfo;
    ParseCommandLine(cmdInfo);
    const QStringList files = cmdInfo.m_fileNames;
    cmdInfo.m_nShellCommand = CCommandLineInfo::FileNothing;
    if (!ProcessShellCommand(cmdInfo))
        return false;

    mainFrame->show();
    mainFrame->update();

    // The files named on the command line open as File > Open would open
    // them, once the window is up and can show how far the reading is.
    if (!files.isEmpty())
        QTimer::singleShot(0, mainFrame, [this, files] {
            for (const QString& file : files)
                OpenDocumentFile(file);
        });
    return true;
}

QString CTornelApp::GetOpenFilter() const
{
    // NC programs come with many extensions, after the control or the CAM
    // system that wrote them.
    const QString first = DocTemplates().empty()
                              ? QString()
                              : DocTemplates().front()->GetDocString(CMultiDocTemplate::filterName);
    return first + QStringLiteral(";;其他 NC 程序 (*.ngc *.tap *.cnc *.nc1 *.mpf *.eia *.gcode *.txt);;") +
           AllFilesFilter();
}

bool CTornelApp::PreTranslateMessage(QObject* receiver, QEvent* event)
{
    if (CSplashWnd::PreTranslateAppMessage(event))
        return true;
    return CWinApp::PreTranslateMessage(receiver, event);
}

void CTornelApp::LoadQtTranslations(const QString& language)
{
    if (m_qtTranslator)
        return;
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(QStringLiteral("qtbase_") + language, QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return;  // not installed: Qt's English texts stay
    QCoreApplication::installTranslator(translator.get());
    m_qtTranslator = std::move(translator);
}

CTornelApp::~CTornelApp()
{
    if (m_qtTranslator)
        QCoreApplication::removeTranslator(m_qtTranslator.get());
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
