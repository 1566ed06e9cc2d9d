// The engine's own helpers: the temporary variable names and the sort.
#include "engine/random_digits.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <regex>

#include "engine/qsort.h"
#include "support/fake_ports.h"

namespace veltrano {
namespace {

bool allDigits(const std::string& s) {
    return !s.empty() &&
           std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

TEST(random_digits, many_results_are_long_digit_texts_naming_a_temporary_variable) {
    Lcg24Random random;
    testing::FixedTimer timer;
    const std::regex shape("qzv[0-9]{6}");
    for (int k = 0; k < 10000; ++k) {
        timer.seconds = k * 0.37;
        const std::string digits = getRandomDigits(random, timer);
        ASSERT_TRUE(allDigits(digits) && digits.size() >= 12u) << digits;
        ASSERT_TRUE(std::regex_match(temporaryVariableName(digits), shape)) << digits;
    }
    EXPECT_EQ(temporaryVariableName("123456789012"), "qzv234567");
    EXPECT_EQ(temporaryVariableName("12345678"), "qzv234567");
    EXPECT_EQ(temporaryVariableName("1234"), "qzv23");
}

// Draws: r0, then a and b for each piece (b / a written as the host writes numbers, blank and
// point dropped), and a replacement draw whenever a piece is too short.
TEST(random_digits, seeds_from_timer_then_first_draw_then_quotient) {
    testing::ScriptedRandom random;
    random.draws = {0.25, 0.5, 0.25, 0.123456789, 0.5, 0.125};
    testing::FixedTimer timer;
    const std::string digits = getRandomDigits(random, timer);
    ASSERT_EQ(random.seeds.size(), 3u);
    EXPECT_EQ(random.seeds[0], timer.seconds);
    EXPECT_EQ(random.seeds[1], 0.25);
    EXPECT_DOUBLE_EQ(random.seeds[2], 0.123456789 * 3.2148975);  // the replaced quotient
    EXPECT_EQ(digits.substr(0, 7), "3969009");
    EXPECT_TRUE(allDigits(digits)) << digits;
}

TEST(random_digits, quotients_below_one_or_in_exponent_form_yield_digits_only) {
    testing::FixedTimer timer;
    testing::ScriptedRandom third;
    third.draws = {0.1, 0.9, 0.3, 0.9, 0.3};  // " .333333333333333"
    EXPECT_EQ(getRandomDigits(third, timer), "333333333333333333333333333333");
    testing::ScriptedRandom tiny;
    tiny.draws = {0.1, 0.99999994, 0.99999994 * 6.1e-08, 0.99999994, 0.99999994 * 6.1e-08};
    const std::string digits = getRandomDigits(tiny, timer);  // " 6.1E-08"
    EXPECT_TRUE(allDigits(digits)) << digits;
    EXPECT_NE(digits.find('4'), std::string::npos);  // the exponent letter
}

TEST(qsort, agrees_with_std_sort_on_random_lists_empty_to_sixty_long) {
    std::mt19937 gen(2024);
    std::uniform_int_distribution<int> size(0, 60);
    std::uniform_int_distribution<int> small(-5, 5);  // many duplicates
    std::uniform_real_distribution<double> wide(-1e6, 1e6);
    for (int k = 0; k < 10000; ++k) {
        std::vector<double> list(static_cast<std::size_t>(size(gen)));
        for (double& v : list) v = (k % 2) ? small(gen) : wide(gen);
        std::vector<double> expected = list;
        std::sort(expected.begin(), expected.end());
        QSort(list);
        ASSERT_EQ(list, expected) << "list " << k;
    }
}

}  // namespace
}  // namespace veltrano
