// A document template: how one type of document is made and shown.  It makes
// the document, its MDI child frame and the frame's views, owns the open
// documents of its type, and knows the type's strings (file filter,
// extension, name of new documents).
#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <vector>

class CDocument;
class CMDIChildWnd;
class CView;
class QWidget;

// What a frame needs to build its views.
struct CCreateContext
{
    using ViewFactory = std::function<CView*(QWidget* parent)>;

    CDocument* m_pCurrentDoc = nullptr;
    ViewFactory m_pNewViewClass;
};

class CMultiDocTemplate
{
public:
    using DocumentFactory = std::function<std::unique_ptr<CDocument>()>;
    using FrameFactory = std::function<CMDIChildWnd*()>;

    // The parts of the document string, separated by '\n'.
    enum DocStringIndex
    {
        windowTitle,
        docName,
        fileNewName,
        filterName,
        filterExt,
        regFileTypeId,
        regFileTypeName,
    };

    // resourceId names the document string, the frame's menu and its icon.
    CMultiDocTemplate(int resourceId, DocumentFactory document, FrameFactory frame,
                      CCreateContext::ViewFactory view);
    ~CMultiDocTemplate();

    int GetResourceID() const { return m_nIDResource; }
    QString GetDocString(DocStringIndex index) const;

    // With a path: opens it in a new document and window.  Without: a new
    // untitled document.  Null when the document or its window cannot be
    // made; nothing of it stays behind then.
    CDocument* OpenDocumentFile(const QString& path, bool makeVisible = true);
    // One more window on document (Window > New Window).
    CMDIChildWnd* CreateNewFrame(CDocument* document);
    void InitialUpdateFrame(CMDIChildWnd* frame, CDocument* document, bool makeVisible = true);

    const std::vector<std::unique_ptr<CDocument>>& Documents() const { return m_docList; }
    CDocument* FindDocument(const QString& absolutePath) const;
    // Brings up the first window of document.
    void ActivateDocument(CDocument* document);
    bool SaveAllModified();
    // Destroys document; called when its last view has gone.
    void RemoveDocument(CDocument* document);

private:
    const int m_nIDResource;
    DocumentFactory m_makeDocument;
    FrameFactory m_makeFrame;
    CCreateContext::ViewFactory m_makeView;
    std::vector<std::unique_ptr<CDocument>> m_docList;
    int m_nUntitledCount = 0;
};
