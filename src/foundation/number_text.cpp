#include "foundation/number_text.h"

#include <cmath>
#include <cstdio>

namespace veltrano {

std::string programNumberText(double value) {
    if (value == 0.0) return "0";  // also minus zero
    // %G switches to the exponent below 1E-4 and from 1E+15 at this precision. snprintf
    // writes the C locale's decimal separator, which a toolkit may have set from the
    // user's environment, so a comma is turned back into a point.
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.15G", value);
    std::string text(buffer);
    for (char& c : text) {
        if (c == ',') c = '.';
    }
    return text;
}

std::string generalNumberText(double value) {
    std::string digits = programNumberText(value);
    const bool negative = digits.front() == '-';
    if (negative) digits.erase(0, 1);
    if (digits.size() > 1 && digits[0] == '0' && digits[1] == '.') digits.erase(0, 1);
    return (negative ? "-" : " ") + digits;
}

}  // namespace veltrano
