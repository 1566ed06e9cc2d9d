// Registry reads on real values made with reg.exe.
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/win32/win32_registry.h"
#include "support/wine_registry.h"

namespace veltrano::testing {
namespace {

const std::wstring kTestKey = L"HKLM\\Software\\VeltranoTest";
constexpr std::uint32_t kReadWrite = 0x2003F;

class win32_registry : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(regDeleteKey(kTestKey));
        ASSERT_TRUE(regAdd(kTestKey));
    }
    void TearDown() override { regDeleteKey(kTestKey); }
};

TEST_F(win32_registry, values_come_back_as_stored_strings_as_utf8_with_their_nul) {
    ASSERT_TRUE(regAdd(kTestKey, L"PATH", L"REG_SZ", L"C:\\Программы\\tool.exe"));
    ASSERT_TRUE(regAdd(kTestKey, L"Count", L"REG_DWORD", L"16777728"));  // 0x01000200
    ASSERT_TRUE(regAdd(kTestKey, L"Blob", L"REG_BINARY", L"0102"));
    const std::string pathText = std::string("C:\\Программы\\tool.exe") + '\0';
    struct Row {
        std::string_view key, value;
        std::optional<RegistryValue> expected;  // nullopt: reads nothing
    };
    const Row rows[] = {
        {"Software\\VeltranoTest", "PATH", {{kRegString, {pathText.begin(), pathText.end()}}}},
        {"Software\\VeltranoTest", "Count", {{kRegDword, {0x00, 0x02, 0x00, 0x01}}}},
        {"Software\\VeltranoTest", "Blob", {{REG_BINARY, {0x01, 0x02}}}},
        {"Software\\VeltranoTest", "Nothing", std::nullopt},
        {"Software\\VeltranoTest\\Absent", "PATH", std::nullopt},
        {"Software\\Veltrano\xFFTest", "PATH", std::nullopt}};
    win32::Win32Registry registry;
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.key) + " " + std::string(row.value));
        const auto read = registry.read(RegistryRoot::LocalMachine, row.key, row.value, kReadWrite);
        ASSERT_EQ(read.has_value(), row.expected.has_value());
        if (read) {
            EXPECT_EQ(read->type, row.expected->type);
            EXPECT_EQ(read->bytes, row.expected->bytes);
        }
    }
}

}  // namespace
}  // namespace veltrano::testing
