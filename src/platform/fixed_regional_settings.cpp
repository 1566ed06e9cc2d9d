#include "platform/fixed_regional_settings.h"

#include <cmath>
#include <cstdio>

namespace veltrano {

FixedRegionalSettings::FixedRegionalSettings(char decimalSeparator, char groupSeparator,
                                             int defaultDecimals)
    : decimal_(decimalSeparator), group_(groupSeparator), decimals_(defaultDecimals) {}

bool FixedRegionalSettings::isNumeric(std::string_view text) const {
    std::size_t i = 0;
    const auto skipBlanks = [&] {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    };
    const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    skipBlanks();
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    skipBlanks();
    bool digits = false;
    // Group separators are accepted anywhere in the whole part, as desktop BASICs do.
    while (i < text.size() && (isDigit(text[i]) || (text[i] == group_ && group_ != decimal_))) {
        digits = digits || isDigit(text[i]);
        ++i;
    }
    if (i < text.size() && text[i] == decimal_) {
        ++i;
        while (i < text.size() && isDigit(text[i])) {
            digits = true;
            ++i;
        }
    }
    if (!digits) return false;
    if (i < text.size() && (text[i] == 'E' || text[i] == 'e' || text[i] == 'D' || text[i] == 'd')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
        bool exponentDigits = false;
        while (i < text.size() && isDigit(text[i])) {
            exponentDigits = true;
            ++i;
        }
        if (!exponentDigits) return false;
    }
    skipBlanks();
    return i == text.size();
}

std::string FixedRegionalSettings::formatNumber(double value) const {
    char buffer[400];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals_, std::fabs(value));
    std::string plain(buffer);
    for (char& c : plain) {
        if (c == ',') c = '.';  // the C locale may have been set from the environment
    }
    const auto point = plain.find('.');
    const std::string whole = plain.substr(0, point);
    std::string out;
    for (std::size_t k = 0; k < whole.size(); ++k) {
        if (k > 0 && (whole.size() - k) % 3 == 0) out += group_;
        out += whole[k];
    }
    if (point != std::string::npos) out += decimal_ + plain.substr(point + 1);
    const bool showsNonZero = out.find_first_of("123456789") != std::string::npos;
    return (std::signbit(value) && showsNonZero ? "-" : "") + out;
}

std::string FixedRegionalSettings::generalText(double value) const {
    if (value == 0.0) return "0";
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.15G", value);
    std::string text(buffer);
    for (char& c : text) {
        if (c == '.' || c == ',') c = decimal_;
    }
    return text;
}

}  // namespace veltrano
