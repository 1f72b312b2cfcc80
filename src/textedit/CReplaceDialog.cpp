// The Replace dialog.
#include "CReplaceDialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "AfxMessageBox.h"
#include "CTextEditView.h"
#include "DataTransfer.h"
#include "Resources.h"
#include "ids.h"

CReplaceDialog::CReplaceDialog(CTextEditView* owner)
    : CSearchDialog(IDD_EDIT_REPLACE, QStringLiteral("Replace"), owner),
      m_pOwner(owner),
      m_pReplaceWith(new QLineEdit(this)),
      m_pInSelection(new QRadioButton(QStringLiteral("&Selection"), this)),
      m_pInWholeFile(new QRadioButton(QStringLiteral("Wh&ole file"), this)),
      m_pFindNext(MakeButton(IDC_REPLACE_FIND_NEXT, QStringLiteral("&Find Next")))
{
    Name(m_pReplaceWith, IDC_REPLACE_WITH);
    Name(m_pInSelection, IDC_REPLACE_IN_SELECTION);
    Name(m_pInWholeFile, IDC_REPLACE_IN_WHOLE_FILE);
    QPushButton* replace = MakeButton(IDC_REPLACE, QStringLiteral("&Replace"));
    QPushButton* replaceAll = MakeButton(IDC_REPLACE_ALL, QStringLiteral("Replace &All"));
    QPushButton* cancel = MakeButton(IDCANCEL, QStringLiteral("Cancel"));
    m_pFindNext->setDefault(true);

    auto* findLabel = new QLabel(QStringLiteral("Fi&nd what:"), this);
    findLabel->setBuddy(m_pFindWhat);
    auto* replaceLabel = new QLabel(QStringLiteral("Re&place with:"), this);
    replaceLabel->setBuddy(m_pReplaceWith);
    auto* scope = new QGroupBox(QStringLiteral("Replace in"), this);
    auto* scopeLayout = new QVBoxLayout(scope);
    scopeLayout->addWidget(m_pInSelection);
    scopeLayout->addWidget(m_pInWholeFile);
    auto* buttons = new QVBoxLayout;
    for (QPushButton* button : {m_pFindNext, replace, replaceAll, cancel})
        buttons->addWidget(button);
    buttons->addStretch();

    auto* grid = new QGridLayout(this);
    grid->addWidget(findLabel, 0, 0);
    grid->addWidget(m_pFindWhat, 0, 1);
    grid->addWidget(replaceLabel, 1, 0);
    grid->addWidget(m_pReplaceWith, 1, 1);
    grid->addWidget(m_pWholeWord, 2, 0, 1, 2);
    grid->addWidget(m_pMatchCase, 3, 0, 1, 2);
    grid->addWidget(scope, 4, 0, 1, 2);
    grid->addLayout(buttons, 0, 2, 5, 1);
    grid->setSizeConstraint(QLayout::SetFixedSize);
    // Tab goes down the dialog as it reads, the replacement straight after
    // the search text (the shared controls were made before it).
    const QList<QWidget*> tabOrder{m_pFindWhat,    m_pReplaceWith, m_pWholeWord, m_pMatchCase, m_pInSelection,
                                   m_pInWholeFile, m_pFindNext,    replace,      replaceAll,   cancel};
    for (qsizetype i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);

    // Only finding needs a search text; the other buttons tell when it is
    // missing.
    connect(m_pFindWhat, &QLineEdit::textChanged, this,
            [this](const QString& text) { m_pFindNext->setEnabled(!text.isEmpty()); });
    connect(m_pFindNext, &QPushButton::clicked, this, &CReplaceDialog::OnFindNext);
    connect(replace, &QPushButton::clicked, this, &CReplaceDialog::OnReplace);
    connect(replaceAll, &QPushButton::clicked, this, &CReplaceDialog::OnReplaceAll);
    connect(cancel, &QPushButton::clicked, this, &CReplaceDialog::reject);
}

int CReplaceDialog::exec()
{
    ShowSearchFields();
    m_pReplaceWith->setText(GbkToUnicode(m_sNewText));
    m_pInSelection->setEnabled(m_bEnableScopeSelection);
    if (m_nScope == 0)
        m_pInSelection->setChecked(true);
    else if (m_nScope == 1)
        m_pInWholeFile->setChecked(true);
    m_pFindNext->setEnabled(!m_pFindWhat->text().isEmpty());
    m_bFound = false;
    m_pFindWhat->selectAll();
    m_pFindWhat->setFocus();
    return QDialog::exec();
}

bool CReplaceDialog::ReadFields()
{
    std::string newText;
    if (!UnicodeToGbk(m_pReplaceWith->text(), newText)) {
        AfxMessageBox(QStringLiteral("替换文字中有 GBK 无法表示的字符"), MB_OK | MB_ICONWARNING);
        return false;
    }
    if (!ReadSearchFields())
        return false;
    m_sNewText = std::move(newText);
    m_nScope = m_pInSelection->isChecked() ? 0 : m_pInWholeFile->isChecked() ? 1 : -1;
    return true;
}

bool CReplaceDialog::FindInScope(TextPos* found)
{
    const uint32_t flags =
        (m_bMatchCase ? CTextView::FIND_MATCH_CASE : 0u) | (m_bWholeWord ? CTextView::FIND_WHOLE_WORD : 0u);
    if (m_nScope == 0)
        return m_pOwner->FindTextInRange(m_sText, m_ptFoundAt, m_ptBlockBegin, m_ptBlockEnd, flags, false, found);
    return m_pOwner->FindTextInDocument(m_sText, m_ptFoundAt, flags, false, found);
}

void CReplaceDialog::NotFound()
{
    m_bFound = false;
    m_pOwner->ReportNotFound(m_sText);
    m_ptCurrentPos = m_nScope == 0 ? m_ptBlockBegin : TextPos{};
}

bool CReplaceDialog::SearchStep()
{
    m_bFound = FindInScope(&m_ptFoundAt);
    if (!m_bFound) {
        NotFound();
        return false;
    }
    m_pOwner->SelectFoundText(m_ptFoundAt, int(m_sText.size()));
    return true;
}

void CReplaceDialog::OnFindNext()
{
    if (!ReadFields())
        return;
    if (!m_bFound)
        m_ptFoundAt = m_ptCurrentPos;
    else
        ++m_ptFoundAt.x;
    SearchStep();
}

bool CReplaceDialog::ReplaceFound(int deleteAction)
{
    const TextPos match = m_ptFoundAt;
    const TextPos matchEnd{match.x + int(m_sText.size()), match.y};
    TextPos end;
    if (!m_pOwner->ReplaceRange(match, matchEnd, m_sNewText, deleteAction, &end))
        return false;
    if (m_bEnableScopeSelection) {
        // The scope's ends behind the match on its line move with the text.
        const int delta = int(m_sNewText.size()) - int(m_sText.size());
        for (TextPos* bound : {&m_ptBlockBegin, &m_ptBlockEnd})
            if (bound->y == match.y && bound->x > match.x)
                bound->x += delta;
    }
    m_ptFoundAt = end;
    return true;
}

void CReplaceDialog::OnReplace()
{
    if (!ReadFields())
        return;
    if (m_bFound && !ReplaceFound(ACTION_DELETE_SELECTION))
        return;
    if (!m_bFound)
        m_ptFoundAt = m_ptCurrentPos;
    SearchStep();
}

void CReplaceDialog::OnReplaceAll()
{
    if (!ReadFields())
        return;
    if (!m_bFound) {
        m_ptFoundAt = m_ptCurrentPos;
        if (!SearchStep())
            return;
    }
    // One undo step for all of it (named after its first step, a
    // replacement), one scroll bar update, and no scrolling to each match.
    // The search goes on after each replacement, so a replacement that
    // contains the searched text is not replaced again.
    CTextBuffer* buffer = m_pOwner->Buffer();
    buffer->OpenUndoGroup(false);
    m_pOwner->m_bFreezeHorzBar = m_pOwner->m_bFreezeVertBar = true;
    int count = 0;
    TextPos last = m_ptFoundAt;
    do {
        last = m_ptFoundAt;
        if (!ReplaceFound(ACTION_REPLACE))
            break;
        ++count;
    } while (FindInScope(&m_ptFoundAt));
    m_pOwner->m_bFreezeHorzBar = m_pOwner->m_bFreezeVertBar = false;
    m_pOwner->UpdateHorzScrollBar(false);
    m_pOwner->UpdateVertScrollBar(false);
    buffer->CloseUndoGroup(m_pOwner);
    m_pOwner->SelectFoundText(last, int(m_sNewText.size()));
    m_pOwner->TellStatusBar(QStringLiteral("已替换 %1 处").arg(count));
    NotFound();
}
