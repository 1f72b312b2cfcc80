// The width cache against a plain recount after random edits.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "LineWidthCache.h"

namespace {

TEST(LineWidthCache, AgreesWithARecountAfterRandomEdits)
{
    std::mt19937 random(7);
    std::vector<int> widths(500);
    for (int& width : widths)
        width = int(random() % 90);
    LineWidthCache cache;
    cache.Build(int(widths.size()), [&](int line) { return widths[size_t(line)]; });
    for (int round = 0; round < 3000; ++round) {
        const int line = int(random() % widths.size());
        switch (random() % 3) {
        case 0: {
            const int width = int(random() % 120);
            widths[size_t(line)] = width;
            cache.SetWidth(line, width);
            break;
        }
        case 1: {
            const int count = 1 + int(random() % 4);
            widths.insert(widths.begin() + line + 1, size_t(count), 0);
            cache.InsertAfter(line, count);
            for (int i = 1; i <= count; ++i) {
                widths[size_t(line + i)] = int(random() % 100);
                cache.SetWidth(line + i, widths[size_t(line + i)]);
            }
            break;
        }
        default: {
            const int count = std::min(int(widths.size()) - 1 - line, 1 + int(random() % 4));
            if (count <= 0)
                break;
            widths.erase(widths.begin() + line + 1, widths.begin() + line + 1 + count);
            cache.EraseAfter(line, count);
            break;
        }
        }
        ASSERT_EQ(cache.LineCount(), int(widths.size()));
        ASSERT_EQ(cache.Widest(), *std::max_element(widths.begin(), widths.end())) << round;
    }
    for (size_t i = 0; i < widths.size(); ++i)
        ASSERT_EQ(cache.Width(int(i)), widths[i]);
}

}  // namespace
