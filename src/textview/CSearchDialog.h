// What the Find and Replace dialogs share: the "Fi&nd what:" edit (8605),
// the check boxes "Match &whole word only" (8603) and "Match &case" (8604),
// and the search text as bytes.
//
// The edit shows the text decoded from GBK and hands back what the user
// typed encoded to GBK.  Each control's object name is "control<id>".
#pragma once

#include <QDialog>
#include <string>

class QCheckBox;
class QGridLayout;
class QLineEdit;
class QPushButton;

class CSearchDialog : public QDialog
{
    Q_OBJECT

public:
    CSearchDialog(int dialogId, const QString& title, QWidget* parent);

    // The search text, as bytes.
    std::string m_sText;
    bool m_bMatchCase = false;
    bool m_bWholeWord = false;

protected:
    // Fields to the common controls.
    void ShowSearchFields();
    // The common controls to the fields.  False when the typed text has a
    // character that GBK cannot hold (it can occur nowhere in the text);
    // the fields are then unchanged, and the user is told when report is set.
    bool ReadSearchFields(bool report = true);
    // A push button of id with its text.
    QPushButton* MakeButton(int id, const QString& text);
    static void Name(QWidget* control, int id);

    QLineEdit* m_pFindWhat;
    QCheckBox* m_pWholeWord;
    QCheckBox* m_pMatchCase;
};
