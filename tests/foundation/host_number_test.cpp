#include "foundation/host_number.h"

#include <gtest/gtest.h>

#include <cmath>

#include "foundation/run_time_error.h"

namespace veltrano {
namespace {

TEST(host_number_reader, reads_what_the_host_writes) {
    EXPECT_DOUBLE_EQ(readHostNumber("1.5E+02"), 150.0);
    EXPECT_DOUBLE_EQ(readHostNumber("  -2.5e-3xyz"), -0.0025);
    EXPECT_DOUBLE_EQ(readHostNumber("1D2"), 100.0);
    EXPECT_DOUBLE_EQ(readHostNumber("3.7653221000000001E+01"), 37.653221);
    EXPECT_DOUBLE_EQ(readHostNumber("+.5"), 0.5);
}

TEST(host_number_reader, stops_at_first_unreadable_char) {
    EXPECT_DOUBLE_EQ(readHostNumber("1,5"), 1.0);
    EXPECT_DOUBLE_EQ(readHostNumber("12;34"), 12.0);
    EXPECT_DOUBLE_EQ(readHostNumber("7E"), 7.0);
    EXPECT_DOUBLE_EQ(readHostNumber("7E-x"), 7.0);
    EXPECT_DOUBLE_EQ(readHostNumber("1.2.3"), 1.2);
}

TEST(host_number_reader, ignores_blanks_tabs_and_line_feeds_anywhere) {
    EXPECT_DOUBLE_EQ(readHostNumber(" 1 2\t3\n.5"), 123.5);
    EXPECT_DOUBLE_EQ(readHostNumber("- 4"), -4.0);
}

TEST(host_number_reader, text_without_a_number_reads_zero) {
    EXPECT_EQ(readHostNumber("abc"), 0.0);
    EXPECT_EQ(readHostNumber(""), 0.0);
    EXPECT_EQ(readHostNumber("-"), 0.0);
    EXPECT_EQ(readHostNumber("."), 0.0);
    EXPECT_EQ(readHostNumber("E5"), 0.0);
}

TEST(host_number_reader, magnitude_beyond_double_overflows_and_tiny_reads_zero) {
    try {
        readHostNumber("1E999");
        FAIL() << "no overflow";
    } catch (const RunTimeError& e) {
        EXPECT_EQ(e.number(), err::kOverflow);
    }
    EXPECT_EQ(readHostNumber("1E-999"), 0.0);
}

TEST(host_number_reader, counts_convert_to_field_width_or_overflow) {
    EXPECT_EQ(toInt16(readHostNumber("3")), 3);
    EXPECT_EQ(toInt16(32767.0), 32767);
    EXPECT_EQ(toInt32(2.5), 2);  // halves go to even
    EXPECT_EQ(toInt32(3.5), 4);
    try {
        toInt16(readHostNumber("40000"));
        FAIL() << "no overflow";
    } catch (const RunTimeError& e) {
        EXPECT_EQ(e.number(), err::kOverflow);
        EXPECT_EQ(e.description(), "Overflow");
    }
    EXPECT_THROW(toInt32(3e9), RunTimeError);
    EXPECT_THROW(toInt32(std::nan("")), RunTimeError);
}

}  // namespace
}  // namespace veltrano
