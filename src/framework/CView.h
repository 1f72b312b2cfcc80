// The view half of document/view: a view shows one document in one frame and
// is told when the document changes.  Views are widgets as well, but which
// widget class they are is their own business; this base knows nothing of Qt.
#pragma once

#include "CCmdTarget.h"

class CDocument;
class CFrameWnd;

class CView : public CCmdTarget
{
public:
    ~CView() override;

    CDocument* GetDocument() const { return m_pDocument; }
    CFrameWnd* GetParentFrame() const { return m_pFrame; }

    // Once, when the view has been created and attached to its document.
    virtual void OnInitialUpdate() { OnUpdate(nullptr, 0, nullptr); }
    // At every UpdateAllViews of the document by another sender.
    virtual void OnUpdate(CView* sender, long hint, CObject* hintObject);

protected:
    friend class CDocument;
    friend class CFrameWnd;
    CDocument* m_pDocument = nullptr;
    CFrameWnd* m_pFrame = nullptr;
};
