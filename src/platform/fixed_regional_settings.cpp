#include "platform/fixed_regional_settings.h"

#include <utility>

#include "foundation/utf8.h"
#include "platform/numeric_text.h"

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
    return groupedNumberText(value, decimals_, decimal_, group_);
}

std::string FixedRegionalSettings::generalText(double value) const {
    return generalNumberText(value, decimal_);
}

char32_t FixedRegionalSettings::decimalSeparator() const {
    return firstCharacter(decimal_);
}

}  // namespace veltrano
