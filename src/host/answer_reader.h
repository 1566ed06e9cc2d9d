// How the host link turns the host's text answers into host values, and host values into
// the numbers and texts the program works with.
//
// The host writes numbers with "." as the decimal point whatever the user's settings, so a
// text counts as numeric when it reads as a number in the host's own form or under the
// user's regional settings.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "host/host_value.h"
#include "platform/regional_settings.h"

namespace veltrano {

class AnswerReader {
public:
    explicit AnswerReader(const RegionalSettings& regional) : regional_(regional) {}

    // Eval: a numeric text with "." or "," becomes a real read with "." as the only
    // decimal point ("1,5" gives 1); other numeric text a 32-bit whole number (null when
    // out of range); anything else stays text. Never raises.
    HostValue evalAnswer(std::string_view text) const;
    // SystemInfo, TableInfo, WindowInfo, MapperInfo: a text with "." becomes a real unless
    // it reads 0; then a numeric text a 32-bit whole number; anything else stays text.
    // A whole number beyond 32 bits raises err::kOverflow.
    HostValue infoAnswer(std::string_view text) const;

    bool isNumeric(std::string_view text) const;
    // The number a numeric text stands for; nothing for a text that is not numeric.
    std::optional<double> numericValue(std::string_view text) const;

    // The program's conversions of a host value. Empty reads as 0 or empty text; null
    // raises err::kInvalidUseOfNull; a text that is not numeric, err::kTypeMismatch.
    std::int32_t toWhole(const HostValue& value) const;  // rounds halves to even
    float toSingle(const HostValue& value) const;
    double toReal(const HostValue& value) const;
    std::string toText(const HostValue& value) const;  // reals under the regional settings
    // As toText, but null joins as empty text.
    std::string joinText(const HostValue& value) const;
    // A host number without passing through regional text, so no fraction is lost:
    // reals and whole numbers as they are, a text read with "." as the decimal point.
    double hostNumber(const HostValue& value) const;

private:
    const RegionalSettings& regional_;
};

// Upper case for the comparisons the host link makes (table paths, logical answers):
// ASCII, Latin-1 and Cyrillic letters in UTF-8; other characters unchanged.
std::string upperCase(std::string_view text);

}  // namespace veltrano
