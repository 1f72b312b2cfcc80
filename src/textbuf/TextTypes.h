// Small value types and constants shared by the text buffer and everything that
// talks to it: text positions, line-ending styles, line flags, change hints.
#pragma once

#include <cstdint>

// A position in the text: y is the zero-based line, x the zero-based byte
// offset within that line (0 .. length inclusive).  Bytes, not characters:
// a GBK double-byte character occupies two positions.
struct TextPos
{
    int x = 0;
    int y = 0;

    friend bool operator==(const TextPos&, const TextPos&) = default;
};

// Text order: an earlier line, or the same line and a smaller byte offset.
constexpr bool IsBefore(TextPos a, TextPos b)
{
    return a.y < b.y || (a.y == b.y && a.x < b.x);
}

// Line-ending styles.  On disk EOL_UNIX is the two bytes LF CR and EOL_MAC a
// lone LF; inside the program text always crosses interfaces with CR LF.
enum : int
{
    EOL_AUTO = -1,
    EOL_DOS = 0,
    EOL_UNIX = 1,
    EOL_MAC = 2,
};

// Name of a style as the status bar shows it ("DOS", "UNIX", "MAC"), or an
// empty string for anything else.
const char* EolStyleName(int style);

// One flag word per line.
enum : uint32_t
{
    LINEFLAG_BOOKMARK_0 = 0x00001,
    LINEFLAG_BOOKMARK_1 = 0x00002,
    LINEFLAG_BOOKMARK_2 = 0x00004,
    LINEFLAG_BOOKMARK_3 = 0x00008,
    LINEFLAG_BOOKMARK_4 = 0x00010,
    LINEFLAG_BOOKMARK_5 = 0x00020,
    LINEFLAG_BOOKMARK_6 = 0x00040,
    LINEFLAG_BOOKMARK_7 = 0x00080,
    LINEFLAG_BOOKMARK_8 = 0x00100,
    LINEFLAG_BOOKMARK_9 = 0x00200,
    LINEFLAG_RUNNING = 0x10000,
    LINEFLAG_BOOKMARK = 0x80000,
};

constexpr uint32_t LineFlagBookmark(int n) { return 1u << n; }

// Change hints sent with every buffer notification.  The buffer sends exactly
// HINT_RESET, HINT_WIDTH | HINT_HEIGHT, HINT_WIDTH | HINT_ONE_LINE and
// HINT_ONE_LINE | HINT_FLAGS_ONLY.
enum : uint32_t
{
    HINT_WIDTH = 0x0001,
    HINT_HEIGHT = 0x0002,
    HINT_ONE_LINE = 0x0100,
    HINT_FLAGS_ONLY = 0x0200,
    HINT_RESET = 0x1000,
};
