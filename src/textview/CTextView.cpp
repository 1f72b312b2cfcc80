// Text view: construction, reset, the command map and the keys of the
// view's accelerator table.
#include "CTextView.h"

#include <QApplication>
#include <QKeyEvent>
#include <QScrollBar>
#include <QStyleHints>

#include "CDocument.h"
#include "CTextBuffer.h"
#include "Resources.h"
#include "ids.h"

BEGIN_COMMAND_MAP(CTextView, CView)
    ON_COMMAND_RANGE(ID_EDIT_MOVE_LEFT, ID_EDIT_EXTEND_TEXT_END, OnMove)
    ON_COMMAND(ID_EDIT_SELECT_ALL, OnSelectAll)
    ON_COMMAND(ID_EDIT_COPY, OnEditCopy)
    ON_UPDATE_COMMAND_UI(ID_EDIT_COPY, OnUpdateEditCopy)
    ON_UPDATE_COMMAND_UI(ID_EDIT_SELECT_ALL, OnUpdateAlwaysEnabled)
    ON_UPDATE_COMMAND_UI(ID_EDIT_INDICATOR_POSITION, OnUpdateIndicatorPosition)
    ON_UPDATE_COMMAND_UI(ID_EDIT_INDICATOR_CRLF, OnUpdateIndicatorCrlf)
    ON_COMMAND_RANGE(ID_FILE_PRINT, ID_FILE_PRINT_PREVIEW, OnFilePrintCommand)
    ON_COMMAND(ID_FILE_PAGE_SETUP, OnFilePageSetup)
    ON_COMMAND(ID_EDIT_FIND, OnEditFind)
    ON_UPDATE_COMMAND_UI(ID_EDIT_FIND, OnUpdateAlwaysEnabled)
    ON_COMMAND(ID_EDIT_REPEAT, OnEditRepeat)
    ON_UPDATE_COMMAND_UI(ID_EDIT_REPEAT, OnUpdateEditRepeat)
    ON_COMMAND(ID_EDIT_FIND_PREVIOUS, OnEditFindPrevious)
    ON_UPDATE_COMMAND_UI(ID_EDIT_FIND_PREVIOUS, OnUpdateEditRepeat)
    ON_COMMAND_RANGE(ID_EDIT_TOGGLE_BOOKMARK0, ID_EDIT_TOGGLE_BOOKMARK9, OnToggleBookmark)
    ON_UPDATE_COMMAND_UI_RANGE(ID_EDIT_TOGGLE_BOOKMARK0, ID_EDIT_TOGGLE_BOOKMARK9, OnUpdateAlwaysEnabled)
    ON_COMMAND_RANGE(ID_EDIT_GO_BOOKMARK0, ID_EDIT_GO_BOOKMARK9, OnGoBookmark)
    ON_UPDATE_COMMAND_UI_RANGE(ID_EDIT_GO_BOOKMARK0, ID_EDIT_GO_BOOKMARK9, OnUpdateAlwaysEnabled)
    ON_COMMAND(ID_EDIT_CLEAR_BOOKMARKS, OnClearBookmarks)
    ON_UPDATE_COMMAND_UI(ID_EDIT_CLEAR_BOOKMARKS, OnUpdateAlwaysEnabled)
    ON_COMMAND(ID_EDIT_TOGGLE_BOOKMARK, OnToggleBookmarkUnnumbered)
    ON_UPDATE_COMMAND_UI(ID_EDIT_TOGGLE_BOOKMARK, OnUpdateAlwaysEnabled)
    ON_COMMAND(ID_EDIT_GOTO_NEXT_BOOKMARK, OnNextBookmark)
    ON_UPDATE_COMMAND_UI(ID_EDIT_GOTO_NEXT_BOOKMARK, OnUpdateHaveBookmarks)
    ON_COMMAND(ID_EDIT_GOTO_PREV_BOOKMARK, OnPrevBookmark)
    ON_UPDATE_COMMAND_UI(ID_EDIT_GOTO_PREV_BOOKMARK, OnUpdateHaveBookmarks)
    ON_COMMAND(ID_EDIT_CLEAR_ALL_BOOKMARKS, OnClearAllBookmarks)
    ON_UPDATE_COMMAND_UI(ID_EDIT_CLEAR_ALL_BOOKMARKS, OnUpdateHaveBookmarks)
END_COMMAND_MAP()

namespace {

// Scroll-bar actions as the view's scroll codes.
int ScrollCodeOf(int action)
{
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
        return CTextView::SB_LINEUP;
    case QAbstractSlider::SliderSingleStepAdd:
        return CTextView::SB_LINEDOWN;
    case QAbstractSlider::SliderPageStepSub:
        return CTextView::SB_PAGEUP;
    case QAbstractSlider::SliderPageStepAdd:
        return CTextView::SB_PAGEDOWN;
    case QAbstractSlider::SliderMove:
        return CTextView::SB_THUMBTRACK;
    case QAbstractSlider::SliderToMinimum:
        return CTextView::SB_TOP;
    case QAbstractSlider::SliderToMaximum:
        return CTextView::SB_BOTTOM;
    default:
        return CTextView::SB_ENDSCROLL;
    }
}

}  // namespace

CTextView::CTextView(QWidget* parent) : QAbstractScrollArea(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setMouseTracking(true);  // the pointer's shape follows it
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // The base font: the fixed face, bold.
    m_lfBase = LogFont();
    m_lfBase.lfFaceName = QStringLiteral("FixedSys");
    m_lfBase.lfWeight = 700;
    m_lfBase.lfCharSet = 1;

    // The bars report what the user did; the view decides where it scrolls
    // and then puts the bar where the view is.
    for (const bool vertical : {true, false}) {
        QScrollBar* bar = vertical ? verticalScrollBar() : horizontalScrollBar();
        connect(bar, &QAbstractSlider::actionTriggered, this, [this, bar, vertical](int action) {
            const int code = ScrollCodeOf(action);
            if (code == SB_ENDSCROLL)
                return;
            if (vertical)
                OnVScroll(code, bar->sliderPosition());
            else
                OnHScroll(code, bar->sliderPosition());
            bar->setSliderPosition(std::min(vertical ? m_nFirstRow : m_nFirstColumn, bar->maximum()));
        });
    }
    ResetViewState();
}

CTextView::~CTextView()
{
    if (m_pBuffer)
        m_pBuffer->DetachView(this);
}

void CTextView::ResetViewState()
{
    m_nFirstRow = m_nFirstColumn = 0;
    m_nRowHeight = m_nCellWidth = m_nVisibleRows = m_nVisibleColumns = m_nWidestLine = -1;
    m_nRememberedColumn = -1;
    m_nTabWidth = 4;
    m_ptSelAnchor = {};
    m_marginIcons = QPixmap();
    for (auto& variant : m_apFontVariants)
        variant.reset();
    for (auto& raw : m_rawFonts)
        raw.reset();
    m_cookieCache.clear();
    m_cookieCache.shrink_to_fit();
    m_nCookiesKnown = 0;
    m_widthCache.Clear();
    m_lineIndexes.clear();
    m_ptCursor = m_ptSelStart = m_ptSelEnd = m_ptDragStart = m_ptDragEnd = {};
    m_bFreezeVertBar = m_bFreezeHorzBar = false;
    m_bShowSelUnfocused = false;
    m_bFindRepeatable = false;  // the text stays, for the next Find's dialog
    m_bHaveBookmarks = false;
    m_bPageHeader = false;
    m_bPageFooter = true;
    PlaceCaret();
}

// ---- Keys.

int CTextView::AcceleratorCommand(const QKeyEvent* event) const
{
    const std::vector<AcceleratorEntry>* table = FindAcceleratorResource(IDR_TEXTVIEW_ACCEL);
    if (!table)
        return 0;
    // The keypad's modifier says nothing about the key.
    const QKeyCombination pressed(event->modifiers() & ~Qt::KeypadModifier, Qt::Key(event->key()));
    for (const AcceleratorEntry& entry : *table)
        if (entry.key == pressed)
            return entry.id;
    return 0;
}

bool CTextView::event(QEvent* event)
{
    // The view's own keys go to the view, not to the frame's accelerators.
    if (event->type() == QEvent::ShortcutOverride && AcceleratorCommand(static_cast<QKeyEvent*>(event))) {
        event->accept();
        return true;
    }
    // Tab and Shift+Tab are the table's too, before they move the focus.
    if (event->type() == QEvent::KeyPress && AcceleratorCommand(static_cast<QKeyEvent*>(event))) {
        keyPressEvent(static_cast<QKeyEvent*>(event));
        return true;
    }
    return QAbstractScrollArea::event(event);
}

void CTextView::keyPressEvent(QKeyEvent* event)
{
    const int id = AcceleratorCommand(event);
    if (!id) {
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    event->accept();
    // The view and its document handle the table's commands; one that is
    // disabled or handled by nobody does nothing.
    CCmdUI probe(id);
    const bool known = OnCmdMsg(id, &probe) || (GetDocument() && GetDocument()->OnCmdMsg(id, &probe));
    if (!known || !probe.m_enabled)
        return;
    if (!OnCmdMsg(id, nullptr) && GetDocument())
        GetDocument()->OnCmdMsg(id, nullptr);
}

bool CTextView::viewportEvent(QEvent* event)
{
    return QAbstractScrollArea::viewportEvent(event);
}

void CTextView::timerEvent(QTimerEvent* event)
{
    if (event->timerId() == m_caretTimer) {
        m_caretOn = !m_caretOn;
        viewport()->update(m_caretRect);
        // A caret left alone stops blinking, lit, as on the rest of the
        // desktop: a program nobody uses does no work.
        m_nCaretBlinkTime += m_nCaretBlinkPeriod;
        if (m_caretOn && m_nCaretBlinkTime >= m_nCaretBlinkTimeout) {
            killTimer(m_caretTimer);
            m_caretTimer = 0;
        }
        return;
    }
    if (event->timerId() == m_nAutoScrollTimer) {
        OnAutoScrollTimer();
        return;
    }
    QAbstractScrollArea::timerEvent(event);
}
