// The NC line colouring (see NcColouring.h).
#include "NcColouring.h"

#include <array>
#include <cstdint>

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

bool IsIdentifierByte(char c)
{
    return IsDecimalDigit(c) || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == '.';
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

// Where the blocks of one line go.  A block that would start before the last
// stored one is dropped: runs must ascend, and this is what leaves a word
// glued to a comment or string uncoloured (its block lies before the
// comment's).  The capacity is the room the caller gave: the view sizes it
// from the line length, and a parse must never write past it whatever the
// line holds.
class BlockSink
{
public:
    BlockSink(ColourBlock* blocks, int capacity, int& count) : m_blocks(blocks), m_capacity(capacity), m_count(count) {}

    void Add(int pos, int colour)
    {
        if (m_blocks == nullptr || m_count >= m_capacity)
            return;
        if (m_count > 0 && m_blocks[m_count - 1].CharPos > pos)
            return;
        m_blocks[m_count] = ColourBlock{pos, colour};
        ++m_count;
    }

    // The keyword or number colour of a finished word, if it has one.
    void AddWord(std::string_view word, int pos)
    {
        if (IsNcKeyword(word))
            Add(pos, ColourKeyword);
        else if (IsNcNumber(word))
            Add(pos, ColourNumber);
    }

private:
    ColourBlock* m_blocks;
    int m_capacity;
    int& m_count;
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
    // A "#" starts a directive only before any other text; a parenthesis
    // comment carried in from the line above does not count as text.
    bool firstChar = (cookie & ~NcCookieParenComment) == 0;
    // redefine: the next iteration starts a run in the state's colour, at the
    // current byte or, after a word, at the separator that ended it.
    bool redefine = true;
    bool stepBack = false;
    int identStart = -1;
    int i = 0;
    for (;;) {
        if (redefine) {
            sink.Add(stepBack ? i - 1 : i, StateColour(cookie));
            redefine = false;
            stepBack = false;
        }
        if (i == length)
            break;
        const char c = chars[i];
        if (cookie & NcCookieSemicolonComment) {
            sink.Add(i, ColourComment);
            break;
        }
        if (cookie & NcCookieString) {
            if (c == '"' && !(i > 0 && chars[i - 1] == '\\')) {
                cookie &= ~NcCookieString;
                redefine = true;
            }
            ++i;
            continue;
        }
        if (cookie & NcCookieParenComment) {
            // Comments do not nest: the first ")" ends one, and is itself
            // comment coloured.
            if (c == ')') {
                cookie &= ~NcCookieParenComment;
                redefine = true;
            }
            ++i;
            continue;
        }
        // A word still open here stays open through the string or comment
        // that begins; its block, if it gets one, lands before that of the
        // comment and is dropped.
        if (c == '"') {
            sink.Add(i, ColourString);
            cookie |= NcCookieString;
            ++i;
            continue;
        }
        if (c == ';') {
            sink.Add(i, ColourComment);
            cookie |= NcCookieSemicolonComment;
            ++i;
            continue;
        }
        if (c == '(') {
            sink.Add(i, ColourComment);
            cookie |= NcCookieParenComment;
            ++i;
            continue;
        }
        if (firstChar) {
            if (c == '#') {
                sink.Add(i, ColourDirective);
                cookie |= NcCookieDirective;
                ++i;
                continue;
            }
            if (!IsWhiteSpace(c))
                firstChar = false;
        }
        if (blocks == nullptr) {
            ++i;
            continue;
        }
        if (IsIdentifierByte(c)) {
            if (identStart < 0)
                identStart = i;
            ++i;
            continue;
        }
        if (identStart >= 0) {
            sink.AddWord(std::string_view(chars + identStart, size_t(i - identStart)), identStart);
            redefine = true;
            stepBack = true;
            identStart = -1;
        }
        ++i;
    }
    if (identStart >= 0)
        sink.AddWord(std::string_view(chars + identStart, size_t(i - identStart)), identStart);

    // A trailing backslash continues whatever is open; otherwise only a
    // parenthesis comment carries over.
    if (chars[length - 1] == '\\')
        return cookie;
    return cookie & NcCookieParenComment;
}
