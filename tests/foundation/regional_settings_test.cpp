#include "platform/fixed_regional_settings.h"
#include "platform/numeric_text.h"

#include <gtest/gtest.h>

namespace veltrano {
namespace {

TEST(fixed_regional_settings, numeric_test_follows_the_region) {
    const auto point = FixedRegionalSettings::pointLocale();
    const auto comma = FixedRegionalSettings::commaLocale();
    EXPECT_TRUE(point.isNumeric("12"));
    EXPECT_TRUE(point.isNumeric(" -3.25 "));
    EXPECT_TRUE(point.isNumeric("1,5"));  // grouping is tolerated
    EXPECT_TRUE(point.isNumeric("1.5E+02"));
    EXPECT_FALSE(point.isNumeric(""));
    EXPECT_FALSE(point.isNumeric("T"));
    EXPECT_FALSE(point.isNumeric("1.5E"));
    EXPECT_FALSE(point.isNumeric("abc"));
    EXPECT_TRUE(comma.isNumeric("2,5"));
    EXPECT_FALSE(comma.isNumeric("2.5"));
}

TEST(fixed_regional_settings, number_format_groups_and_rounds) {
    EXPECT_EQ(FixedRegionalSettings::pointLocale().formatNumber(1234567.456), "1,234,567.46");
    EXPECT_EQ(FixedRegionalSettings::commaLocale().formatNumber(1234.5), "1 234,50");
    EXPECT_EQ(FixedRegionalSettings::pointLocale().formatNumber(-0.004), "0.00");
    EXPECT_EQ(FixedRegionalSettings::pointLocale().formatNumber(-12.5), "-12.50");
}

TEST(fixed_regional_settings, general_text_uses_regional_separator) {
    EXPECT_EQ(FixedRegionalSettings::commaLocale().generalText(2.5), "2,5");
    EXPECT_EQ(FixedRegionalSettings::pointLocale().generalText(30.0), "30");
}

}  // namespace
}  // namespace veltrano

namespace veltrano {
namespace {

TEST(regional_number_test, separators_of_several_bytes) {
    const std::string_view nbsp = "\xC2\xA0";  // the group separator of several regions
    EXPECT_TRUE(
        isRegionalNumber("1\xC2\xA0"
                         "234,5",
                         ",", nbsp));
    EXPECT_FALSE(
        isRegionalNumber("1\xC2"
                         "234,5",
                         ",", nbsp));  // half a separator
    EXPECT_TRUE(
        isRegionalNumber("2\xE2\x80\xA4"
                         "5",
                         "\xE2\x80\xA4", "."));
    EXPECT_FALSE(isRegionalNumber(",", ",", " "));
    EXPECT_FALSE(isRegionalNumber("1E+", ".", ","));
}

}  // namespace
}  // namespace veltrano
