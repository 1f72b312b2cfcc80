// The text forms of a tool definition's fields, shared by the tool dialog's
// fields and the tool library's file, so that what the user sees and what
// the file keeps are read and written one way.
//
// Names: a slot keeps its name as bytes of the program's encoding (GBK), NUL
// terminated in 12 bytes.  A name may have at most kToolNameBytes bytes, as
// every length in the program counts bytes: ten Latin letters or five
// Chinese characters.  A name is taken whole or not at all, so that no
// double-byte character is ever cut in half.
//
// Numbers: the shortest decimal text that reads back as exactly the same
// float or double, without the user's locale (a comma never stands for the
// decimal point).
#pragma once

#include <QString>
#include <QStringView>
#include <cstdint>
#include <string>
#include <string_view>

#include "ToolSlot.h"

inline constexpr int kToolNameBytes = 10;

// The slot's name bytes, up to the NUL, as text.
QString ToolSlotName(const ToolSlot& slot);
// Whether text can be a name: no control characters, every character has a
// GBK form, and the GBK bytes are at most kToolNameBytes.
bool IsValidToolName(QStringView text);
// Gives the slot text as its name; false, and the slot unchanged, when text
// cannot be a name.
bool SetToolSlotName(ToolSlot& slot, QStringView text);

// "FL", "BU", "SP", "CO" or "DR"; null for a value outside the five.
const char* ToolTypeName(ToolType type);
// The type of one of the five names; false for anything else.
bool ParseToolType(std::string_view text, ToolType& type);

std::string FormatToolNumber(float value);
std::string FormatToolNumber(double value);
// Reads the whole of text as a finite number of the value's type (a leading
// '+' is allowed; no spaces).  False, and value unchanged, when text is not a
// number or the number does not fit the type.
bool ParseToolNumber(std::string_view text, float& value);
bool ParseToolNumber(std::string_view text, double& value);
bool ParseToolNumber(std::string_view text, int32_t& value);
