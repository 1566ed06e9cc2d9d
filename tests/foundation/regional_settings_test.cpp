#include "platform/fixed_regional_settings.h"
#include "platform/numeric_text.h"

#include <gtest/gtest.h>

namespace veltrano {
namespace {

TEST(fixed_regional_settings, numeric_test_follows_the_region) {
    const auto point = FixedRegionalSettings::pointLocale();
    const auto comma = FixedRegionalSettings::commaLocale();
    for (const char* text : {"12", " -3.25 ", "1,5", "1.5E+02"}) {
        EXPECT_TRUE(point.isNumeric(text)) << text;  // grouping is tolerated
    }
    for (const char* text : {"", "T", "1.5E", "abc"}) EXPECT_FALSE(point.isNumeric(text)) << text;
    EXPECT_TRUE(comma.isNumeric("2,5"));
    EXPECT_FALSE(comma.isNumeric("2.5"));
}

TEST(fixed_regional_settings, number_format_groups_and_rounds_and_general_text_has_no_grouping) {
    EXPECT_EQ(FixedRegionalSettings::pointLocale().formatNumber(1234567.456), "1,234,567.46");
    EXPECT_EQ(FixedRegionalSettings::commaLocale().formatNumber(1234.5), "1 234,50");
    EXPECT_EQ(FixedRegionalSettings::pointLocale().formatNumber(-0.004), "0.00");
    EXPECT_EQ(FixedRegionalSettings::pointLocale().formatNumber(-12.5), "-12.50");
    EXPECT_EQ(FixedRegionalSettings::commaLocale().generalText(2.5), "2,5");
    EXPECT_EQ(FixedRegionalSettings::pointLocale().generalText(30.0), "30");
}

TEST(regional_number_test, separators_of_several_bytes) {
    struct Row {
        std::string text;
        const char* decimal;
        const char* group;
        bool numeric;
    };
    const Row rows[] = {
        {"1\u00A0234,5", ",", "\u00A0", true},  // the group separator of several regions
        {std::string("1\xC2") + "234,5", ",", "\u00A0", false},  // half a separator
        {"2\u20245", "\u2024", ".", true},
        {",", ",", " ", false},
        {"1E+", ".", ",", false},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(isRegionalNumber(row.text, row.decimal, row.group), row.numeric) << row.text;
    }
}

}  // namespace
}  // namespace veltrano
