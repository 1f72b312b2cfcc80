// CTextView: the read-only view of a text buffer.
//
// Lines are drawn one row each in a fixed-pitch font, after a 20-pixel
// selection margin that shows the line's icon (bookmarks, the running line).
// A derived view colours each line through ColouriseLine, which returns a
// parse state (cookie) that the next line starts from; the view keeps the
// cookies, and the display width of every line, so that a repaint parses
// only from the last known cookie to the rows it shows.
//
// A line may be megabytes long.  Painting lays out and colours only the
// cells the update touches, and a long line keeps an index (LongLineIndex)
// of columns, GBK pairs and parse states at points along it, so that
// drawing, the caret and editing at its far end cost what is near them, not
// a walk from the line's start.  Resuming the parse mid-line takes a derived
// view that offers ResumeColouring; others colour such lines whole.
//
// The view is split by concern: drawing and layout (TextViewDraw.cpp),
// scrolling and buffer notifications (TextViewScroll.cpp), caret, selection
// and movement (TextViewCaret.cpp), the mouse, the clipboard and the drag
// source (TextViewMouse.cpp), search and bookmarks (TextViewSearch.cpp),
// printing and page setup (TextViewPrint.cpp).
//
// Text is bytes: positions and columns count bytes, a tab advances to the
// next multiple of the tab width.  Only drawing decodes GBK: a valid
// double-byte character is one glyph over its two cells, any other byte
// above 0x7F a one-cell placeholder.
#pragma once

#include <QAbstractScrollArea>
#include <QColor>
#include <QFont>
#include <QPixmap>
#include <QRawFont>
#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "CPrintView.h"
#include "CView.h"
#include "ColourRuns.h"
#include "LineWidthCache.h"
#include "LinePoint.h"
#include "LogFont.h"
#include "LongLineIndex.h"
#include "TextBufferListener.h"
#include "TextTypes.h"

class CTextBuffer;
class QMimeData;
class QPainter;
class QScrollBar;

class CTextView : public QAbstractScrollArea,
                  public CView,
                  public CPrintView,
                  public CTextBufferListener
{
    Q_OBJECT

public:
    explicit CTextView(QWidget* parent = nullptr);
    ~CTextView() override;

    static constexpr int kMarginWidth = 20;
    static constexpr int kMarginIconSize = 16;

    // ---- Virtual operations, in the order the derived views know them.
    virtual void ResetViewState();
    virtual int GetLineCount() const;
    virtual int GetLineLength(int line) const;
    virtual int GetLineDisplayWidth(int line);
    virtual const char* GetLineChars(int line) const;
    virtual uint32_t GetLineFlags(int line) const;
    virtual QColor GetIndexColour(int colourIndex) const;
    // Whole-line colours from the line's flags; invalid colours when none.
    virtual void GetLineColourOverride(int line, QColor& background, QColor& text, bool& fillToEdge) const;
    virtual bool IsIndexItalic(int colourIndex) const;
    virtual bool IsIndexBold(int colourIndex) const;
    virtual void DrawTextLine(QPainter& painter, const QRect& rect, int line);
    virtual void DrawMarginCell(QPainter& painter, const QRect& rect, int line);
    // Appends the colour runs of line (when blocks is not null; there is
    // room for 3 x length) and returns the cookie the next line starts with.
    virtual ParseCookie ColouriseLine(ParseCookie cookie, int line, ColourBlock* blocks, int& blockCount);
    // The same parse taken up mid-line: bytes [from, to) from state (the
    // state before byte from; at from 0 only its cookie, the line above's),
    // leaving state as it stands before to, or with the next line's cookie
    // when to is the line's end.  With blocks (room for 3 x (to - from) + 3)
    // appends the runs that colour bytes [from, to), a run before from
    // included where one starts there.  False when the parse cannot resume,
    // as the base's cannot: the view then colours long lines whole.  A view
    // that overrides ColouriseLine overrides this too, or returns false.
    virtual bool ResumeColouring(int line, LineParseState& state, int from, int to, ColourBlock* blocks,
                                 int capacity, int& blockCount);
    virtual CTextBuffer* FindTextBuffer() const { return nullptr; }
    virtual void OnBufferChanged(CTextBufferListener* source, const EditAdjuster* adjuster, uint32_t hints,
                                 int line) override;
    void OnEditAction(int, std::string_view) override {}
    // Clipboard and drag source: the bytes go out as they are for this
    // program and as Unicode text for others (DataTransfer.h).
    virtual bool ClipboardHasText();
    virtual bool PutTextToClipboard(std::string_view text);
    virtual bool GetTextFromClipboard(std::string& text);
    // The data a drag from the selection carries; null when the selection
    // is empty.  Remembers the dragged range.
    virtual QMimeData* MakeDragData();
    virtual Qt::DropActions GetDragSourceEffects();
    virtual void OnDragSourceDone(Qt::DropAction effect);
    // Panes of the same splitter row (vertical) or column scroll together.
    virtual void SyncSiblingPanes(bool vertical);
    virtual void OnSiblingScrolled(CTextView* source, bool vertical);

    void OnInitialUpdate() override;

    // ---- Buffer.
    void AttachBuffer(CTextBuffer* buffer);
    void DetachBuffer();
    CTextBuffer* Buffer() const { return m_pBuffer; }

    // ---- Geometry.
    int GetRowHeight();
    int GetCellWidth();
    int GetVisibleRows();
    int GetVisibleColumns();
    int GetWidestLineColumns();
    int GetTabWidth() const { return m_nTabWidth; }
    int GetFirstRow() const { return m_nFirstRow; }
    int GetFirstColumn() const { return m_nFirstColumn; }
    int CharToColumn(int line, int byteIndex) const;
    int ColumnToChar(int line, int column) const;
    // The first byte index whose column is at least column (the line's
    // length when none is).
    int FirstCharAtColumn(int line, int column) const;
    TextPos PointToTextPos(QPoint client);
    QPoint TextPosToPoint(TextPos text);
    void InvalidateLines(int first, int last);

    // ---- Fonts.
    void SetViewFont(const LogFont& font);
    const QFont& GetViewFont(bool italic, bool bold);

    // ---- Cursor and selection.
    TextPos GetCursorTextPos() const { return m_ptCursor; }
    void SetCursorTextPos(TextPos pt);
    void SetSelectionAnchor(TextPos pt) { m_ptSelAnchor = pt; }
    TextPos GetSelectionAnchor() const { return m_ptSelAnchor; }
    void SetSelection(TextPos start, TextPos end);
    void GetSelection(TextPos& start, TextPos& end);
    void NormaliseSelection();
    bool IsInSelection(TextPos pt) const;
    bool IsSelectionEmpty() const { return m_ptSelStart == m_ptSelEnd; }
    void PlaceCaret();
    void HideTextCaret();
    void ShowTextCaret();
    // Where the caret is drawn, in viewport pixels; empty while hidden.
    QRect CaretRect() const { return m_caretVisible ? m_caretRect : QRect(); }
    void ScrollIntoView(TextPos pt);
    void ScrollColumnLeft();
    void ScrollColumnRight();
    void SelectAllText();

    // Flags line as the running line and brings it into view.
    void MarkRunningLine(int line);

    // ---- Mouse selection and copy.
    void CopySelection();
    TextPos WordStartBefore(TextPos pt) const;
    TextPos WordEndAfter(TextPos pt) const;
    // Half a cell to the right: a click goes to the nearest boundary.
    void AdjustClickPoint(QPoint& client);
    bool IsMouseSelecting() const { return m_bMouseSelecting; }
    bool IsDragSourceActive() const { return m_bDragSourceActive; }
    TextPos GetDragStart() const { return m_ptDragStart; }
    TextPos GetDragEnd() const { return m_ptDragEnd; }
    static constexpr int kAutoScrollPeriod = 100;  // ms, while selecting outside the window
    // The caret blinks this long after it was last placed, then stays lit.
    static constexpr int kCaretBlinkTimeout = 10000;  // ms
    void SetCaretBlinkTimeout(int ms) { m_nCaretBlinkTimeout = ms; }
    bool IsCaretBlinking() const { return m_caretTimer != 0; }

    // ---- Scrolling.
    void ScrollToLine(int newFirst, bool updateScrollBar);
    void ScrollToColumn(int newFirst, bool updateScrollBar);
    void UpdateVertScrollBar(bool positionOnly);
    void UpdateHorzScrollBar(bool positionOnly);
    // Scroll-bar codes, as the bars report them.
    enum ScrollCode
    {
        SB_LINEUP,
        SB_LINEDOWN,
        SB_PAGEUP,
        SB_PAGEDOWN,
        SB_THUMBPOSITION,
        SB_THUMBTRACK,
        SB_TOP,
        SB_BOTTOM,
        SB_ENDSCROLL,
    };
    void OnVScroll(int code, int trackPosition = 0);
    void OnHScroll(int code, int trackPosition = 0);

    // The cookie of line (0 for a line before the first), from the cache or
    // by parsing forward from the last line whose cookie is known.
    ParseCookie GetParseCookie(int line);
    // How many lines, from the top, have a known cookie.
    int KnownCookieCount() const { return m_nCookiesKnown; }
    // Lines at least this long keep an index of points along them.
    static constexpr int kIndexedLineBytes = 4 * LongLineIndex::kSegmentBytes;
    // The index of a long line (made on first use); null for a short one.
    LongLineIndex* LineIndex(int line) const;

    // While set, change notifications leave that scroll bar alone.
    bool m_bFreezeVertBar = false;
    bool m_bFreezeHorzBar = false;
    // Draw the selection although the view has no focus.
    bool m_bShowSelUnfocused = false;

    // ---- Search (TextViewSearch.cpp).  Flags of a search:
    enum : uint32_t
    {
        FIND_MATCH_CASE = 0x0001,
        FIND_WHOLE_WORD = 0x0002,
        FIND_BACKWARD = 0x0010,
    };
    // Searches the whole text; see FindTextInRange.
    bool FindTextInDocument(std::string_view text, TextPos start, uint32_t flags, bool wrap, TextPos* found);
    // The first match that lies inside [blockBegin, blockEnd) at or after
    // start; backwards, the last one that begins before start.  With wrap a
    // search that reaches the block's end (or start) goes on from its other
    // end.  An empty text matches nowhere.
    bool FindTextInRange(std::string_view text, TextPos start, TextPos blockBegin, TextPos blockEnd,
                         uint32_t flags, bool wrap, TextPos* found);
    // The offset of the first occurrence of what in line at or after from
    // that ends by limit, or -1.  Whole word: the bytes around it in the
    // line are no word characters.  Without match case the ASCII letters
    // match either case.
    static int FindInLine(std::string_view line, int from, int limit, std::string_view what, bool wholeWord,
                          bool matchCase);
    bool SelectFoundText(TextPos pos, int length);
    // Tells the user that text was not found.
    void ReportNotFound(std::string_view text);
    // Where a backward search from pt starts: the start of the selection
    // when pt is its end, so that the selected match is not found again.
    TextPos BackwardSearchStart(TextPos pt);
    // The remembered search of this view (the last Find).
    bool IsFindRepeatable() const { return m_bFindRepeatable; }
    uint32_t GetFindFlags() const { return m_dwFindFlags; }
    bool HaveBookmarks() const { return m_bHaveBookmarks; }

    // ---- Printing (TextViewPrint.cpp).  Pages hold whole lines, each
    // word-wrapped inside the margins, and a footer "Page n/m".
    void OnBeginPrinting(QPainter& dc, CPrintInfo* info) override;
    void OnPrepareDC(QPainter& dc, CPrintInfo* info) override;
    void OnPrint(QPainter& dc, CPrintInfo* info) override;
    void OnEndPrinting(QPainter& dc, CPrintInfo* info) override;
    virtual void DrawPageHeader(QPainter& dc, int page);
    virtual void DrawPageFooter(QPainter& dc, int page);
    virtual void GetPageHeaderText(int page, QString& text);
    virtual void GetPageFooterText(int page, QString& text);
    void PaginateDocument(QPainter& dc, CPrintInfo* info);
    int MeasurePrintLine(QPainter& dc, int line);
    int GetPageCount() const { return m_nPageCount; }
    int GetPageFirstLine(int page) const { return m_pageFirstLine[size_t(page - 1)]; }
    int GetPrintRowHeight() const { return m_nPrintRowHeight; }
    QRect GetPrintTextRect() const { return m_rcPrintText; }
    // The margins of printed pages, hundredths of a millimetre, from the
    // profile (10 mm each unless set): left, top, right, bottom.
    static QRect PrintMargins();
    void OnFilePageSetup();
    void OnFilePrintCommand(int id) { OnFilePrint(id); }

    // ---- Commands.
    void OnEditFind();
    void OnEditRepeat();
    void OnEditFindPrevious();
    void OnUpdateEditRepeat(CCmdUI* ui);
    void OnToggleBookmark(int id);
    void OnGoBookmark(int id);
    void OnClearBookmarks();
    void OnToggleBookmarkUnnumbered();
    void OnNextBookmark();
    void OnPrevBookmark();
    void OnClearAllBookmarks();
    void OnUpdateHaveBookmarks(CCmdUI* ui);
    void OnMove(int id);
    void OnSelectAll();
    void OnEditCopy();
    void OnUpdateEditCopy(CCmdUI* ui);
    void OnUpdateAlwaysEnabled(CCmdUI* ui);
    void OnUpdateIndicatorPosition(CCmdUI* ui);
    void OnUpdateIndicatorCrlf(CCmdUI* ui);

    DECLARE_COMMAND_MAP()

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

    // The command of key in the view's accelerator table, or 0.
    int AcceleratorCommand(const QKeyEvent* event) const;

protected:
    QWidget* PrintDialogParent() override { return this; }

private:
    // The text of line as printed: tabs expanded, decoded from GBK.
    QString PrintLineText(int line) const;
    // Find next and find previous: the remembered search, forwards from the
    // cursor or backwards from the selection.
    void RepeatFind(bool backward);
    // Selects (0, line) with the cursor there, scrolled into view.
    void GoToLine(int line);
    void MeasureFont();
    // The selection of a mouse gesture: from anchor to pt, grown to whole
    // words when words is set; returns the end the cursor goes to.
    TextPos MouseSelectionTo(TextPos pt, bool words);
    void StartMouseSelection(bool words, bool lines);
    void StopMouseSelection();
    void OnAutoScrollTimer();
    void UpdatePointerShape(QPoint client);
    void StartDrag();
    // Runs of bytes are drawn from a point of the line, which they move on;
    // x follows from its column.
    void DrawSegment(QPainter& painter, LinePoint& at, const QRect& rect, const QRect& clip, const char* chars,
                     int count, int line);
    void DrawSegmentText(QPainter& painter, LinePoint& at, const QRect& rect, const QRect& clip, const char* chars,
                         int count);
    // The colour runs of bytes [from, to) of line into m_runs, the first
    // starting at from.
    void ColourSpan(int line, int from, int to);
    bool CanResumeColouring(int line);
    // Parsing without runs, to find the states along a long line.
    LongLineIndex::Advance ParseAdvance(int line);
    // The index of line when it has one that fits it; none is made.  Most
    // programs have no long line: then not even the line is looked at.
    LongLineIndex* KnownLineIndex(int line) const { return m_lineIndexes.empty() ? nullptr : FindLineIndex(line); }
    LongLineIndex* FindLineIndex(int line) const;
    // Room for count blocks in m_blocks.
    ColourBlock* BlockRoom(size_t count);
    // Where a walk towards byte (or towards column) starts: the line's
    // start, or a point of a long line's index.
    LinePoint WalkStartForByte(int line, int byte) const;
    LinePoint WalkStartForColumn(int line, int column) const;
    // The point before the first byte whose column after it reaches column;
    // the line's end when no byte does.
    LinePoint BeforeByteReaching(int line, int column) const;
    // Long-line indexes follow an edit, or are dropped for lines it remade.
    void UpdateLineIndexes(const EditAdjuster* adjuster, uint32_t hints);
    int MarginIcon(uint32_t flags) const;
    void EnsureWidthCache();
    void UpdateWidthsAfterEdit(const EditAdjuster* adjuster, uint32_t hints, int line);
    int MeasureLine(int line) const;
    void MoveLeft(bool extend);
    void MoveRight(bool extend);
    void MoveWordLeft(bool extend);
    void MoveWordRight(bool extend);
    void MoveUp(bool extend);
    void MoveDown(bool extend);
    void MovePageUp(bool extend);
    void MovePageDown(bool extend);
    void MoveHome(bool extend);
    void MoveEnd(bool extend);
    void MoveCtrlHome(bool extend);
    void MoveCtrlEnd(bool extend);
    void ScrollUp();
    void ScrollDown();
    // Common end of a movement: remember the column if asked, scroll the
    // cursor into view, place the caret, move the anchor unless extending,
    // select anchor..cursor.
    void FinishMove(bool extend, bool rememberColumn);
    // Orders the selection and, unless extending, collapses a non-empty one
    // onto its start (toStart) or end.  True when it collapsed.
    bool CollapseSelection(bool extend, bool toStart);
    // Range, page and position of one bar over count lines (or columns) of
    // which page are visible; first is the view's first row (or column).
    void SetUpScrollBar(QScrollBar* bar, int& first, int count, int page, bool positionOnly);
    // The horizontal bar needs every line's width: after a new text it is
    // set up once the first paint is on screen.
    void UpdateHorzScrollBarSoon();

    int m_nRowHeight = -1;
    int m_nCellWidth = -1;
    int m_nTabWidth = 4;
    int m_nVisibleRows = -1;
    int m_nVisibleColumns = -1;
    int m_nWidestLine = -1;
    int m_nRememberedColumn = -1;
    bool m_bHasFocus = false;
    bool m_bCaretHidden = false;
    TextPos m_ptSelAnchor;
    LogFont m_lfBase;
    std::array<std::optional<QFont>, 4> m_apFontVariants;
    // The same fonts as glyph sources: text is laid out cell by cell, not by
    // the font's own (fractional) advances.
    std::array<std::optional<QRawFont>, 4> m_rawFonts;
    const QRawFont* m_pRunFont = nullptr;
    // Cookies of lines 0 .. m_nCookiesKnown - 1 are known; every change
    // forgets from its first line down, which is all a watermark needs.
    std::vector<ParseCookie> m_cookieCache;
    int m_nCookiesKnown = 0;
    LineWidthCache m_widthCache;
    mutable std::map<int, LongLineIndex> m_lineIndexes;
    int m_nResumable = -1;  // whether ResumeColouring works; -1 not yet asked
    // Room for the parse's blocks, reused; not cleared, since a whole long
    // line may need megabytes of it.
    std::unique_ptr<ColourBlock[]> m_blocks;
    size_t m_nBlockRoom = 0;
    std::vector<ColourBlock> m_runs;  // the runs being drawn
    TextPos m_ptNormSelStart, m_ptNormSelEnd;
    TextPos m_ptCursor;
    TextPos m_ptSelStart, m_ptSelEnd;
    QPixmap m_marginIcons;
    CTextBuffer* m_pBuffer = nullptr;
    int m_nFirstRow = 0;
    int m_nFirstColumn = 0;
    // The caret, drawn by the view: its rectangle and blink phase.
    QRect m_caretRect;
    bool m_caretVisible = false;
    bool m_caretOn = true;
    int m_caretTimer = 0;
    int m_nCaretBlinkPeriod = 0;
    int m_nCaretBlinkTime = 0;  // ms blinked since the caret was placed
    int m_nCaretBlinkTimeout = kCaretBlinkTimeout;
    bool m_bHorzBarPending = false;
    // Mouse selection: the gesture's mode, the auto-scroll timer, where the
    // pointer was last seen.  A press inside the selection arms a drag.
    bool m_bMouseSelecting = false;
    bool m_bSelectingWords = false;
    bool m_bSelectingLines = false;
    int m_nAutoScrollTimer = 0;
    QPoint m_ptPointer;
    bool m_bMaybeDragStart = false;
    QPoint m_ptDragPress;
    bool m_bDragSourceActive = false;
    TextPos m_ptDragStart, m_ptDragEnd;
    enum class Pointer { None, Margin, Arrow, IBeam } m_pointer = Pointer::None;
    // The last Find of this view: whether there is one, its text and flags.
    bool m_bFindRepeatable = false;
    std::optional<std::string> m_findText;
    uint32_t m_dwFindFlags = 0;
    // Some line carries an unnumbered bookmark, as this view's commands know.
    bool m_bHaveBookmarks = false;
    // The print job: its font (none outside a job), row height, page and
    // text areas, and the first line of each page (empty until paginated).
    std::optional<QFont> m_pPrinterFont;
    int m_nPrintRowHeight = 0;
    QRect m_rcPage;
    QRect m_rcPrintText;
    int m_nPageCount = 0;
    std::vector<int> m_pageFirstLine;
    bool m_bPageHeader = false;
    bool m_bPageFooter = true;
    // The printer font's cell width when it is fixed-pitch, so that a line
    // of ASCII bytes is measured by its columns; 0: every line is laid out.
    int m_nPrintCellWidth = 0;
};
