// Editing view: construction, the command map, typing and the commands that
// change the text, and their update handlers.
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <algorithm>
#include <functional>
#include <iterator>

#include "ByteClasses.h"
#include "CCmdUI.h"
#include "CFrameWnd.h"
#include "CTextBuffer.h"
#include "CTextEditView.h"
#include "DataTransfer.h"
#include "EditAdjuster.h"
#include "Resources.h"
#include "ids.h"

namespace {

// The string of each undo action code, indexed by the code.  The ids do not
// follow the code order.
constexpr int kActionLabelIds[] = {
    IDS_ACTION_UNKNOWN,     IDS_ACTION_PASTE,  IDS_ACTION_DELETE_SELECTION, IDS_ACTION_CUT,
    IDS_ACTION_TYPING,      IDS_ACTION_BACKSPACE, IDS_ACTION_INDENT,        IDS_ACTION_DRAG_DROP,
    IDS_ACTION_REPLACE,     IDS_ACTION_DELETE, IDS_ACTION_AUTO_INDENT,
};

}  // namespace

QString CTextEditView::ActionLabel(int action)
{
    if (action < 0 || action >= int(std::size(kActionLabelIds)))
        return QString();
    return LoadResourceString(kActionLabelIds[action]);
}

BEGIN_COMMAND_MAP(CTextEditView, CTextView)
    ON_COMMAND(ID_EDIT_REPLACE, OnEditReplace)
    ON_UPDATE_COMMAND_UI(ID_EDIT_REPLACE, OnUpdateEditReplace)
    ON_COMMAND(ID_EDIT_PASTE, OnEditPaste)
    ON_UPDATE_COMMAND_UI(ID_EDIT_PASTE, OnUpdateEditPaste)
    ON_COMMAND(ID_EDIT_CUT, OnEditCut)
    ON_UPDATE_COMMAND_UI(ID_EDIT_CUT, OnUpdateEditCut)
    ON_COMMAND(ID_EDIT_DELETE, OnEditDelete)
    ON_COMMAND(ID_EDIT_BACKSPACE, OnEditDeleteBack)
    ON_COMMAND(ID_EDIT_TAB, OnEditTab)
    ON_COMMAND(ID_EDIT_UNTAB, OnEditUntab)
    ON_COMMAND(ID_EDIT_TOGGLE_OVERWRITE, OnEditSwitchOvrmode)
    ON_UPDATE_COMMAND_UI(ID_EDIT_TOGGLE_OVERWRITE, OnUpdateEditSwitchOvrmode)
    ON_COMMAND(ID_EDIT_UNDO, OnEditUndo)
    ON_UPDATE_COMMAND_UI(ID_EDIT_UNDO, OnUpdateEditUndo)
    ON_COMMAND(ID_EDIT_REDO, OnEditRedo)
    ON_UPDATE_COMMAND_UI(ID_EDIT_REDO, OnUpdateEditRedo)
    ON_UPDATE_COMMAND_UI(ID_INDICATOR_OVR, OnUpdateIndicatorOvr)
    ON_UPDATE_COMMAND_UI(ID_EDIT_INDICATOR_READ, OnUpdateIndicatorRead)
    ON_UPDATE_COMMAND_UI(ID_EDIT_INDICATOR_STATUS, OnUpdateIndicatorStatus)
END_COMMAND_MAP()

CTextEditView::CTextEditView(QWidget* parent) : CTextView(parent)
{
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
}

CTextEditView::~CTextEditView() = default;

bool CTextEditView::QueryEditable()
{
    return Buffer() && !Buffer()->IsReadOnly();
}

void CTextEditView::ResetViewState()
{
    m_bOverwrite = false;
    CTextView::ResetViewState();
}

void CTextEditView::MoveTo(TextPos pt)
{
    SetSelection(pt, pt);
    SetSelectionAnchor(pt);
    SetCursorTextPos(pt);
    ScrollIntoView(pt);
}

void CTextEditView::TellStatusBar(const QString& text)
{
    if (GetParentFrame())
        GetParentFrame()->SetMessageText(text);
}

bool CTextEditView::DeleteCurrentSelection()
{
    if (IsSelectionEmpty())
        return false;
    TextPos start, end;
    GetSelection(start, end);
    MoveTo(start);
    Buffer()->DeleteText(this, start.y, start.x, end.y, end.x, ACTION_DELETE_SELECTION);
    return true;
}

void CTextEditView::OnBufferChanged(CTextBufferListener* source, const EditAdjuster* adjuster, uint32_t hints,
                                    int line)
{
    CTextView::OnBufferChanged(source, adjuster, hints, line);
    if (m_bReplaceScopeSaved && adjuster) {
        adjuster->AdjustPoint(m_ptReplaceSelStart);
        adjuster->AdjustPoint(m_ptReplaceSelEnd);
    }
}

// ---- Typing.

void CTextEditView::keyPressEvent(QKeyEvent* event)
{
    if (AcceleratorCommand(event)) {
        CTextView::keyPressEvent(event);
        return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        OnChar('\r');
        return;
    }
    // Ctrl and Alt combinations are commands, not text.
    const QString text = event->text();
    if (!text.isEmpty() && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) &&
        text.at(0).unicode() >= 32) {
        event->accept();
        TypeText(text);
        return;
    }
    CTextView::keyPressEvent(event);
}

void CTextEditView::inputMethodEvent(QInputMethodEvent* event)
{
    if (!event->commitString().isEmpty())
        TypeText(event->commitString());
    event->accept();
}

QVariant CTextEditView::inputMethodQuery(Qt::InputMethodQuery query) const
{
    if (query == Qt::ImCursorRectangle || query == Qt::ImAnchorRectangle)
        return CaretRect();
    return CTextView::inputMethodQuery(query);
}

void CTextEditView::TypeText(const QString& text)
{
    for (const char32_t c : text.toUcs4()) {
        const char32_t one[] = {c};
        std::string bytes;
        if (!UnicodeToGbk(QString::fromUcs4(one, 1), bytes)) {
            TellStatusBar(QString::fromUtf8("字符“%1”(U+%2) 无法以 GBK 编码保存, 未输入")
                              .arg(QString::fromUcs4(one, 1))
                              .arg(uint(c), 4, 16, QLatin1Char('0'))
                              .toUpper());
            continue;
        }
        for (const char byte : bytes)
            OnChar(static_cast<unsigned char>(byte));
    }
}

void CTextEditView::OnChar(unsigned char ch)
{
    if (QGuiApplication::mouseButtons() & (Qt::LeftButton | Qt::RightButton))
        return;
    CTextBuffer* buffer = Buffer();
    if (ch == '\r') {
        const TextPos cursor = GetCursorTextPos();
        if (m_bOverwrite && cursor.y < GetLineCount() - 1) {
            MoveTo({0, cursor.y + 1});
            return;
        }
        if (!buffer)
            return;
        buffer->OpenUndoGroup(false);
        if (QueryEditable()) {
            DeleteCurrentSelection();
            const TextPos at = GetCursorTextPos();
            int endLine = 0, endChar = 0;
            if (buffer->InsertText(this, at.y, at.x, "\r\n", endLine, endChar, ACTION_TYPING))
                MoveTo({endChar, endLine});
        }
        buffer->CloseUndoGroup(this);
        return;
    }
    if (ch < 32 || !QueryEditable())
        return;
    buffer->OpenUndoGroup(ch != ' ');
    TextPos at = GetCursorTextPos();
    if (!IsSelectionEmpty()) {
        TextPos end;
        GetSelection(at, end);
        DeleteCurrentSelection();
    } else if (m_bOverwrite && at.x < GetLineLength(at.y)) {
        buffer->DeleteText(this, at.y, at.x, at.y, at.x + 1, ACTION_TYPING);
    }
    const char text[] = {static_cast<char>(ch)};
    int endLine = 0, endChar = 0;
    if (buffer->InsertText(this, at.y, at.x, std::string_view(text, 1), endLine, endChar, ACTION_TYPING))
        MoveTo({endChar, endLine});
    buffer->CloseUndoGroup(this);
}

void CTextEditView::OnEditAction(int action, std::string_view text)
{
    // After a line break, the new line starts with the blanks the line
    // above starts with; as a step of its own, so that Undo takes it first.
    if (action != ACTION_TYPING || text != "\r\n" || m_bOverwrite || !Buffer())
        return;
    const TextPos cursor = GetCursorTextPos();
    if (cursor.y == 0)
        return;
    const char* above = GetLineChars(cursor.y - 1);
    const int length = GetLineLength(cursor.y - 1);
    int blanks = 0;
    while (blanks < length && IsSpace(above[blanks]))
        ++blanks;
    if (blanks == 0)
        return;
    const std::string indent(above, size_t(blanks));
    int endLine = 0, endChar = 0;
    if (!Buffer()->InsertText(nullptr, cursor.y, cursor.x, indent, endLine, endChar, ACTION_AUTO_INDENT))
        return;
    MoveTo({endChar, endLine});
}

// ---- Deleting.

void CTextEditView::OnEditDelete()
{
    if (!QueryEditable())
        return;
    TextPos start, end;
    GetSelection(start, end);
    if (start == end) {
        if (end.x == GetLineLength(end.y)) {
            if (end.y == GetLineCount() - 1)
                return;
            end = {0, end.y + 1};
        } else {
            ++end.x;
        }
    }
    MoveTo(start);
    Buffer()->DeleteText(this, start.y, start.x, end.y, end.x, ACTION_DELETE);
}

void CTextEditView::OnEditDeleteBack()
{
    if (!IsSelectionEmpty()) {
        OnEditDelete();
        return;
    }
    if (!QueryEditable())
        return;
    const TextPos cursor = GetCursorTextPos();
    TextPos to = cursor;
    if (to.x > 0)
        --to.x;
    else if (to.y > 0)
        to = {GetLineLength(to.y - 1), to.y - 1};
    MoveTo(to);
    if (to != cursor)
        Buffer()->DeleteText(this, to.y, to.x, cursor.y, cursor.x, ACTION_BACKSPACE);
}

// ---- Tab and Shift+Tab.

void CTextEditView::SelectLineBlock(int& first, int& last)
{
    TextPos start, end;
    GetSelection(start, end);
    first = start.y;
    last = end.y;
    TextPos blockEnd = end;
    if (end.x > 0) {
        if (end.y == GetLineCount() - 1)
            blockEnd = {GetLineLength(end.y), end.y};
        else
            blockEnd = {0, end.y + 1};
    } else {
        --last;  // a selection ending at char 0 leaves that line out
    }
    const TextPos blockStart{0, start.y};
    SetSelection(blockStart, blockEnd);
    SetCursorTextPos(blockEnd);
    ScrollIntoView(blockEnd);
}

void CTextEditView::EditLineBlock(const std::function<void(int line)>& edit)
{
    Buffer()->OpenUndoGroup(false);
    int first = 0, last = 0;
    SelectLineBlock(first, last);
    // One bar update for the block, not one per line.
    m_bFreezeHorzBar = true;
    for (int line = first; line <= last; ++line)
        edit(line);
    m_bFreezeHorzBar = false;
    UpdateHorzScrollBar(false);
    Buffer()->CloseUndoGroup(this);
}

void CTextEditView::OnEditTab()
{
    if (!QueryEditable())
        return;
    CTextBuffer* buffer = Buffer();
    TextPos start, end;
    GetSelection(start, end);
    if (start.y != end.y) {
        EditLineBlock([buffer, this](int line) {
            int endLine = 0, endChar = 0;
            buffer->InsertText(this, line, 0, "\t", endLine, endChar, ACTION_INDENT);
        });
        return;
    }
    TextPos cursor = GetCursorTextPos();
    const int length = GetLineLength(cursor.y);
    if (m_bOverwrite && cursor.x < length) {
        // Over to the next tab stop, the text untouched.
        const int width = GetTabWidth();
        const char* chars = GetLineChars(cursor.y);
        int steps = width - CharToColumn(cursor.y, cursor.x) % width;
        while (steps-- > 0 && cursor.x < length) {
            if (chars[cursor.x++] == '\t')
                break;
        }
        MoveTo(cursor);
        return;
    }
    buffer->OpenUndoGroup(false);
    DeleteCurrentSelection();
    cursor = GetCursorTextPos();
    int endLine = 0, endChar = 0;
    if (buffer->InsertText(this, cursor.y, cursor.x, "\t", endLine, endChar, ACTION_TYPING))
        MoveTo({endChar, endLine});
    buffer->CloseUndoGroup(this);
}

void CTextEditView::OnEditUntab()
{
    if (!QueryEditable())
        return;
    CTextBuffer* buffer = Buffer();
    const int width = GetTabWidth();
    TextPos start, end;
    GetSelection(start, end);
    if (start.y != end.y) {
        EditLineBlock([buffer, width, this](int line) {
            const char* chars = GetLineChars(line);
            const int length = GetLineLength(line);
            int count = 0;
            while (count < length && count < width) {
                const char c = chars[count];
                if (c != ' ') {
                    if (c == '\t')
                        ++count;
                    break;
                }
                ++count;
            }
            if (count > 0)
                buffer->DeleteText(this, line, 0, line, count, ACTION_INDENT);
        });
        return;
    }
    const TextPos cursor = GetCursorTextPos();
    if (cursor.x == 0)
        return;
    // Back to the previous tab stop, the text untouched.
    const int column = CharToColumn(cursor.y, cursor.x);
    int target = column / width * width;
    if (target == column && column > 0)
        target -= width;
    MoveTo({FirstCharAtColumn(cursor.y, target), cursor.y});
}

void CTextEditView::OnEditSwitchOvrmode()
{
    m_bOverwrite = !m_bOverwrite;
}

// ---- Clipboard.

void CTextEditView::OnEditCut()
{
    if (!QueryEditable() || IsSelectionEmpty())
        return;
    TextPos start, end;
    GetSelection(start, end);
    std::string text;
    Buffer()->CopyText(start.y, start.x, end.y, end.x, text);
    PutTextToClipboard(text);
    MoveTo(start);
    Buffer()->DeleteText(this, start.y, start.x, end.y, end.x, ACTION_CUT);
}

void CTextEditView::OnEditPaste()
{
    if (!QueryEditable())
        return;
    CTextBuffer* buffer = Buffer();
    buffer->OpenUndoGroup(false);
    DeleteCurrentSelection();
    std::string text;
    if (GetTextFromClipboard(text)) {
        const TextPos at = GetCursorTextPos();
        int endLine = 0, endChar = 0;
        if (!text.empty() && buffer->InsertText(this, at.y, at.x, text, endLine, endChar, ACTION_PASTE))
            MoveTo({endChar, endLine});
    } else if (ClipboardHasText()) {
        TellStatusBar(QString::fromUtf8("剪贴板中的文字含有 GBK 无法表示的字符, 未粘贴"));
    }
    buffer->CloseUndoGroup(this);
}

// ---- Undo and Redo.

void CTextEditView::OnEditUndo()
{
    TextPos point;
    if (Buffer() && Buffer()->CanUndo() && Buffer()->Undo(point))
        MoveTo(point);
}

void CTextEditView::OnEditRedo()
{
    TextPos point;
    if (Buffer() && Buffer()->CanRedo() && Buffer()->Redo(point))
        MoveTo(point);
}

// ---- The Replace dialog's replacement.

bool CTextEditView::ReplaceSelection(std::string_view text)
{
    if (IsSelectionEmpty() || !QueryEditable())
        return false;
    TextPos start, end;
    GetSelection(start, end);
    MoveTo(start);
    if (!ReplaceRange(start, end, text, ACTION_DELETE_SELECTION, &end))
        return false;
    SetSelection(start, end);
    SetSelectionAnchor(end);
    SetCursorTextPos(end);
    ScrollIntoView(end);
    return true;
}

bool CTextEditView::ReplaceRange(TextPos start, TextPos end, std::string_view text, int deleteAction,
                                 TextPos* newEnd)
{
    if (!QueryEditable() || !Buffer()->DeleteText(this, start.y, start.x, end.y, end.x, deleteAction))
        return false;
    *newEnd = start;
    int endLine = 0, endChar = 0;
    if (!text.empty() && Buffer()->InsertText(this, start.y, start.x, text, endLine, endChar, ACTION_REPLACE))
        *newEnd = {endChar, endLine};
    return true;
}

// ---- Update handlers.

void CTextEditView::OnUpdateEditPaste(CCmdUI* ui)
{
    ui->Enable(ClipboardHasText());
}

void CTextEditView::OnUpdateEditCut(CCmdUI* ui)
{
    ui->Enable(!IsSelectionEmpty());
}

void CTextEditView::OnUpdateEditUndo(CCmdUI* ui)
{
    UpdateHistoryItem(ui, true);
}

void CTextEditView::OnUpdateEditRedo(CCmdUI* ui)
{
    UpdateHistoryItem(ui, false);
}

void CTextEditView::UpdateHistoryItem(CCmdUI* ui, bool undo)
{
    CTextBuffer* buffer = Buffer();
    const bool can = buffer && (undo ? buffer->CanUndo() : buffer->CanRedo());
    ui->Enable(can);
    if (!ui->m_pMenu)
        return;  // a button keeps its picture
    if (!can) {
        ui->SetText(LoadResourceString(undo ? IDS_MENU_UNDO_DEFAULT : IDS_MENU_REDO_DEFAULT));
        return;
    }
    const QString label = ActionLabel(undo ? buffer->UndoAction() : buffer->RedoAction());
    ui->SetText(FormatResourceString(undo ? IDS_MENU_UNDO : IDS_MENU_REDO, label));
}

void CTextEditView::OnUpdateEditSwitchOvrmode(CCmdUI* ui)
{
    ui->Enable(true);
    ui->SetCheck(m_bOverwrite ? 1 : 0);
}

void CTextEditView::OnUpdateIndicatorOvr(CCmdUI* ui)
{
    ui->Enable(m_bOverwrite);
}

void CTextEditView::OnUpdateIndicatorRead(CCmdUI* ui)
{
    ui->Enable(Buffer() && Buffer()->IsReadOnly());
}

void CTextEditView::OnUpdateIndicatorStatus(CCmdUI* ui)
{
    ui->Enable(false);
}
