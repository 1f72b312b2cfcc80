// Making documents with their windows, and letting them go.
#include "CMultiDocTemplate.h"

#include <algorithm>
#ifdef __GLIBC__
#include <malloc.h>
#endif

#include "CDocument.h"
#include "CMDIChildWnd.h"
#include "CMDIFrameWnd.h"
#include "CView.h"
#include "CWinApp.h"
#include "Resources.h"

CMultiDocTemplate::CMultiDocTemplate(int resourceId, DocumentFactory document, FrameFactory frame,
                                     CCreateContext::ViewFactory view)
    : m_nIDResource(resourceId),
      m_makeDocument(std::move(document)),
      m_makeFrame(std::move(frame)),
      m_makeView(std::move(view))
{
}

CMultiDocTemplate::~CMultiDocTemplate() = default;

QString CMultiDocTemplate::GetDocString(DocStringIndex index) const
{
    return ResourceStringPart(m_nIDResource, index);
}

CDocument* CMultiDocTemplate::OpenDocumentFile(const QString& path, bool makeVisible)
{
    std::unique_ptr<CDocument> made = m_makeDocument();
    CDocument* document = made.get();
    document->m_pDocTemplate = this;
    m_docList.push_back(std::move(made));

    // The document is filled before it gets a window: reading a large file
    // takes a while, the program goes on meanwhile, and nothing of it may
    // show or reach a half-read document.
    bool ok;
    if (path.isEmpty()) {
        document->SetTitle(GetDocString(docName) + QString::number(++m_nUntitledCount));
        ok = document->OnNewDocument();
    } else {
        ok = document->OnOpenDocument(path);
        if (ok)
            document->SetPathName(path);
    }
    if (!ok) {
        RemoveDocument(document);
        return nullptr;
    }
    CMDIChildWnd* frame = CreateNewFrame(document);
    if (!frame) {
        RemoveDocument(document);
        return nullptr;
    }
    InitialUpdateFrame(frame, document, makeVisible);
    return document;
}

CMDIChildWnd* CMultiDocTemplate::CreateNewFrame(CDocument* document)
{
    auto* mainFrame = AfxGetApp() ? dynamic_cast<CMDIFrameWnd*>(AfxGetApp()->m_pMainWnd) : nullptr;
    if (!mainFrame)
        return nullptr;
    CMDIChildWnd* frame = m_makeFrame();
    CCreateContext context{document, m_makeView};
    if (!frame->LoadFrame(m_nIDResource, mainFrame, &context)) {
        delete frame;
        return nullptr;
    }
    return frame;
}

void CMultiDocTemplate::InitialUpdateFrame(CMDIChildWnd* frame, CDocument* document, bool makeVisible)
{
    frame->InitialUpdateFrame(makeVisible);
    document->UpdateFrameTitles();
}

CDocument* CMultiDocTemplate::FindDocument(const QString& absolutePath) const
{
    for (const auto& document : m_docList)
        if (!document->GetPathName().isEmpty() && document->GetPathName() == absolutePath)
            return document.get();
    return nullptr;
}

void CMultiDocTemplate::ActivateDocument(CDocument* document)
{
    for (CView* view : document->Views()) {
        if (auto* frame = dynamic_cast<CMDIChildWnd*>(view->GetParentFrame())) {
            frame->ActivateFrame();
            return;
        }
    }
}

bool CMultiDocTemplate::SaveAllModified()
{
    for (const auto& document : m_docList)
        if (!document->SaveModified())
            return false;
    return true;
}

void CMultiDocTemplate::RemoveDocument(CDocument* document)
{
    // Compared by address only: the caller may not know whether a window's
    // destruction has already taken the document away.
    const auto it = std::find_if(m_docList.begin(), m_docList.end(),
                                 [document](const auto& owned) { return owned.get() == document; });
    if (it == m_docList.end())
        return;
    std::unique_ptr<CDocument> going = std::move(*it);
    m_docList.erase(it);
    going->DeleteContents();
    going.reset();
#ifdef __GLIBC__
    // A large program leaves hundreds of megabytes of free heap behind, which
    // the allocator would keep for the process; the user expects them back
    // when the document is closed.
    malloc_trim(0);
#endif
}
