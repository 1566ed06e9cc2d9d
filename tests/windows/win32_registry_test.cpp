// Registry reads on real values, stored through the Win32 API as other programs store them.
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/win32/win32_registry.h"

namespace veltrano::testing {
namespace {

constexpr const wchar_t* kTestKey = L"Software\\VeltranoTest";
constexpr std::uint32_t kReadWrite = 0x2003F;

void store(const wchar_t* name, DWORD type, const void* data, std::size_t size) {
    ASSERT_EQ(
        RegSetKeyValueW(HKEY_LOCAL_MACHINE, kTestKey, name, type, data, static_cast<DWORD>(size)),
        ERROR_SUCCESS);
}

TEST(win32_registry, values_come_back_as_stored_strings_as_utf8_with_their_nul) {
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, kTestKey);
    const std::wstring path = L"C:\\Программы\\tool.exe";
    const DWORD count = 0x01000200;
    const std::uint8_t blob[] = {0x01, 0x02};
    store(L"PATH", REG_SZ, path.c_str(), (path.size() + 1) * sizeof(wchar_t));
    store(L"Count", REG_DWORD, &count, sizeof count);
    store(L"Blob", REG_BINARY, blob, sizeof blob);
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
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, kTestKey);
}

}  // namespace
}  // namespace veltrano::testing
