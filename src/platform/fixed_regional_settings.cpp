#include "platform/fixed_regional_settings.h"

#include <cmath>
#include <cstdio>

#include "platform/numeric_text.h"

namespace veltrano {

FixedRegionalSettings::FixedRegionalSettings(char decimalSeparator, char groupSeparator,
                                             int defaultDecimals)
    : decimal_(decimalSeparator), group_(groupSeparator), decimals_(defaultDecimals) {}

bool FixedRegionalSettings::isNumeric(std::string_view text) const {
    return isRegionalNumber(text, std::string_view(&decimal_, 1), std::string_view(&group_, 1));
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
