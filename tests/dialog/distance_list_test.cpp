#include "dialog/distance_list.h"

#include <gtest/gtest.h>

#include "engine/qsort.h"
#include "platform/fixed_regional_settings.h"

namespace veltrano {
namespace {

using Pieces = std::vector<std::string>;
using List = std::vector<double>;

const auto kPoint = FixedRegionalSettings::pointLocale();
const auto kComma = FixedRegionalSettings::commaLocale();
// A region that groups digits with a point and marks decimals with a comma.
const FixedRegionalSettings kPointGrouping(",", ".", 2);

// Only spaces are trimmed; only ";" and CR LF cut, so a lone line feed stays in its piece.
TEST(distance_text, trims_spaces_and_cuts_at_separators_and_line_breaks) {
    EXPECT_EQ(trimSpaces("  10;20  "), "10;20");
    EXPECT_EQ(trimSpaces("\t10\r\n"), "\t10\r\n");
    EXPECT_EQ(trimSpaces("    "), "");
    const std::pair<std::string, Pieces> rows[] = {{"30;10\r\n20;", {"30", "10", "20"}},
                                                   {"10;;;20", {"10", "20"}},
                                                   {";10", {"", "10"}},
                                                   {";", {}},
                                                   {"", {}},
                                                   {"10\n20", {"10\n20"}},
                                                   {"10\r\n\r\n20", {"10", "20"}}};
    for (const auto& [text, pieces] : rows) EXPECT_EQ(distancePieces(text), pieces) << text;
}

TEST(distance_list, reads_what_the_region_accepts_and_sorts_it) {
    const struct {
        std::string text;
        const RegionalSettings& regional;
        List expected;
    } rows[] = {{"30;10\r\n20;", kPoint, {10, 20, 30}},
                {"abc;15", kPoint, {15}},
                {"5;5;-3;0", kPoint, {-3, 0, 5, 5}},
                {" 1.5E+02 ;2", kPoint, {2, 150}},
                {"abc", kPoint, {}},
                {"   ", kPoint, {}},
                {"1e999;--5;5e", kPoint, {}},
                {"1 234,5;0,25", kComma, {0.25, 1234.5}},
                {"2.5;1,5", kPointGrouping, {1.5, 2.5}}};
    for (const auto& row : rows) {
        auto list = parseDistanceList(trimSpaces(row.text), row.regional);
        QSort(list);
        EXPECT_EQ(list, row.expected) << row.text;
    }
}

TEST(distance_list, write_back_uses_the_regional_general_format_and_reads_back) {
    const List list{-3, 0, 2.5, 10, 1e20};
    EXPECT_EQ(distanceListText(list, kPoint), "-3\r\n0\r\n2.5\r\n10\r\n1E+20");
    EXPECT_EQ(distanceListText(list, kComma), "-3\r\n0\r\n2,5\r\n10\r\n1E+20");
    EXPECT_EQ(distanceListText({}, kPoint), "");
    EXPECT_EQ(parseDistanceList(distanceListText(list, kComma), kComma), list);
}

}  // namespace
}  // namespace veltrano
