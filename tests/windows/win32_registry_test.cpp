// Registry reads on real values made with reg.exe, through the adapter and through the
// About box's StartSysInfo.
#include <windows.h>

#include <gtest/gtest.h>

#include "about/frm_about.h"
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

class win32_registry : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(regDeleteKey(kTestKey));
        ASSERT_TRUE(regAdd(kTestKey));
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

TEST_F(win32_registry, values_come_back_as_stored_strings_as_utf8_with_their_nul) {
    ASSERT_TRUE(regAdd(kTestKey, L"PATH", L"REG_SZ", L"C:\\Программы\\tool.exe"));
    ASSERT_TRUE(regAdd(kTestKey, L"Count", L"REG_DWORD", L"16777728"));  // 0x01000200
    ASSERT_TRUE(regAdd(kTestKey, L"Blob", L"REG_BINARY", L"0102"));
    const auto text = read("PATH");
    const auto number = read("Count");
    const auto blob = read("Blob");
    ASSERT_TRUE(text && number && blob);
    EXPECT_EQ(text->type, kRegString);
    EXPECT_EQ(text->bytes, bytesOf(std::string("C:\\Программы\\tool.exe") + '\0'));
    EXPECT_EQ(number->type, kRegDword);
    EXPECT_EQ(number->bytes, (std::vector<std::uint8_t>{0x00, 0x02, 0x00, 0x01}));
    EXPECT_EQ(blob->type, static_cast<std::uint32_t>(REG_BINARY));
    EXPECT_EQ(blob->bytes, (std::vector<std::uint8_t>{0x01, 0x02}));
}

TEST_F(win32_registry, a_missing_key_value_or_unreadable_name_reads_nothing) {
    EXPECT_FALSE(read("Nothing"));
    EXPECT_FALSE(registry_.read(RegistryRoot::LocalMachine, "Software\\VeltranoTest\\Absent",
                                "PATH", kReadWrite));
    EXPECT_FALSE(registry_.read(RegistryRoot::LocalMachine, "Software\\Veltrano\xFFTest", "PATH",
                                kReadWrite));
}

class NoAboutView : public AboutView {
public:
    void setCaption(std::string_view) override {}
    void setVersionText(std::string_view) override {}
    void setDescriptionText(std::string_view) override {}
    void setDisclaimerText(std::string_view) override {}
    void closeWindow() override {}
};

// Which path the About box tries is the presenter's (about_presenter_test); here the registry
// names a program under a non-ASCII path and Windows starts it.
TEST(system_information, the_about_box_starts_the_tool_the_registry_names) {
    const std::wstring toolKey = L"HKLM\\SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
    const std::wstring program = L"Сведения о системе.exe";
    TempFolder folder;
    folder.addMarkerProgram(program);
    ASSERT_TRUE(regDeleteKey(toolKey));
    ASSERT_TRUE(regAdd(toolKey, L"PATH", L"REG_SZ", folder.path() + L"\\" + program));
    NoAboutView view;
    RecordingMessageBox messages;
    win32::Win32Registry registry;
    win32::Win32ProcessStart processes;
    frmAbout about(view, {messages, registry, processes});
    about.load();
    about.cmdSysInfoClick();
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_TRUE(folder.markerRan(program));
    regDeleteKey(toolKey);
}

}  // namespace
}  // namespace veltrano::testing
