// What an update handler may change on a command's user-interface item: a menu
// item, a toolbar button or a status-bar pane.  Each kind of item applies the
// three operations to itself; the base records the state so that callers (and
// tests) can read back what the handler decided.
#pragma once

#include <QString>

class QAction;
class QMenu;

class CCmdUI
{
public:
    explicit CCmdUI(int id) : m_nID(id) {}
    // A probe asks only whether a target has a command handler for the id:
    // OnCmdMsg answers without running any handler, update or command.
    static CCmdUI Probe(int id)
    {
        CCmdUI ui(id);
        ui.m_bProbe = true;
        return ui;
    }
    virtual ~CCmdUI() = default;

    virtual void Enable(bool enable = true) { m_enabled = enable; }
    // 0 unchecked, 1 checked, 2 indeterminate.
    virtual void SetCheck(int check = 1) { m_check = check; }
    virtual void SetText(const QString& text) { m_text = text; }
    // The widest text the item may be given for what it shows now (a status
    // pane takes room for it, so that it does not jump as the text changes).
    virtual void SetWidestText(const QString& text) { m_widestText = text; }

    const int m_nID;
    bool m_enabled = false;
    int m_check = 0;
    QString m_text;
    QString m_widestText;
    // Set only while updating a menu item: the menu and the item, so that a
    // handler can tell a menu from a toolbar and may add or remove items
    // next to it (the recent-file list does).
    QMenu* m_pMenu = nullptr;
    QAction* m_pAction = nullptr;
    bool m_bProbe = false;
};
