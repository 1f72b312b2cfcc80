// The document: new, open and save with their messages, the save prompt,
// its title in the frames, and the list of its views.
#include "CDocument.h"

#include <QFileInfo>
#include <QWidget>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

#include "AfxMessageBox.h"
#include "CFrameWnd.h"
#include "CMultiDocTemplate.h"
#include "CView.h"
#include "CWinApp.h"
#include "FrameworkIds.h"

BEGIN_COMMAND_MAP(CDocument, CCmdTarget)
    ON_COMMAND(ID_FILE_SAVE, OnFileSave)
    ON_COMMAND(ID_FILE_SAVE_AS, OnFileSaveAs)
END_COMMAND_MAP()

CDocument::~CDocument()
{
    for (CView* view : m_viewList)
        view->m_pDocument = nullptr;
}

bool CDocument::OnNewDocument()
{
    DeleteContents();
    m_strPathName.clear();
    SetModifiedFlag(false);
    return true;
}

bool CDocument::OnOpenDocument(const QString& path)
{
    const QFileInfo info(path);
    QString reason;
    if (!info.exists())
        reason = QStringLiteral("文件不存在。");
    else if (info.isDir())
        reason = QStringLiteral("这是一个文件夹。");
    else if (!info.isFile())
        reason = QStringLiteral("这不是一个普通文件。");
    else {
        const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            reason = QString::fromLocal8Bit(std::strerror(errno));
        else
            ::close(fd);
    }
    if (!reason.isEmpty()) {
        AfxMessageBox(QStringLiteral("无法打开文件 %1：%2").arg(path, reason), MB_OK | MB_ICONERROR);
        return false;
    }
    DeleteContents();
    SetModifiedFlag(false);
    return true;
}

bool CDocument::OnSaveDocument(const QString&)
{
    return false;
}

void CDocument::SetPathName(const QString& path)
{
    m_strPathName = QFileInfo(path).absoluteFilePath();
    SetTitle(QFileInfo(path).fileName());
}

void CDocument::SetTitle(const QString& title)
{
    m_strTitle = title;
    UpdateFrameTitles();
}

void CDocument::UpdateFrameTitles()
{
    std::vector<CFrameWnd*> frames;
    for (CView* view : m_viewList)
        if (view->m_pFrame && std::find(frames.begin(), frames.end(), view->m_pFrame) == frames.end())
            frames.push_back(view->m_pFrame);
    for (size_t i = 0; i < frames.size(); ++i) {
        const QString title =
            frames.size() > 1 ? QStringLiteral("%1:%2").arg(m_strTitle).arg(i + 1) : m_strTitle;
        frames[i]->Widget()->setWindowTitle(title);
    }
}

bool CDocument::SaveModified()
{
    if (!IsModified())
        return true;
    switch (AfxMessageBox(QStringLiteral("是否保存对 %1 的修改？").arg(m_strTitle), MB_YESNOCANCEL | MB_ICONQUESTION)) {
    case IDCANCEL:
        return false;
    case IDYES:
        return DoFileSave();
    default:
        return true;
    }
}

bool CDocument::DoFileSave()
{
    const QFileInfo info(m_strPathName);
    // A file that cannot be written is saved under a new name instead.
    if (m_strPathName.isEmpty() || (info.exists() && !info.isWritable()))
        return DoSave(QString());
    return DoSave(m_strPathName);
}

void CDocument::OnFileSave()
{
    DoFileSave();
}

void CDocument::OnFileSaveAs()
{
    DoSave(QString());
}

bool CDocument::DoSave(const QString& path)
{
    QString name = path;
    if (name.isEmpty()) {
        const QString filter = m_pDocTemplate ? m_pDocTemplate->GetDocString(CMultiDocTemplate::filterName) : QString();
        const QString extension =
            m_pDocTemplate ? m_pDocTemplate->GetDocString(CMultiDocTemplate::filterExt) : QString();
        QString proposed = m_strPathName.isEmpty() ? m_strTitle : m_strPathName;
        if (m_strPathName.isEmpty() && !extension.isEmpty() && !proposed.endsWith(extension))
            proposed += extension;
        name = AfxPromptFileName({false, QStringLiteral("另存为"),
                                  filter.isEmpty() ? CWinApp::AllFilesFilter()
                                                   : filter + QStringLiteral(";;") + CWinApp::AllFilesFilter(),
                                  extension, proposed});
        if (name.isEmpty())
            return false;
    }
    if (!OnSaveDocument(name)) {
        // The document keeps its name and its changes; the user must know.
        const QString reason = LastSaveError();
        AfxMessageBox(reason.isEmpty() ? QStringLiteral("无法保存文件 %1。").arg(name)
                                       : QStringLiteral("无法保存文件 %1：%2").arg(name, reason),
                      MB_OK | MB_ICONERROR);
        return false;
    }
    SetModifiedFlag(false);
    if (path.isEmpty()) {
        // Saved under a chosen name: the document is that file now.
        SetPathName(name);
        if (AfxGetApp())
            AfxGetApp()->AddToRecentFileList(m_strPathName);
    }
    return true;
}

void CDocument::AddView(CView* view)
{
    if (view->m_pDocument)
        view->m_pDocument->RemoveView(view);
    m_viewList.push_back(view);
    view->m_pDocument = this;
}

void CDocument::RemoveView(CView* view)
{
    const auto it = std::find(m_viewList.begin(), m_viewList.end(), view);
    if (it == m_viewList.end())
        return;
    m_viewList.erase(it);
    view->m_pDocument = nullptr;
}

void CDocument::UpdateAllViews(CView* sender, long hint, CObject* hintObject)
{
    // A copy: a view may close itself in its update.
    const std::vector<CView*> views = m_viewList;
    for (CView* view : views)
        if (view != sender)
            view->OnUpdate(sender, hint, hintObject);
}
