#include "platform/fixed_regional_settings.h"

#include <cmath>
#include <cstdio>
#include <utility>

namespace veltrano {

FixedRegionalSettings::FixedRegionalSettings(std::string decimalSeparator,
                                             std::string groupSeparator, int defaultDecimals)
    : decimal_(decimalSeparator.empty() ? "." : std::move(decimalSeparator)),
      group_(std::move(groupSeparator)),
      decimals_(defaultDecimals) {}

FixedRegionalSettings FixedRegionalSettings::forLocale(std::string_view name) {
    if (name == "en-US") return unitedStates();
    if (name == "ru-RU") return russia();
    if (name == "de-DE") return germany();
    return {};
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
    std::string text;
    for (const char c : std::string_view(buffer)) {
        if (c == '.' || c == ',') {
            text += decimal_;
        } else {
            text += c;
        }
    }
    return text;
}

char32_t FixedRegionalSettings::decimalSeparator() const {
    const auto lead = static_cast<unsigned char>(decimal_[0]);
    if (lead < 0x80) return lead;
    // The code point of the leading UTF-8 sequence; its length is told by the lead byte.
    const int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : 1;
    char32_t point = lead & (0x3F >> extra);
    for (int k = 1; k <= extra && k < static_cast<int>(decimal_.size()); ++k) {
        point = (point << 6) | (static_cast<unsigned char>(decimal_[k]) & 0x3F);
    }
    return point;
}

}  // namespace veltrano
