// The regional numeric test, shared by the regional-settings adapters.
#pragma once

#include <string_view>

namespace veltrano {

// The numeric test of desktop BASICs under given separators (UTF-8, any length): optional
// blanks and sign, digits with group separators anywhere in the whole part, one decimal
// separator, an optional exponent (E or D), blanks. Empty text is not a number.
bool isRegionalNumber(std::string_view text, std::string_view decimal, std::string_view group);

}  // namespace veltrano
