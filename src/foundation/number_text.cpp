#include "foundation/number_text.h"

#include <charconv>

namespace veltrano {

std::string programNumberText(double value) {
    if (value == 0.0) return "0";  // also minus zero
    // printf's %.15G, which switches to the exponent below 1E-4 and from 1E+15, without its
    // locale: to_chars writes the C locale's form whatever a toolkit has set.
    char buffer[40];
    const auto [end, ec] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    (void)ec;
    std::string text(buffer, end);
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');  // %G's capitals
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
