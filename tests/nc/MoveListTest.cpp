// The move list keeps millions of records: 56 bytes each in large chunks,
// in order, with stable addresses.
#include <gtest/gtest.h>

#include <iterator>
#include <limits>
#include <vector>

#include "MoveList.h"

namespace {

MoveRecord Numbered(int i)
{
    MoveRecord r;
    r.line = i;
    r.endX = static_cast<float>(i) * 0.5f;
    r.rapid = i & 1;
    return r;
}

}  // namespace

TEST(MoveList, KeepsOrderAcrossChunksAndAllocatesPerChunkOnly)
{
    MoveList list;
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(list.begin(), list.end());
    const size_t chunk = MoveList::kChunkSize;
    const int count = int(3 * chunk + 17);
    const MoveRecord* first = nullptr;
    for (int i = 0; i < count; ++i) {
        list.push_back(Numbered(i));
        if (i == 0)
            first = &list[0];
    }
    ASSERT_EQ(list.size(), size_t(count));
    EXPECT_EQ(list.capacity(), 4 * chunk);
    EXPECT_EQ(first, &list[0]) << "records must not move while the list grows";
    EXPECT_EQ(&list[chunk - 1] + 1 - &list[0], std::ptrdiff_t(chunk));

    int expected = 0;
    for (const MoveRecord& r : list) {
        ASSERT_EQ(r, Numbered(expected)) << "record " << expected;
        ++expected;
    }
    EXPECT_EQ(expected, count);
    EXPECT_EQ(list[chunk].line, int(chunk));
    EXPECT_EQ(list[2 * chunk + 1].line, int(2 * chunk + 1));
    EXPECT_EQ(list[count - 1].endX, (count - 1) * 0.5f);

    // Clearing keeps the chunks for the next run; releasing gives them back.
    list.clear();
    EXPECT_EQ(list.size(), 0u);
    EXPECT_EQ(list.capacity(), 4 * chunk);
    EXPECT_EQ(list.begin(), list.end());
    list.push_back(Numbered(7));
    EXPECT_EQ(list[0].line, 7);
    EXPECT_EQ(&list[0], first);
    EXPECT_EQ(std::distance(list.begin(), list.end()), 1);
    list.release();
    EXPECT_EQ(list.size(), 0u);
    EXPECT_EQ(list.capacity(), 0u);
    list.push_back(Numbered(8));
    EXPECT_EQ(list[0].line, 8);
}

TEST(MoveRecord, EqualityIsBitForBit)
{
    MoveRecord a, b;
    EXPECT_EQ(a, b);
    b.endY = -0.0f;
    EXPECT_FALSE(a == b) << "-0 and +0 are different records";
    a.feed = b.feed = std::numeric_limits<float>::quiet_NaN();
    a.endY = -0.0f;
    EXPECT_EQ(a, b) << "a NaN field equals itself";
}
