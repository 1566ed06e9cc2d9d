#include "foundation/number_text.h"

#include <gtest/gtest.h>

#include <clocale>
#include <random>

#include "foundation/host_number.h"

namespace veltrano {
namespace {

TEST(program_number_text, writes_point_without_grouping) {
    EXPECT_EQ(programNumberText(2.5), "2.5");
    EXPECT_EQ(programNumberText(-1234567.25), "-1234567.25");
    EXPECT_EQ(programNumberText(500000.0), "500000");
    EXPECT_EQ(programNumberText(-0.0), "0");
}

TEST(program_number_text, keeps_fifteen_significant_digits_rounded) {
    EXPECT_EQ(programNumberText(1.0 / 3.0), "0.333333333333333");
    EXPECT_EQ(programNumberText(2.0 / 3.0), "0.666666666666667");
    EXPECT_EQ(programNumberText(37.6532219999999999), "37.653222");
    EXPECT_EQ(programNumberText(123456789.123456789), "123456789.123457");
}

TEST(program_number_text, writes_a_point_under_a_comma_locale) {
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = previous ? previous : "C";
    if (!std::setlocale(LC_NUMERIC, "ru_RU.UTF-8") && !std::setlocale(LC_NUMERIC, "de_DE.UTF-8")) {
        GTEST_SKIP() << "no comma-decimal locale installed";
    }
    EXPECT_EQ(programNumberText(2.5), "2.5");
    EXPECT_EQ(generalNumberText(0.5), " .5");
    std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(program_number_text, reads_back_within_fifteen_digits) {
    std::mt19937_64 gen(7);
    std::uniform_real_distribution<double> coord(-180.0, 180.0);
    for (int k = 0; k < 1000; ++k) {
        const double v = coord(gen);
        EXPECT_NEAR(readHostNumber(programNumberText(v)), v, std::fabs(v) * 1e-14);
    }
}

TEST(general_number_text, blank_sign_and_no_zero_before_point) {
    EXPECT_EQ(generalNumberText(0.5), " .5");
    EXPECT_EQ(generalNumberText(-0.25), "-.25");
    EXPECT_EQ(generalNumberText(2.0), " 2");
    EXPECT_EQ(generalNumberText(0.0), " 0");
    EXPECT_EQ(generalNumberText(1234567.5), " 1234567.5");
}

TEST(general_number_text, exponent_form_for_tiny_and_huge) {
    EXPECT_EQ(generalNumberText(6e-08), " 6E-08");
    EXPECT_EQ(generalNumberText(1.5e-05), " 1.5E-05");
    EXPECT_EQ(generalNumberText(0.0001), " .0001");
    EXPECT_EQ(generalNumberText(1e15), " 1E+15");
}

}  // namespace
}  // namespace veltrano
