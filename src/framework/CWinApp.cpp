// The application object: the run loop, the profile, the documents and the
// File commands that need no document.
#include "CWinApp.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QFileDialog>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrinter>
#include <QSettings>

#include "CMultiDocTemplate.h"
#include "CDocument.h"
#include "CFrameWnd.h"
#include "CRecentFileList.h"
#include "Resources.h"
#include "FrameworkIds.h"

namespace {

CWinApp* g_pApp = nullptr;

// A section "TextEdit\Find" is the group TextEdit/Find.
QString SettingsKey(const QString& section, const QString& entry)
{
    QString key = section;
    key.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return key + QLatin1Char('/') + entry;
}

FilePromptHook& PromptHook()
{
    static FilePromptHook hook;
    return hook;
}

}  // namespace

// Hands every event of the program to PreTranslateMessage first.
class CWinApp::EventFilter : public QObject
{
public:
    explicit EventFilter(CWinApp* app) : m_app(app) {}
    bool eventFilter(QObject* receiver, QEvent* event) override
    {
        return m_app->PreTranslateMessage(receiver, event);
    }

private:
    CWinApp* m_app;
};

BEGIN_COMMAND_MAP(CWinApp, CCmdTarget)
    ON_COMMAND(ID_FILE_NEW, OnFileNew)
    ON_UPDATE_COMMAND_UI(ID_FILE_NEW, OnUpdateHasTemplate)
    ON_COMMAND(ID_FILE_OPEN, OnFileOpen)
    ON_UPDATE_COMMAND_UI(ID_FILE_OPEN, OnUpdateHasTemplate)
    ON_COMMAND(ID_FILE_PRINT_SETUP, OnFilePrintSetup)
    ON_COMMAND(ID_APP_EXIT, OnAppExit)
    ON_COMMAND_RANGE(ID_FILE_MRU_FILE1, ID_FILE_MRU_FILE4, OnOpenRecentFile)
    ON_UPDATE_COMMAND_UI(ID_FILE_MRU_FILE1, OnUpdateRecentFileMenu)
END_COMMAND_MAP()

CWinApp::CWinApp(const QString& appName) : m_appName(appName)
{
    g_pApp = this;
}

CWinApp::~CWinApp()
{
    if (m_pEventFilter && qApp)
        qApp->removeEventFilter(m_pEventFilter.get());
    if (g_pApp == this)
        g_pApp = nullptr;
}

CWinApp* AfxGetApp()
{
    return g_pApp;
}

int CWinApp::Run(const QStringList& arguments)
{
    m_arguments = arguments;
    InstallEventFilter();
    if (!InitInstance()) {
        ExitInstance();
        return 1;
    }
    const int loop = QApplication::exec();
    // The main frame and its document windows go before the application
    // winds up, as a closed frame would have gone.
    if (m_pMainWnd)
        delete m_pMainWnd->Widget();
    const int status = ExitInstance();
    return status ? status : loop;
}

void CWinApp::InstallEventFilter()
{
    if (m_pEventFilter)
        return;
    m_pEventFilter = std::make_unique<EventFilter>(this);
    qApp->installEventFilter(m_pEventFilter.get());
}

int CWinApp::ExitInstance()
{
    if (m_pRecentFileList)
        m_pRecentFileList->WriteList();
    if (m_pSettings)
        m_pSettings->sync();
    return 0;
}

bool CWinApp::PreTranslateMessage(QObject*, QEvent*)
{
    return false;
}

void CWinApp::ParseCommandLine(CCommandLineInfo& info) const
{
    for (const QString& argument : m_arguments)
        info.ParseParam(argument);
}

bool CWinApp::ProcessShellCommand(const CCommandLineInfo& info)
{
    switch (info.m_nShellCommand) {
    case CCommandLineInfo::FileNew:
        OnFileNew();
        return true;
    case CCommandLineInfo::FileOpen:
        return OpenDocumentFile(info.m_strFileName) != nullptr;
    case CCommandLineInfo::FileNothing:
        return true;
    }
    return false;
}

// ---- Profile.

void CWinApp::SetRegistryKey(const QString& key)
{
    m_pSettings = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, key, m_appName);
}

QString CWinApp::ProfileFileName() const
{
    return m_pSettings ? m_pSettings->fileName() : QString();
}

int CWinApp::GetProfileInt(const QString& section, const QString& entry, int defaultValue) const
{
    if (!m_pSettings)
        return defaultValue;
    bool ok = false;
    const int value = m_pSettings->value(SettingsKey(section, entry)).toInt(&ok);
    return ok ? value : defaultValue;
}

QString CWinApp::GetProfileString(const QString& section, const QString& entry, const QString& defaultValue) const
{
    if (!m_pSettings)
        return defaultValue;
    const QVariant value = m_pSettings->value(SettingsKey(section, entry));
    return value.isValid() ? value.toString() : defaultValue;
}

bool CWinApp::WriteProfileInt(const QString& section, const QString& entry, int value)
{
    if (!m_pSettings)
        return false;
    m_pSettings->setValue(SettingsKey(section, entry), value);
    m_pSettings->sync();
    return m_pSettings->status() == QSettings::NoError;
}

bool CWinApp::WriteProfileString(const QString& section, const QString& entry, const QString& value)
{
    if (!m_pSettings)
        return false;
    if (value.isEmpty())
        m_pSettings->remove(SettingsKey(section, entry));
    else
        m_pSettings->setValue(SettingsKey(section, entry), value);
    m_pSettings->sync();
    return m_pSettings->status() == QSettings::NoError;
}

void CWinApp::LoadStdProfileSettings(int maxMru)
{
    m_pRecentFileList.reset();
    if (maxMru <= 0)
        return;
    m_pRecentFileList = std::make_unique<CRecentFileList>(ID_FILE_MRU_FILE1, QStringLiteral("Recent File List"),
                                                          QStringLiteral("File%1"), maxMru);
    m_pRecentFileList->ReadList();
}

void CWinApp::AddToRecentFileList(const QString& path)
{
    if (!m_pRecentFileList)
        return;
    m_pRecentFileList->Add(path);
    // Written at once: a crash must not lose the list.
    m_pRecentFileList->WriteList();
}

// ---- Documents.

void CWinApp::AddDocTemplate(std::unique_ptr<CMultiDocTemplate> docTemplate)
{
    m_templates.push_back(std::move(docTemplate));
}

CDocument* CWinApp::OpenDocumentFile(const QString& path)
{
    if (m_templates.empty())
        return nullptr;
    const QString absolute = QFileInfo(path).absoluteFilePath();
    for (const auto& docTemplate : m_templates) {
        if (CDocument* open = docTemplate->FindDocument(absolute)) {
            docTemplate->ActivateDocument(open);
            AddToRecentFileList(absolute);
            return open;
        }
    }
    CDocument* document = m_templates.front()->OpenDocumentFile(absolute);
    if (document)
        AddToRecentFileList(absolute);
    return document;
}

bool CWinApp::SaveAllModified()
{
    for (const auto& docTemplate : m_templates)
        if (!docTemplate->SaveAllModified())
            return false;
    return true;
}

QPrinter& CWinApp::Printer()
{
    if (!m_pPrinter)
        m_pPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *m_pPrinter;
}

// ---- Commands.

void CWinApp::OnUpdateHasTemplate(CCmdUI* ui)
{
    // Without a document template there is nothing to create or open.
    ui->Enable(!m_templates.empty());
}

void CWinApp::OnFileNew()
{
    if (!m_templates.empty())
        m_templates.front()->OpenDocumentFile(QString());
}

QString CWinApp::GetOpenFilter() const
{
    const QString first = m_templates.empty() ? QString() : m_templates.front()->GetDocString(CMultiDocTemplate::filterName);
    return first.isEmpty() ? AllFilesFilter() : first + QStringLiteral(";;") + AllFilesFilter();
}

QString CWinApp::AllFilesFilter()
{
    return QStringLiteral("所有文件 (*)");
}

void CWinApp::OnFileOpen()
{
    if (m_templates.empty())
        return;
    // No default extension: a name typed without one is the file of that
    // name.
    const QString path = AfxPromptFileName({true, QStringLiteral("打开"), GetOpenFilter(), QString(), QString()});
    if (!path.isEmpty())
        OpenDocumentFile(path);
}

void CWinApp::OnFilePrintSetup()
{
    QPrintDialog dialog(&Printer(), m_pMainWnd ? m_pMainWnd->Widget() : nullptr);
    dialog.setWindowTitle(QStringLiteral("打印设置"));
    dialog.setOptions(QAbstractPrintDialog::PrintShowPageSize);
    // This dialog only chooses the printer and its settings, which printing
    // then uses: its button must not promise to print.
    for (QDialogButtonBox* buttons : dialog.findChildren<QDialogButtonBox*>())
        if (QPushButton* ok = buttons->button(QDialogButtonBox::Ok))
            ok->setText(QStringLiteral("确定"));
    dialog.exec();
}

void CWinApp::OnAppExit()
{
    if (m_pMainWnd)
        m_pMainWnd->Widget()->close();
    else
        QApplication::quit();
}

void CWinApp::OnOpenRecentFile(int id)
{
    if (!m_pRecentFileList)
        return;
    const int index = id - ID_FILE_MRU_FILE1;
    if (index >= m_pRecentFileList->GetCount())
        return;
    const QString path = (*m_pRecentFileList)[index];
    const QFileInfo file(path);
    if (!OpenDocumentFile(path) && (!file.isFile() || !file.isReadable())) {
        // A file that can no longer be opened leaves the list; one whose
        // opening the user stopped stays.
        m_pRecentFileList->Remove(index);
        m_pRecentFileList->WriteList();
    }
}

void CWinApp::OnUpdateRecentFileMenu(CCmdUI* ui)
{
    if (m_pRecentFileList)
        m_pRecentFileList->UpdateMenu(ui);
    else
        ui->Enable(false);
}

// ---- File name prompts.

void SetFilePromptHook(FilePromptHook hook)
{
    PromptHook() = std::move(hook);
}

std::unique_ptr<QFileDialog> MakeFileDialog(const FilePrompt& prompt, QWidget* parent)
{
    auto dialog = std::make_unique<QFileDialog>(parent, prompt.title, prompt.initial, prompt.filter);
    dialog->setAcceptMode(prompt.open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog->setFileMode(prompt.open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    // The default extension names a new file; a file to open is taken by
    // the name it has.
    if (!prompt.open && !prompt.defaultExt.isEmpty())
        dialog->setDefaultSuffix(prompt.defaultExt.startsWith(QLatin1Char('.')) ? prompt.defaultExt.mid(1)
                                                                                : prompt.defaultExt);
    return dialog;
}

QString AfxPromptFileName(const FilePrompt& prompt)
{
    if (PromptHook())
        return PromptHook()(prompt);
    const std::unique_ptr<QFileDialog> dialog =
        MakeFileDialog(prompt, AfxGetApp() && AfxGetApp()->m_pMainWnd ? AfxGetApp()->m_pMainWnd->Widget() : nullptr);
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
        return QString();
    return dialog->selectedFiles().front();
}
