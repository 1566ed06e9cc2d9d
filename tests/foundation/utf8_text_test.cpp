#include <gtest/gtest.h>

#include "platform/utf8_text.h"

namespace veltrano {
namespace {

TEST(utf8_text, each_length_of_sequence_at_its_edges) {
    EXPECT_EQ(utf8Of(U'\x7F'), "\x7F");
    EXPECT_EQ(utf8Of(U'\x80'), "\xC2\x80");
    EXPECT_EQ(utf8Of(U'\x7FF'), "\xDF\xBF");
    EXPECT_EQ(utf8Of(U'\x800'), "\xE0\xA0\x80");
    EXPECT_EQ(utf8Of(U'\x20AC'), "\xE2\x82\xAC");  // euro sign
    EXPECT_EQ(utf8Of(U'\xFFFF'), "\xEF\xBF\xBF");
    EXPECT_EQ(utf8Of(U'\x1F600'), "\xF0\x9F\x98\x80");  // beyond the basic plane
    EXPECT_EQ(utf8Of(U'\x10FFFF'), "\xF4\x8F\xBF\xBF");
}

TEST(utf8_text, what_is_not_a_character_becomes_the_replacement_character) {
    const std::string replacement = "\xEF\xBF\xBD";
    EXPECT_EQ(utf8Of(char32_t{0xD800}), replacement);
    EXPECT_EQ(utf8Of(char32_t{0xDFFF}), replacement);
    EXPECT_EQ(utf8Of(char32_t{0x110000}), replacement);
    std::string text = "a";
    appendUtf8(text, U'\x44F');  // Cyrillic small ya
    EXPECT_EQ(text, "a\xD1\x8F");
}

}  // namespace
}  // namespace veltrano
