// The NC program document: opening, saving, re-interpretation, the read-only
// switch, the calculator, the tool configuration and the links between
// editor lines and toolpath records.
#include "CTornelDoc.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include "AfxMessageBox.h"
#include "CReceiveDlg.h"
#include "CSendDlg.h"
#include "TransferDialog.h"
#include "BackgroundTask.h"
#include "CFrameWnd.h"
#include "CWinApp.h"
#include "LoadAndInterpret.h"
#include "ToolLibrary.h"
#include "CView.h"
#include "DocumentLinks.h"
#include "ids.h"

BEGIN_COMMAND_MAP(CTornelDoc, CDocument)
    ON_COMMAND(ID_EDIT_READONLY, OnToggleReadOnly)
    ON_UPDATE_COMMAND_UI(ID_EDIT_READONLY, OnUpdateToggleReadOnly)
    ON_COMMAND(ID_NC_UPDATEVIEWS, OnReinterpret)
    ON_COMMAND(ID_NC_CALCULATOR, OnCalculator)
    ON_COMMAND(ID_NC_CONFIGURETOOLS, OnConfigureTools)
    ON_COMMAND(ID_NC_SENDTOMACHINE, OnSendToMachine)
    ON_COMMAND(ID_NC_RECEIVEFROMMACHINE, OnReceiveFromMachine)
END_COMMAND_MAP()

CTornelDoc::CTornelDoc()
{
    m_lf.lfWeight = 900;
    m_lf.lfFaceName = QStringLiteral("宋体");
}

CTornelDoc::~CTornelDoc()
{
    delete m_toolDialog.data();
}

bool CTornelDoc::OnNewDocument()
{
    if (!CDocument::OnNewDocument())
        return false;
    m_feedDistance = m_rapidDistance = m_machiningTime = 0.0;
    m_warnings = NcWarnings();
    m_xTextBuffer.ResetToEmpty(EOL_DOS);
    return true;
}

bool CTornelDoc::OnOpenDocument(const QString& path)
{
    if (!CDocument::OnOpenDocument(path))
        return false;
    // Read and interpreted on other threads while the program goes on: this
    // document has no window yet, so nothing else touches it meanwhile.
    const QByteArray file = QFile::encodeName(path);
    const TaskResult result =
        RunInBackground(QStringLiteral("正在打开 %1").arg(QFileInfo(path).fileName()), [&](TaskProgress& progress) {
            return LoadAndInterpret(file.constData(), m_xTextBuffer, m_interpreter,
                                    [&progress](uint64_t bytesRead, uint64_t fileSize) {
                                        progress.Report(bytesRead, fileSize);
                                        return !progress.IsCancelled();
                                    });
        });
    if (result != TaskResult::Done) {
        // Nothing of a half-read file may stay behind.
        const QString reason = QString::fromLocal8Bit(m_xTextBuffer.LastFileError().c_str());
        DeleteContents();
        if (result == TaskResult::Cancelled) {
            if (CWinApp* app = AfxGetApp(); app && app->m_pMainWnd)
                app->m_pMainWnd->SetMessageText(QStringLiteral("已取消打开 %1").arg(path));
        } else
            AfxMessageBox(QStringLiteral("无法读取文件 %1：%2").arg(path, reason), MB_OK | MB_ICONERROR);
        return false;
    }
    CopyStatistics();
    return true;
}

bool CTornelDoc::OnSaveDocument(const QString& path)
{
    return m_xTextBuffer.SaveFile(QFile::encodeName(path).constData(), EOL_AUTO, true);
}

QString CTornelDoc::LastSaveError() const
{
    return QString::fromLocal8Bit(m_xTextBuffer.LastFileError().c_str());
}

void CTornelDoc::DeleteContents()
{
    CDocument::DeleteContents();
    m_xTextBuffer.ClearAll();
}

void CTornelDoc::CopyStatistics()
{
    m_machiningTime = m_interpreter.MachiningTime();
    m_rapidDistance = m_interpreter.RapidDistance();
    m_feedDistance = m_interpreter.FeedDistance();
    m_warnings = m_interpreter.Warnings();
}

void CTornelDoc::OnToggleReadOnly()
{
    if (m_xTextBuffer.IsReadOnly()) {
        m_xTextBuffer.SetReadOnly(false);
    } else {
        m_xTextBuffer.SetReadOnly(true);
        AfxMessageBox(QStringLiteral("文档将被设为只读！"), MB_OK);
    }
}

void CTornelDoc::OnUpdateToggleReadOnly(CCmdUI* ui)
{
    ui->SetCheck(m_xTextBuffer.IsReadOnly() ? 1 : 0);
}

void CTornelDoc::OnReinterpret()
{
    // The tools the user has defined stay with their T numbers.
    const std::vector<ToolSlot> definitions = m_interpreter.Tools();
    m_interpreter.Reset();
    if (m_interpreter.Run(m_xTextBuffer) != 1)
        return;
    m_interpreter.KeepToolDefinitions(definitions);
    CopyStatistics();
    if (m_toolDialog)
        m_toolDialog->OnToolListRebuilt();
    UpdateAllViews(nullptr, 0, nullptr);
}

void CTornelDoc::OnToolDefinitionsChanged()
{
    UpdateAllViews(nullptr, HINT_TOOLS_CHANGED, nullptr);
}

void CTornelDoc::OnConfigureTools()
{
    if (!m_toolDialog) {
        CWinApp* app = AfxGetApp();
        // The library lives beside the profile.
        const QString profile = app ? app->ProfileFileName() : QString();
        const QString library = profile.isEmpty() ? QString()
                                                  : QFileInfo(profile).absolutePath() + QLatin1Char('/') +
                                                        QLatin1String(ToolLibrary::kFileName);
        // Over the main window, as its dialogs are; the document, not the
        // window, decides how long it lives.
        m_toolDialog = new CToolConfigDlg(this, library, app && app->m_pMainWnd ? app->m_pMainWnd->Widget() : nullptr);
        m_toolDialog->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_toolDialog->show();
    m_toolDialog->raise();
    m_toolDialog->activateWindow();
}

namespace {

// The main window, over which the transfer dialogs open; null in tests
// without one.
QWidget* MainWindow()
{
    CWinApp* app = AfxGetApp();
    return app && app->m_pMainWnd ? app->m_pMainWnd->Widget() : nullptr;
}

}  // namespace

void CTornelDoc::OnSendToMachine()
{
    // This document, whose window gave the command, is the one that goes.
    const QString name = GetPathName().isEmpty() ? GetTitle() : GetPathName();
    CSendDlg dialog(&m_xTextBuffer, name, MainWindow());
    dialog.exec();
}

void CTornelDoc::OnReceiveFromMachine()
{
    CReceiveDlg dialog(MainWindow());
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (CWinApp* app = AfxGetApp(); app && app->m_pMainWnd)
        app->m_pMainWnd->SetMessageText(QStringLiteral("已接收 %1 行，%2，保存在 %3")
                                            .arg(dialog.LineCount())
                                            .arg(ByteCountAndCrc(qulonglong(dialog.Received().size()), dialog.ReceivedCrc()),
                                                 dialog.SavedPath()));
}

void CTornelDoc::ShowLine(int line)
{
    // The record may come from an interpretation of a longer text.
    if (line < 0 || line >= m_xTextBuffer.LineCount())
        return;
    for (CView* view : Views()) {
        if (auto* marker = dynamic_cast<CRunningLineView*>(view)) {
            marker->MarkRunningLine(line);
            return;
        }
    }
}

void CTornelDoc::ShowLineInSimulation(int line)
{
    for (CView* view : Views()) {
        if (auto* sim = dynamic_cast<CMoveSelectionView*>(view)) {
            sim->SelectMoveByLine(line);
            return;
        }
    }
}

void CTornelDoc::OnCalculator()
{
    // The desktop's calculator, whichever is installed; none is no error.
    for (const char* name : {"gnome-calculator", "kcalc", "galculator", "qalculate-gtk", "xcalc"}) {
        const QString program = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (!program.isEmpty()) {
            QProcess::startDetached(program, {});
            return;
        }
    }
}
