// What tornel-info prints for one analysed program: the information text or
// one JSON object.  Kept apart from main() so that the formats can be tested
// directly.
#pragma once

#include <string>
#include <string_view>

class CTextBuffer;
class NcInterpreter;

// The information pane's four lines, and its warning line when the
// interpretation passed over anything, with LF line ends.
std::string InfoText(const NcInterpreter& interpreter);

// One line of JSON (without the line end) describing the program at path;
// with a "warnings" object when the interpretation passed over anything.
std::string InfoJson(std::string_view path, const CTextBuffer& buffer, const NcInterpreter& interpreter,
                     bool withMoves);

// path as a JSON string literal: bytes that are not valid UTF-8 become U+FFFD.
void AppendJsonString(std::string& out, std::string_view text);

// float32 with 9 significant digits and doubles with 17 read back exactly;
// numbers that are not finite have no JSON form and print as null.
void AppendJsonNumber(std::string& out, float value);
void AppendJsonNumber(std::string& out, double value);
