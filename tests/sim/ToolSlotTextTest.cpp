// The text forms of tool fields: names in GBK bytes within their limit,
// shape names, and numbers that read back exactly.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>
#include <numbers>

#include "ToolSlotText.h"

namespace {

std::string NameBytes(const ToolSlot& slot)
{
    return std::string(slot.name, strnlen(slot.name, sizeof slot.name));
}

TEST(ToolSlotText, NamesAreStoredAsGbkBytesOfAtMostTenAndNeverHalfACharacter)
{
    ToolSlot slot;
    ASSERT_TRUE(SetToolSlotName(slot, u"T型刀ab12"));  // 1 + 2 + 2 + 4 bytes
    EXPECT_EQ(NameBytes(slot), "T\xD0\xCD\xB5\xB6" "ab12");
    EXPECT_EQ(ToolSlotName(slot), QStringLiteral("T型刀ab12"));

    // Ten bytes fit, with the NUL and a spare byte; an eleventh does not.
    ASSERT_TRUE(SetToolSlotName(slot, u"平底铣刀φ"));  // four characters and φ, all double-byte
    EXPECT_EQ(NameBytes(slot).size(), 10u);
    EXPECT_EQ(slot.name[10], '\0');
    EXPECT_EQ(slot.name[11], '\0');
    EXPECT_EQ(ToolSlotName(slot), QStringLiteral("平底铣刀φ"));
    ASSERT_TRUE(SetToolSlotName(slot, u"0123456789"));
    EXPECT_FALSE(SetToolSlotName(slot, u"0123456789A"));
    // A sixth Chinese character would need bytes 11 and 12: the name is
    // refused whole rather than cut in the middle of a character.
    EXPECT_FALSE(SetToolSlotName(slot, u"一二三四五六"));
    EXPECT_FALSE(SetToolSlotName(slot, u"123456789刀"));
    EXPECT_EQ(ToolSlotName(slot), QStringLiteral("0123456789"));  // unchanged

    // Characters GBK cannot hold, and control characters, cannot be names.
    EXPECT_FALSE(IsValidToolName(u"刀😀"));
    EXPECT_FALSE(IsValidToolName(u"a\tb"));
    EXPECT_FALSE(IsValidToolName(u"a\nb"));
    EXPECT_TRUE(IsValidToolName(u""));
    EXPECT_TRUE(IsValidToolName(u"一二三四五"));

    // A shorter name clears what a longer one left behind.
    ASSERT_TRUE(SetToolSlotName(slot, u"ab"));
    EXPECT_EQ(std::memcmp(slot.name, "ab\0\0\0\0\0\0\0\0\0\0", 12), 0);

    // A slot without its NUL (filled by other means) is read no further
    // than its twelve bytes.
    std::memset(slot.name, 'x', sizeof slot.name);
    EXPECT_EQ(ToolSlotName(slot), QString(12, QLatin1Char('x')));
}

TEST(ToolSlotText, ShapeNames)
{
    const char* names[] = {"FL", "BU", "SP", "CO", "DR"};
    for (int32_t t = 0; t < 5; ++t) {
        EXPECT_STREQ(ToolTypeName(static_cast<ToolType>(t)), names[t]);
        ToolType type = ToolType::DR;
        ASSERT_TRUE(ParseToolType(names[t], type));
        EXPECT_EQ(static_cast<int32_t>(type), t);
    }
    EXPECT_EQ(ToolTypeName(static_cast<ToolType>(5)), nullptr);
    EXPECT_EQ(ToolTypeName(static_cast<ToolType>(-1)), nullptr);
    ToolType type = ToolType::SP;
    for (const char* bad : {"fl", "XX", "", "FL ", "F"})
        EXPECT_FALSE(ParseToolType(bad, type)) << bad;
    EXPECT_EQ(type, ToolType::SP);
}

template <class Number>
bool SameBits(Number a, Number b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

TEST(ToolSlotText, NumbersReadBackBitForBit)
{
    for (const float value : {0.0f, -0.0f, 0.1f, 1.0f / 3.0f, 123456.789f, -2.5e-7f, FLT_MAX, -FLT_MAX, FLT_MIN,
                              std::numeric_limits<float>::denorm_min(), 16777217.0f}) {
        const std::string text = FormatToolNumber(value);
        float back = 42.0f;
        ASSERT_TRUE(ParseToolNumber(text, back)) << text;
        EXPECT_TRUE(SameBits(back, value)) << text;
    }
    for (const double value : {0.0, -0.0, 0.1, std::numbers::pi, 1e-300, DBL_MAX, -DBL_MAX, DBL_MIN,
                               std::numeric_limits<double>::denorm_min(), 9007199254740993.0}) {
        const std::string text = FormatToolNumber(value);
        double back = 42.0;
        ASSERT_TRUE(ParseToolNumber(text, back)) << text;
        EXPECT_TRUE(SameBits(back, value)) << text;
    }
    // Shortest: what the user typed comes back as typed.
    EXPECT_EQ(FormatToolNumber(0.1f), "0.1");
    EXPECT_EQ(FormatToolNumber(12.5), "12.5");
    EXPECT_EQ(FormatToolNumber(118.0f), "118");
}

TEST(ToolSlotText, OnlyWholeFiniteNumbersThatFitAreRead)
{
    float single = 7.0f;
    double wide = 7.0;
    int32_t whole = 7;
    EXPECT_TRUE(ParseToolNumber("+5", single));
    EXPECT_EQ(single, 5.0f);
    EXPECT_TRUE(ParseToolNumber("-.5", wide));
    EXPECT_EQ(wide, -0.5);
    EXPECT_TRUE(ParseToolNumber("1e39", wide));  // fits a double, not a float
    EXPECT_TRUE(ParseToolNumber("-2147483648", whole));
    EXPECT_EQ(whole, INT32_MIN);

    single = 7.0f;
    for (const char* bad : {"", "abc", "1,5", " 5", "5 ", "+", "-", "+-5", "++5", "0x10", "1.5.2", "inf", "nan",
                            "-inf", "1e39", "5mm"})
        EXPECT_FALSE(ParseToolNumber(bad, single)) << bad;
    EXPECT_EQ(single, 7.0f);  // untouched by every failure
    for (const char* bad : {"1e400", "nan", "infinity"})
        EXPECT_FALSE(ParseToolNumber(bad, wide)) << bad;
    for (const char* bad : {"2147483648", "1.5", "1e3", ""})
        EXPECT_FALSE(ParseToolNumber(bad, whole)) << bad;
}

}  // namespace
