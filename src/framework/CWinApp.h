// The application object: start-up and exit, the profile, the document
// templates, the recent-file list and the application's own commands.
//
// One instance exists while the program runs (AfxGetApp).  It sits at the
// end of the command route, after the main frame.  It is not a QObject: Qt's
// QApplication must exist before it and runs the event loop for it.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

#include "CCmdTarget.h"
#include "CCommandLineInfo.h"

class CDocument;
class CFrameWnd;
class CMultiDocTemplate;
class CRecentFileList;
class QEvent;
class QFileDialog;
class QObject;
class QPrinter;
class QSettings;
class QWidget;

class CWinApp : public CCmdTarget
{
public:
    explicit CWinApp(const QString& appName);
    ~CWinApp() override;

    // Runs the program with the command line arguments (without the
    // program's name): InitInstance, then the event loop, then ExitInstance.
    // Returns the process's exit status; 1 when InitInstance failed.
    int Run(const QStringList& arguments);
    // Lets PreTranslateMessage see every event; Run does it first.
    void InstallEventFilter();

    virtual bool InitInstance() { return true; }
    // Saves the profile settings; returns the exit status.
    virtual int ExitInstance();
    // Every event of the program passes here first; true consumes it.
    virtual bool PreTranslateMessage(QObject* receiver, QEvent* event);

    // The command line without the program's name; Run sets it.
    void SetArguments(const QStringList& arguments) { m_arguments = arguments; }
    void ParseCommandLine(CCommandLineInfo& info) const;
    bool ProcessShellCommand(const CCommandLineInfo& info);

    // ---- The profile: INI settings of organisation key, application
    // m_appName.  Sections may be nested with '\' ("TextEdit\Find").
    // Before SetRegistryKey nothing is read or written.
    void SetRegistryKey(const QString& key);
    int GetProfileInt(const QString& section, const QString& entry, int defaultValue) const;
    QString GetProfileString(const QString& section, const QString& entry,
                             const QString& defaultValue = QString()) const;
    bool WriteProfileInt(const QString& section, const QString& entry, int value);
    // An empty value removes the entry.
    bool WriteProfileString(const QString& section, const QString& entry, const QString& value);
    // The file that holds the profile; empty before SetRegistryKey.
    QString ProfileFileName() const;

    // Reads the recent-file list of maxMru entries (0: none).
    void LoadStdProfileSettings(int maxMru);
    void AddToRecentFileList(const QString& path);
    CRecentFileList* RecentFileList() const { return m_pRecentFileList.get(); }

    // ---- Documents.
    void AddDocTemplate(std::unique_ptr<CMultiDocTemplate> docTemplate);
    const std::vector<std::unique_ptr<CMultiDocTemplate>>& DocTemplates() const { return m_templates; }
    // Opens path in a document window, or brings up the window of the
    // document that already has it.  Null when it cannot be opened.
    virtual CDocument* OpenDocumentFile(const QString& path);
    // Asks every document to save its changes; false when the user cancels.
    bool SaveAllModified();

    // The file types File > Open offers, as a Qt filter list: the document
    // template's first, which is the default, and all files last.
    virtual QString GetOpenFilter() const;
    static QString AllFilesFilter();

    // The printer that Print Setup chose and printing uses.
    QPrinter& Printer();

    CFrameWnd* m_pMainWnd = nullptr;
    const QString m_appName;

    // ---- Commands.
    void OnFileNew();
    void OnFileOpen();
    void OnFilePrintSetup();
    void OnAppExit();
    void OnOpenRecentFile(int id);
    void OnUpdateHasTemplate(CCmdUI* ui);
    void OnUpdateRecentFileMenu(CCmdUI* ui);

    DECLARE_COMMAND_MAP()

private:
    class EventFilter;

    std::unique_ptr<QSettings> m_pSettings;
    std::unique_ptr<CRecentFileList> m_pRecentFileList;
    std::vector<std::unique_ptr<CMultiDocTemplate>> m_templates;
    std::unique_ptr<QPrinter> m_pPrinter;
    std::unique_ptr<EventFilter> m_pEventFilter;
    QStringList m_arguments;
};

CWinApp* AfxGetApp();

// ---- Asking the user for a file name.  Tests install a hook that answers
// in place of the dialog.
struct FilePrompt
{
    bool open;          // open an existing file, or choose where to save
    QString title;
    QString filter;     // Qt filter list ("NC Files (*.nc);;All files (*)")
    QString defaultExt; // added to a saved name that has no suffix
    QString initial;    // proposed name or folder
};
using FilePromptHook = std::function<QString(const FilePrompt& prompt)>;
void SetFilePromptHook(FilePromptHook hook);
// The chosen path, or empty when the user cancelled.
QString AfxPromptFileName(const FilePrompt& prompt);
// The dialog AfxPromptFileName shows, set up for prompt.
std::unique_ptr<QFileDialog> MakeFileDialog(const FilePrompt& prompt, QWidget* parent);
