// The Find dialog.
#include "CFindDialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "AfxMessageBox.h"
#include "CTextView.h"
#include "ids.h"

CFindDialog::CFindDialog(CTextView* owner)
    : CSearchDialog(IDD_EDIT_FIND, QStringLiteral("Find"), owner),
      m_pOwner(owner),
      m_pUp(new QRadioButton(QStringLiteral("&Up"), this)),
      m_pDown(new QRadioButton(QStringLiteral("&Down"), this)),
      m_pFindNext(MakeButton(IDOK, QStringLiteral("&Find Next")))
{
    Name(m_pUp, IDC_FIND_DIRECTION_UP);
    Name(m_pDown, IDC_FIND_DIRECTION_DOWN);
    QPushButton* cancel = MakeButton(IDCANCEL, QStringLiteral("Cancel"));
    m_pFindNext->setDefault(true);

    auto* label = new QLabel(QStringLiteral("Fi&nd what:"), this);
    label->setBuddy(m_pFindWhat);
    auto* direction = new QGroupBox(QStringLiteral("Direction"), this);
    auto* directionLayout = new QHBoxLayout(direction);
    directionLayout->addWidget(m_pUp);
    directionLayout->addWidget(m_pDown);
    auto* checks = new QVBoxLayout;
    checks->addStretch();
    checks->addWidget(m_pWholeWord);
    checks->addWidget(m_pMatchCase);

    auto* grid = new QGridLayout(this);
    grid->addWidget(label, 0, 0);
    grid->addWidget(m_pFindWhat, 0, 1, 1, 2);
    grid->addWidget(m_pFindNext, 0, 3);
    grid->addLayout(checks, 1, 0, 1, 2);
    grid->addWidget(direction, 1, 2);
    grid->addWidget(cancel, 1, 3, Qt::AlignTop);
    grid->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_pFindWhat, &QLineEdit::textChanged, this, &CFindDialog::UpdateFindEnabled);
    connect(m_pFindNext, &QPushButton::clicked, this, &CFindDialog::OnFindNext);
    connect(cancel, &QPushButton::clicked, this, &CFindDialog::reject);
}

int CFindDialog::exec()
{
    ShowSearchFields();
    (m_nDirection == 0 ? m_pUp : m_pDown)->setChecked(true);
    UpdateFindEnabled();
    m_pFindWhat->selectAll();
    m_pFindWhat->setFocus();
    return QDialog::exec();
}

void CFindDialog::UpdateFindEnabled()
{
    m_pFindNext->setEnabled(!m_pFindWhat->text().isEmpty());
}

void CFindDialog::reject()
{
    // The command keeps what was typed, whichever button closed the dialog.
    if (ReadSearchFields(false))
        m_nDirection = m_pUp->isChecked() ? 0 : 1;
    QDialog::reject();
}

void CFindDialog::OnFindNext()
{
    if (!ReadSearchFields())
        return;
    m_nDirection = m_pUp->isChecked() ? 0 : 1;
    uint32_t flags = (m_bMatchCase ? CTextView::FIND_MATCH_CASE : 0u) | (m_bWholeWord ? CTextView::FIND_WHOLE_WORD : 0u);
    TextPos start = m_ptStartPos;
    if (m_nDirection == 0) {
        flags |= CTextView::FIND_BACKWARD;
        start = m_pOwner->BackwardSearchStart(start);
    }
    TextPos found;
    if (m_pOwner->FindTextInDocument(m_sText, start, flags, true, &found)) {
        m_pOwner->SelectFoundText(found, int(m_sText.size()));
        accept();
        return;
    }
    m_pOwner->ReportNotFound(m_sText);
    m_ptStartPos = {};
}
