// The user's regional settings as the Qt adapter reads them, and the distance list under them.
#include "platform/qt/qlocale_regional_settings.h"

#include <gtest/gtest.h>

#include "dialog/distance_list.h"

namespace veltrano {
namespace {

const QLocaleRegionalSettings kRussian{QLocale(QLocale::Russian, QLocale::Russia)};
const QLocaleRegionalSettings kAmerican{QLocale(QLocale::English, QLocale::UnitedStates)};
const QLocaleRegionalSettings kGerman{QLocale(QLocale::German, QLocale::Germany)};

TEST(qlocale_regional_settings, reads_and_writes_numbers_as_the_locale_does) {
    const std::pair<const QLocaleRegionalSettings*, std::string> numeric[] = {
        {&kRussian, "2,5"}, {&kAmerican, " -2.5 "}, {&kAmerican, "1.5e3"}};
    for (const auto& [regional, text] : numeric) EXPECT_TRUE(regional->isNumeric(text)) << text;
    for (const std::string text : {"", "   ", "12abc", "12\n"}) {
        EXPECT_FALSE(kAmerican.isNumeric(text)) << text;
    }
    EXPECT_FALSE(kRussian.isNumeric("2.5"));
    // The number format groups with two decimals; the general text is short and ungrouped.
    EXPECT_EQ(kAmerican.formatNumber(1234567.456), "1,234,567.46");
    EXPECT_EQ(kRussian.formatNumber(1234.5), "1\u00a0234,50");
    EXPECT_EQ(kGerman.formatNumber(0.5), "0,50");
    const std::pair<double, std::string> general[] = {
        {12345.25, "12345.25"}, {30.0, "30"}, {0.1 + 0.2, "0.3"}, {0.0, "0"}, {-3.0, "-3"}};
    for (const auto& [value, text] : general) EXPECT_EQ(kAmerican.generalText(value), text);
    EXPECT_EQ(kRussian.generalText(2.5), "2,5");
    EXPECT_EQ(kAmerican.decimalSeparator(), U'.');
    EXPECT_EQ(kRussian.decimalSeparator(), U',');
    const std::vector<double> list{0.25, 1234.5, 1e20};  // written back, read back alike
    for (const auto* regional : {&kRussian, &kAmerican, &kGerman}) {
        EXPECT_EQ(parseDistanceList(distanceListText(list, *regional), *regional), list);
    }
}

}  // namespace
}  // namespace veltrano
