// The number reader must read every run of accepted bytes exactly as strtod
// and atoi do in the "C" locale, so these tests compare it with strtod_l
// under a "C" locale object of their own across many generated runs.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <climits>
#include <cstring>
#include <cstdlib>
#include <locale.h>
#include <random>
#include <sys/mman.h>
#include <unistd.h>
#include <string>

#include "NcNumber.h"

namespace {

double CStrtod(const std::string& text)
{
    static const locale_t cLocale = ::newlocale(LC_ALL_MASK, "C", locale_t(0));
    return ::strtod_l(text.c_str(), nullptr, cLocale);
}

double Read(const std::string& run)
{
    return NcReadDouble(run.data(), run.size());
}

// Bit patterns, so that -0 and +0 differ and a failure shows both values.
void ExpectSameAsStrtod(const std::string& run)
{
    const double expected = CStrtod(run);
    const double actual = Read(run);
    EXPECT_EQ(std::bit_cast<uint64_t>(actual), std::bit_cast<uint64_t>(expected))
        << "run \"" << run << "\": read " << actual << ", strtod " << expected;
}

}  // namespace

TEST(NcNumber, ReadsTheLongestValidPrefixLikeAtof)
{
    EXPECT_EQ(Read("1.5.2"), 1.5);
    EXPECT_EQ(Read("5-3"), 5.0);
    EXPECT_EQ(Read("-.5"), -0.5);
    EXPECT_EQ(Read("5."), 5.0);
    EXPECT_EQ(Read("00.250"), 0.25);
    for (const char* nothing : {"", "-", "--5", ".", "-.", ".-5", "-.-"}) {
        EXPECT_EQ(std::bit_cast<uint64_t>(Read(nothing)), 0u) << "run \"" << nothing << "\" must read +0";
    }
    EXPECT_TRUE(std::signbit(Read("-0")));
    EXPECT_TRUE(std::signbit(Read("-0.000")));
    for (const char* run : {"1.5.2", "5-3", "-.5", "5.", "-", "--5", ".", "-0", "0.1", "-123.456", "9007199254740993",
                            "0.30000000000000004", "1234567890123456789", "12345678901234567890"})
        ExpectSameAsStrtod(run);
}

TEST(NcNumber, MatchesStrtodOnGeneratedRuns)
{
    std::mt19937 random(20240611);
    // Mostly digits, so that long mantissas and many fraction digits occur.
    const std::string alphabet = "0123456789012345678901234567890123456789-..";
    std::uniform_int_distribution<size_t> pick(0, alphabet.size() - 1);
    std::uniform_int_distribution<int> length(0, 30);
    for (int i = 0; i < 200000; ++i) {
        std::string run;
        for (int n = length(random); n > 0; --n)
            run += alphabet[pick(random)];
        ExpectSameAsStrtod(run);
        if (HasFailure())
            return;
    }
}

TEST(NcNumber, HandlesOverflowUnderflowAndVeryLongRunsLikeStrtod)
{
    const std::string zeros(400, '0');
    EXPECT_EQ(Read("1" + zeros), HUGE_VAL);
    EXPECT_EQ(Read("-9" + zeros + ".5"), -HUGE_VAL);
    // Denormals, the smallest one, and values below it that round to zero.
    for (int exponent : {308, 310, 320, 323, 324, 330, 400})
        for (const char* digits : {"1", "4", "5", "25", "49406564584124654", "9"}) {
            ExpectSameAsStrtod("0." + std::string(exponent - 1, '0') + digits);
            ExpectSameAsStrtod("-0." + std::string(exponent - 1, '0') + digits);
        }
    EXPECT_TRUE(std::signbit(Read("-0." + zeros + "1")));
    // Long but in range: leading zeros, hundreds of significant digits, a
    // halfway case between two doubles.
    ExpectSameAsStrtod(zeros + "12.5");
    ExpectSameAsStrtod(std::string(300, '7') + "." + std::string(50, '3'));
    ExpectSameAsStrtod("9007199254740993" + std::string(60, '0') + "1");
    ExpectSameAsStrtod("179769313486231580793728971405303415079934132710037826936173778980444968292764750946649017977587"
                       "207096330286416692887910946555547851940402630657488671505820681908902000708383676273854845817711"
                       "531764475730270069855571366959622842914819860834936475292719074168444365510704342711559699508093"
                       "042880");
}

TEST(NcNumber, ReadsWithinALineAndNeverPastItsEnd)
{
    // The line ends right before a page that may not be read, so a read past
    // its end would crash the test.
    const size_t page = static_cast<size_t>(::sysconf(_SC_PAGESIZE));
    char* const pages =
        static_cast<char*>(::mmap(nullptr, 2 * page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
    ASSERT_NE(pages, MAP_FAILED);
    ASSERT_EQ(::mprotect(pages + page, page, PROT_NONE), 0);

    std::mt19937 random(99);
    const std::string alphabet = "0123456789012345678901234567890123456789-..X Y";
    std::uniform_int_distribution<size_t> pick(0, alphabet.size() - 1);
    std::uniform_int_distribution<int> length(1, 40);
    for (int i = 0; i < 20000 && !HasFailure(); ++i) {
        std::string line;
        for (int n = length(random); n > 0; --n)
            line += alphabet[pick(random)];
        char* const text = pages + page - line.size();
        std::memcpy(text, line.data(), line.size());
        for (size_t begin = 0; begin < line.size(); ++begin) {
            // What atof makes of the run from begin on, and how far strtod gets.
            const std::string run = line.substr(begin, std::strspn(line.c_str() + begin, "0123456789-."));
            char* stop = nullptr;
            static const locale_t cLocale = ::newlocale(LC_ALL_MASK, "C", locale_t(0));
            const double expected = ::strtod_l(run.c_str(), &stop, cLocale);
            double value = 42.0;
            const size_t prefix = NcParseDouble(text, begin, line.size(), value);
            EXPECT_EQ(std::bit_cast<uint64_t>(value), std::bit_cast<uint64_t>(expected))
                << "\"" << line << "\" from " << begin;
            EXPECT_EQ(prefix, size_t(stop - run.c_str())) << "\"" << line << "\" from " << begin;

            const size_t digits = std::strspn(line.c_str() + begin, "0123456789");
            int32_t integer = -1;
            EXPECT_EQ(NcParseInt(text, begin, line.size(), integer), digits);
            const long saturated = std::strtol(line.substr(begin, digits).c_str(), nullptr, 10);
            EXPECT_EQ(integer, std::min<long>(saturated, INT_MAX)) << "\"" << line << "\" from " << begin;
        }
    }
    ::munmap(pages, 2 * page);
}

TEST(NcNumber, ReadsIntegersLikeAtoiAndSaturatesBeyondInt32)
{
    EXPECT_EQ(NcReadInt("00", 2), 0);
    EXPECT_EQ(NcReadInt("0091", 4), 91);
    EXPECT_EQ(NcReadInt("2147483647", 10), INT_MAX);
    EXPECT_EQ(NcReadInt("2147483648", 10), INT_MAX);
    EXPECT_EQ(NcReadInt("4294967297", 10), INT_MAX);  // glibc's atoi would wrap to 1
    // Values that a 64-bit accumulator would wrap to 0 and 1.
    EXPECT_EQ(NcReadInt("18446744073709551616", 20), INT_MAX);
    EXPECT_EQ(NcReadInt("18446744073709551617", 20), INT_MAX);
    const std::string huge(100, '9');
    EXPECT_EQ(NcReadInt(huge.data(), huge.size()), INT_MAX);
    const std::string leadingZeros = std::string(50, '0') + "1234";
    EXPECT_EQ(NcReadInt(leadingZeros.data(), leadingZeros.size()), 1234);
}
