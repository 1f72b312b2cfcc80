// The slow path of the locale-free number reader (see NcNumber.h).
#include "NcNumber.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <locale.h>
#include <string>
#include <system_error>

namespace {

// A "C" locale object of our own, so that strtod_l reads a '.' whatever the
// process locale is.  Made once and kept for the life of the process.
locale_t CLocale()
{
    static const locale_t locale = ::newlocale(LC_ALL_MASK, "C", locale_t(0));
    return locale;
}

}  // namespace

size_t NcParseShortDouble(const char* text, size_t begin, size_t end, double& value)
{
    // Eight-byte reads need a text of eight bytes at least: copy the short
    // one into zero bytes, which end a number as the end of the text does.
    char padded[16] = {};
    if (end > 0)
        std::memcpy(padded, text, end);
    return NcParseDouble(padded, begin, sizeof padded, value);
}

size_t NcParseShortInt(const char* text, size_t begin, size_t end, int32_t& value)
{
    char padded[16] = {};
    if (end > 0)
        std::memcpy(padded, text, end);
    return NcParseInt(padded, begin, sizeof padded, value);
}

double NcReadDoubleSlow(const char* p, size_t n)
{
    double value = 0.0;
    const std::from_chars_result result = std::from_chars(p, p + n, value, std::chars_format::fixed);
    if (result.ec == std::errc())
        return value;
    if (result.ec != std::errc::result_out_of_range)
        return 0.0;
    // from_chars leaves the value alone when the number is out of range,
    // where strtod gives +-HUGE_VAL or the nearest denormal (possibly +-0).
    // Such a number is long and rare enough that a copy costs nothing.
    const std::string text(p, result.ptr);
    if (const locale_t locale = CLocale())
        return ::strtod_l(text.c_str(), nullptr, locale);
    // Without a locale object (out of memory), decide overflow from the
    // integer part and let an underflow be zero.
    const bool negative = text[0] == '-';
    const bool overflow = text.find_first_of("123456789") < text.find('.');
    const double magnitude = overflow ? HUGE_VAL : 0.0;
    return negative ? -magnitude : magnitude;
}
