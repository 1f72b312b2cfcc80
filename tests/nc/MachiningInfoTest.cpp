// The machining information text, as the information pane and tornel-info
// print it.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

#include "MachiningInfo.h"

namespace {

std::string Info(double time, double rapid = 0.0, double feed = 0.0)
{
    return FormatMachiningInfo(time, rapid, feed, "\n");
}

// The time line alone.
std::string TimeLine(double time)
{
    const std::string text = Info(time);
    const size_t start = text.find('\n') + 1;
    return text.substr(start, text.find('\n', start) - start);
}

}  // namespace

TEST(MachiningInfo, PrintsFourLabelledLines)
{
    EXPECT_EQ(FormatMachiningInfo(125.5, 300.0, 98.5, "\r\n"),
              "[加工信息]：\r\n加工工时为：2小时5分\r\n快速进给距离为：300.000000mm\r\n进给距离为：98.500000mm\r\n");
    EXPECT_EQ(Info(0.0), "[加工信息]：\n加工工时为：0小时0分\n快速进给距离为：0.000000mm\n进给距离为：0.000000mm\n");
    const std::string text = Info(1.0, 2.0, 3.0);
    for (std::string_view label : {kInfoHeaderLabel, kInfoTimeLabel, kInfoRapidLabel, kInfoFeedLabel})
        EXPECT_NE(text.find(label), std::string::npos) << label;
}

TEST(MachiningInfo, TheWarningLineCountsLinesFromOneAndIsEmptyWithoutWarnings)
{
    EXPECT_EQ(FormatWarningLine(NcWarnings(), "\n"), "");
    NcWarnings warnings;
    warnings.AddLine(0, WarningBit(WARNING_DWELL));
    EXPECT_EQ(FormatWarningLine(warnings, "\r\n"), "注意：1 行含有未解释的指令（首次出现于第 1 行）\r\n");
    warnings.AddLine(7, WarningBit(WARNING_INCH));
    EXPECT_EQ(FormatWarningLine(warnings, "\n"), "注意：2 行含有未解释的指令（首次出现于第 1 行）\n");
    // The largest index an int holds does not wrap when counted from one.
    NcWarnings last;
    last.AddLine(2147483647, WarningBit(WARNING_INCH));
    EXPECT_EQ(FormatWarningLine(last, ""), "注意：1 行含有未解释的指令（首次出现于第 2147483648 行）");
}

TEST(MachiningInfo, TimeIsTruncatedToWholeMinutes)
{
    EXPECT_EQ(TimeLine(0.3807106781186548), "加工工时为：0小时0分");
    EXPECT_EQ(TimeLine(59.99), "加工工时为：0小时59分");
    EXPECT_EQ(TimeLine(60.0), "加工工时为：1小时0分");
    EXPECT_EQ(TimeLine(6000.7), "加工工时为：100小时0分");
    // Truncating division: both parts take the sign.
    EXPECT_EQ(TimeLine(-61.5), "加工工时为：-1小时-1分");
    EXPECT_EQ(TimeLine(-0.5), "加工工时为：0小时0分");
}

TEST(MachiningInfo, TimesBeyondAnyIntegerSaturateAndNaNIsZero)
{
    // 9223372036854775807 minutes.
    EXPECT_EQ(TimeLine(1e300), "加工工时为：153722867280912930小时7分");
    EXPECT_EQ(TimeLine(9223372036854775808.0), "加工工时为：153722867280912930小时7分");
    EXPECT_EQ(TimeLine(HUGE_VAL), "加工工时为：153722867280912930小时7分");
    EXPECT_EQ(TimeLine(-HUGE_VAL), "加工工时为：-153722867280912930小时-8分");
    EXPECT_EQ(TimeLine(std::numeric_limits<double>::quiet_NaN()), "加工工时为：0小时0分");
}

TEST(MachiningInfo, DistancesAreWrittenAsPrintfWritesThemInTheCLocale)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (double value : {0.0, -0.0, 1e-7, 5e-7, 0.0000005000001, 2.5, 70.14213562373095, -3.25, 123456789.123456789,
                         1e22, 1.7976931348623157e308, HUGE_VAL, -HUGE_VAL, nan, -nan}) {
        char expected[1024];
        std::snprintf(expected, sizeof expected, "快速进给距离为：%fmm\n进给距离为：%fmm\n", value, -value);
        const std::string text = Info(0.0, value, -value);
        EXPECT_EQ(text.substr(text.find(kInfoRapidLabel)), expected);
    }
}
