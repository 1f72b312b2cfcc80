// Names, shape names and numbers of tool definitions as text.
#include "ToolSlotText.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <system_error>
#include <type_traits>

#include "DataTransfer.h"

namespace {

constexpr const char* kTypeNames[] = {"FL", "BU", "SP", "CO", "DR"};

// The name as GBK bytes, or false when it cannot be a name.
bool EncodeName(QStringView text, std::string& bytes)
{
    for (const QChar c : text)
        if (c.category() == QChar::Other_Control)
            return false;
    return UnicodeToGbk(text, bytes) && bytes.size() <= size_t(kToolNameBytes);
}

template <class Number>
std::string FormatShortest(Number value)
{
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

template <class Number>
bool ParseWhole(std::string_view text, Number& value)
{
    // from_chars takes no plus sign; a user may type one.
    if (text.size() > 1 && text.front() == '+' && text[1] != '-' && text[1] != '+')
        text.remove_prefix(1);
    Number read{};
    const auto result = std::from_chars(text.data(), text.data() + text.size(), read);
    if (text.empty() || result.ec != std::errc() || result.ptr != text.data() + text.size())
        return false;
    if constexpr (std::is_floating_point_v<Number>) {
        if (!std::isfinite(read))
            return false;
    }
    value = read;
    return true;
}

}  // namespace

QString ToolSlotName(const ToolSlot& slot)
{
    // A slot filled by other means may lack its NUL: read no further than
    // the array.
    return GbkToUnicode(std::string_view(slot.name, strnlen(slot.name, sizeof slot.name)));
}

bool IsValidToolName(QStringView text)
{
    std::string bytes;
    return EncodeName(text, bytes);
}

bool SetToolSlotName(ToolSlot& slot, QStringView text)
{
    std::string bytes;
    if (!EncodeName(text, bytes))
        return false;
    std::memset(slot.name, 0, sizeof slot.name);
    std::memcpy(slot.name, bytes.data(), bytes.size());
    return true;
}

const char* ToolTypeName(ToolType type)
{
    const auto index = static_cast<int32_t>(type);
    return index >= 0 && index < 5 ? kTypeNames[index] : nullptr;
}

bool ParseToolType(std::string_view text, ToolType& type)
{
    for (int32_t index = 0; index < 5; ++index) {
        if (text == kTypeNames[index]) {
            type = static_cast<ToolType>(index);
            return true;
        }
    }
    return false;
}

std::string FormatToolNumber(float value)
{
    return FormatShortest(value);
}

std::string FormatToolNumber(double value)
{
    return FormatShortest(value);
}

bool ParseToolNumber(std::string_view text, float& value)
{
    return ParseWhole(text, value);
}

bool ParseToolNumber(std::string_view text, double& value)
{
    return ParseWhole(text, value);
}

bool ParseToolNumber(std::string_view text, int32_t& value)
{
    return ParseWhole(text, value);
}
