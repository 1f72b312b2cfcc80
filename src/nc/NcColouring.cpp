// The NC line colouring (see NcColouring.h): one parse that runs over a
// whole line or stops between two bytes and goes on from there.
#include "NcColouring.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

namespace {

// Explicit ASCII tests rather than <cctype>: the application runs under the
// user's locale, and a byte with the high bit set (half of a GBK character
// in a comment or string) must never count as a letter or as white space.
bool IsDecimalDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool IsHexDigit(char c)
{
    return IsDecimalDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

// What a byte of plain text (outside comments and strings) can do: the
// parse runs through long stretches of it in tight loops on this table.
enum ByteClass : uint8_t
{
    kBetweenWords,  // changes nothing but ending a word
    kIdentifier,    // belongs to a word
    kOpener,        // opens a string or a comment
};

constexpr std::array<uint8_t, 256> MakeByteClasses()
{
    std::array<uint8_t, 256> classes{};
    for (int c = 0; c < 256; ++c) {
        if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == '.')
            classes[size_t(c)] = kIdentifier;
        else if (c == '"' || c == ';' || c == '(')
            classes[size_t(c)] = kOpener;
    }
    return classes;
}

constexpr std::array<uint8_t, 256> kByteClasses = MakeByteClasses();

ByteClass ClassOf(char c)
{
    return ByteClass(kByteClasses[static_cast<unsigned char>(c)]);
}

bool IsIdentifierByte(char c)
{
    return ClassOf(c) == kIdentifier;
}

bool IsWhiteSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The view asks for every word of every visible line, so the table is not
// searched: a word of three bytes is a letter and two digits, and the two
// digits index a table of which letters are keywords with that number.
constexpr uint8_t kKeywordG = 1;
constexpr uint8_t kKeywordM = 2;

constexpr std::array<uint8_t, 100> MakeThreeByteKeywords()
{
    std::array<uint8_t, 100> table{};
    for (int n : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 27, 28, 40, 41, 42, 43, 44, 45, 46, 47, 48, 49, 50, 51, 80, 90, 91})
        table[n] |= kKeywordG;
    for (int n : {2, 3, 5, 6, 8, 9, 30})
        table[n] |= kKeywordM;
    return table;
}

constexpr std::array<uint8_t, 100> kThreeByteKeywords = MakeThreeByteKeywords();

// The colour of text in the state of the cookie.  The comment bits come
// first: a directive line may hold a comment.
int StateColour(ParseCookie cookie)
{
    if (cookie & (NcCookieSemicolonComment | NcCookieParenComment))
        return ColourComment;
    if (cookie & NcCookieString)
        return ColourString;
    if (cookie & NcCookieDirective)
        return ColourDirective;
    return ColourNormalText;
}

// Flags of LineParseState: the parse's state within a line besides the
// cookie.  All clear is the state in the middle of plain text.
constexpr uint32_t kFirstChar = 0x01;    // a "#" here would still start a directive
constexpr uint32_t kRedefine = 0x02;     // a run in the state's colour starts here...
constexpr uint32_t kStepBack = 0x04;     // ...or at the byte before, the separator after a word
constexpr uint32_t kWordBlocked = 0x08;  // the open word's run would lie before another: dropped
constexpr uint32_t kDone = 0x10;         // a ";" comment took the rest of the line

// Where the blocks of one line go.  A block that would start before the last
// one added is dropped: runs must ascend, and this is what leaves a word
// glued to a comment or string uncoloured (its block lies before the
// comment's).  The capacity is the room the caller gave: the view sizes it
// from the bytes it has parsed, and a parse must never write past it
// whatever the line holds.  The last block is remembered even when it is not
// stored (no array, or past the limit of a look-ahead), since it decides
// what comes after.
class BlockSink
{
public:
    BlockSink(ColourBlock* blocks, int capacity, int& count) : m_blocks(blocks), m_capacity(capacity), m_count(count) {}

    // Going on mid-line: blocks before lastPos are dropped from now on.
    void Resume(int lastPos, int colour)
    {
        m_any = true;
        m_lastPos = lastPos;
        m_colour = colour;
    }
    // Blocks from limit on are followed but not stored.
    void StoreBefore(int limit) { m_limit = limit; }

    void Add(int pos, int colour)
    {
        if (m_any && m_lastPos > pos)
            return;
        m_any = true;
        m_lastPos = pos;
        m_colour = colour;
        if (m_blocks != nullptr && m_count < m_capacity && pos < m_limit)
            m_blocks[m_count++] = ColourBlock{pos, colour};
    }

    // The keyword or number colour of a finished word, if it has one.
    void AddWord(std::string_view word, int pos)
    {
        if (IsNcKeyword(word))
            Add(pos, ColourKeyword);
        else if (IsNcNumber(word))
            Add(pos, ColourNumber);
    }

    bool Stores() const { return m_blocks != nullptr; }
    bool Blocks(int pos) const { return m_any && m_lastPos > pos; }
    int Colour() const { return m_colour; }

private:
    ColourBlock* m_blocks;
    int m_capacity;
    int& m_count;
    int m_limit = INT32_MAX;
    bool m_any = false;
    int m_lastPos = 0;
    int m_colour = ColourNormalText;
};

// The parse of one line as a machine that can stop between two bytes and be
// taken up again from its state there.  Without words it computes only the
// cookie and does not even look at words (faster, but its state cannot be
// resumed).
class LineParse
{
public:
    LineParse(const char* chars, int length, BlockSink& sink, bool words)
        : m_chars(chars), m_length(length), m_sink(sink), m_words(words)
    {
    }

    void StartLine(ParseCookie cookie)
    {
        m_cookie = cookie;
        // A "#" starts a directive only before any other text; a parenthesis
        // comment carried in from the line above does not count as text.
        m_firstChar = (cookie & ~NcCookieParenComment) == 0;
        m_redefine = true;
    }

    void Resume(const LineParseState& state, int at)
    {
        m_cookie = state.cookie;
        m_firstChar = state.flags & kFirstChar;
        m_redefine = state.flags & kRedefine;
        m_stepBack = state.flags & kStepBack;
        m_done = state.flags & kDone;
        m_identStart = state.lookBehind > 0 ? at - state.lookBehind : -1;
        m_i = at;
        // Blocks so far lay before at; an open word's block stays possible
        // unless one lay after its start.
        const bool blocked = m_identStart >= 0 && (state.flags & kWordBlocked);
        m_sink.Resume(m_identStart >= 0 && !blocked ? m_identStart : at - 1, state.colour);
    }

    LineParseState State() const
    {
        LineParseState state;
        state.cookie = m_cookie;
        state.flags = (m_firstChar ? kFirstChar : 0) | (m_redefine ? kRedefine : 0) | (m_stepBack ? kStepBack : 0) |
                      (m_done ? kDone : 0) | (m_identStart >= 0 && m_sink.Blocks(m_identStart) ? kWordBlocked : 0);
        state.lookBehind = m_identStart >= 0 ? m_i - m_identStart : 0;
        // A pending run decides the colour from here on, whatever the last
        // one was.
        state.colour = m_redefine ? StateColour(m_cookie) : m_sink.Colour();
        return state;
    }

    void RunTo(int to)
    {
        constexpr ParseCookie kCommentOrString =
            NcCookieSemicolonComment | NcCookieString | NcCookieParenComment;
        while (m_i < to && !m_done) {
            // Most bytes change nothing, or nothing that matters to what is
            // asked; tight loops run through them, and Step sees the rest.
            const ParseCookie open = m_cookie & kCommentOrString;
            if (open == NcCookieParenComment && !m_redefine) {
                // Inside a parenthesis comment only its ")" matters.
                const void* close = std::memchr(m_chars + m_i, ')', size_t(to - m_i));
                m_i = close ? int(static_cast<const char*>(close) - m_chars) : to;
            } else if (open == 0 && !m_firstChar) {
                if (!m_words)
                    SkipToOpener(to);
                else if (!m_sink.Stores())
                    FollowWords(to);
                else if (!m_redefine)
                    SkipWithinWordOrGap(to);
            }
            if (m_i == to)
                break;
            Step();
        }
        if (m_done)
            m_i = std::max(m_i, to);
    }

    // What the bytes before the current one still wait for: the run that
    // starts at the separator after a word, and the colour of a word that is
    // still open, which takes parsing on to its end.
    void SettleBytesBefore()
    {
        if (m_done)
            return;
        if (m_redefine)
            AddStateRun();
        while (m_identStart >= 0 && m_i < m_length && !m_done)
            Step();
        if (m_i == m_length)
            Finish();
    }

    // The end of the line: the run still pending and the last word.
    void Finish()
    {
        if (m_done)
            return;
        if (m_redefine)
            AddStateRun();
        if (m_identStart >= 0)
            m_sink.AddWord(std::string_view(m_chars + m_identStart, size_t(m_length - m_identStart)), m_identStart);
        m_identStart = -1;
    }

    ParseCookie EndCookie() const
    {
        // A trailing backslash continues whatever is open; otherwise only a
        // parenthesis comment carries over.
        if (m_chars[m_length - 1] == '\\')
            return m_cookie;
        return m_cookie & NcCookieParenComment;
    }

private:
    // Plain text, for the cookie alone: only what opens a string or a
    // comment matters.
    void SkipToOpener(int to)
    {
        if (m_redefine)
            AddStateRun();
        while (m_i < to && ClassOf(m_chars[m_i]) != kOpener)
            ++m_i;
    }

    // Plain text when the runs are not stored: words matter only for the
    // state they leave, and a word's own colour never does - the run of the
    // separator after it follows at once (State shows the state's colour
    // while that run is pending), and nothing after it can lie before it.
    void FollowWords(int to)
    {
        for (; m_i < to; ++m_i) {
            const ByteClass kind = ClassOf(m_chars[m_i]);
            if (kind == kOpener)
                return;
            if (m_redefine)
                AddStateRun();
            if (kind == kIdentifier) {
                if (m_identStart < 0)
                    m_identStart = m_i;
            } else if (m_identStart >= 0) {
                m_identStart = -1;
                m_redefine = true;
                m_stepBack = true;
            }
        }
    }

    // Plain text with runs stored: through a word to its end, or through
    // the bytes between words to the next word or opener.
    void SkipWithinWordOrGap(int to)
    {
        const ByteClass skipped = m_identStart >= 0 ? kIdentifier : kBetweenWords;
        while (m_i < to && ClassOf(m_chars[m_i]) == skipped)
            ++m_i;
    }

    void AddStateRun()
    {
        m_sink.Add(m_stepBack ? m_i - 1 : m_i, StateColour(m_cookie));
        m_redefine = false;
        m_stepBack = false;
    }

    // One byte.  A word still open here stays open through the string or
    // comment that begins; its block, if it gets one, lands before that of
    // the comment and is dropped.
    void Step()
    {
        if (m_redefine)
            AddStateRun();
        const char c = m_chars[m_i];
        if (m_cookie & NcCookieSemicolonComment) {
            // The rest of the line is comment.  An open word's block would
            // lie before the ";" and is dropped: forget the word.
            m_sink.Add(m_i, ColourComment);
            m_done = true;
            m_identStart = -1;
            return;
        }
        if (m_cookie & NcCookieString) {
            if (c == '"' && !(m_i > 0 && m_chars[m_i - 1] == '\\')) {
                m_cookie &= ~NcCookieString;
                m_redefine = true;
            }
            ++m_i;
            return;
        }
        if (m_cookie & NcCookieParenComment) {
            // Comments do not nest: the first ")" ends one, and is itself
            // comment coloured.
            if (c == ')') {
                m_cookie &= ~NcCookieParenComment;
                m_redefine = true;
            }
            ++m_i;
            return;
        }
        if (c == '"' || c == ';' || c == '(') {
            m_sink.Add(m_i, c == '"' ? ColourString : ColourComment);
            m_cookie |= c == '"' ? NcCookieString : c == ';' ? NcCookieSemicolonComment : NcCookieParenComment;
            ++m_i;
            return;
        }
        if (m_firstChar) {
            if (c == '#') {
                m_sink.Add(m_i, ColourDirective);
                m_cookie |= NcCookieDirective;
                ++m_i;
                return;
            }
            if (!IsWhiteSpace(c))
                m_firstChar = false;
        }
        if (!m_words) {
            ++m_i;
            return;
        }
        if (IsIdentifierByte(c)) {
            if (m_identStart < 0)
                m_identStart = m_i;
            ++m_i;
            return;
        }
        if (m_identStart >= 0) {
            m_sink.AddWord(std::string_view(m_chars + m_identStart, size_t(m_i - m_identStart)), m_identStart);
            // The next byte starts a run in the state's colour from this
            // separator on.
            m_redefine = true;
            m_stepBack = true;
            m_identStart = -1;
        }
        ++m_i;
    }

    const char* m_chars;
    int m_length;
    BlockSink& m_sink;
    bool m_words;
    ParseCookie m_cookie = 0;
    bool m_firstChar = false;
    bool m_redefine = false;
    bool m_stepBack = false;
    bool m_done = false;
    int m_identStart = -1;
    int m_i = 0;
};

}  // namespace

bool IsNcKeyword(std::string_view word)
{
    switch (word.size()) {
    case 1:
        return word[0] == '%';
    case 2:
        return word[0] == 'G' && word[1] >= '0' && word[1] <= '3';
    case 3: {
        if (!IsDecimalDigit(word[1]) || !IsDecimalDigit(word[2]))
            return false;
        const uint8_t letters = kThreeByteKeywords[(word[1] - '0') * 10 + (word[2] - '0')];
        return (word[0] == 'G' && (letters & kKeywordG)) || (word[0] == 'M' && (letters & kKeywordM));
    }
    default:
        return false;
    }
}

bool IsNcNumber(std::string_view word)
{
    if (word.size() >= 3 && word[0] == '0' && word[1] == 'x') {
        for (size_t i = 2; i < word.size(); ++i)
            if (!IsHexDigit(word[i]))
                return false;
        return true;
    }
    if (word.empty() || !IsDecimalDigit(word[0]))
        return false;
    for (size_t i = 1; i < word.size(); ++i) {
        const char c = word[i];
        if (!IsDecimalDigit(c) && c != '+' && c != '-' && c != '.' && c != 'e' && c != 'E')
            return false;
    }
    return true;
}

ParseCookie ColouriseNcLine(ParseCookie cookie, const char* chars, int length, ColourBlock* blocks, int capacity,
                            int& blockCount)
{
    blockCount = 0;
    if (length <= 0)
        return cookie & NcCookieParenComment;
    BlockSink sink(blocks, capacity, blockCount);
    LineParse parse(chars, length, sink, blocks != nullptr);
    parse.StartLine(cookie);
    parse.RunTo(length);
    parse.Finish();
    return parse.EndCookie();
}

void ResumeNcLine(LineParseState& state, const char* chars, int length, int from, int to, ColourBlock* blocks,
                  int capacity, int& blockCount)
{
    blockCount = 0;
    if (length <= 0) {
        state.cookie &= NcCookieParenComment;
        return;
    }
    BlockSink sink(blocks, capacity, blockCount);
    LineParse parse(chars, length, sink, true);
    if (from == 0)
        parse.StartLine(state.cookie);
    else
        parse.Resume(state, from);
    parse.RunTo(to);
    if (to == length) {
        parse.Finish();
        state = parse.State();
        state.cookie = parse.EndCookie();
        return;
    }
    state = parse.State();
    if (blocks != nullptr) {
        sink.StoreBefore(to);
        parse.SettleBytesBefore();
    }
}
