// Editing view: the Replace command, which runs the Replace dialog over the
// whole text or over the selection and keeps its settings in the profile.
#include "CCmdUI.h"
#include "CReplaceDialog.h"
#include "CTextEditView.h"
#include "CWinApp.h"
#include "DataTransfer.h"

namespace {

const QString kReplaceSection = QStringLiteral("TextEdit\\Replace");

}  // namespace

void CTextEditView::OnEditReplace()
{
    if (!QueryEditable())
        return;
    CReplaceDialog dialog(this);
    CWinApp* app = AfxGetApp();
    if (app) {
        dialog.m_bMatchCase = app->GetProfileInt(kReplaceSection, QStringLiteral("MatchCase"), 0) != 0;
        dialog.m_bWholeWord = app->GetProfileInt(kReplaceSection, QStringLiteral("WholeWord"), 0) != 0;
        UnicodeToGbk(app->GetProfileString(kReplaceSection, QStringLiteral("FindWhat")), dialog.m_sText);
        UnicodeToGbk(app->GetProfileString(kReplaceSection, QStringLiteral("ReplaceWith")), dialog.m_sNewText);
    }
    if (!IsSelectionEmpty()) {
        // The selection is the scope; it follows the edits made in it and is
        // selected again when the dialog closes.
        GetSelection(m_ptReplaceSelStart, m_ptReplaceSelEnd);
        m_bReplaceScopeSaved = true;
        dialog.m_bEnableScopeSelection = true;
        dialog.m_ptCurrentPos = m_ptReplaceSelStart;
        dialog.m_ptBlockBegin = m_ptReplaceSelStart;
        dialog.m_ptBlockEnd = m_ptReplaceSelEnd;
        dialog.m_nScope = 0;
    } else {
        dialog.m_nScope = 1;
        dialog.m_ptCurrentPos = GetCursorTextPos();
        dialog.m_bEnableScopeSelection = false;
    }

    m_bShowSelUnfocused = true;
    viewport()->update();
    dialog.exec();
    m_bShowSelUnfocused = false;
    viewport()->update();

    if (m_bReplaceScopeSaved) {
        SetSelectionAnchor(m_ptReplaceSelStart);
        SetCursorTextPos(m_ptReplaceSelEnd);
        SetSelection(m_ptReplaceSelStart, m_ptReplaceSelEnd);
        ScrollIntoView(m_ptReplaceSelEnd);
        m_bReplaceScopeSaved = false;
    }
    if (app) {
        app->WriteProfileInt(kReplaceSection, QStringLiteral("MatchCase"), dialog.m_bMatchCase ? 1 : 0);
        app->WriteProfileInt(kReplaceSection, QStringLiteral("WholeWord"), dialog.m_bWholeWord ? 1 : 0);
        app->WriteProfileString(kReplaceSection, QStringLiteral("FindWhat"), GbkToUnicode(dialog.m_sText));
        app->WriteProfileString(kReplaceSection, QStringLiteral("ReplaceWith"), GbkToUnicode(dialog.m_sNewText));
    }
}

void CTextEditView::OnUpdateEditReplace(CCmdUI* ui)
{
    ui->Enable(QueryEditable());
}
