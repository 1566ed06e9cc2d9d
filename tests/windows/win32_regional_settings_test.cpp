// Regional number conventions read from Windows' locale data, and numbers under them.
#include <gtest/gtest.h>

#include "foundation/run_time_error.h"
#include "platform/win32/win32_regional_settings.h"

namespace veltrano::testing {
namespace {

using win32::NumberConventions;
using win32::Win32RegionalSettings;

TEST(win32_regional_settings, reads_separators_and_decimals_of_named_locales) {
    const auto us = Win32RegionalSettings::forLocale(L"en-US");
    EXPECT_EQ(us.conventions().decimal, ".");
    EXPECT_EQ(us.conventions().group, ",");
    EXPECT_EQ(us.conventions().decimals, 2);
    EXPECT_EQ(us.decimalSeparator(), U'.');
    const auto ru = Win32RegionalSettings::forLocale(L"ru-RU");
    EXPECT_EQ(ru.conventions().decimal, ",");
    EXPECT_EQ(ru.decimalSeparator(), U',');
    const auto de = Win32RegionalSettings::forLocale(L"de-DE");
    EXPECT_EQ(de.conventions().group, ".");
}

TEST(win32_regional_settings, formats_with_grouping_and_default_decimals) {
    EXPECT_EQ(Win32RegionalSettings::forLocale(L"en-US").formatNumber(1234567.891), "1,234,567.89");
    EXPECT_EQ(Win32RegionalSettings::forLocale(L"de-DE").formatNumber(-1234.5), "-1.234,50");
    const auto ru = Win32RegionalSettings::forLocale(L"ru-RU");
    const std::string group = ru.conventions().group;
    EXPECT_EQ(ru.formatNumber(1234.5), "1" + group + "234,50");
    EXPECT_EQ(ru.formatNumber(-0.001), "0,00");
}

TEST(win32_regional_settings, accepts_numbers_written_the_regional_way_only) {
    const auto de = Win32RegionalSettings::forLocale(L"de-DE");
    EXPECT_TRUE(de.isNumeric("1.234,5"));
    EXPECT_TRUE(de.isNumeric(" -2,5E+3 "));
    EXPECT_FALSE(de.isNumeric("2,5,1"));
    EXPECT_FALSE(de.isNumeric(""));
    EXPECT_FALSE(de.isNumeric("1e"));
    const auto us = Win32RegionalSettings::forLocale(L"en-US");
    EXPECT_TRUE(us.isNumeric("1,234.5"));
    EXPECT_FALSE(us.isNumeric("abc"));
}

TEST(win32_regional_settings, multi_byte_separators_work_throughout) {
    // A non-breaking space to group and an Arabic decimal separator (U+066B).
    const Win32RegionalSettings settings(NumberConventions{"\xD9\xAB", "\xC2\xA0", 3});
    EXPECT_EQ(settings.formatNumber(12345.5),
              "12\xC2\xA0"
              "345\xD9\xAB"
              "500");
    EXPECT_EQ(settings.generalText(2.5),
              "2\xD9\xAB"
              "5");
    EXPECT_TRUE(
        settings.isNumeric("12\xC2\xA0"
                           "345\xD9\xAB"
                           "5"));
    EXPECT_FALSE(settings.isNumeric("12.5"));
    EXPECT_EQ(settings.decimalSeparator(), U'\u066B');
}

TEST(win32_regional_settings, general_text_is_shortest_with_the_regional_separator) {
    const auto ru = Win32RegionalSettings::forLocale(L"ru-RU");
    EXPECT_EQ(ru.generalText(2.5), "2,5");
    EXPECT_EQ(ru.generalText(0.1 + 0.2), "0,3");
    EXPECT_EQ(ru.generalText(0), "0");
}

TEST(win32_regional_settings, an_unknown_locale_is_a_clear_error) {
    try {
        Win32RegionalSettings::forLocale(L"xx-NOPE");
        FAIL() << "must raise";
    } catch (const RunTimeError& e) {
        EXPECT_EQ(e.description(), "cannot read regional settings: unknown locale xx-NOPE");
    }
}

TEST(win32_regional_settings, the_user_settings_are_readable) {
    const auto user = Win32RegionalSettings::user();
    EXPECT_FALSE(user.conventions().decimal.empty());
    EXPECT_TRUE(user.isNumeric("1" + user.conventions().decimal + "5"));
}

}  // namespace
}  // namespace veltrano::testing
