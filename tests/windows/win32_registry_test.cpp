// Registry reads on real values made with reg.exe, through the adapter and through the
// About box's GetKeyValue and StartSysInfo.
#include <windows.h>

#include <gtest/gtest.h>

#include "about/frm_about.h"
#include "about/get_key_value.h"
#include "platform/win32/win32_process_start.h"
#include "platform/win32/win32_registry.h"
#include "support/fake_ports.h"
#include "support/temp_folder.h"
#include "support/wine_registry.h"

namespace veltrano::testing {
namespace {

const std::wstring kTestKey = L"HKLM\\Software\\VeltranoTest";
constexpr std::string_view kTestKeyPath = "Software\\VeltranoTest";
constexpr std::uint32_t kReadWrite = 0x2003F;

class Registry : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(regDeleteKey(kTestKey));
        ASSERT_TRUE(regAddKey(kTestKey));
    }
    void TearDown() override { regDeleteKey(kTestKey); }

    std::optional<RegistryValue> read(std::string_view value) {
        return registry_.read(RegistryRoot::LocalMachine, kTestKeyPath, value, kReadWrite);
    }

    win32::Win32Registry registry_;
};

std::vector<std::uint8_t> bytesOf(std::string_view text) {
    return {text.begin(), text.end()};
}

TEST_F(Registry, a_string_value_comes_back_as_utf8_with_its_stored_terminating_nul) {
    ASSERT_TRUE(regAdd(kTestKey, L"PATH", L"REG_SZ", L"C:\\Программы\\tool.exe"));
    const auto value = read("PATH");
    ASSERT_TRUE(value);
    EXPECT_EQ(value->type, kRegString);
    EXPECT_EQ(value->bytes, bytesOf(std::string("C:\\Программы\\tool.exe") + '\0'));
}

TEST_F(Registry, a_number_value_comes_back_as_its_four_stored_bytes) {
    ASSERT_TRUE(regAdd(kTestKey, L"Count", L"REG_DWORD", L"16777728"));  // 0x01000200
    const auto value = read("Count");
    ASSERT_TRUE(value);
    EXPECT_EQ(value->type, kRegDword);
    EXPECT_EQ(value->bytes, (std::vector<std::uint8_t>{0x00, 0x02, 0x00, 0x01}));
}

TEST_F(Registry, a_missing_key_value_or_unreadable_name_reads_nothing) {
    EXPECT_FALSE(read("Nothing"));
    EXPECT_FALSE(registry_.read(RegistryRoot::LocalMachine, "Software\\VeltranoTest\\Absent",
                                "PATH", kReadWrite));
    EXPECT_FALSE(registry_.read(RegistryRoot::LocalMachine, "Software\\Veltrano\xFFTest", "PATH",
                                kReadWrite));
}

TEST_F(Registry, get_key_value_reads_strings_numbers_and_reports_what_is_missing) {
    ASSERT_TRUE(regAdd(kTestKey, L"Text", L"REG_SZ", L"C:\\Tools"));
    ASSERT_TRUE(regAdd(kTestKey, L"Number", L"REG_DWORD", L"16777728"));
    ASSERT_TRUE(regAdd(kTestKey, L"Blob", L"REG_BINARY", L"0102"));
    std::string text = "old";
    EXPECT_TRUE(GetKeyValue(registry_, RegistryRoot::LocalMachine, kTestKeyPath, "Text", text));
    EXPECT_EQ(text, "C:\\Tools");
    std::string number;
    EXPECT_TRUE(GetKeyValue(registry_, RegistryRoot::LocalMachine, kTestKeyPath, "Number", number));
    EXPECT_EQ(number, "16777728");
    std::string kept = "kept";
    EXPECT_TRUE(GetKeyValue(registry_, RegistryRoot::LocalMachine, kTestKeyPath, "Blob", kept));
    EXPECT_EQ(kept, "kept");
    std::string missing = "stale";
    EXPECT_FALSE(GetKeyValue(registry_, RegistryRoot::LocalMachine, "Software\\VeltranoTest\\No",
                             "Text", missing));
    EXPECT_EQ(missing, "");
}

class NoAboutView : public AboutView {
public:
    void setCaption(std::string_view) override {}
    void setVersionText(std::string_view) override {}
    void setDescriptionText(std::string_view) override {}
    void setDisclaimerText(std::string_view) override {}
    void closeWindow() override {}
};

// The system-information tool as the About box finds it in the registry.
class SystemInformation : public ::testing::Test {
protected:
    const std::wstring toolKey = L"HKLM\\SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
    const std::wstring locationKey = L"HKLM\\SOFTWARE\\Microsoft\\Shared Tools Location";

    void SetUp() override {
        ASSERT_TRUE(regDeleteKey(toolKey));
        ASSERT_TRUE(regDeleteKey(locationKey));
    }
    void TearDown() override {
        regDeleteKey(toolKey);
        regDeleteKey(locationKey);
    }
    void pressSystemInfo() {
        frmAbout about(view_, {messages_, registry_, processes_});
        about.load();
        about.cmdSysInfoClick();
    }
    bool unavailableShown() const {
        return messages_.shown.size() == 1 &&
               messages_.shown[0].text == "System Information Is Unavailable At This Time";
    }

    NoAboutView view_;
    RecordingMessageBox messages_;
    win32::Win32Registry registry_;
    win32::Win32ProcessStart processes_;
    TempFolder folder_;
};

TEST_F(SystemInformation, with_neither_registry_entry_it_is_unavailable) {
    pressSystemInfo();
    EXPECT_TRUE(unavailableShown());
}

TEST_F(SystemInformation, a_location_folder_without_the_tool_is_unavailable) {
    ASSERT_TRUE(regAdd(locationKey, L"MSINFO", L"REG_SZ", folder_.path()));
    folder_.addMarkerProgram(L"OTHER.EXE");
    pressSystemInfo();
    EXPECT_TRUE(unavailableShown());
}

TEST_F(SystemInformation, the_tool_in_the_location_folder_is_started) {
    folder_.addMarkerProgram(L"MSINFO32.EXE");
    ASSERT_TRUE(regAdd(locationKey, L"MSINFO", L"REG_SZ", folder_.path()));
    pressSystemInfo();
    EXPECT_TRUE(messages_.shown.empty());
    EXPECT_TRUE(folder_.markerRan(L"MSINFO32.EXE"));
}

TEST_F(SystemInformation, the_tool_path_value_wins_over_the_location) {
    const std::wstring tool = folder_.addMarkerProgram(L"sysinfo.exe");
    ASSERT_TRUE(regAdd(toolKey, L"PATH", L"REG_SZ", tool));
    ASSERT_TRUE(regAdd(locationKey, L"MSINFO", L"REG_SZ", L"C:\\nowhere"));
    pressSystemInfo();
    EXPECT_TRUE(messages_.shown.empty());
    EXPECT_TRUE(folder_.markerRan(L"sysinfo.exe"));
}

TEST_F(SystemInformation, a_tool_path_that_cannot_be_started_is_unavailable) {
    ASSERT_TRUE(regAdd(toolKey, L"PATH", L"REG_SZ", folder_.path() + L"\\missing.exe"));
    pressSystemInfo();
    EXPECT_TRUE(unavailableShown());
}

}  // namespace
}  // namespace veltrano::testing
