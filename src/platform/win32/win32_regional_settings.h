// The user's regional settings for numbers, as Windows keeps them (GetLocaleInfoEx).
#pragma once

#include <string>

#include "platform/regional_settings.h"

namespace veltrano::win32 {

struct NumberConventions {
    std::string decimal = ".";  // UTF-8; may be several bytes (or several characters)
    std::string group = ",";    // likewise; "\u00A0" in many European locales
    int decimals = 2;           // the region's default number of decimals
};

class Win32RegionalSettings final : public RegionalSettings {
public:
    explicit Win32RegionalSettings(NumberConventions conventions);
    // The settings of the current user, read once.
    static Win32RegionalSettings user();
    // The settings of a named locale ("ru-RU"); raises RunTimeError for an unknown name.
    static Win32RegionalSettings forLocale(const std::wstring& localeName);

    std::string formatNumber(double value) const override;
    std::string generalText(double value) const override;
    char32_t decimalSeparator() const override;
    std::string decimalText() const override { return conventions_.decimal; }
    std::string groupText() const override { return conventions_.group; }

    const NumberConventions& conventions() const { return conventions_; }

private:
    NumberConventions conventions_;
};

}  // namespace veltrano::win32
