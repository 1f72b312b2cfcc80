// Document windows: building, showing, following the focus, closing.
#include "CMDIChildWnd.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMdiArea>
#include <algorithm>

#include "CDocument.h"
#include "CMDIFrameWnd.h"
#include "CMultiDocTemplate.h"
#include "CView.h"
#include "Resources.h"

namespace {

std::vector<CDocument*> DocumentsOf(const std::vector<CView*>& views)
{
    std::vector<CDocument*> documents;
    for (CView* view : views)
        if (CDocument* document = view->GetDocument();
            document && std::find(documents.begin(), documents.end(), document) == documents.end())
            documents.push_back(document);
    return documents;
}

// The number of windows that show document.
int FrameCount(const CDocument* document)
{
    std::vector<CFrameWnd*> frames;
    for (CView* view : document->Views())
        if (view->GetParentFrame() &&
            std::find(frames.begin(), frames.end(), view->GetParentFrame()) == frames.end())
            frames.push_back(view->GetParentFrame());
    return int(frames.size());
}

}  // namespace

CMDIChildWnd::CMDIChildWnd()
{
    setAttribute(Qt::WA_DeleteOnClose);
    m_focusConnection =
        connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { FollowFocus(now); });
}

CMDIChildWnd::~CMDIChildWnd()
{
    disconnect(m_focusConnection);
    // The views go first, so that a document left without views can go too.
    const std::vector<CDocument*> documents = DocumentsOf(Views());
    delete widget();
    for (CDocument* document : documents) {
        if (!document->Views().empty())
            document->UpdateFrameTitles();
        else if (CMultiDocTemplate* docTemplate = document->GetDocTemplate())
            docTemplate->RemoveDocument(document);
    }
}

bool CMDIChildWnd::LoadFrame(int resourceId, CMDIFrameWnd* mainFrame, CCreateContext* context)
{
    m_nIDResource = resourceId;
    m_pMDIFrame = mainFrame;
    const QIcon icon = LoadIconResource(resourceId);
    if (!icon.isNull())
        setWindowIcon(icon);
    if (!OnCreateClient(context))
        return false;
    mainFrame->MDIClient()->addSubWindow(this);
    hide();
    return true;
}

bool CMDIChildWnd::OnCreateClient(CCreateContext* context)
{
    CView* view = CreateView(context, this);
    auto* widget = dynamic_cast<QWidget*>(view);
    if (!widget)
        return false;
    setWidget(widget);
    return true;
}

void CMDIChildWnd::ActivateFrame(int showCommand)
{
    if (showCommand == ShowDefault) {
        QMdiSubWindow* active = m_pMDIFrame ? m_pMDIFrame->MDIClient()->currentSubWindow() : nullptr;
        showCommand = active && active != this && active->isMaximized() ? ShowMaximized : ShowNormal;
    }
    if (showCommand == ShowMaximized)
        showMaximized();
    else
        showNormal();
    if (m_pMDIFrame)
        m_pMDIFrame->MDIClient()->setActiveSubWindow(this);
}

void CMDIChildWnd::InitialUpdateFrame(bool makeVisible)
{
    if (!GetActiveView() && !Views().empty())
        SetActiveView(Views().front());
    const std::vector<CView*> views = Views();
    for (CView* view : views)
        view->OnInitialUpdate();
    if (!makeVisible)
        return;
    ActivateFrame();
    OnSetFocus();
}

void CMDIChildWnd::OnSetFocus()
{
    if (auto* widget = dynamic_cast<QWidget*>(GetActiveView()))
        widget->setFocus();
}

void CMDIChildWnd::focusInEvent(QFocusEvent* event)
{
    QMdiSubWindow::focusInEvent(event);
    // The window itself holds the focus only on its way to a pane.
    if (QApplication::focusWidget() == this)
        OnSetFocus();
}

void CMDIChildWnd::closeEvent(QCloseEvent* event)
{
    // The last window of a modified document asks to save it, unless the
    // main frame has asked for every document already.
    if (!m_pMDIFrame || !m_pMDIFrame->IsClosingAll()) {
        for (CDocument* document : DocumentsOf(Views())) {
            if (FrameCount(document) == 1 && !document->SaveModified()) {
                event->ignore();
                return;
            }
        }
    }
    QMdiSubWindow::closeEvent(event);
}

void CMDIChildWnd::FollowFocus(QWidget* now)
{
    for (QWidget* widget = now; widget && widget != this; widget = widget->parentWidget()) {
        auto* view = dynamic_cast<CView*>(widget);
        if (view && view->GetParentFrame() == this) {
            SetActiveView(view);
            return;
        }
    }
}
