// Text view: searching the text, the Find command with its remembered
// search, find next and find previous, and the numbered and unnumbered
// bookmarks.
//
// A search looks at the buffer's lines where they lie: no line is copied or
// upper-cased, so that a search through millions of lines costs a pass over
// their bytes.  Case is folded for the ASCII letters only; a byte of a GBK
// character is compared as it is.
#include <QSettings>
#include <algorithm>
#include <array>
#include <cstring>

#include "AfxMessageBox.h"
#include "ByteClasses.h"
#include "CCmdUI.h"
#include "CFindDialog.h"
#include "CTextBuffer.h"
#include "CTextView.h"
#include "CWinApp.h"
#include "DataTransfer.h"
#include "Resources.h"
#include "ids.h"

namespace {

// Upper-case of the ASCII letters; every other byte is itself.
constexpr std::array<unsigned char, 256> kFold = [] {
    std::array<unsigned char, 256> fold{};
    for (int b = 0; b < 256; ++b)
        fold[size_t(b)] = static_cast<unsigned char>(b >= 'a' && b <= 'z' ? b - 'a' + 'A' : b);
    return fold;
}();

bool EqualFolded(const char* a, const char* b, size_t count)
{
    for (size_t i = 0; i < count; ++i)
        if (kFold[static_cast<unsigned char>(a[i])] != kFold[static_cast<unsigned char>(b[i])])
            return false;
    return true;
}

// The first occurrence of what in text[from, limit), or -1.
int FindBytes(std::string_view text, int from, int limit, std::string_view what, bool matchCase)
{
    const int size = int(what.size());
    const int last = limit - size;  // the last offset a match may start at
    if (matchCase) {
        const char first = what[0];
        for (int i = from; i <= last;) {
            const void* hit = std::memchr(text.data() + i, first, size_t(last - i + 1));
            if (!hit)
                return -1;
            i = int(static_cast<const char*>(hit) - text.data());
            if (std::memcmp(text.data() + i + 1, what.data() + 1, size_t(size - 1)) == 0)
                return i;
            ++i;
        }
        return -1;
    }
    const unsigned char first = kFold[static_cast<unsigned char>(what[0])];
    for (int i = from; i <= last; ++i)
        if (kFold[static_cast<unsigned char>(text[size_t(i)])] == first &&
            EqualFolded(text.data() + i + 1, what.data() + 1, size_t(size - 1)))
            return i;
    return -1;
}

const QString kFindSection = QStringLiteral("TextEdit\\Find");

}  // namespace

// ---- The search.

int CTextView::FindInLine(std::string_view line, int from, int limit, std::string_view what, bool wholeWord,
                          bool matchCase)
{
    if (what.empty())
        return -1;
    limit = std::min(limit, int(line.size()));
    for (int i = std::max(from, 0); i <= limit - int(what.size());) {
        i = FindBytes(line, i, limit, what, matchCase);
        if (i < 0)
            return -1;
        const int end = i + int(what.size());
        const bool wordBefore = i > 0 && IsWordChar(line[size_t(i - 1)]);
        const bool wordAfter = end < int(line.size()) && IsWordChar(line[size_t(end)]);
        if (!wholeWord || (!wordBefore && !wordAfter))
            return i;
        ++i;
    }
    return -1;
}

bool CTextView::FindTextInDocument(std::string_view text, TextPos start, uint32_t flags, bool wrap, TextPos* found)
{
    const int last = GetLineCount() - 1;
    if (last < 0)
        return false;
    return FindTextInRange(text, start, {0, 0}, {GetLineLength(last), last}, flags, wrap, found);
}

bool CTextView::FindTextInRange(std::string_view text, TextPos start, TextPos blockBegin, TextPos blockEnd,
                                uint32_t flags, bool wrap, TextPos* found)
{
    if (text.empty() || blockBegin == blockEnd || !IsBefore(blockBegin, blockEnd) || GetLineCount() == 0)
        return false;
    blockEnd.y = std::min(blockEnd.y, GetLineCount() - 1);
    const bool matchCase = flags & FIND_MATCH_CASE;
    const bool wholeWord = flags & FIND_WHOLE_WORD;
    // The part of line y inside the block: [from, limit).
    const auto lineSpan = [&](int y, int& from, int& limit) {
        from = y == blockBegin.y ? blockBegin.x : 0;
        limit = y == blockEnd.y ? blockEnd.x : GetLineLength(y);
    };
    const auto lineText = [this](int y) { return std::string_view(GetLineChars(y), size_t(GetLineLength(y))); };

    if (IsBefore(start, blockBegin))
        start = blockBegin;
    if (IsBefore(blockEnd, start))
        start = blockEnd;

    if (!(flags & FIND_BACKWARD)) {
        for (int pass = 0; pass < (wrap ? 2 : 1); ++pass) {
            TextPos pos = pass == 0 ? start : blockBegin;
            for (; pos.y <= blockEnd.y; pos = {0, pos.y + 1}) {
                int from = 0, limit = 0;
                lineSpan(pos.y, from, limit);
                const int i = FindInLine(lineText(pos.y), std::max(from, pos.x), limit, text, wholeWord, matchCase);
                if (i >= 0) {
                    *found = {i, pos.y};
                    return true;
                }
            }
        }
        return false;
    }

    // Backwards: the last match that begins before start, on start's line
    // and above; with wrap then the last one of the block.
    for (int pass = 0; pass < (wrap ? 2 : 1); ++pass) {
        const TextPos from = pass == 0 ? start : blockEnd;
        for (int y = from.y; y >= blockBegin.y; --y) {
            int first = 0, limit = 0;
            lineSpan(y, first, limit);
            const std::string_view line = lineText(y);
            // A match must begin before from.x on from's line (at it, on
            // the second pass, which starts at the block's very end).
            const int lastStart = y == from.y ? from.x - (pass == 0 ? 1 : 0) : limit;
            int best = -1;
            for (int i = FindInLine(line, first, limit, text, wholeWord, matchCase); i >= 0 && i <= lastStart;
                 i = FindInLine(line, i + 1, limit, text, wholeWord, matchCase))
                best = i;
            if (best >= 0) {
                *found = {best, y};
                return true;
            }
        }
    }
    return false;
}

bool CTextView::SelectFoundText(TextPos pos, int length)
{
    const TextPos cursor{pos.x + length, pos.y};
    SetCursorTextPos(cursor);
    m_ptSelAnchor = cursor;
    SetSelection(pos, cursor);
    PlaceCaret();
    ScrollIntoView(cursor);
    return true;
}

TextPos CTextView::BackwardSearchStart(TextPos pt)
{
    TextPos start, end;
    GetSelection(start, end);
    return start != end && pt == end ? start : pt;
}

void CTextView::ReportNotFound(std::string_view text)
{
    AfxMessageBox(FormatResourceString(IDS_FIND_NOT_FOUND, GbkToUnicode(text)), MB_OK | MB_ICONINFORMATION);
}

// ---- Find, find next, find previous.

void CTextView::OnEditFind()
{
    CFindDialog dialog(this);
    CWinApp* app = AfxGetApp();
    if (m_bFindRepeatable) {
        dialog.m_bMatchCase = m_dwFindFlags & FIND_MATCH_CASE;
        dialog.m_bWholeWord = m_dwFindFlags & FIND_WHOLE_WORD;
        dialog.m_nDirection = (m_dwFindFlags & FIND_BACKWARD) ? 0 : 1;
        if (m_findText)
            dialog.m_sText = *m_findText;
    } else if (app) {
        dialog.m_bMatchCase = app->GetProfileInt(kFindSection, QStringLiteral("MatchCase"), 0) != 0;
        dialog.m_bWholeWord = app->GetProfileInt(kFindSection, QStringLiteral("WholeWord"), 0) != 0;
        UnicodeToGbk(app->GetProfileString(kFindSection, QStringLiteral("FindWhat")), dialog.m_sText);
    }
    TextPos start, end;
    GetSelection(start, end);
    if (start != end && start.y == end.y)
        dialog.m_sText.assign(GetLineChars(start.y) + start.x, size_t(end.x - start.x));
    dialog.m_ptStartPos = GetCursorTextPos();

    m_bShowSelUnfocused = true;
    viewport()->update();
    dialog.exec();
    m_bShowSelUnfocused = false;
    viewport()->update();

    // Whichever button closed the dialog, its settings are the search that
    // F3 repeats and the next Find starts from.
    m_bFindRepeatable = true;
    m_findText = dialog.m_sText;
    m_dwFindFlags = (dialog.m_bMatchCase ? FIND_MATCH_CASE : 0u) | (dialog.m_bWholeWord ? FIND_WHOLE_WORD : 0u) |
                    (dialog.m_nDirection == 0 ? FIND_BACKWARD : 0u);
    if (app) {
        app->WriteProfileInt(kFindSection, QStringLiteral("MatchCase"), dialog.m_bMatchCase ? 1 : 0);
        app->WriteProfileInt(kFindSection, QStringLiteral("WholeWord"), dialog.m_bWholeWord ? 1 : 0);
        app->WriteProfileString(kFindSection, QStringLiteral("FindWhat"), GbkToUnicode(dialog.m_sText));
    }
}

void CTextView::RepeatFind(bool backward)
{
    if (!m_bFindRepeatable)
        return;
    const std::string text = m_findText.value_or(std::string());
    const uint32_t flags = backward ? m_dwFindFlags | FIND_BACKWARD : m_dwFindFlags & ~uint32_t(FIND_BACKWARD);
    const TextPos cursor = GetCursorTextPos();
    TextPos found;
    if (FindTextInDocument(text, backward ? BackwardSearchStart(cursor) : cursor, flags, true, &found))
        SelectFoundText(found, int(text.size()));
    else
        ReportNotFound(text);
}

void CTextView::OnEditRepeat()
{
    RepeatFind((m_dwFindFlags & FIND_BACKWARD) != 0);
}

void CTextView::OnEditFindPrevious()
{
    RepeatFind((m_dwFindFlags & FIND_BACKWARD) == 0);
}

void CTextView::OnUpdateEditRepeat(CCmdUI* ui)
{
    ui->Enable(m_bFindRepeatable);
}

// ---- Bookmarks.

void CTextView::GoToLine(int line)
{
    const TextPos pt{0, line};
    SetCursorTextPos(pt);
    SetSelection(pt, pt);
    m_ptSelAnchor = pt;
    ScrollIntoView(pt);
}

void CTextView::OnToggleBookmark(int id)
{
    if (!m_pBuffer)
        return;
    const uint32_t flag = LineFlagBookmark(id - ID_EDIT_TOGGLE_BOOKMARK0);
    const int line = GetCursorTextPos().y;
    const bool on = m_pBuffer->LineFlags(line) & flag;
    m_pBuffer->ChangeLineFlag(line, flag, !on, true);
}

void CTextView::OnGoBookmark(int id)
{
    if (!m_pBuffer)
        return;
    const int line = m_pBuffer->LineWithFlag(LineFlagBookmark(id - ID_EDIT_GO_BOOKMARK0));
    if (line >= 0)
        GoToLine(line);
}

void CTextView::OnClearBookmarks()
{
    if (!m_pBuffer)
        return;
    for (int n = 0; n < 10; ++n)
        if (const int line = m_pBuffer->LineWithFlag(LineFlagBookmark(n)); line >= 0)
            m_pBuffer->ChangeLineFlag(line, LineFlagBookmark(n), false, false);
}

void CTextView::OnToggleBookmarkUnnumbered()
{
    if (!m_pBuffer)
        return;
    const int line = GetCursorTextPos().y;
    const bool on = m_pBuffer->LineFlags(line) & LINEFLAG_BOOKMARK;
    m_pBuffer->ChangeLineFlag(line, LINEFLAG_BOOKMARK, !on, false);
    m_bHaveBookmarks = m_pBuffer->LineWithFlag(LINEFLAG_BOOKMARK) >= 0;
}

void CTextView::OnNextBookmark()
{
    if (!m_pBuffer)
        return;
    if (const int line = m_pBuffer->NextBookmarkLine(GetCursorTextPos().y); line >= 0)
        GoToLine(line);
}

void CTextView::OnPrevBookmark()
{
    if (!m_pBuffer)
        return;
    if (const int line = m_pBuffer->PrevBookmarkLine(GetCursorTextPos().y); line >= 0)
        GoToLine(line);
}

void CTextView::OnClearAllBookmarks()
{
    if (!m_pBuffer)
        return;
    for (int line = m_pBuffer->FindFirstLineWithFlag(LINEFLAG_BOOKMARK); line >= 0;
         line = m_pBuffer->NextBookmarkLine(line))
        m_pBuffer->ChangeLineFlag(line, LINEFLAG_BOOKMARK, false, false);
    m_bHaveBookmarks = false;
}

void CTextView::OnUpdateHaveBookmarks(CCmdUI* ui)
{
    ui->Enable(m_bHaveBookmarks);
}
