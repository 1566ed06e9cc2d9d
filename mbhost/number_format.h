// Numbers as text: how Eval and Str$ write values, and Format$ with a picture.
#pragma once

#include <string>
#include <string_view>

#include "mbhost/value.h"

namespace mbhost {

// Shortest text that reads back to the same double: "4", "0.1", "1.5E-07", "1E+22".
std::string realText(double value);

// The text Eval answers and Str$ gives: numbers as realText, logical "T"/"F", dates
// "YYYYMMDD", strings unchanged, objects their type name, null empty.
std::string valueText(const Value& value);
// The same, taking a string's text instead of copying it.
std::string valueText(Value&& value);

// Format$. Pictures: '0' a digit always written, '#' a digit written when significant,
// '.' the decimal point, ',' thousands grouping, '%' per cent, "E+0..." / "E-0..." scientific
// with at least as many exponent digits as zeros; any other character is copied. A
// scientific picture with 16 or more '#' after the point writes the shortest digits that
// read back to the same double.
std::string formatPicture(double value, std::string_view picture);

}  // namespace mbhost
