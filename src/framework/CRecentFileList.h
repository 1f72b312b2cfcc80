// The most-recently-used file list of the File menu: a few paths, newest
// first, kept in the profile and shown in place of the menu's placeholder
// item.
#pragma once

#include <QString>
#include <QStringList>

class CCmdUI;

class CRecentFileList
{
public:
    // The list keeps at most size entries; section and entryFormat name the
    // profile values ("Recent File List", "File%d").
    CRecentFileList(int firstId, const QString& section, const QString& entryFormat, int size);

    int GetSize() const { return m_nSize; }
    int GetCount() const { return int(m_arrNames.size()); }
    const QString& operator[](int index) const { return m_arrNames[index]; }

    // Puts path first; an entry already in the list moves up, the oldest
    // falls off the end.
    void Add(const QString& path);
    void Remove(int index);

    void ReadList();
    void WriteList() const;

    // The menu text of entry index: "&1 name" with the name shortened for
    // the menu and '&' doubled.
    QString MenuText(int index) const;

    // Replaces the placeholder item (and the entries shown last time) by the
    // current entries; with no entries the placeholder stays, disabled.
    void UpdateMenu(CCmdUI* ui);

private:
    const int m_nFirstId;
    const QString m_strSection;
    const QString m_strEntryFormat;
    const int m_nSize;
    QStringList m_arrNames;
};
