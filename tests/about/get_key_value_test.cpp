#include "about/get_key_value.h"

#include <gtest/gtest.h>

#include "support/fake_ports.h"

namespace veltrano {
namespace {

using testing::FakeRegistry;

constexpr auto kRoot = RegistryRoot::LocalMachine;

RegistryValue stored(std::uint32_t type, std::vector<std::uint8_t> bytes) {
    return RegistryValue{type, std::move(bytes)};
}

RegistryValue textValue(const std::string& text, bool withNul) {
    std::vector<std::uint8_t> bytes(text.begin(), text.end());
    if (withNul) bytes.push_back(0);
    return stored(kRegString, bytes);
}

class get_key_value : public ::testing::Test {
protected:
    void put(RegistryValue value) { registry.values[{kRoot, "Key", "Value"}] = std::move(value); }
    bool read() { return GetKeyValue(registry, kRoot, "Key", "Value", result); }

    FakeRegistry registry;
    std::string result = "untouched";
};

TEST_F(get_key_value, string_value_loses_only_its_terminating_nul) {
    put(textValue("C:\\Tools\\msinfo32.exe", true));
    ASSERT_TRUE(read());
    EXPECT_EQ(result, "C:\\Tools\\msinfo32.exe");

    put(textValue("no terminator", false));
    ASSERT_TRUE(read());
    EXPECT_EQ(result, "no terminator");

    put(textValue("", true));
    ASSERT_TRUE(read());
    EXPECT_EQ(result, "");
}

TEST_F(get_key_value, opens_the_key_with_full_access) {
    put(textValue("x", true));
    read();
    ASSERT_EQ(registry.reads.size(), 1u);
    EXPECT_EQ(std::get<3>(registry.reads[0]), 0x2003Fu);
    EXPECT_EQ(std::get<0>(registry.reads[0]), RegistryRoot::LocalMachine);
}

TEST_F(get_key_value, number_value_is_its_little_endian_number) {
    // Bytes whose hexadecimal forms have leading zeros: a digit-by-digit walk would lose them.
    put(stored(kRegDword, {0x0A, 0x00, 0x01, 0x00}));
    ASSERT_TRUE(read());
    EXPECT_EQ(result, std::to_string(0x0001000Au));

    put(stored(kRegDword, {0xFF, 0xFF, 0xFF, 0xFF}));
    ASSERT_TRUE(read());
    EXPECT_EQ(result, "4294967295");

    put(stored(kRegDword, {0x00, 0x00, 0x00, 0x00}));
    ASSERT_TRUE(read());
    EXPECT_EQ(result, "0");
}

TEST_F(get_key_value, other_types_succeed_without_changing_the_text) {
    put(stored(3, {1, 2, 3}));
    EXPECT_TRUE(read());
    EXPECT_EQ(result, "untouched");
}

TEST_F(get_key_value, missing_or_oversized_values_fail_with_empty_text) {
    EXPECT_FALSE(read());
    EXPECT_EQ(result, "");

    result = "untouched";
    put(textValue(std::string(kKeyValueBufferSize + 1, 'a'), false));
    EXPECT_FALSE(read());
    EXPECT_EQ(result, "");

    put(textValue(std::string(kKeyValueBufferSize - 1, 'a'), true));
    EXPECT_TRUE(read());
    EXPECT_EQ(result.size(), kKeyValueBufferSize - 1);
}

}  // namespace
}  // namespace veltrano
