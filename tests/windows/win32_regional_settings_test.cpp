// Regional number conventions read from Windows' locale data, and numbers under them.
#include <gtest/gtest.h>

#include "foundation/run_time_error.h"
#include "platform/win32/win32_regional_settings.h"
#include "raised.h"

namespace veltrano::testing {
namespace {

using win32::Win32RegionalSettings;

TEST(win32_regional_settings, locales_give_their_separators_formats_and_parsing_or_a_clear_error) {
    struct Row {
        const wchar_t* locale;
        const char *decimal, *group;
        double number;
        const char *formatted, *general, *numeric, *notNumeric;
    };
    for (const Row& row :
         {Row{L"en-US", ".", ",", 1234567.891, "1,234,567.89", "0.3", "1,234.5", "abc"},
          Row{L"de-DE", ",", ".", -1234.5, "-1.234,50", "0,3", " -2,5E+3 ", "2,5,1"},
          Row{L"ru-RU", ",", nullptr, -0.001, "0,00", "0,3", "1,5", "1e"}}) {
        const auto settings = Win32RegionalSettings::forLocale(row.locale);
        EXPECT_EQ(settings.conventions().decimal, row.decimal);
        if (row.group) {
            EXPECT_EQ(settings.conventions().group, row.group);
        }
        EXPECT_EQ(settings.decimalSeparator(), static_cast<char32_t>(row.decimal[0]));
        EXPECT_EQ(settings.formatNumber(row.number), row.formatted);
        EXPECT_EQ(settings.generalText(0.1 + 0.2), row.general);
        EXPECT_EQ(settings.generalText(0), "0");
        EXPECT_TRUE(settings.isNumeric(row.numeric)) << row.numeric;
        EXPECT_FALSE(settings.isNumeric(row.notNumeric)) << row.notNumeric;
        EXPECT_FALSE(settings.isNumeric(""));
    }
    const auto ru = Win32RegionalSettings::forLocale(L"ru-RU");
    EXPECT_EQ(ru.formatNumber(1234.5), "1" + ru.conventions().group + "234,50");
    EXPECT_TRUE(Win32RegionalSettings::forLocale(L"de-DE").isNumeric("1.234,5"));
    EXPECT_EQ(raisedBy([] { Win32RegionalSettings::forLocale(L"xx-NOPE"); }).description,
              "cannot read regional settings: unknown locale xx-NOPE");
    const auto user = Win32RegionalSettings::user();
    EXPECT_TRUE(user.isNumeric("1" + user.conventions().decimal + "5"));
}

}  // namespace
}  // namespace veltrano::testing
