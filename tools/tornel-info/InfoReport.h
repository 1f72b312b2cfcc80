// What tornel-info prints for one analysed program: the information text or
// one JSON object.  Kept apart from main() so that the formats can be tested
// directly.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "MoveRecord.h"

class NcInterpreter;

// The information pane's four lines, and its warning line when the
// interpretation passed over anything, with LF line ends.
std::string InfoText(const NcInterpreter& interpreter);

// The JSON object describing the program at path, of lineCount lines in
// eolStyle, without its closing brace, so that a move list can follow; with
// a "warnings" object when the interpretation passed over anything.
std::string InfoJsonHead(std::string_view path, int64_t lineCount, int eolStyle, const NcInterpreter& interpreter);

// One record of the move list: [line, startX, ..., rapid].
void AppendMoveJson(std::string& out, const MoveRecord& move);

// path as a JSON string literal: bytes that are not valid UTF-8 become U+FFFD.
void AppendJsonString(std::string& out, std::string_view text);

// float32 with 9 significant digits and doubles with 17 read back exactly;
// numbers that are not finite have no JSON form and print as null.
void AppendJsonNumber(std::string& out, float value);
void AppendJsonNumber(std::string& out, double value);
