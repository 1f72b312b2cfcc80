// CTextEditView: the text view that edits.
//
// Every change goes through the buffer's undo-recording operations, one undo
// group per command: typing (insert and overwrite), Enter with automatic
// indentation, Backspace and Delete, Tab and Shift+Tab on the caret or on a
// block of lines, Cut and Paste, Undo and Redo, the replacement the Replace
// dialog makes, and drag and drop within and into the view.  A command does
// nothing on a read-only buffer.
//
// Keyboard text arrives as Unicode and is entered as GBK bytes, one byte at
// a time; a character GBK has no form for is not entered and the status bar
// says so.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "CTextBuffer.h"
#include "CTextView.h"

class CTextEditView : public CTextView
{
    Q_OBJECT

public:
    explicit CTextEditView(QWidget* parent = nullptr);
    ~CTextEditView() override;

    // True when a buffer is attached and may be changed.
    virtual bool QueryEditable();

    void ResetViewState() override;
    Qt::DropActions GetDragSourceEffects() override;
    void OnDragSourceDone(Qt::DropAction effect) override;
    void OnBufferChanged(CTextBufferListener* source, const EditAdjuster* adjuster, uint32_t hints,
                         int line) override;
    void OnEditAction(int action, std::string_view text) override;

    // The name of an undo action code in the Undo and Redo menu texts;
    // empty for a code it does not know.
    static QString ActionLabel(int action);

    bool GetOverwriteMode() const { return m_bOverwrite; }

    // One character message: a byte of the text (CR for Enter).
    void OnChar(unsigned char ch);
    // Text typed or committed by an input method, encoded to GBK.
    void TypeText(const QString& text);
    // Deletes the selection and puts text in its place, selected; false
    // when nothing is selected.
    bool ReplaceSelection(std::string_view text);
    // Puts text in place of [start, end) without touching the selection;
    // *newEnd is where the text put in ends.  False when nothing changed.
    bool ReplaceRange(TextPos start, TextPos end, std::string_view text, int deleteAction, TextPos* newEnd);
    // Shows text in the frame's status bar.
    void TellStatusBar(const QString& text);
    // Deletes the selection (moving to its start); false when there is none.
    bool DeleteCurrentSelection();

    // The scope the Replace dialog works in follows the edits made in it.
    bool m_bReplaceScopeSaved = false;
    TextPos m_ptReplaceSelStart, m_ptReplaceSelEnd;

    // ---- Commands.
    void OnEditReplace();
    void OnUpdateEditReplace(CCmdUI* ui);
    void OnEditPaste();
    void OnEditCut();
    void OnEditDelete();
    void OnEditDeleteBack();
    void OnEditTab();
    void OnEditUntab();
    void OnEditSwitchOvrmode();
    void OnEditUndo();
    void OnEditRedo();
    void OnUpdateEditPaste(CCmdUI* ui);
    void OnUpdateEditCut(CCmdUI* ui);
    void OnUpdateEditUndo(CCmdUI* ui);
    void OnUpdateEditRedo(CCmdUI* ui);
    void OnUpdateEditSwitchOvrmode(CCmdUI* ui);
    void OnUpdateIndicatorOvr(CCmdUI* ui);
    void OnUpdateIndicatorRead(CCmdUI* ui);
    void OnUpdateIndicatorStatus(CCmdUI* ui);

    DECLARE_COMMAND_MAP()

    // Where a drop would insert, while the drop mark shows.
    bool IsDropMarkShown() const { return m_bDropMarkShown; }
    TextPos GetDropPosition() const { return m_ptDropAt; }
    static constexpr int kDragScrollBorder = 5;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
    void paintEvent(QPaintEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    // Collapses the selection at pt, makes it the anchor and the cursor and
    // scrolls it into view.
    void MoveTo(TextPos pt);
    // The ordered selection widened to whole lines, selected with the
    // cursor at its end; the lines it holds are first .. last.
    void SelectLineBlock(int& first, int& last);
    // Selects the block and edits each of its lines, as one undo step.
    void EditLineBlock(const std::function<void(int line)>& edit);
    // Undo (or Redo) enabled when there is a step, and in a menu named
    // after it.
    void UpdateHistoryItem(CCmdUI* ui, bool undo);
    // Drop target.
    Qt::DropAction DropEffect(const QDropEvent* event) const;
    void ShowDropMark(QPoint client);
    void HideDropMark();
    void DragScroll(QPoint client);
    bool InsertDroppedText(const QMimeData* data, QPoint client);

    bool m_bOverwrite = false;
    bool m_bDropMarkShown = false;
    TextPos m_ptCaretBeforeDrop;
    TextPos m_ptDropAt;
    QRect m_dropMarkRect;     // where the mark is drawn; empty while hidden
    QPoint m_ptDragOver;      // the pointer while a drag is over the view
    int m_nDragScrollTimer = 0;
};
