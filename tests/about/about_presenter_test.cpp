#include <gtest/gtest.h>

#include "about/frm_about.h"
#include "about/get_key_value.h"
#include "foundation/run_time_error.h"
#include "support/fake_ports.h"

namespace veltrano::testing {
namespace {

// The texts load writes meet the widgets in the widget test.
class ClosingAboutView : public AboutView {
public:
    bool closed = false;
    void setCaption(std::string_view) override {}
    void setVersionText(std::string_view) override {}
    void setDescriptionText(std::string_view) override {}
    void setDisclaimerText(std::string_view) override {}
    void closeWindow() override { closed = true; }
};

constexpr auto kLocalMachine = RegistryRoot::LocalMachine;
const std::string kToolKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
const std::string kLocationKey = "SOFTWARE\\Microsoft\\Shared Tools Location";

RegistryValue text(const std::string& value, bool withNul = true) {
    std::vector<std::uint8_t> bytes(value.begin(), value.end());
    if (withNul) bytes.push_back(0);
    return {kRegString, bytes};
}

// The tool's own path first, then the shared folder where the tool must be; whatever fails
// says the one message and leaves the window open.
TEST(about_box, system_information_starts_the_tool_the_registry_names_or_says_why_not) {
    using Paths = std::vector<std::string>;
    const std::string tool = "C:\\Shared\\MSInfo\\MSINFO32.EXE";
    const std::vector<ShownMessage> kUnavailable{
        {"System Information Is Unavailable At This Time", "", MessageIcon::None}};
    const struct {
        std::string toolPath, location;
        Paths existing;
        bool refusing;
        Paths started;
        std::size_t reads;
    } rows[] = {
        {"", "", {}, false, {}, 2},
        {"C:\\Program Files\\msinfo32.exe", "", {}, false, {"C:\\Program Files\\msinfo32.exe"}, 1},
        {"", "C:\\Shared\\MSInfo", {}, false, {}, 2},
        {"", "C:\\Shared\\MSInfo", {tool}, false, {tool}, 2},
        {"C:\\gone.exe", "", {}, true, {}, 1}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.toolPath + row.location);
        ClosingAboutView view;
        RecordingMessageBox messages;
        FakeRegistry registry;
        FakeProcessStart processes;
        processes.refusing = row.refusing;
        processes.existingFiles = row.existing;
        if (!row.toolPath.empty()) {
            registry.values[{kLocalMachine, kToolKey, "PATH"}] = text(row.toolPath);
        }
        if (!row.location.empty()) {
            registry.values[{kLocalMachine, kLocationKey, "MSINFO"}] = text(row.location);
        }
        frmAbout(view, {messages, registry, processes}).cmdSysInfoClick();
        EXPECT_EQ(processes.started, row.started);
        EXPECT_EQ(messages.shown, row.started.empty() ? kUnavailable : std::vector<ShownMessage>{});
        EXPECT_FALSE(view.closed);
        EXPECT_EQ(registry.reads.size(), row.reads);
    }
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
        {text("C:\\Tools\\msinfo32.exe", true), true, "C:\\Tools\\msinfo32.exe"},
        {text("no terminator", false), true, "no terminator"},
        {text("", true), true, ""},
        {RegistryValue{kRegDword, {0x0A, 0x00, 0x01, 0x00}}, true, std::to_string(0x0001000Au)},
        {RegistryValue{kRegDword, {0xFF, 0xFF, 0xFF, 0xFF}}, true, "4294967295"},
        {RegistryValue{kRegDword, {0x00, 0x00, 0x00, 0x00}}, true, "0"},
        {RegistryValue{3, {1, 2, 3}}, true, "untouched"},
        {std::nullopt, false, ""},
        {text(std::string(size + 1, 'a'), false), false, ""},
        {text(std::string(size - 1, 'a'), true), true, std::string(size - 1, 'a')}};
    for (const auto& row : rows) {
        FakeRegistry registry;
        if (row.stored) registry.values[{kLocalMachine, "Key", "Value"}] = *row.stored;
        std::string result = "untouched";
        EXPECT_EQ(GetKeyValue(registry, kLocalMachine, "Key", "Value", result), row.found)
            << row.text;
        EXPECT_EQ(result, row.text);
        ASSERT_EQ(registry.reads.size(), 1u);
        EXPECT_EQ(registry.reads[0], std::make_tuple(kLocalMachine, std::string("Key"),
                                                     std::string("Value"), std::uint32_t{0x2003F}));
    }
}

}  // namespace
}  // namespace veltrano::testing
