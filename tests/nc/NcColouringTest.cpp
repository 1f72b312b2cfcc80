// The code view's NC colouring, seen as the view draws it: one colour per
// byte, lines parsed in order with the cookie carried from line to line.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "NcColouring.h"

namespace {

using Lines = std::vector<std::string>;

// Colours the lines in order, carrying the cookie, with the room the view
// gives (3 x length), and expands the runs to one letter per byte so that an
// expectation lines up under its text: N normal, K keyword, C comment,
// U number, S string, D directive.  With cookies, also records each line's
// returned cookie.
Lines Colour(const Lines& lines, std::vector<ParseCookie>* cookies = nullptr)
{
    ParseCookie cookie = 0;
    Lines result;
    for (const std::string& line : lines) {
        const int length = static_cast<int>(line.size());
        std::vector<ColourBlock> blocks(line.size() * 3);
        int count = -1;
        cookie = ColouriseNcLine(cookie, line.data(), length, blocks.data(), length * 3, count);
        if (cookies)
            cookies->push_back(cookie);
        std::string colours(line.size(), 'N');
        for (int k = 0; k < count; ++k) {
            EXPECT_TRUE(k == 0 || blocks[k - 1].CharPos <= blocks[k].CharPos) << line;
            const int end = k + 1 < count ? blocks[k + 1].CharPos : length;
            for (int p = blocks[k].CharPos; p < end && p < length; ++p)
                colours[p] = "??N???KCU?SD"[blocks[k].ColourIndex];
        }
        result.push_back(colours);
    }
    return result;
}

std::string Colour(const std::string& line)
{
    return Colour(Lines{line}).front();
}

}  // namespace

TEST(NcColouring, CommentsEndWhereTheirRulesSay)
{
    // A parenthesis comment runs over lines up to the first ")", which is
    // comment coloured; the text after it is normal again.
    EXPECT_EQ(Colour(Lines{"G01 (start", "X10 Y20", "end) G00 X1"}),
              (Lines{"KKKNCCCCCC", "CCCCCCC", "CCCCNKKKNNN"}));
    // Comments do not nest.
    EXPECT_EQ(Colour("(a (b) c) G01"), "CCCCCCNNNNKKK");
    // A semicolon comment takes the rest of the line, "(" included, and the
    // next line starts afresh...
    EXPECT_EQ(Colour(Lines{"G01 ; G01 (x", "G01"}), (Lines{"KKKNCCCCCCCC", "KKK"}));
    // ...unless the line ends in a backslash.
    EXPECT_EQ(Colour(Lines{"; a \\", "G01"}), (Lines{"CCCCC", "CCC"}));
    // High-bit bytes (GBK) inside a comment are just comment.
    EXPECT_EQ(Colour(Lines{"G01 (\xB5\xB6", "\xB5\xB6) 1"}), (Lines{"KKKNCCC", "CCCNU"}));
}

TEST(NcColouring, StringsEndAtAnUnescapedQuoteOrTheLineEnd)
{
    EXPECT_EQ(Colour("\"a\\\"b\" G01"), "SSSSSSNKKK");
    EXPECT_EQ(Colour(Lines{"\"abc\\", "def\" G01"}), (Lines{"SSSSS", "SSSSNKKK"}));
    EXPECT_EQ(Colour(Lines{"\"abc", "G01"}), (Lines{"SSSS", "KKK"}));
    // An empty line ends everything but a parenthesis comment.
    EXPECT_EQ(Colour(Lines{"\"abc\\", "", "G01"}), (Lines{"SSSSS", "", "KKK"}));
    int count = 0;
    EXPECT_EQ(ColouriseNcLine(0x0F, "", 0, nullptr, 0, count), NcCookieParenComment);
    EXPECT_EQ(ColouriseNcLine(0x0B, "", 0, nullptr, 0, count), 0u);
}

TEST(NcColouring, DirectivesStartAtTheFirstNonBlankHash)
{
    // Keywords and numbers inside keep their colours; what follows them goes
    // back to the directive colour.
    EXPECT_EQ(Colour("  #G01 100 abc"), "NNDKKKDUUUDDDD");
    EXPECT_EQ(Colour("\t#x"), "NDD");
    EXPECT_EQ(Colour("G01 #5"), "KKKNNU");
    // A GBK byte is text, not a blank.
    EXPECT_EQ(Colour("\xB5#x"), "NNN");
    // A directive ends with its line unless a backslash continues it.
    EXPECT_EQ(Colour(Lines{"#x", "G01"}), (Lines{"DD", "KKK"}));
    EXPECT_EQ(Colour(Lines{"#x \\", "1 y"}), (Lines{"DDDD", "UDD"}));
    // A comment carried in from the line above is not text before the "#".
    EXPECT_EQ(Colour(Lines{"(a", "b) #x"}), (Lines{"CC", "CCNDD"}));
}

TEST(NcColouring, KeywordsAreWholeWordsOfTheTable)
{
    EXPECT_EQ(Colour("G01 X10"), "KKKNNNN");
    EXPECT_EQ(Colour("G01X10"), "NNNNNN");
    EXPECT_EQ(Colour("M3 M03 g01 G4 G81 M30"), "NNNKKKNNNNNNNNNNNNKKK");
    // A word glued to the start of a comment, string or semicolon comment is
    // still open when that begins, and stays uncoloured.
    EXPECT_EQ(Colour("G01(cut) X1"), "NNNCCCCCNNN");
    EXPECT_EQ(Colour("G01\"s\" X1"), "NNNSSSNNN");
    EXPECT_EQ(Colour("G01;x"), "NNNCC");
    // GBK bytes are not identifier bytes: they end a word.
    EXPECT_EQ(Colour("\xB5\xB6G01\xB5"), "NNKKKN");
    // "%" is in the table but can never be a word.
    EXPECT_TRUE(IsNcKeyword("%"));
    EXPECT_EQ(Colour("%"), "N");

    // Of every word of up to three bytes over "%", digits and the letters of
    // NC words, exactly the 39 entries of the table are keywords (listed in
    // the order of the enumeration).
    const std::string table = "% G0 G00 G01 G02 G03 G04 G05 G06 G07 G08 G09 G1 G2 G27 G28 G3 G40 G41 G42 G43 G44 "
                              "G45 G46 G47 G48 G49 G50 G51 G80 G90 G91 M02 M03 M05 M06 M08 M09 M30";
    const std::string alphabet = "%0123456789GMgmNXFT";
    std::string found;
    for (char a : alphabet)
        for (char b : " " + alphabet)
            for (char c : " " + alphabet) {
                if (b == ' ' && c != ' ')
                    continue;
                std::string word{a, b, c};
                word.erase(std::remove(word.begin(), word.end(), ' '), word.end());
                if (IsNcKeyword(word))
                    found += (found.empty() ? "" : " ") + word;
            }
    EXPECT_EQ(found, table);
    EXPECT_FALSE(IsNcKeyword(""));
    EXPECT_FALSE(IsNcKeyword("G010"));
    EXPECT_FALSE(IsNcKeyword(std::string_view("G01\0", 4)));
}

TEST(NcColouring, NumbersStandAlone)
{
    for (const char* word : {"100", "0", "1.5e3", "1E5", "0x1F", "0xff", "1-2", "1+2", "1.2.3"})
        EXPECT_TRUE(IsNcNumber(word)) << word;
    for (const char* word : {"", "0x", "0x1G", "0X1F", "X10", "e5", ".5", "1_2", "1a"})
        EXPECT_FALSE(IsNcNumber(word)) << word;
    EXPECT_EQ(Colour("100 1.5e3 0x1F 0x X10 F200"), "UUUNUUUUUNUUUUNNNNNNNNNNNN");
    // "-" is no identifier byte, so the digits after a sign stand alone.
    EXPECT_EQ(Colour("1-2 Y-3.25"), "UNUNNNUUUU");
}

TEST(NcColouring, CookieDoesNotDependOnTheBlocks)
{
    const Lines sample = {"N10 G01 X10 (first", "still", "end) \"str\\", "ing\" ;tail \\", "more", "  #define 5",
                          "G02(x)Y1 ;", "", "(open", "", "close) \xB5\xB6 M30", "\"a\\\"b\"", "# \\", "G01"};
    std::vector<ParseCookie> withBlocks;
    Colour(sample, &withBlocks);
    ParseCookie cookie = 0;
    for (size_t k = 0; k < sample.size(); ++k) {
        int count = 0;
        cookie = ColouriseNcLine(cookie, sample[k].data(), int(sample[k].size()), nullptr, 0, count);
        EXPECT_EQ(cookie, withBlocks[k]) << "line " << k;
    }
}

TEST(NcColouring, NeverStoresMoreBlocksThanTheCapacity)
{
    const std::string line = "1 2 3 4 5 6 (c) \"s\" ; x";
    const int length = static_cast<int>(line.size());
    std::vector<ColourBlock> all(line.size() * 3);
    int allCount = 0;
    const ParseCookie cookie = ColouriseNcLine(0, line.data(), length, all.data(), length * 3, allCount);
    ASSERT_GT(allCount, 5);
    // The blocks that fit are the first ones; the element after them, a
    // guard, is never written.
    for (int capacity : {0, 1, 5}) {
        std::vector<ColourBlock> blocks(size_t(capacity) + 1, ColourBlock{-7, -7});
        int count = 0;
        EXPECT_EQ(ColouriseNcLine(0, line.data(), length, blocks.data(), capacity, count), cookie);
        ASSERT_EQ(count, capacity);
        for (int k = 0; k < capacity; ++k)
            EXPECT_TRUE(blocks[k].CharPos == all[k].CharPos && blocks[k].ColourIndex == all[k].ColourIndex) << k;
        EXPECT_TRUE(blocks[capacity].CharPos == -7 && blocks[capacity].ColourIndex == -7) << capacity;
    }
}

namespace {

// Lines made of the pieces the parse cares about: words, numbers, keywords,
// separators, both comments, strings with escapes, directives, GBK pairs.
std::string RandomLine(std::mt19937& random)
{
    static const char* const kPieces[] = {"G01", "X10.5", "100", "M03", "N7", "0x1F", "1e3", "_b", ".", " ",
                                          " ",   "\t",    "(",   ")",   "\"", "\\",   ";",   "#", "\xca\xfd"};
    std::string line;
    const int count = int(random() % 60);
    for (int i = 0; i < count; ++i)
        line += kPieces[random() % std::size(kPieces)];
    return line;
}

// One colour index per byte of runs found by parsing [from, to), given the
// colour in effect at from.
void PaintRuns(std::vector<int>& colours, int from, int to, int colourAtFrom, const std::vector<ColourBlock>& blocks,
               int count)
{
    int colour = colourAtFrom;
    int k = 0;
    for (int b = from; b < to; ++b) {
        while (k < count && blocks[size_t(k)].CharPos <= b)
            colour = blocks[size_t(k++)].ColourIndex;
        colours[size_t(b)] = colour;
    }
}

}  // namespace

TEST(NcColouring, ResumingAtAnyBytesGivesTheWholeLinesRunsAndCookie)
{
    std::mt19937 random(11);
    const ParseCookie entries[] = {0, NcCookieParenComment, NcCookieString, NcCookieSemicolonComment,
                                   NcCookieDirective | NcCookieString};
    for (int round = 0; round < 3000; ++round) {
        const std::string line = RandomLine(random);
        const int length = int(line.size());
        const ParseCookie entry = entries[random() % std::size(entries)];
        std::vector<ColourBlock> blocks(line.size() * 3 + 3);
        int count = 0;
        const ParseCookie whole = ColouriseNcLine(entry, line.data(), length, blocks.data(), length * 3, count);
        std::vector<int> expected(line.size());
        PaintRuns(expected, 0, length, ColourNormalText, blocks, count);

        // The line in random pieces, each taken up from the state the one
        // before left.
        std::vector<int> stops{0, length};
        for (int i = int(random() % 6); i > 0 && length > 1; --i)
            stops.push_back(1 + int(random() % uint32_t(length - 1)));
        std::sort(stops.begin(), stops.end());
        LineParseState state{entry};
        std::vector<int> resumed(line.size());
        for (size_t i = 0; i + 1 < stops.size(); ++i) {
            const int from = stops[i], to = stops[i + 1];
            const int colourAtFrom = from == 0 ? int(ColourNormalText) : state.colour;
            ResumeNcLine(state, line.data(), length, from, to, blocks.data(), 3 * (to - from) + 3, count);
            ASSERT_LE(count, 3 * (to - from) + 3);
            PaintRuns(resumed, from, to, colourAtFrom, blocks, count);
            if (to < length) {
                // The state is the same however the parse got there.
                LineParseState direct{entry};
                ResumeNcLine(direct, line.data(), length, 0, to, nullptr, 0, count);
                ASSERT_EQ(state, direct) << line << " at " << to;
            }
        }
        ASSERT_EQ(resumed, expected) << line;
        ASSERT_EQ(state.cookie, whole) << line;
    }
}
