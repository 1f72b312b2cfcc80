// Lexical colouring of one NC line for the code view.
//
// The colouring knows nothing of the interpreter: it picks out comments in
// parentheses and after a semicolon, double-quoted strings, directive lines
// that start with "#", a fixed list of G and M words and stand-alone numbers.
// The state that crosses a line break travels in the parse cookie, so that the
// view can cache one cookie per line and re-parse from the first changed line.
#pragma once

#include <string_view>

#include "ColourRuns.h"

// Bits of the cookie carried from one line to the next.
inline constexpr ParseCookie NcCookieSemicolonComment = 0x01;  // rest of the line
inline constexpr ParseCookie NcCookieDirective = 0x02;         // line began with "#"
inline constexpr ParseCookie NcCookieParenComment = 0x04;      // may span lines
inline constexpr ParseCookie NcCookieString = 0x08;            // inside "..."

// True for a word of the keyword table (G0, G00 ... G09, G27, G28, G40 ...
// G51, G80, G90, G91, M02, M03, M05, M06, M08, M09, M30 and "%"), matched
// exactly and case-sensitively.  "%" is in the table but never reaches it
// from the colouring, whose words hold letters, digits, "_" and "." only.
bool IsNcKeyword(std::string_view word);

// True for a word coloured as a number: "0x" and at least one hexadecimal
// digit after it, or a decimal digit followed by digits, "+", "-", "." and
// "e"/"E" only (so "1.5e3" and "1.2.3" are numbers, "X10" and "0x" are not).
bool IsNcNumber(std::string_view word);

// Colours chars[0..length), a line without its line break, starting in the
// state cookie (the previous line's result, 0 for the first line), and
// returns the cookie for the next line.
//
// Blocks are stored from blocks[0] on in ascending CharPos and blockCount is
// set to their number; a run goes from its block's CharPos to the next
// block's, and text before the first block is normal text.  With blocks null
// only the cookie is computed (words are not even looked at); it is the same
// cookie as with blocks.  At most capacity blocks are stored: the rest are
// dropped, never written past the caller's array.
ParseCookie ColouriseNcLine(ParseCookie cookie, const char* chars, int length, ColourBlock* blocks, int capacity,
                            int& blockCount);

// The same parse taken up in the middle of a line: parses bytes [from, to) of
// chars[0..length) starting in state, the state before byte from (at from 0
// only its cookie counts: the previous line's), and leaves state as it stands
// before byte to.  When to is length, state.cookie is then the cookie the
// next line starts with.
//
// With blocks, stores the runs that colour bytes from `from` on and before
// to, in ascending CharPos: a run may start before from (a word that began
// there, the separator after a word that ended just before), and a word
// still open at to is followed to its end, so that every byte gets the
// colour the whole line's parse gives it.  At most capacity blocks
// (3 x (to - from) + 3 is always enough).
//
// Resuming at any byte from the state a parse had there gives the runs and
// the cookie of ColouriseNcLine over the whole line.
void ResumeNcLine(LineParseState& state, const char* chars, int length, int from, int to, ColourBlock* blocks,
                  int capacity, int& blockCount);
