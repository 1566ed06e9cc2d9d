#include "platform/numeric_text.h"

#include <gtest/gtest.h>

namespace veltrano {
namespace {

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
