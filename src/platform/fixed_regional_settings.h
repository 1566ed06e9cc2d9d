// Regional settings given by their separators: the portable adapter.
#pragma once

#include "platform/regional_settings.h"

namespace veltrano {

// Regional settings given by their separators and default decimals: the portable adapter
// (a point and no grouping on systems that tell nothing) and the one tests set up.
class FixedRegionalSettings final : public RegionalSettings {
public:
    FixedRegionalSettings(char decimalSeparator = '.', char groupSeparator = ',',
                          int defaultDecimals = 2);
    static FixedRegionalSettings pointLocale() { return {'.', ',', 2}; }
    static FixedRegionalSettings commaLocale() { return {',', ' ', 2}; }

    bool isNumeric(std::string_view text) const override;
    std::string formatNumber(double value) const override;
    std::string generalText(double value) const override;
    char32_t decimalSeparator() const override { return static_cast<char32_t>(decimal_); }

private:
    char decimal_;
    char group_;
    int decimals_;
};

}  // namespace veltrano
