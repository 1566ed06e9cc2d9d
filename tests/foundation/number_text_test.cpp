#include "foundation/number_text.h"

#include <gtest/gtest.h>

#include <clocale>

namespace veltrano {
namespace {

// The program's text has a point, no grouping and fifteen significant digits; the general
// text has a blank for a plus sign, no zero before the point and an exponent for the extremes.
TEST(number_text, program_and_general_texts_of_a_value) {
    struct Row {
        double value;
        const char* program;
        const char* general;
    };
    const Row rows[] = {{2.5, "2.5", " 2.5"},
                        {-1234567.25, "-1234567.25", "-1234567.25"},
                        {500000.0, "500000", " 500000"},
                        {-0.0, "0", " 0"},
                        {1.0 / 3.0, "0.333333333333333", " .333333333333333"},
                        {2.0 / 3.0, "0.666666666666667", " .666666666666667"},
                        {37.6532219999999999, "37.653222", " 37.653222"},
                        {123456789.123456789, "123456789.123457", " 123456789.123457"},
                        {-0.25, "-0.25", "-.25"},
                        {0.0001, "0.0001", " .0001"},
                        {6e-08, "6E-08", " 6E-08"},
                        {1.5e-05, "1.5E-05", " 1.5E-05"},
                        {1e15, "1E+15", " 1E+15"}};
    for (const auto& row : rows) {
        EXPECT_EQ(programNumberText(row.value), row.program);
        EXPECT_EQ(generalNumberText(row.value), row.general);
    }
}

TEST(number_text, writes_a_point_under_a_comma_locale) {
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = previous ? previous : "C";
    if (!std::setlocale(LC_NUMERIC, "ru_RU.UTF-8") && !std::setlocale(LC_NUMERIC, "de_DE.UTF-8")) {
        GTEST_SKIP() << "no comma-decimal locale installed";
    }
    EXPECT_EQ(programNumberText(2.5), "2.5");
    EXPECT_EQ(generalNumberText(0.5), " .5");
    std::setlocale(LC_NUMERIC, saved.c_str());
}

}  // namespace
}  // namespace veltrano
