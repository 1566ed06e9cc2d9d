#include "platform/win32/win32_regional_settings.h"

#include <windows.h>

#include <cmath>
#include <cstdio>

#include "foundation/run_time_error.h"
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
    if (!std::isfinite(value)) return generalText(value);
    char plain[400];
    std::snprintf(plain, sizeof plain, "%.*f", conventions_.decimals, std::fabs(value));
    std::string digits(plain);
    for (char& c : digits) {
        if (c == ',') c = '.';  // the C runtime's locale may have been changed
    }
    const auto point = digits.find('.');
    const std::string whole = digits.substr(0, point);
    std::string out;
    for (std::size_t k = 0; k < whole.size(); ++k) {
        if (k > 0 && (whole.size() - k) % 3 == 0) out += conventions_.group;
        out += whole[k];
    }
    if (point != std::string::npos) {
        out.append(conventions_.decimal);
        out.append(digits, point + 1);
    }
    const bool showsNonZero = out.find_first_of("123456789") != std::string::npos;
    if (std::signbit(value) && showsNonZero) out.insert(out.begin(), '-');
    return out;
}

std::string Win32RegionalSettings::generalText(double value) const {
    if (value == 0.0) return "0";
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.15G", value);
    std::string text;
    for (const char c : std::string_view(buffer)) {
        if (c == '.' || c == ',') {
            text += conventions_.decimal;
        } else {
            text += c;
        }
    }
    return text;
}

char32_t Win32RegionalSettings::decimalSeparator() const {
    const std::wstring wide = toWideForDisplay(conventions_.decimal);
    if (wide.empty()) return U'.';
    return static_cast<char32_t>(wide[0]);
}

}  // namespace veltrano::win32
