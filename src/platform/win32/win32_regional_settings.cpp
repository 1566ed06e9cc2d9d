#include "platform/win32/win32_regional_settings.h"

#include <windows.h>

#include "foundation/run_time_error.h"
#include "platform/numeric_text.h"
#include "platform/win32/wide_text.h"

namespace veltrano::win32 {

namespace {

std::string localeText(const wchar_t* locale, LCTYPE item, const char* fallback) {
    wchar_t buffer[16] = {};
    const int length = GetLocaleInfoEx(locale, item, buffer, 16);
    if (length <= 1) return fallback;
    return toUtf8({buffer, static_cast<std::size_t>(length - 1)});
}

NumberConventions readConventions(const wchar_t* locale) {
    NumberConventions c;
    c.decimal = localeText(locale, LOCALE_SDECIMAL, ".");
    c.group = localeText(locale, LOCALE_STHOUSAND, ",");
    const std::string digits = localeText(locale, LOCALE_IDIGITS, "2");
    c.decimals = (digits.size() == 1 && digits[0] >= '0' && digits[0] <= '9') ? digits[0] - '0' : 2;
    return c;
}

}  // namespace

Win32RegionalSettings::Win32RegionalSettings(NumberConventions conventions)
    : conventions_(std::move(conventions)) {
    if (conventions_.decimal.empty()) conventions_.decimal.push_back('.');
    if (conventions_.decimals < 0 || conventions_.decimals > 9) conventions_.decimals = 2;
}

Win32RegionalSettings Win32RegionalSettings::user() {
    return Win32RegionalSettings(readConventions(LOCALE_NAME_USER_DEFAULT));
}

Win32RegionalSettings Win32RegionalSettings::forLocale(const std::wstring& localeName) {
    if (!IsValidLocaleName(localeName.c_str())) {
        throw RunTimeError(5,
                           "cannot read regional settings: unknown locale " + toUtf8(localeName));
    }
    return Win32RegionalSettings(readConventions(localeName.c_str()));
}

std::string Win32RegionalSettings::formatNumber(double value) const {
    return groupedNumberText(value, conventions_.decimals, conventions_.decimal,
                             conventions_.group);
}

std::string Win32RegionalSettings::generalText(double value) const {
    return generalNumberText(value, conventions_.decimal);
}

char32_t Win32RegionalSettings::decimalSeparator() const {
    const std::wstring wide = toWideForDisplay(conventions_.decimal);
    if (wide.empty()) return U'.';
    return static_cast<char32_t>(wide[0]);
}

}  // namespace veltrano::win32
