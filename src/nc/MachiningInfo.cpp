// Formatting of the machining information text (see MachiningInfo.h).
//
// printf would take its decimal mark from the process locale, which a Qt
// application sets to the user's; to_chars never does.
#include "MachiningInfo.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>

namespace {

// Whole minutes of a time, truncated toward zero.  The plain conversion is
// undefined for NaN and beyond the int64 range, which a non-finite or absurd
// time would reach.
int64_t WholeMinutes(double time)
{
    if (std::isnan(time))
        return 0;
    if (time >= 9223372036854775808.0)
        return std::numeric_limits<int64_t>::max();
    if (time <= -9223372036854775808.0)
        return std::numeric_limits<int64_t>::min();
    return static_cast<int64_t>(time);
}

void AppendInteger(std::string& out, int64_t value)
{
    char buffer[24];
    const std::to_chars_result result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

// As printf's "%f".
void AppendFixed(std::string& out, double value)
{
    if (std::isnan(value)) {
        out += std::signbit(value) ? "-nan" : "nan";
        return;
    }
    // The largest double has 309 integer digits; with sign, point and six
    // decimals that is well below the buffer.
    char buffer[330];
    const std::to_chars_result result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 6);
    out.append(buffer, result.ptr);
}

}  // namespace

std::string FormatMachiningInfo(double machiningTime, double rapidDistance, double feedDistance,
                                std::string_view lineEnd)
{
    const int64_t minutes = WholeMinutes(machiningTime);
    std::string out;
    out.reserve(128);
    out += kInfoHeaderLabel;
    out += lineEnd;
    out += kInfoTimeLabel;
    AppendInteger(out, minutes / 60);
    out += "小时";
    AppendInteger(out, minutes % 60);
    out += "分";
    out += lineEnd;
    out += kInfoRapidLabel;
    AppendFixed(out, rapidDistance);
    out += "mm";
    out += lineEnd;
    out += kInfoFeedLabel;
    AppendFixed(out, feedDistance);
    out += "mm";
    out += lineEnd;
    return out;
}

std::string FormatWarningLine(const NcWarnings& warnings, std::string_view lineEnd)
{
    std::string out;
    if (!warnings.Any())
        return out;
    out += kInfoWarningLabel;
    AppendInteger(out, warnings.lines);
    out += " 行含有未解释的指令（首次出现于第 ";
    AppendInteger(out, int64_t(warnings.firstLine) + 1);
    out += " 行）";
    out += lineEnd;
    return out;
}
