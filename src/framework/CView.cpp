// A view leaves its frame and its document when it goes.
#include "CView.h"

#include "CDocument.h"
#include "CFrameWnd.h"

CView::~CView()
{
    if (m_pFrame)
        m_pFrame->RemoveView(this);
    if (m_pDocument)
        m_pDocument->RemoveView(this);
}

void CView::OnUpdate(CView*, long, CObject*) {}
