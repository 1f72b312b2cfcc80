// The controls the Find and Replace dialogs share.
#include "CSearchDialog.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

#include "AfxMessageBox.h"
#include "DataTransfer.h"
#include "Resources.h"
#include "ids.h"

CSearchDialog::CSearchDialog(int dialogId, const QString& title, QWidget* parent)
    : QDialog(parent),
      m_pFindWhat(new QLineEdit(this)),
      m_pWholeWord(new QCheckBox(QStringLiteral("Match &whole word only"), this)),
      m_pMatchCase(new QCheckBox(QStringLiteral("Match &case"), this))
{
    setObjectName(QStringLiteral("dialog%1").arg(dialogId));
    setWindowTitle(title);
    Name(m_pFindWhat, IDC_FIND_WHAT);
    Name(m_pWholeWord, IDC_FIND_WHOLE_WORD);
    Name(m_pMatchCase, IDC_FIND_MATCH_CASE);
    m_pFindWhat->setMinimumWidth(fontMetrics().horizontalAdvance(QLatin1Char('X')) * 28);
}

void CSearchDialog::Name(QWidget* control, int id)
{
    control->setObjectName(QStringLiteral("control%1").arg(id));
}

QPushButton* CSearchDialog::MakeButton(int id, const QString& text)
{
    auto* button = new QPushButton(text, this);
    Name(button, id);
    button->setAutoDefault(false);
    return button;
}

void CSearchDialog::ShowSearchFields()
{
    m_pFindWhat->setText(GbkToUnicode(m_sText));
    m_pMatchCase->setChecked(m_bMatchCase);
    m_pWholeWord->setChecked(m_bWholeWord);
}

bool CSearchDialog::ReadSearchFields(bool report)
{
    std::string text;
    if (!UnicodeToGbk(m_pFindWhat->text(), text)) {
        if (report)
            AfxMessageBox(FormatResourceString(IDS_FIND_NOT_FOUND, m_pFindWhat->text()), MB_OK | MB_ICONINFORMATION);
        return false;
    }
    m_sText = std::move(text);
    m_bMatchCase = m_pMatchCase->isChecked();
    m_bWholeWord = m_pWholeWord->isChecked();
    return true;
}
