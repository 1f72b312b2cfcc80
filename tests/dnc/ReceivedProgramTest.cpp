// The received bytes on their own: whatever the chunks the port hands over,
// every byte stays in order, each LF counts one line, and the line shown is
// the last complete one.
#include <gtest/gtest.h>

#include "ReceivedProgram.h"

namespace {

TEST(ReceivedProgramTest, ChunksSplitAnywhereKeepEveryByteAndCountEachLf)
{
    // DC1, DC3, NUL and a GBK comment are data like any other byte.
    static const char kProgram[] = "%\r\nG00 X1\r\n\x11\x13\0\xff(\xb5\xb6)\nM30\r\nN9";
    const QByteArray program(kProgram, sizeof kProgram - 1);
    for (qsizetype cut = 0; cut <= program.size(); ++cut) {
        ReceivedProgram received;
        received.Append(QByteArrayView(program).first(cut));
        received.Append(QByteArrayView(program).sliced(cut));
        EXPECT_EQ(received.Bytes(), program) << cut;
        EXPECT_EQ(received.LineCount(), 4) << cut;
        EXPECT_EQ(received.LastLine(), QByteArrayView("M30\r\n")) << cut;
    }
}

TEST(ReceivedProgramTest, TheLastLineIsTheLastCompleteOneAndClearStartsAgain)
{
    ReceivedProgram received;
    EXPECT_TRUE(received.LastLine().isEmpty());
    received.Append("G01 X1");
    EXPECT_EQ(received.LineCount(), 0);
    EXPECT_TRUE(received.LastLine().isEmpty());
    received.Append("\n\nG01");
    EXPECT_EQ(received.LineCount(), 2);
    EXPECT_EQ(received.LastLine(), QByteArrayView("\n"));
    received.Append(" X2\nG01 X3\nG0");
    EXPECT_EQ(received.LineCount(), 4);
    EXPECT_EQ(received.LastLine(), QByteArrayView("G01 X3\n"));

    received.Clear();
    EXPECT_TRUE(received.IsEmpty());
    EXPECT_EQ(received.LineCount(), 0);
    EXPECT_TRUE(received.LastLine().isEmpty());
    received.Append("N1\n");
    EXPECT_EQ(received.LastLine(), QByteArrayView("N1\n"));
}

}  // namespace
