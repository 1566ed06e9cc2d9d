// The foundation's texts: numbers as the host and the program write them, UTF-8, names.
#include "foundation/host_number.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>

#include "automation/raised.h"
#include "foundation/mapbasic_name.h"
#include "foundation/number_text.h"
#include "foundation/utf8.h"
#include "platform/numeric_text.h"

namespace veltrano::testing {
namespace {

// Blanks, tabs and line feeds count nowhere; reading stops at the first unreadable character.
TEST(host_number_reader, reads_the_readable_prefix_of_what_the_host_writes) {
    // clang-format off
    const std::pair<const char*, double> rows[] = {
        {"1.5E+02", 150.0}, {"  -2.5e-3xyz", -0.0025}, {"1D2", 100.0}, {"+.5", 0.5},
        {"3.7653221000000001E+01", 37.653221}, {"1,5", 1.0}, {"12;34", 12.0}, {"7E", 7.0},
        {"7E-x", 7.0}, {"1.2.3", 1.2}, {" 1 2\t3\n.5", 123.5}, {"- 4", -4.0}, {"abc", 0.0},
        {"", 0.0}, {"-", 0.0}, {".", 0.0}, {"E5", 0.0}, {"1E-999", 0.0}};
    // clang-format on
    for (const auto& [text, value] : rows) EXPECT_DOUBLE_EQ(readHostNumber(text), value) << text;
}

TEST(host_number_reader, counts_convert_to_field_width_rounding_halves_to_even_or_overflow) {
    EXPECT_EQ(toInt16(readHostNumber("3")), 3);
    EXPECT_EQ(toInt16(32767.0), 32767);
    EXPECT_EQ(toInt32(2.5), 2);
    EXPECT_EQ(toInt32(3.5), 4);
    const Raised overflow = raisedBy([] { toInt16(readHostNumber("40000")); });
    EXPECT_EQ(std::tuple(overflow.number, overflow.description),
              std::tuple(err::kOverflow, "Overflow"));
    EXPECT_THROW(readHostNumber("1E999"), RunTimeError);
    EXPECT_THROW(toInt32(3e9), RunTimeError);
    EXPECT_THROW(toInt32(std::nan("")), RunTimeError);
}

// What the program shows is "<number>: <description>": no standard number may show bare.
TEST(run_time_error, standard_numbers_have_readable_descriptions) {
    for (auto n :
         {err::kOverflow, err::kSubscriptOutOfRange, err::kDivisionByZero, err::kTypeMismatch,
          err::kNoRunningCopy, err::kHostGone, err::kAutomationFailure}) {
        EXPECT_FALSE(RunTimeError(n).description().empty()) << n;
    }
}

TEST(regional_number, separators_of_several_bytes) {
    const std::tuple<std::string, const char*, const char*, bool> rows[] = {
        {"1\u00A0234,5", ",", "\u00A0", true},  // the group separator of several regions
        {std::string("1\xC2") + "234,5", ",", "\u00A0", false},  // half a separator
        {"2\u20245", "\u2024", ".", true},
        {",", ",", " ", false},
        {"1E+", ".", ",", false},
    };
    for (const auto& [text, decimal, group, numeric] : rows) {
        EXPECT_EQ(isRegionalNumber(text, decimal, group), numeric) << text;
    }
    EXPECT_EQ(groupedNumberText(12345.5, 3, "\u066B", "\u00A0"), "12\u00A0345\u066B500");
    EXPECT_EQ(generalNumberText(2.5, "\u066B"), "2\u066B5");
}

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

TEST(utf8_text, each_length_of_sequence_at_its_edges_and_non_characters_replaced) {
    const std::string replacement = "\xEF\xBF\xBD";
    // clang-format off
    const std::pair<char32_t, std::string> rows[] = {
        {0x7F, "\x7F"}, {0x80, "\xC2\x80"}, {0x7FF, "\xDF\xBF"}, {0x800, "\xE0\xA0\x80"},
        {0x20AC, "\xE2\x82\xAC"}, {0xFFFF, "\xEF\xBF\xBF"}, {0x1F600, "\xF0\x9F\x98\x80"},
        {0x10FFFF, "\xF4\x8F\xBF\xBF"}, {0xD800, replacement}, {0xDFFF, replacement},
        {0x110000, replacement}};
    // clang-format on
    for (const auto& [c, bytes] : rows)
        EXPECT_EQ(utf8Of(c), bytes) << static_cast<std::uint32_t>(c);
    std::string text = "a";
    appendUtf8(text, U'\x44F');  // Cyrillic small ya
    EXPECT_EQ(text, "a\xD1\x8F");
}

// Each faulty byte replaced; NUL is well formed, but no text of the host's holds one.
TEST(utf8_text, valid_utf8_keeps_every_character_and_replaces_each_faulty_byte) {
    const std::string r = "\xEF\xBF\xBD";
    const std::tuple<std::string, std::string, bool> rows[] = {
        {"Ошибка €𝄞", "Ошибка €𝄞", true},           {std::string("a\0b", 3), "a" + r + "b", true},
        {"\xC0\xAF/", r + r + "/", false},           // overlong
        {"\xE0\x80\xAF", r + r + r, false},          // overlong in three bytes
        {"\xED\xA0\x80", r + r + r, false},          // surrogate
        {"\xF4\x90\x80\x80", r + r + r + r, false},  // past U+10FFFF
        {"x\xE2\x82", "x" + r + r, false},           // cut short at the end
        {"\x80\xD1\x8F", r + "\xD1\x8F", false},     // lone continuation before a character
    };
    for (const auto& [bytes, text, valid] : rows) {
        EXPECT_EQ(validUtf8(bytes), text) << bytes;
        EXPECT_EQ(isValidUtf8(bytes), valid) << bytes;
        EXPECT_TRUE(isValidUtf8(validUtf8(bytes)));
    }
}

TEST(mapbasic_name, names_as_mbhost_reads_them) {
    for (const char* name : {"placed", "_x1", "Точки_2", "A"}) EXPECT_TRUE(isMapBasicName(name));
    for (const char* text :
         {"", "1st", "out (obj)", "my table", "a\"b", "a'b", "t\r\nClose", "t;", "Format$"}) {
        EXPECT_FALSE(isMapBasicName(text)) << text;
    }
}

}  // namespace
}  // namespace veltrano::testing
