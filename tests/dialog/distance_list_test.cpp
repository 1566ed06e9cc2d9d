#include "dialog/distance_list.h"

#include <gtest/gtest.h>

#include "engine/qsort.h"
#include "platform/fixed_regional_settings.h"

namespace veltrano {
namespace {

const auto kPoint = FixedRegionalSettings::pointLocale();
const auto kComma = FixedRegionalSettings::commaLocale();
// A region that groups digits with a point and marks decimals with a comma.
const FixedRegionalSettings kPointGrouping(",", ".", 2);

std::vector<double> sortedList(std::string_view text, const RegionalSettings& regional) {
    auto list = parseDistanceList(trimSpaces(text), regional);
    QSort(list);
    return list;
}

TEST(distance_text, trims_only_spaces) {
    EXPECT_EQ(trimSpaces("  10;20  "), "10;20");
    EXPECT_EQ(trimSpaces("\t10\r\n"), "\t10\r\n");
    EXPECT_EQ(trimSpaces("    "), "");
    EXPECT_EQ(trimSpaces(""), "");
}

TEST(distance_text, pieces_cut_at_separators_and_line_breaks) {
    using Pieces = std::vector<std::string>;
    EXPECT_EQ(distancePieces("30;10\r\n20;"), (Pieces{"30", "10", "20"}));
    EXPECT_EQ(distancePieces("10;;;20"), (Pieces{"10", "20"}));
    EXPECT_EQ(distancePieces(";10"), (Pieces{"", "10"}));
    EXPECT_EQ(distancePieces(";"), Pieces{});
    EXPECT_EQ(distancePieces(""), Pieces{});
    // A lone line feed or carriage return is no separator.
    EXPECT_EQ(distancePieces("10\n20"), (Pieces{"10\n20"}));
    EXPECT_EQ(distancePieces("10\r\n\r\n20"), (Pieces{"10", "20"}));
}

TEST(distance_list, sorted_from_lines_and_separators) {
    EXPECT_EQ(sortedList("30;10\r\n20;", kPoint), (std::vector<double>{10, 20, 30}));
    EXPECT_EQ(sortedList("10;;;20", kPoint), (std::vector<double>{10, 20}));
    EXPECT_EQ(sortedList("abc;15", kPoint), (std::vector<double>{15}));
    EXPECT_EQ(sortedList("5;5;-3;0", kPoint), (std::vector<double>{-3, 0, 5, 5}));
    EXPECT_EQ(sortedList(" 1.5E+02 ;2", kPoint), (std::vector<double>{2, 150}));
}

TEST(distance_list, nothing_accepted_gives_an_empty_list) {
    EXPECT_TRUE(sortedList("abc", kPoint).empty());
    EXPECT_TRUE(sortedList(";", kPoint).empty());
    EXPECT_TRUE(sortedList("   ", kPoint).empty());
    EXPECT_TRUE(sortedList("1e999;--5;5e", kPoint).empty());
}

TEST(distance_list, decimal_comma_keeps_its_fraction_and_a_point_always_works) {
    EXPECT_EQ(sortedList("2,5", kComma), std::vector<double>{2.5});
    EXPECT_EQ(sortedList("2.5", kComma), std::vector<double>{2.5});
    EXPECT_EQ(sortedList("2.5", kPoint), std::vector<double>{2.5});
    EXPECT_EQ(sortedList("1 234,5;0,25", kComma), (std::vector<double>{0.25, 1234.5}));
    EXPECT_EQ(sortedList("2.5;1,5", kPointGrouping), (std::vector<double>{1.5, 2.5}));
}

TEST(distance_list, digit_grouping_is_read_as_the_region_means_it) {
    // The point region groups with a comma: its numeric test reads 1,234.5 as one number.
    EXPECT_EQ(sortedList("1,234.5", kPoint), std::vector<double>{1234.5});
    EXPECT_EQ(sortedList("2,5", kPoint), std::vector<double>{2});
}

TEST(distance_list, write_back_uses_the_regional_general_format) {
    const std::vector<double> list{-3, 0, 2.5, 10, 1e20};
    EXPECT_EQ(distanceListText(list, kPoint), "-3\r\n0\r\n2.5\r\n10\r\n1E+20");
    EXPECT_EQ(distanceListText(list, kComma), "-3\r\n0\r\n2,5\r\n10\r\n1E+20");
    EXPECT_EQ(distanceListText({}, kPoint), "");
    // What is written back reads back as the same list.
    EXPECT_EQ(parseDistanceList(distanceListText(list, kComma), kComma), list);
}

}  // namespace
}  // namespace veltrano
