// Reading the numbers of NC words without the process locale.
//
// The values of NC words are read the way the C library's atof and atoi read
// them in the "C" locale.  Calling atof itself is not an option: a Qt
// application switches the C locale to the user's, and under a locale whose
// decimal mark is a comma atof would read "1.5" as 1.  These readers never
// consult the locale.
//
// A word's value is a run of accepted bytes right after its letter: digits,
// '-' and '.' for coordinates, arc offsets and feeds, digits alone for G and
// T.  Within the run the number is its longest valid prefix, as atof reads
// it: an optional '-', digits with at most one '.', at least one digit.  So
// "1.5.2" is 1.5, "5-3" is 5, and "-", "--5" and "." are 0.
//
// The interpreter reads millions of numbers, so the readers are inline and
// take digits eight bytes at a time instead of branching on every digit.  A
// number of up to 19 digits whose mantissa is within 2^53 is converted
// exactly: the mantissa and the power of ten are both exact doubles, so one
// IEEE division rounds correctly.  Anything else goes to the out-of-line
// reader.  The eight-byte reads never go past the end of the text.
#pragma once

#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>

inline bool NcIsDigit(char c)
{
    return static_cast<unsigned char>(c - '0') < 10;
}

inline bool NcIsDecimalByte(char c)
{
    return NcIsDigit(c) || c == '-' || c == '.';
}

// Reads the longest valid prefix of p[0..n) when the inline reader cannot:
// many digits, overflow to infinity, underflow to a denormal or zero.
double NcReadDoubleSlow(const char* p, size_t n);

// Number of leading decimal digits (0 to 8) in the eight bytes x, first byte
// lowest.
inline unsigned NcDigitCount8(uint64_t x)
{
    // XOR with '0' turns digits into 0..9 and every other byte into more.
    // Adding 0x76 sets the top bit of a byte of 10 or more; a byte of 0x8A or
    // more (no digit) carries into the next, but only the bytes up to the
    // first that is no digit count.
    const uint64_t d = x ^ 0x3030303030303030;
    const uint64_t marks = ((d + 0x7676767676767676) | d) & 0x8080808080808080;
    return marks ? static_cast<unsigned>(std::countr_zero(marks)) >> 3 : 8;
}

// Value of the first count (1 to 8) bytes of x, all of them digits.
inline uint64_t NcDigitsValue8(uint64_t x, unsigned count)
{
    // Shifting the digits to the top leaves zero digits in front of them and
    // drops the bytes after them; then pairs, quadruples and octets of
    // digits are combined.
    uint64_t v = (x ^ 0x3030303030303030) << (8 * (8 - count));
    v = (v * 10 + (v >> 8)) & 0x00FF00FF00FF00FF;
    v = (v * 100 + (v >> 16)) & 0x0000FFFF0000FFFF;
    return (v * 10000 + (v >> 32)) & 0xFFFFFFFF;
}

// The eight bytes of text from position q on, first byte lowest, with zero
// bytes for those at end or beyond; reads only text[0..end), end >= 8.
inline uint64_t NcLoad8(const char* text, size_t q, size_t end)
{
    static_assert(std::endian::native == std::endian::little);
    uint64_t x;
    if (q + 8 <= end) {
        std::memcpy(&x, text + q, 8);
        return x;
    }
    if (q >= end)
        return 0;
    // Near the end: the last eight bytes, shifted down to start at q.
    std::memcpy(&x, text + end - 8, 8);
    return x >> (8 * (q + 8 - end));
}

// Reads the digits from text[q] on into mantissa, eight at a time, and
// returns how many there were.  q ends after them, and terminator is the
// byte that ends them (0 at the end of the text).  The mantissa wraps beyond
// 19 digits; the caller sees that from the count.
inline size_t NcAccumulateDigits(const char* text, size_t& q, size_t end, uint64_t& mantissa, unsigned& terminator)
{
    static constexpr uint64_t kScale[] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000};
    size_t digits = 0;
    uint64_t x;
    unsigned count;
    do {
        x = NcLoad8(text, q, end);
        count = NcDigitCount8(x);
        if (count > 0)
            mantissa = mantissa * kScale[count] + NcDigitsValue8(x, count);
        q += count;
        digits += count;
    } while (count == 8);
    terminator = static_cast<unsigned>((x >> (8 * count)) & 0xFF);
    return digits;
}

// NcParseDouble for a text shorter than eight bytes.
size_t NcParseShortDouble(const char* text, size_t begin, size_t end, double& value);

// Reads the number that starts at text[begin], within text[begin..end), as
// atof does in the "C" locale: stores it in value (0.0 when no number starts
// there) and returns the length of the longest valid prefix (0 then).  Reads
// no byte outside text[0..end).
[[gnu::always_inline]] inline size_t NcParseDouble(const char* text, size_t begin, size_t end, double& value)
{
    // Every power of ten up to 1e22 is an exact double.
    static constexpr double kPow10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,
                                        1e10, 1e11, 1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19};
    // The sign goes in without a branch: signs in a program follow no pattern
    // that a branch predictor could learn.
    static constexpr double kSign[] = {1.0, -1.0};
    if (end < 8)
        return NcParseShortDouble(text, begin, end, value);

    // The first eight bytes (a zero byte for each past the end of the text)
    // hold the sign, the whole digits and the point of nearly every number,
    // and the whole number with the byte that ends it of most ("-12.345").
    // The point is squeezed out so that the digits convert at once.
    uint64_t x = NcLoad8(text, begin, end);
    const bool negative = (x & 0xFF) == '-';
    x = negative ? x >> 8 : x;
    const unsigned whole = NcDigitCount8(x);
    const uint64_t after = whole < 8 ? x >> (8 * whole) : 0;
    uint64_t mantissa = 0;
    size_t digits;
    size_t fractionDigits = 0;
    size_t q;
    if (whole < 8 && (after & 0xFF) == '.') {
        fractionDigits = NcDigitCount8(after >> 8);
        digits = whole + fractionDigits;
        const uint64_t wholeMask = (uint64_t(1) << (8 * whole)) - 1;
        if (digits > 0)
            mantissa = NcDigitsValue8((x & wholeMask) | ((x >> 8) & ~wholeMask), static_cast<unsigned>(digits));
        q = begin + negative + whole + 1 + fractionDigits;
        // Fraction digits up to the end of the eight bytes may go on.
        if (q == begin + 8) {
            unsigned terminator;
            const size_t more = NcAccumulateDigits(text, q, end, mantissa, terminator);
            fractionDigits += more;
            digits += more;
        }
    } else if (negative + whole < 8) {
        digits = whole;
        if (digits > 0)
            mantissa = NcDigitsValue8(x, whole);
        q = begin + negative + whole;
    } else {
        // Whole digits that fill the eight bytes.
        q = begin + negative;
        unsigned terminator;
        digits = NcAccumulateDigits(text, q, end, mantissa, terminator);
        if (terminator == '.') {
            ++q;
            fractionDigits = NcAccumulateDigits(text, q, end, mantissa, terminator);
            digits += fractionDigits;
        }
    }
    if (digits == 0) {
        value = 0.0;
        return 0;
    }
    // Within 19 digits the mantissa has not wrapped and the fraction digits
    // are within the table.
    if (digits > 19 || mantissa > (uint64_t(1) << 53)) {
        value = NcReadDoubleSlow(text + begin, q - begin);
        return q - begin;
    }
    const double magnitude = static_cast<double>(mantissa) / kPow10[fractionDigits];
    value = std::copysign(magnitude, kSign[negative]);
    return q - begin;
}

// atof in the "C" locale on p[0..n), whose bytes are digits, '-' and '.'
// (any other byte ends the number).  0.0 when no number starts at p.
inline double NcReadDouble(const char* p, size_t n)
{
    double value;
    NcParseDouble(p, 0, n, value);
    return value;
}

// NcParseInt for a text shorter than eight bytes.
size_t NcParseShortInt(const char* text, size_t begin, size_t end, int32_t& value);

// Reads the digits that start at text[begin], within text[begin..end), as
// atoi does, except that a value beyond the int32 range (where atoi is
// undefined) reads as 2147483647.  Stores the value (0 when there are no
// digits) and returns the number of digits.  Reads no byte outside
// text[0..end).
[[gnu::always_inline]] inline size_t NcParseInt(const char* text, size_t begin, size_t end, int32_t& value)
{
    static constexpr uint64_t kScale[] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000};
    if (end < 8)
        return NcParseShortInt(text, begin, end, value);
    // Held at 2^31 once past the range, so that it cannot wrap however many
    // digits follow.
    constexpr uint64_t kBeyond = uint64_t(INT32_MAX) + 1;
    uint64_t magnitude = 0;
    size_t q = begin;
    unsigned count;
    do {
        const uint64_t x = NcLoad8(text, q, end);
        count = NcDigitCount8(x);
        if (count > 0)
            magnitude = magnitude * kScale[count] + NcDigitsValue8(x, count);
        if (magnitude > kBeyond)
            magnitude = kBeyond;
        q += count;
    } while (count == 8);
    value = magnitude > INT32_MAX ? INT32_MAX : static_cast<int32_t>(magnitude);
    return q - begin;
}

// atoi on the digits p[0..n), saturating as NcParseInt does.  0 for no digits.
inline int32_t NcReadInt(const char* p, size_t n)
{
    int32_t value;
    NcParseInt(p, 0, n, value);
    return value;
}
