// The byte rules of laying out a line, shared by the text view and the index
// of long lines: a tab advances to the next tab stop and every other byte one
// column; a GBK lead byte followed by a trail byte is one character.
//
// GBK pairs are found from the line's start: a lead byte pairs with the byte
// after it when that is a trail byte, and the byte after a pair starts
// afresh.  Every lead is also a trail, so where pairs fall depends on how
// many leads come in a row - which is why a point of the line carries
// whether a lead before it still waits for its trail.
#pragma once

inline int NextColumn(int column, char c, int tabWidth)
{
    return c == '\t' ? column + tabWidth - column % tabWidth : column + 1;
}

inline bool IsGbkLead(unsigned char c)
{
    return c >= 0x81 && c <= 0xFE;
}

inline bool IsGbkTrail(unsigned char c)
{
    return c >= 0x40 && c <= 0xFE && c != 0x7F;
}

// Whether a lead waits for its trail after byte c, given whether one waited
// before it: a waiting lead takes a trail, any other lead starts to wait.
inline bool LeadPendingAfter(bool pending, unsigned char c)
{
    return pending && IsGbkTrail(c) ? false : IsGbkLead(c);
}

// A point of a line, before its byte `byte`: the display column there, and
// whether the byte before is a lead still waiting for its trail (so that
// `byte`, if a trail, is the second half of a character).
struct LinePoint
{
    int byte = 0;
    int column = 0;
    bool leadPending = false;

    bool IsTrail(const char* chars) const
    {
        return leadPending && IsGbkTrail(static_cast<unsigned char>(chars[byte]));
    }
    // Moves the point over one byte.
    void Step(const char* chars, int tabWidth)
    {
        column = NextColumn(column, chars[byte], tabWidth);
        leadPending = LeadPendingAfter(leadPending, static_cast<unsigned char>(chars[byte]));
        ++byte;
    }
};
