// The document half of document/view: the data of one open file, its path
// and title, its modified flag and the views that show it.
#pragma once

#include <QString>
#include <vector>

#include "CCmdTarget.h"

class CMultiDocTemplate;
class CView;

class CDocument : public CCmdTarget
{
public:
    ~CDocument() override;

    // A new, empty document.  The base empties the contents and clears the
    // modified flag.
    virtual bool OnNewDocument();
    // Opens path.  The base checks that the file can be opened for reading
    // (telling the user when it cannot), empties the contents and clears the
    // modified flag; derived classes then read the file.
    virtual bool OnOpenDocument(const QString& path);
    // Writes the document to path.  The base has nothing to write.
    virtual bool OnSaveDocument(const QString& path);
    // Drops the data.  Called before a new or opened document is filled.
    virtual void DeleteContents() {}
    // Why the last OnSaveDocument failed, for the user; may be empty.
    virtual QString LastSaveError() const { return QString(); }

    const QString& GetPathName() const { return m_strPathName; }
    // Also makes the file's name the title.
    void SetPathName(const QString& path);
    const QString& GetTitle() const { return m_strTitle; }
    void SetTitle(const QString& title);

    bool IsModified() const { return m_bModified; }
    void SetModifiedFlag(bool modified = true) { m_bModified = modified; }

    // Asks whether to save a modified document: true to go on (saved or
    // not wanted), false when the user cancels or the save fails.
    virtual bool SaveModified();
    // File > Save: to the document's file, or as a new one when it has
    // none.  File > Save As: always asks for the name.
    bool DoFileSave();
    // Saves under path, or under a name the user is asked for when path is
    // empty.
    bool DoSave(const QString& path);

    // File > Save and File > Save As.
    void OnFileSave();
    void OnFileSaveAs();

    CMultiDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }

    void AddView(CView* view);
    void RemoveView(CView* view);
    const std::vector<CView*>& Views() const { return m_viewList; }
    // Gives each window of the document its title ("name", or "name:2"
    // when there are several).
    void UpdateFrameTitles();

    // Calls OnUpdate on every view except sender, in the order the views
    // were added.
    void UpdateAllViews(CView* sender, long hint = 0, CObject* hintObject = nullptr);

    DECLARE_COMMAND_MAP()

private:
    friend class CMultiDocTemplate;

    QString m_strPathName;
    QString m_strTitle;
    bool m_bModified = false;
    std::vector<CView*> m_viewList;
    CMultiDocTemplate* m_pDocTemplate = nullptr;
};
