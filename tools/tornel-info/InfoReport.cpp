// Text and JSON reports of tornel-info.  Numbers are formatted with
// std::to_chars, which is independent of the process locale.
#include "InfoReport.h"

#include <charconv>
#include <cmath>

#include "TextTypes.h"
#include "MachiningInfo.h"
#include "NcInterpreter.h"

namespace {

template <class T>
void AppendNumber(std::string& out, T value, int precision)
{
    if (!std::isfinite(value)) {
        out += "null";
        return;
    }
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::general, precision);
    out.append(text, result.ptr);
}

void AppendInt(std::string& out, long long value)
{
    char text[24];
    const auto result = std::to_chars(text, text + sizeof text, value);
    out.append(text, result.ptr);
}

// "warnings": {"lines": N, "first_line": L, "kinds": {"lowercase": n, ...}},
// the kinds no line holds left out.
void AppendWarnings(std::string& out, const NcWarnings& warnings)
{
    out += "\"warnings\": {\"lines\": ";
    AppendInt(out, warnings.lines);
    out += ", \"first_line\": ";
    AppendInt(out, warnings.firstLine);
    out += ", \"kinds\": {";
    bool first = true;
    for (int kind = 0; kind < WARNING_KIND_COUNT; ++kind) {
        if (warnings.kinds[kind] == 0)
            continue;
        if (!first)
            out += ", ";
        first = false;
        AppendJsonString(out, NcWarningKindName(NcWarningKind(kind)));
        out += ": ";
        AppendInt(out, warnings.kinds[kind]);
    }
    out += "}}";
}

// Length of the valid UTF-8 sequence at the start of text, or 0.
size_t Utf8SequenceLength(std::string_view text)
{
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    size_t length;
    uint32_t min;
    uint32_t code;
    if (lead < 0x80)
        return 1;
    if ((lead & 0xE0) == 0xC0) {
        length = 2, min = 0x80, code = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, min = 0x800, code = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, min = 0x10000, code = lead & 0x07;
    } else {
        return 0;
    }
    if (text.size() < length)
        return 0;
    for (size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80)
            return 0;
        code = code << 6 | (byte(i) & 0x3F);
    }
    if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return 0;
    return length;
}

}  // namespace

void AppendJsonNumber(std::string& out, float value)
{
    AppendNumber(out, value, 9);
}

void AppendJsonNumber(std::string& out, double value)
{
    AppendNumber(out, value, 17);
}

void AppendJsonString(std::string& out, std::string_view text)
{
    out += '"';
    while (!text.empty()) {
        const unsigned char c = static_cast<unsigned char>(text[0]);
        const size_t length = Utf8SequenceLength(text);
        if (length == 0) {
            out += "\xEF\xBF\xBD";  // U+FFFD
            text.remove_prefix(1);
            continue;
        }
        if (c == '"' || c == '\\') {
            out += '\\';
            out += char(c);
        } else if (c < 0x20) {
            static const char hex[] = "0123456789abcdef";
            switch (c) {
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                out += "\\u00";
                out += hex[c >> 4];
                out += hex[c & 15];
            }
        } else {
            out.append(text.data(), length);
        }
        text.remove_prefix(length);
    }
    out += '"';
}

std::string InfoText(const NcInterpreter& interpreter)
{
    return FormatMachiningInfo(interpreter.MachiningTime(), interpreter.RapidDistance(),
                               interpreter.FeedDistance(), "\n") +
           FormatWarningLine(interpreter.Warnings(), "\n");
}

std::string InfoJsonHead(std::string_view path, int64_t lineCount, int eolStyle, const NcInterpreter& interpreter)
{
    std::string out = "{\"file\": ";
    AppendJsonString(out, path);
    out += ", \"lines\": ";
    AppendInt(out, lineCount);
    out += ", \"eol\": \"";
    out += EolStyleName(eolStyle);
    out += "\", \"feed_distance\": ";
    AppendJsonNumber(out, interpreter.FeedDistance());
    out += ", \"rapid_distance\": ";
    AppendJsonNumber(out, interpreter.RapidDistance());
    out += ", \"machining_time\": ";
    AppendJsonNumber(out, interpreter.MachiningTime());
    out += ", \"moves\": ";
    AppendInt(out, static_cast<long long>(interpreter.MoveCount()));
    out += ", \"tools\": [";
    bool first = true;
    for (const int32_t number : interpreter.ToolNumbers()) {
        if (!first)
            out += ", ";
        first = false;
        AppendInt(out, number);
    }
    out += ']';
    if (interpreter.Warnings().Any()) {
        out += ", ";
        AppendWarnings(out, interpreter.Warnings());
    }
    return out;
}

void AppendMoveJson(std::string& out, const MoveRecord& m)
{
    out += '[';
    AppendInt(out, m.line);
    for (const float v : {m.startX, m.startY, m.startZ, m.endX, m.endY, m.endZ, m.centreX, m.centreY, m.centreZ}) {
        out += ", ";
        AppendJsonNumber(out, v);
    }
    out += ", ";
    AppendInt(out, m.kind);
    out += ", ";
    AppendJsonNumber(out, m.feed);
    out += ", ";
    AppendInt(out, m.tool);
    out += ", ";
    AppendInt(out, m.rapid);
    out += ']';
}
