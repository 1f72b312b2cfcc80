// The code view's colouring of any bytes as one line, starting in every
// cookie state.  The runs it returns must lie inside the line, in order,
// with known colours, and fit the room the parse promises to need; fewer slots keep a prefix of the runs and never
// write past them; the cookie is the same with and without runs; and
// stopping the parse at a chosen byte and taking it up from the state it had
// there colours every byte after it as the parse of the whole line does.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "NcColouring.h"

namespace {

constexpr ParseCookie kAllBits = NcCookieSemicolonComment | NcCookieDirective | NcCookieParenComment | NcCookieString;

void CheckRuns(const ColourBlock* blocks, int count, int capacity, int length)
{
    if (count < 0 || count > capacity)
        std::abort();
    for (int i = 0; i < count; ++i) {
        // A position of the line: 0 .. length (a run that starts at the end,
        // after a closing quote say, is empty).
        if (blocks[i].CharPos < 0 || blocks[i].CharPos > length)
            std::abort();
        // Two runs may start at the same byte (the first is then empty),
        // never out of order.
        if (i > 0 && blocks[i].CharPos < blocks[i - 1].CharPos)
            std::abort();
        if (blocks[i].ColourIndex < ColourNormalText || blocks[i].ColourIndex > ColourDirective)
            std::abort();
    }
}

// The colour of every byte from `from` on, as the runs give it.
std::vector<int> ByteColours(const ColourBlock* blocks, int count, int length, int before)
{
    std::vector<int> colours(size_t(length), before);
    for (int i = 0; i < count; ++i) {
        const int end = i + 1 < count ? blocks[i + 1].CharPos : length;
        for (int at = blocks[i].CharPos; at < end; ++at)
            colours[size_t(at)] = blocks[i].ColourIndex;
    }
    return colours;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const uint16_t split = input.ConsumeIntegral<uint16_t>();
    const uint8_t fewer = input.ConsumeIntegral<uint8_t>();
    const std::vector<char> line = input.ConsumeRemainingBytes<char>();
    const int length = int(line.size());
    const char* chars = line.data();
    // More room than the parse promises to need, so that a parse that
    // needed more would show instead of losing runs.
    const int promised = 3 * length + 3;
    const int capacity = promised + 64;

    for (ParseCookie cookie = 0; cookie <= kAllBits; ++cookie) {
        // Heap arrays of the exact size, so that a write past them shows.
        auto blocks = std::make_unique<ColourBlock[]>(size_t(capacity));
        int count = -1;
        const ParseCookie next = ColouriseNcLine(cookie, chars, length, blocks.get(), capacity, count);
        CheckRuns(blocks.get(), count, promised, length);
        if (next & ~kAllBits)
            std::abort();

        int none = -1;
        if (ColouriseNcLine(cookie, chars, length, nullptr, 0, none) != next)
            std::abort();

        const int few = count > 0 ? fewer % (count + 1) : 0;
        auto cut = std::make_unique<ColourBlock[]>(size_t(few));
        int cutCount = -1;
        if (ColouriseNcLine(cookie, chars, length, cut.get(), few, cutCount) != next || cutCount != few)
            std::abort();
        for (int i = 0; i < few; ++i)
            if (cut[size_t(i)].CharPos != blocks[size_t(i)].CharPos ||
                cut[size_t(i)].ColourIndex != blocks[size_t(i)].ColourIndex)
                std::abort();

        const int from = split % (length + 1);
        LineParseState state;
        state.cookie = cookie;
        auto head = std::make_unique<ColourBlock[]>(size_t(3 * from + 3));
        int headCount = -1;
        ResumeNcLine(state, chars, length, 0, from, head.get(), 3 * from + 3, headCount);
        if (headCount < 0 || headCount > 3 * from + 3)
            std::abort();
        const int before = state.colour;
        const int tailCapacity = 3 * (length - from) + 3;
        auto tail = std::make_unique<ColourBlock[]>(size_t(tailCapacity));
        int tailCount = -1;
        ResumeNcLine(state, chars, length, from, length, tail.get(), tailCapacity, tailCount);
        if (tailCount < 0 || tailCount > tailCapacity)
            std::abort();
        if (length > 0 && state.cookie != next)
            std::abort();
        const std::vector<int> whole = ByteColours(blocks.get(), count, length, ColourNormalText);
        const std::vector<int> resumed = ByteColours(tail.get(), tailCount, length, before);
        for (int at = from; at < length; ++at)
            if (whole[size_t(at)] != resumed[size_t(at)])
                std::abort();
    }
    return 0;
}
