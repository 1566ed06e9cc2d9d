// The host number reader: how the host link and the engine turn the host's text answers into
// numbers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace veltrano {

// Reads a number from the start of a host answer. Blanks, tabs and line feeds are ignored
// wherever they stand; then an optional sign, digits, an optional "." and digits, and an
// optional exponent (E or D, optional sign, digits). Reading stops at the first character
// that cannot continue the number. "." is the only decimal point, whatever the locale.
// A text that does not begin with a number reads 0. A magnitude beyond a double raises
// RunTimeError err::kOverflow.
double readHostNumber(std::string_view text);

// How many characters of text the host number reader takes before it stops: the length of
// text when it reads it all.
std::size_t hostNumberLength(std::string_view text);

// The nearest integer of a field's width (halves to even); out of range raises
// RunTimeError err::kOverflow.
std::int16_t toInt16(double value);
std::int32_t toInt32(double value);

}  // namespace veltrano
