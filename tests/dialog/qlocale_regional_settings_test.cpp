// The user's regional settings as the Qt adapter reads them, and the distance list under them.
#include "platform/qt/qlocale_regional_settings.h"

#include <gtest/gtest.h>

#include "dialog/distance_list.h"

namespace veltrano {
namespace {

const QLocaleRegionalSettings kRussian{QLocale(QLocale::Russian, QLocale::Russia)};
const QLocaleRegionalSettings kAmerican{QLocale(QLocale::English, QLocale::UnitedStates)};
const QLocaleRegionalSettings kGerman{QLocale(QLocale::German, QLocale::Germany)};

TEST(qlocale_regional_settings, numeric_test_follows_the_locale) {
    EXPECT_TRUE(kRussian.isNumeric("2,5"));
    EXPECT_FALSE(kRussian.isNumeric("2.5"));
    EXPECT_TRUE(kAmerican.isNumeric(" -2.5 "));
    EXPECT_TRUE(kAmerican.isNumeric("1.5e3"));
    EXPECT_FALSE(kAmerican.isNumeric(""));
    EXPECT_FALSE(kAmerican.isNumeric("   "));
    EXPECT_FALSE(kAmerican.isNumeric("12abc"));
    EXPECT_FALSE(kAmerican.isNumeric("12\n"));
}

TEST(qlocale_regional_settings, number_format_groups_with_two_decimals) {
    EXPECT_EQ(kAmerican.formatNumber(1234567.456), "1,234,567.46");
    EXPECT_EQ(kRussian.formatNumber(1234.5), "1\u00a0234,50");
    EXPECT_EQ(kGerman.formatNumber(0.5), "0,50");
}

TEST(qlocale_regional_settings, general_text_is_short_and_ungrouped) {
    EXPECT_EQ(kRussian.generalText(2.5), "2,5");
    EXPECT_EQ(kAmerican.generalText(12345.25), "12345.25");
    EXPECT_EQ(kAmerican.generalText(30.0), "30");
    EXPECT_EQ(kAmerican.generalText(0.1 + 0.2), "0.3");
    EXPECT_EQ(kAmerican.generalText(0.0), "0");
    EXPECT_EQ(kAmerican.generalText(-3.0), "-3");
    EXPECT_EQ(kAmerican.decimalSeparator(), U'.');
    EXPECT_EQ(kRussian.decimalSeparator(), U',');
}

TEST(qlocale_regional_settings, distances_keep_their_fraction_in_every_locale) {
    for (const auto* regional : {&kRussian, &kAmerican, &kGerman}) {
        EXPECT_EQ(parseDistanceList("2.5", *regional), std::vector<double>{2.5});
    }
    EXPECT_EQ(parseDistanceList("2,5", kRussian), std::vector<double>{2.5});
    EXPECT_EQ(parseDistanceList("2,5", kGerman), std::vector<double>{2.5});
    EXPECT_EQ(parseDistanceList("1,234.5", kAmerican), std::vector<double>{1234.5});
    // What the dialog writes back reads back the same.
    const std::vector<double> list{0.25, 1234.5, 1e20};
    EXPECT_EQ(parseDistanceList(distanceListText(list, kRussian), kRussian), list);
}

}  // namespace
}  // namespace veltrano
