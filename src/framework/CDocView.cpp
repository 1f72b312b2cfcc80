// Document and view bookkeeping, and the message box.
#include <QFileInfo>
#include <QMessageBox>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

#include "AfxMessageBox.h"
#include "CDocument.h"
#include "CView.h"

CView::~CView()
{
    if (m_pDocument)
        m_pDocument->RemoveView(this);
}

void CView::OnUpdate(CView*, long, CObject*) {}

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

void CDocument::AddView(CView* view)
{
    if (view->m_pDocument)
        view->m_pDocument->RemoveView(view);
    m_viewList.push_back(view);
    view->m_pDocument = this;
}

void CDocument::RemoveView(CView* view)
{
    for (auto it = m_viewList.begin(); it != m_viewList.end(); ++it) {
        if (*it == view) {
            m_viewList.erase(it);
            view->m_pDocument = nullptr;
            return;
        }
    }
}

void CDocument::UpdateAllViews(CView* sender, long hint, CObject* hintObject)
{
    // A copy: a view may close itself in its update.
    const std::vector<CView*> views = m_viewList;
    for (CView* view : views)
        if (view != sender)
            view->OnUpdate(sender, hint, hintObject);
}

namespace {

MessageBoxHook& Hook()
{
    static MessageBoxHook hook;
    return hook;
}

}  // namespace

void SetMessageBoxHook(MessageBoxHook hook)
{
    Hook() = std::move(hook);
}

int AfxMessageBox(const QString& text, unsigned type)
{
    if (Hook())
        return Hook()(text, type);
    QMessageBox box;
    box.setWindowTitle(QStringLiteral("Tornel"));
    box.setText(text);
    switch (type & 0xF0) {
    case MB_ICONERROR:
        box.setIcon(QMessageBox::Critical);
        break;
    case MB_ICONQUESTION:
        box.setIcon(QMessageBox::Question);
        break;
    case MB_ICONWARNING:
        box.setIcon(QMessageBox::Warning);
        break;
    case MB_ICONINFORMATION:
        box.setIcon(QMessageBox::Information);
        break;
    default:
        break;
    }
    switch (type & 0x0F) {
    case MB_OKCANCEL:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case MB_YESNOCANCEL:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    case MB_YESNO:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    default:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Cancel:
        return IDCANCEL;
    case QMessageBox::Yes:
        return IDYES;
    case QMessageBox::No:
        return IDNO;
    default:
        return IDOK;
    }
}
