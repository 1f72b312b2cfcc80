// The update state of an item that is a QAction: a menu item or a toolbar
// button.  Only a menu item takes a text; a button keeps its image and tip.
#pragma once

#include <QAction>

#include "CCmdUI.h"

class CActionCmdUI : public CCmdUI
{
public:
    // menu is the popup of a menu item, null for a toolbar button.
    CActionCmdUI(QAction* action, QMenu* menu) : CCmdUI(action->data().toInt())
    {
        m_pAction = action;
        m_pMenu = menu;
        m_text = action->text();
    }
    void Enable(bool enable) override
    {
        CCmdUI::Enable(enable);
        m_pAction->setEnabled(enable);
    }
    void SetCheck(int check) override
    {
        CCmdUI::SetCheck(check);
        m_pAction->setCheckable(check != 0);
        m_pAction->setChecked(check != 0);
    }
    void SetText(const QString& text) override
    {
        CCmdUI::SetText(text);
        if (m_pMenu)
            m_pAction->setText(text);
    }
};
