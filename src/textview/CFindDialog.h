// The Find dialog (8601) of the text view's Find command: one search
// forwards or backwards through the whole text, wrapping at its end.  A
// match closes the dialog with the match selected; a failed search says so
// and leaves the dialog open, the next search starting from the top.
#pragma once

#include "CSearchDialog.h"
#include "TextTypes.h"

class CTextView;
class QPushButton;
class QRadioButton;

class CFindDialog : public CSearchDialog
{
    Q_OBJECT

public:
    explicit CFindDialog(CTextView* owner);

    CTextView* const m_pOwner;
    TextPos m_ptStartPos;
    int m_nDirection = 1;  // 0 up, 1 down

    int exec() override;
    void reject() override;

    void OnFindNext();

private:
    void UpdateFindEnabled();

    QRadioButton* m_pUp;
    QRadioButton* m_pDown;
    QPushButton* m_pFindNext;
};
