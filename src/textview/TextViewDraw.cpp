// Text view: measuring, fonts, colours, the parse cookies and width caches,
// painting rows, and the mapping between text positions and pixels.
#include <QFocusEvent>
#include <QFontMetrics>
#include <QPaintEvent>
#include <QGlyphRun>
#include <QPainter>
#include <QStringDecoder>
#include <algorithm>
#include <cstring>

#include "CTextBuffer.h"
#include "CTextView.h"
#include "Resources.h"
#include "ids.h"

namespace {

// The face that every byte fits in one cell of, and a double-byte character
// in two.  The program's fonts name Windows faces; they all become this one.
const char* const kFixedFace = "Noto Sans Mono CJK SC";
constexpr int kDefaultPixelSize = 15;

QString DecodeGbkPair(const char* pair)
{
    // Whole pairs only, so the decoder never carries state between calls.
    static QStringDecoder decoder("GBK");
    return decoder.isValid() ? QString(decoder.decode(QByteArrayView(pair, 2))) : QString();
}

}  // namespace

// ---- Measuring and fonts.

void CTextView::MeasureFont()
{
    const QFontMetrics metrics(GetViewFont(false, false));
    m_nRowHeight = std::max(1, metrics.height());
    m_nCellWidth = std::max(1, metrics.horizontalAdvance(QLatin1Char('X')));
}

int CTextView::GetRowHeight()
{
    if (m_nRowHeight == -1)
        MeasureFont();
    return m_nRowHeight;
}

int CTextView::GetCellWidth()
{
    if (m_nCellWidth == -1)
        MeasureFont();
    return m_nCellWidth;
}

int CTextView::GetVisibleRows()
{
    if (m_nVisibleRows == -1)
        m_nVisibleRows = viewport()->height() / GetRowHeight();
    return m_nVisibleRows;
}

int CTextView::GetVisibleColumns()
{
    if (m_nVisibleColumns == -1)
        m_nVisibleColumns = std::max(0, viewport()->width() - kMarginWidth) / GetCellWidth();
    return m_nVisibleColumns;
}

int CTextView::GetWidestLineColumns()
{
    if (m_nWidestLine == -1) {
        EnsureWidthCache();
        m_nWidestLine = m_widthCache.Widest();
    }
    return m_nWidestLine;
}

const QFont& CTextView::GetViewFont(bool italic, bool bold)
{
    std::optional<QFont>& variant = m_apFontVariants[(bold ? 1 : 0) + (italic ? 2 : 0)];
    if (!variant) {
        QFont font(QString::fromLatin1(kFixedFace));
        font.setStyleHint(QFont::TypeWriter);
        font.setFixedPitch(true);
        font.setKerning(false);
        if (m_lfBase.lfHeight != 0)
            font.setPixelSize(std::abs(m_lfBase.lfHeight));
        else
            font.setPixelSize(kDefaultPixelSize);
        font.setWeight(bold ? QFont::Bold : QFont::Normal);
        font.setItalic(italic);
        font.setUnderline(m_lfBase.lfUnderline);
        font.setStrikeOut(m_lfBase.lfStrikeOut);
        variant = font;
    }
    return *variant;
}

void CTextView::SetViewFont(const LogFont& font)
{
    m_lfBase = font;
    m_nRowHeight = m_nCellWidth = m_nVisibleRows = m_nVisibleColumns = -1;
    for (auto& variant : m_apFontVariants)
        variant.reset();
    for (auto& raw : m_rawFonts)
        raw.reset();
    UpdateVertScrollBar(false);
    UpdateHorzScrollBar(false);
    PlaceCaret();
    viewport()->update();
}

// ---- Buffer access.

int CTextView::GetLineCount() const
{
    return m_pBuffer ? m_pBuffer->LineCount() : 1;
}

int CTextView::GetLineLength(int line) const
{
    return m_pBuffer ? m_pBuffer->LineLength(line) : 0;
}

const char* CTextView::GetLineChars(int line) const
{
    return m_pBuffer ? m_pBuffer->LineChars(line) : nullptr;
}

uint32_t CTextView::GetLineFlags(int line) const
{
    return m_pBuffer ? m_pBuffer->LineFlags(line) : 0;
}

// ---- Columns, and the index of long lines.

LongLineIndex* CTextView::FindLineIndex(int line) const
{
    const int length = GetLineLength(line);
    if (length < kIndexedLineBytes)
        return nullptr;
    const auto it = m_lineIndexes.find(line);
    return it != m_lineIndexes.end() && it->second.Length() == length ? &it->second : nullptr;
}

LongLineIndex* CTextView::LineIndex(int line) const
{
    if (LongLineIndex* index = KnownLineIndex(line))
        return index;
    const int length = GetLineLength(line);
    if (length < kIndexedLineBytes)
        return nullptr;
    // None yet, or one that an edit missed: made from the line as it is.
    return &m_lineIndexes.insert_or_assign(line, LongLineIndex({GetLineChars(line), size_t(length)}, m_nTabWidth))
                .first->second;
}

LinePoint CTextView::WalkStartForByte(int line, int byte) const
{
    const LongLineIndex* index = LineIndex(line);
    return index ? index->PointAtOrBefore(byte) : LinePoint();
}

LinePoint CTextView::WalkStartForColumn(int line, int column) const
{
    const LongLineIndex* index = LineIndex(line);
    return index ? index->PointBeforeColumn(column) : LinePoint();
}

int CTextView::CharToColumn(int line, int byteIndex) const
{
    if (byteIndex < 1)
        return 0;
    const int length = std::min(byteIndex, GetLineLength(line));
    const char* chars = GetLineChars(line);
    LinePoint point = WalkStartForByte(line, length);
    int column = point.column;
    for (int i = point.byte; i < length; ++i)
        column = NextColumn(column, chars[i], m_nTabWidth);
    // Past the end of the line every byte counts one.
    return column + (byteIndex - length);
}

LinePoint CTextView::BeforeByteReaching(int line, int column) const
{
    const char* chars = GetLineChars(line);
    const int length = GetLineLength(line);
    LinePoint point = WalkStartForColumn(line, column);
    while (point.byte < length && NextColumn(point.column, chars[point.byte], m_nTabWidth) < column)
        point.Step(chars, m_nTabWidth);
    return point;
}

int CTextView::MeasureLine(int line) const
{
    if (const LongLineIndex* index = KnownLineIndex(line))
        return index->EndColumn();
    const char* chars = GetLineChars(line);
    const int length = GetLineLength(line);
    // Most lines have no tab: their width is their length.  Between tabs the
    // column grows by the bytes.
    int column = 0, i = 0;
    while (const void* tab = chars ? std::memchr(chars + i, '\t', size_t(length - i)) : nullptr) {
        const int at = int(static_cast<const char*>(tab) - chars);
        column = NextColumn(column + (at - i), '\t', m_nTabWidth);
        i = at + 1;
    }
    return column + (length - i);
}

void CTextView::EnsureWidthCache()
{
    m_widthCache.Build(GetLineCount(), [this](int line) { return MeasureLine(line); });
}

int CTextView::GetLineDisplayWidth(int line)
{
    EnsureWidthCache();
    return m_widthCache.Width(line);
}

// ---- Colours.

QColor CTextView::GetIndexColour(int colourIndex) const
{
    // System colours are read at each call, so a palette change only needs
    // a repaint.
    switch (colourIndex) {
    case ColourEmptyArea:
    case ColourBackground:
        return palette().color(QPalette::Base);
    case ColourNormalText:
        return palette().color(QPalette::Text);
    case ColourMargin:
        return palette().color(QPalette::Button);
    case ColourSelBackground:
        return QColor(0, 128, 128);
    case ColourSelText:
        return QColor(255, 255, 255);
    case ColourKeyword:
        return QColor(0, 0, 255);
    case ColourComment:
        return QColor(0, 128, 20);
    case ColourNumber:
        return QColor(255, 0, 255);
    case ColourOperator:
        return QColor(0, 0, 0);
    case ColourString:
        return QColor(255, 0, 0);
    case ColourDirective:
        return QColor(0, 128, 192);
    default:
        return QColor(255, 0, 0);
    }
}

void CTextView::GetLineColourOverride(int line, QColor& background, QColor& text, bool& fillToEdge) const
{
    background = text = QColor();
    fillToEdge = false;
    const uint32_t flags = GetLineFlags(line);
    static const std::pair<uint32_t, QColor> kOverrides[] = {
        {LINEFLAG_RUNNING, QColor(0, 128, 0)},
        {0x00020000, QColor(255, 0, 0)},
        {0x00100000, QColor(128, 128, 0)},
    };
    for (const auto& [mask, colour] : kOverrides) {
        if (flags & mask) {
            background = colour;
            text = QColor(255, 255, 255);
            fillToEdge = true;
            return;
        }
    }
}

bool CTextView::IsIndexItalic(int) const
{
    return false;
}

bool CTextView::IsIndexBold(int) const
{
    return false;
}

int CTextView::MarginIcon(uint32_t flags) const
{
    static const uint32_t kOrder[] = {0x10000, 0x20000, 0x40000, 0x2,   0x4,   0x8,     0x10,    0x20,
                                      0x40,    0x80,    0x100,   0x200, 0x1,   0x80000, 0x100000};
    for (int i = 0; i < int(std::size(kOrder)); ++i)
        if (flags & kOrder[i])
            return i;
    return -1;
}

// ---- Parse cookies.

ParseCookie CTextView::ColouriseLine(ParseCookie, int, ColourBlock*, int&)
{
    return 0;
}

bool CTextView::ResumeColouring(int, LineParseState&, int, int, ColourBlock*, int, int&)
{
    return false;
}

bool CTextView::CanResumeColouring(int line)
{
    if (m_nResumable < 0) {
        LineParseState probe;
        int count = 0;
        m_nResumable = ResumeColouring(line, probe, 0, 0, nullptr, 0, count) ? 1 : 0;
    }
    return m_nResumable == 1;
}

LongLineIndex::Advance CTextView::ParseAdvance(int line)
{
    return [this, line](LineParseState& state, int from, int to) {
        int count = 0;
        ResumeColouring(line, state, from, to, nullptr, 0, count);
    };
}

ColourBlock* CTextView::BlockRoom(size_t count)
{
    if (m_nBlockRoom < count) {
        m_blocks = std::make_unique_for_overwrite<ColourBlock[]>(count);
        m_nBlockRoom = count;
    }
    return m_blocks.get();
}

ParseCookie CTextView::GetParseCookie(int line)
{
    if (line < 0)
        return 0;
    if (m_cookieCache.size() != size_t(GetLineCount())) {
        m_cookieCache.resize(size_t(GetLineCount()));
        m_nCookiesKnown = std::min(m_nCookiesKnown, GetLineCount());
    }
    while (m_nCookiesKnown <= line) {
        const int next = m_nCookiesKnown;
        const ParseCookie cookie = next > 0 ? m_cookieCache[size_t(next - 1)] : 0;
        // A long line that has been drawn knows its parse states: the end
        // is a segment's parse away.  Any other line is parsed for its
        // cookie alone, the parse's fastest.
        LongLineIndex* index = KnownLineIndex(next);
        if (index && CanResumeColouring(next)) {
            m_cookieCache[size_t(next)] = index->EndCookie(cookie, ParseAdvance(next));
        } else {
            int count = 0;
            m_cookieCache[size_t(next)] = ColouriseLine(cookie, next, nullptr, count);
        }
        ++m_nCookiesKnown;
    }
    return m_cookieCache[size_t(line)];
}

void CTextView::ColourSpan(int line, int from, int to)
{
    const int length = GetLineLength(line);
    LongLineIndex* index = LineIndex(line);
    int parsedFrom = 0;
    int colour = ColourNormalText;
    int count = 0;
    ColourBlock* blocks = nullptr;
    if (index && CanResumeColouring(line)) {
        // From the parse state at the nearest point before the span.
        LineParseState state = index->StateAtOrBefore(from, GetParseCookie(line - 1), ParseAdvance(line), parsedFrom);
        if (parsedFrom > 0)
            colour = state.colour;
        const int room = 3 * (to - parsedFrom) + 3;
        blocks = BlockRoom(size_t(room));
        ResumeColouring(line, state, parsedFrom, to, blocks, room, count);
        count = std::clamp(count, 0, room);
    } else {
        blocks = BlockRoom(size_t(length) * 3);
        const ParseCookie next = ColouriseLine(GetParseCookie(line - 1), line, blocks, count);
        count = std::clamp(count, 0, length * 3);
        if (line < int(m_cookieCache.size()) && line <= m_nCookiesKnown) {
            m_cookieCache[size_t(line)] = next;
            m_nCookiesKnown = std::max(m_nCookiesKnown, line + 1);
        }
    }
    // The run in effect at from, then those that start before to; runs
    // never go back.
    int k = 0;
    while (k < count && blocks[k].CharPos <= from)
        colour = blocks[k++].ColourIndex;
    m_runs.clear();
    m_runs.push_back({from, colour});
    for (; k < count && blocks[k].CharPos < to; ++k)
        m_runs.push_back({std::max(blocks[k].CharPos, m_runs.back().CharPos), blocks[k].ColourIndex});
}

// ---- Painting.

void CTextView::paintEvent(QPaintEvent* event)
{
    QPainter painter(viewport());
    const QRect client = viewport()->rect();
    const QRect update = event->rect();
    const int rowHeight = GetRowHeight();
    NormaliseSelection();
    const int lineCount = GetLineCount();
    // Only the rows, and the cells of them, that the update touches: a
    // caret blink draws one cell.
    const int firstRow = update.top() / rowHeight;
    const int lastRow = update.bottom() / rowHeight;
    for (int row = firstRow; row <= lastRow && row * rowHeight < client.bottom() + 1; ++row) {
        const int top = row * rowHeight;
        const int line = m_nFirstRow + row < lineCount ? m_nFirstRow + row : -1;
        const QRect margin(0, top, kMarginWidth, rowHeight);
        const QRect text(kMarginWidth, top, std::max(0, client.width() - kMarginWidth), rowHeight);
        if (margin.intersects(update)) {
            painter.setClipRect(margin & update);
            DrawMarginCell(painter, margin, line);
        }
        if (text.intersects(update)) {
            painter.setClipRect(text & update);
            DrawTextLine(painter, text, line);
        }
    }
    painter.setClipping(false);
    if (m_caretVisible && m_caretOn)
        painter.fillRect(m_caretRect, GetIndexColour(ColourNormalText));
}

void CTextView::DrawMarginCell(QPainter& painter, const QRect& rect, int line)
{
    painter.fillRect(rect, GetIndexColour(ColourMargin));
    if (line < 0)
        return;
    const int icon = MarginIcon(GetLineFlags(line));
    if (icon < 0)
        return;
    if (m_marginIcons.isNull())
        m_marginIcons = QPixmap::fromImage(LoadBitmapResource(IDB_MARGIN_ICONS));
    // The strip has fourteen icons; the fifteenth mask has none to draw.
    if ((icon + 1) * kMarginIconSize > m_marginIcons.width())
        return;
    painter.drawPixmap(rect.left() + 2, rect.top() + (rect.height() - kMarginIconSize) / 2, m_marginIcons,
                       icon * kMarginIconSize, 0, kMarginIconSize, kMarginIconSize);
}

void CTextView::DrawTextLine(QPainter& painter, const QRect& rect, int line)
{
    if (line < 0) {
        painter.fillRect(rect, GetIndexColour(ColourEmptyArea));
        return;
    }
    QColor background, text;
    bool fillToEdge = false;
    GetLineColourOverride(line, background, text, fillToEdge);
    if (!background.isValid())
        background = GetIndexColour(ColourBackground);
    const bool showSelection = m_bHasFocus || m_bShowSelUnfocused;
    const int cellWidth = GetCellWidth();
    const int length = GetLineLength(line);
    QRect rest = rect;

    if (length > 0) {
        const int endX = rect.left() + (MeasureLine(line) - m_nFirstColumn) * cellWidth;
        // Only the cells the painter may touch are laid out and coloured.
        // The span starts at the byte that covers the first of them (the
        // lead, when that is the second half of a character) and ends a byte
        // after the one that covers the last, so that a character there is
        // whole.
        const QRect clip = (painter.hasClipping() ? painter.clipBoundingRect().toAlignedRect() : rect) & rect;
        if (!clip.isEmpty() && clip.left() < endX) {
            const char* chars = GetLineChars(line);
            const int leftColumn = m_nFirstColumn + std::max(0, clip.left() - rect.left()) / cellWidth;
            const int rightColumn = m_nFirstColumn + (clip.right() - rect.left()) / cellWidth;
            LinePoint at = BeforeByteReaching(line, leftColumn + 1);
            if (at.byte < length && at.IsTrail(chars))
                at = {at.byte - 1, at.column - 1, false};
            const int to = std::min(length, BeforeByteReaching(line, rightColumn + 1).byte + 2);
            ColourSpan(line, at.byte, to);

            for (size_t i = 0; i < m_runs.size(); ++i) {
                const int colourIndex = m_runs[i].ColourIndex;
                const int end = i + 1 < m_runs.size() ? m_runs[i + 1].CharPos : to;
                painter.setPen(text.isValid() ? text : GetIndexColour(colourIndex));
                painter.setBrush(background);
                const bool italic = IsIndexItalic(colourIndex), bold = IsIndexBold(colourIndex);
                painter.setFont(GetViewFont(italic, bold));
                std::optional<QRawFont>& raw = m_rawFonts[(bold ? 1 : 0) + (italic ? 2 : 0)];
                if (!raw)
                    raw = QRawFont::fromFont(painter.font());
                m_pRunFont = &*raw;
                DrawSegment(painter, at, rect, clip, chars, end - at.byte, line);
            }
        }
        rest.setLeft(std::max(endX, rect.left()));
    }
    // The line break (or the empty line) shows one selected cell.
    if (showSelection && IsInSelection({length, line}) && rest.left() <= rect.right()) {
        painter.fillRect(QRect(rest.left(), rect.top(), cellWidth, rect.height()),
                         GetIndexColour(ColourSelBackground));
        rest.setLeft(rest.left() + cellWidth);
    }
    if (rest.left() <= rect.right())
        painter.fillRect(rest, fillToEdge ? background : GetIndexColour(ColourEmptyArea));
}

void CTextView::DrawSegment(QPainter& painter, LinePoint& at, const QRect& rect, const QRect& clip,
                            const char* chars, int count, int line)
{
    if (count <= 0)
        return;
    if (!m_bHasFocus && !m_bShowSelUnfocused) {
        DrawSegmentText(painter, at, rect, clip, chars, count);
        return;
    }
    const int offset = at.byte;
    auto inside = [&](TextPos edge) {
        if (edge.y < line)
            return 0;
        if (edge.y > line)
            return count;
        return std::clamp(edge.x - offset, 0, count);
    };
    const int selBegin = inside(m_ptNormSelStart);
    const int selEnd = inside(m_ptNormSelEnd);
    DrawSegmentText(painter, at, rect, clip, chars, selBegin);
    if (selBegin < selEnd) {
        const QPen pen = painter.pen();
        const QBrush brush = painter.brush();
        painter.setPen(GetIndexColour(ColourSelText));
        painter.setBrush(GetIndexColour(ColourSelBackground));
        DrawSegmentText(painter, at, rect, clip, chars, selEnd - selBegin);
        painter.setPen(pen);
        painter.setBrush(brush);
    }
    DrawSegmentText(painter, at, rect, clip, chars, count - selEnd);
}

void CTextView::DrawSegmentText(QPainter& painter, LinePoint& at, const QRect& rect, const QRect& clip,
                                const char* chars, int count)
{
    if (count <= 0)
        return;
    // The pen is the text colour, the brush the cells' background.  Each
    // cell is painted, so nothing needs erasing first.
    const int cellWidth = GetCellWidth();
    const int rowHeight = GetRowHeight();
    const QFontMetrics metrics(painter.font());
    const int baseline = rect.top() + metrics.ascent();
    auto cellX = [&](int column) { return rect.left() + (column - m_nFirstColumn) * cellWidth; };

    // Plain characters are collected and drawn as one glyph run, each glyph
    // placed at its own cell.
    QString ascii;
    int asciiColumn = 0;
    auto flushAscii = [&] {
        if (ascii.isEmpty())
            return;
        if (m_pRunFont && m_pRunFont->isValid()) {
            QList<quint32> glyphs = m_pRunFont->glyphIndexesForString(ascii);
            QList<QPointF> positions;
            positions.reserve(glyphs.size());
            for (qsizetype k = 0; k < glyphs.size(); ++k)
                positions.append(QPointF(cellX(asciiColumn + int(k)), baseline));
            QGlyphRun run;
            run.setRawFont(*m_pRunFont);
            run.setGlyphIndexes(glyphs);
            run.setPositions(positions);
            painter.drawGlyphRun(QPointF(0, 0), run);
        } else {
            for (qsizetype k = 0; k < ascii.size(); ++k)
                painter.drawText(QPoint(cellX(asciiColumn + int(k)), baseline), QString(ascii[k]));
        }
        ascii.clear();
    };
    // A trail byte whose lead lies in an earlier run is drawn as a
    // placeholder, like its lead; pairs form only inside a run.
    const int start = at.byte;
    const bool splitTrail = at.IsTrail(chars);
    const int end = start + count;
    while (at.byte < end) {
        const int i = at.byte;
        const int column = at.column;
        if (cellX(column) > clip.right())
            break;
        const auto c = static_cast<unsigned char>(chars[i]);
        enum { Text, Blank, Glyph, Placeholder } kind = Text;
        if (c == '\t')
            kind = Blank;
        else if (i == start && splitTrail)
            kind = Placeholder;
        else if (IsGbkLead(c) && i + 1 < end && IsGbkTrail(static_cast<unsigned char>(chars[i + 1])))
            kind = Glyph;
        else if (c >= 0x80 || c < 0x20 || c == 0x7F)
            kind = Placeholder;
        at.Step(chars, m_nTabWidth);
        if (kind == Glyph)
            at.Step(chars, m_nTabWidth);
        const int cells = at.column - column;
        if (cellX(at.column) <= clip.left()) {
            flushAscii();
            continue;
        }
        const QRect cellRect(cellX(column), rect.top(), cells * cellWidth, rowHeight);
        if (kind == Text) {
            if (ascii.isEmpty())
                asciiColumn = column;
            painter.fillRect(cellRect, painter.brush());
            ascii.append(QLatin1Char(char(c)));
            continue;
        }
        flushAscii();
        painter.fillRect(cellRect, painter.brush());
        if (kind == Glyph) {
            const QString glyph = DecodeGbkPair(chars + i);
            if (!glyph.isEmpty())
                painter.drawText(cellRect, Qt::AlignCenter, glyph);
        } else if (kind == Placeholder) {
            const QRect box =
                cellRect.adjusted(cellWidth / 4, rowHeight / 4, -cellWidth / 4 - 1, -rowHeight / 4 - 1);
            const QBrush brush = painter.brush();
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(box);
            painter.setBrush(brush);
        }
    }
    flushAscii();
    // Past the clip the run still moves the point over its bytes.
    while (at.byte < end)
        at.Step(chars, m_nTabWidth);
}

// ---- Positions and pixels.

QPoint CTextView::TextPosToPoint(TextPos text)
{
    return QPoint(kMarginWidth + (CharToColumn(text.y, text.x) - m_nFirstColumn) * GetCellWidth(),
                  (text.y - m_nFirstRow) * GetRowHeight());
}

TextPos CTextView::PointToTextPos(QPoint client)
{
    int line = m_nFirstRow + client.y() / GetRowHeight();
    if (client.y() < 0)
        line = m_nFirstRow + (client.y() - GetRowHeight() + 1) / GetRowHeight();
    line = std::max(0, std::min(line, GetLineCount() - 1));
    if (GetLineLength(line) == 0)
        return {0, line};
    // The byte whose cells hold the target column.
    const int target = m_nFirstColumn + std::max(0, (client.x() - kMarginWidth) / GetCellWidth());
    return {BeforeByteReaching(line, target + 1).byte, line};
}

void CTextView::InvalidateLines(int first, int last)
{
    const int rowHeight = GetRowHeight();
    if (last == -1) {
        const int top = std::max(0, (first - m_nFirstRow) * rowHeight);
        viewport()->update(QRect(0, top, viewport()->width(), std::max(0, viewport()->height() - top)));
        return;
    }
    if (first > last)
        std::swap(first, last);
    const int top = (first - m_nFirstRow) * rowHeight;
    const int bottom = (last - m_nFirstRow + 1) * rowHeight;
    viewport()->update(QRect(0, top, viewport()->width(), bottom - top));
}

// ---- Focus and palette.

void CTextView::focusInEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusInEvent(event);
    m_bHasFocus = true;
    if (!IsSelectionEmpty())
        InvalidateLines(m_ptSelStart.y, m_ptSelEnd.y);
    PlaceCaret();
}

void CTextView::focusOutEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusOutEvent(event);
    m_bHasFocus = false;
    StopMouseSelection();
    PlaceCaret();
    if (!IsSelectionEmpty())
        InvalidateLines(m_ptSelStart.y, m_ptSelEnd.y);
}

void CTextView::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange)
        viewport()->update();
    QAbstractScrollArea::changeEvent(event);
}
