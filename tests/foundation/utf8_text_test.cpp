#include <gtest/gtest.h>

#include "foundation/mapbasic_name.h"
#include "foundation/utf8.h"

namespace veltrano {
namespace {

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

TEST(utf8_text, valid_utf8_keeps_every_character_and_replaces_each_faulty_byte) {
    const std::string r = "\xEF\xBF\xBD";
    const std::pair<std::string, std::string> rows[] = {
        {"Ошибка €𝄞", "Ошибка €𝄞"},       {std::string("a\0b", 3), "a" + r + "b"},
        {"\xC0\xAF/", r + r + "/"},        // overlong
        {"\xED\xA0\x80", r + r + r},       // surrogate
        {"x\xE2\x82", "x" + r + r},        // cut short at the end
        {"\x80\xD1\x8F", r + "\xD1\x8F"},  // lone continuation before a character
    };
    for (const auto& [bytes, text] : rows) {
        EXPECT_EQ(validUtf8(bytes), text) << bytes;
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
}  // namespace veltrano
