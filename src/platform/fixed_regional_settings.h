// Regional settings given by their separators: the portable adapter.
#pragma once

#include <string>
#include <string_view>

#include "platform/regional_settings.h"

namespace veltrano {

// Regional settings given by their separators (UTF-8) and default decimals: the portable
// adapter (a point and no grouping on systems that tell nothing) and the one tests set up.
class FixedRegionalSettings final : public RegionalSettings {
public:
    FixedRegionalSettings(std::string decimalSeparator = ".", std::string groupSeparator = ",",
                          int defaultDecimals = 2);
    static FixedRegionalSettings pointLocale() { return {".", ",", 2}; }
    static FixedRegionalSettings commaLocale() { return {",", " ", 2}; }
    // The separators of named regions, as their users know them.
    static FixedRegionalSettings unitedStates() { return {".", ",", 2}; }
    static FixedRegionalSettings russia() { return {",", "\u00A0", 2}; }
    static FixedRegionalSettings germany() { return {",", ".", 2}; }
    // The region of that name ("en-US", "ru-RU", "de-DE"); any other name gets the default.
    static FixedRegionalSettings forLocale(std::string_view name);

    std::string formatNumber(double value) const override;
    std::string generalText(double value) const override;
    char32_t decimalSeparator() const override;
    std::string decimalText() const override { return decimal_; }
    std::string groupText() const override { return group_; }

private:
    std::string decimal_;
    std::string group_;
    int decimals_;
};

}  // namespace veltrano
