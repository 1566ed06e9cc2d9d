#include "about/get_key_value.h"

#include <gtest/gtest.h>

#include "support/fake_ports.h"

namespace veltrano {
namespace {

RegistryValue textValue(const std::string& text, bool withNul) {
    std::vector<std::uint8_t> bytes(text.begin(), text.end());
    if (withNul) bytes.push_back(0);
    return {kRegString, bytes};
}

// A string loses only its terminating NUL; a number is its little-endian value (bytes with
// leading zeros in hexadecimal catch a digit-by-digit walk); other types leave the text; a
// missing or oversized value fails with an empty text.
TEST(get_key_value, reads_each_value_type_as_its_text) {
    const std::size_t size = kKeyValueBufferSize;
    const struct {
        std::optional<RegistryValue> stored;
        bool found;
        std::string text;
    } rows[] = {
        {textValue("C:\\Tools\\msinfo32.exe", true), true, "C:\\Tools\\msinfo32.exe"},
        {textValue("no terminator", false), true, "no terminator"},
        {textValue("", true), true, ""},
        {RegistryValue{kRegDword, {0x0A, 0x00, 0x01, 0x00}}, true, std::to_string(0x0001000Au)},
        {RegistryValue{kRegDword, {0xFF, 0xFF, 0xFF, 0xFF}}, true, "4294967295"},
        {RegistryValue{kRegDword, {0x00, 0x00, 0x00, 0x00}}, true, "0"},
        {RegistryValue{3, {1, 2, 3}}, true, "untouched"},
        {std::nullopt, false, ""},
        {textValue(std::string(size + 1, 'a'), false), false, ""},
        {textValue(std::string(size - 1, 'a'), true), true, std::string(size - 1, 'a')},
    };
    for (const auto& row : rows) {
        testing::FakeRegistry registry;
        if (row.stored) registry.values[{RegistryRoot::LocalMachine, "Key", "Value"}] = *row.stored;
        std::string result = "untouched";
        EXPECT_EQ(GetKeyValue(registry, RegistryRoot::LocalMachine, "Key", "Value", result),
                  row.found)
            << row.text;
        EXPECT_EQ(result, row.text);
        ASSERT_EQ(registry.reads.size(), 1u);
        EXPECT_EQ(registry.reads[0], std::make_tuple(RegistryRoot::LocalMachine, std::string("Key"),
                                                     std::string("Value"), std::uint32_t{0x2003F}));
    }
}

}  // namespace
}  // namespace veltrano
