// The document half of document/view: the data of one open file, its path,
// its modified flag and the views that show it.
#pragma once

#include <QString>
#include <vector>

#include "CCmdTarget.h"

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

    const QString& GetPathName() const { return m_strPathName; }
    void SetPathName(const QString& path) { m_strPathName = path; }

    bool IsModified() const { return m_bModified; }
    void SetModifiedFlag(bool modified = true) { m_bModified = modified; }

    void AddView(CView* view);
    void RemoveView(CView* view);
    const std::vector<CView*>& Views() const { return m_viewList; }

    // Calls OnUpdate on every view except sender, in the order the views
    // were added.
    void UpdateAllViews(CView* sender, long hint = 0, CObject* hintObject = nullptr);

private:
    QString m_strPathName;
    bool m_bModified = false;
    std::vector<CView*> m_viewList;
};
