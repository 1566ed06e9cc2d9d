// How the program writes numbers as text.
#pragma once

#include <string>

namespace veltrano {

// The program number text, for numbers written into MapBasic: at most 15 significant
// digits, "." as the decimal point whatever the locale, no grouping; exponent form
// ("1.5E+20", "2E-07") only below 1E-4 and from 1E+15 in magnitude. Minus zero writes "0".
std::string programNumberText(double value);

// The general number text: a blank in place of the sign of a non-negative number, at most
// 15 significant digits, "." as the decimal point, no zero before the point of a magnitude
// below 1 (" .5", "-.25"), exponent form below 1E-4 and from 1E+15 (" 6E-08").
std::string generalNumberText(double value);

}  // namespace veltrano
