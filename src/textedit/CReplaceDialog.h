// The Replace dialog (8602) of the editing view's Replace command.
//
// Searches run forwards without wrapping, through the whole text or only
// inside the selection the command found (the scope).  "&Replace" replaces
// the current match and finds the next; its first press only finds.
// "Replace &All" replaces every match from the current one on as one undo
// step and tells in the status bar how many it replaced.  A failed search
// says so, and the next search starts again at the scope's beginning.
#pragma once

#include <string>

#include "CSearchDialog.h"
#include "TextTypes.h"

class CTextEditView;
class QPushButton;
class QRadioButton;

class CReplaceDialog : public CSearchDialog
{
    Q_OBJECT

public:
    explicit CReplaceDialog(CTextEditView* owner);

    CTextEditView* const m_pOwner;
    bool m_bFound = false;
    TextPos m_ptFoundAt;  // the current match, or where the next search starts
    bool m_bEnableScopeSelection = true;
    TextPos m_ptCurrentPos;
    TextPos m_ptBlockBegin, m_ptBlockEnd;
    std::string m_sNewText;
    int m_nScope = -1;  // 0 selection, 1 whole file

    int exec() override;

    void OnFindNext();
    void OnReplace();
    void OnReplaceAll();

private:
    // Reads the controls into the fields; false when the search text
    // cannot be searched for.
    bool ReadFields();
    // The next match from m_ptFoundAt in the scope.
    bool FindInScope(TextPos* found);
    // The next match, selected.  Failing, it tells the user and moves the
    // next search's start back to the scope's beginning.
    bool SearchStep();
    void NotFound();
    // Replaces the current match and moves past what was put in; false
    // when the text could not be changed.  The deletion is recorded as
    // deleteAction.
    bool ReplaceFound(int deleteAction);

    QLineEdit* m_pReplaceWith;
    QRadioButton* m_pInSelection;
    QRadioButton* m_pInWholeFile;
    QPushButton* m_pFindNext;
};
