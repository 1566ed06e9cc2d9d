// The regional numeric test and the well-formed regional number, shared by every
// regional-settings adapter.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace veltrano {

// The numeric test of desktop BASICs under given separators (UTF-8, any length): optional
// blanks and sign, digits with group separators anywhere in the whole part, one decimal
// separator, an optional exponent (E or D), blanks. Empty text is not a number.
bool isRegionalNumber(std::string_view text, std::string_view decimal, std::string_view group);

// The text as a plain point-decimal number ("-1234.5e3") when it is a number as the region
// writes one: blanks around, an optional sign, digits ungrouped or grouped in threes after a
// first group of one to three, optionally the decimal separator and digits, an optional E
// exponent. Where the group separator is a space of any kind, any of them stands for it,
// since people type a plain space for a no-break one. An empty group allows no grouping.
std::optional<std::string> wellFormedNumber(std::string_view text, std::string_view decimal,
                                            std::string_view group);

// A number as the region writes it: decimals digits after the separator, the whole part
// grouped in threes, a minus only when a non-zero digit shows. Non-finite values as
// generalNumberText writes them.
std::string groupedNumberText(double value, int decimals, std::string_view decimal,
                              std::string_view group);

// Up to 15 significant digits, an exponent where needed, with the region's decimal separator.
std::string generalNumberText(double value, std::string_view decimal);

}  // namespace veltrano
