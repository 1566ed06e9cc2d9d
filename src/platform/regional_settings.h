// Port: the user's regional settings for numbers.
#pragma once

#include <string>
#include <string_view>

#include "platform/numeric_text.h"

namespace veltrano {

// The user's regional settings for numbers typed and shown.
class RegionalSettings {
public:
    virtual ~RegionalSettings() = default;
    // Whether text reads as a number under these settings: optional blanks and sign, digits
    // with the regional decimal and grouping separators, an optional exponent. Empty is false.
    // One test for every adapter, so that a typed text means the same on every platform.
    bool isNumeric(std::string_view text) const {
        return isRegionalNumber(text, decimalText(), groupText());
    }
    // The regional number format: the region's default number of decimals, its grouping
    // and its separators (1234.5 -> "1,234.50" in en-US, "1 234,50" in ru-RU).
    virtual std::string formatNumber(double value) const = 0;
    // The shortest general text (up to 15 significant digits) with the regional decimal
    // separator and no grouping (2.5 -> "2,5" under a decimal comma).
    virtual std::string generalText(double value) const = 0;
    virtual char32_t decimalSeparator() const = 0;
    // The separators as the region writes them, in UTF-8 (a no-break space is two bytes);
    // the group separator is empty where the region groups no digits.
    virtual std::string decimalText() const = 0;
    virtual std::string groupText() const = 0;
};

}  // namespace veltrano
