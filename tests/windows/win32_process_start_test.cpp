// Starting programs and telling files from folders, on the real file system.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/win32/wide_text.h"
#include "platform/win32/win32_process_start.h"
#include "raised.h"
#include "support/replay_server_process.h"

namespace veltrano::testing {
namespace {

namespace fs = std::filesystem;

// Whether the marker program has left its mark beside itself, waiting for it a while.
bool markerRan(const fs::path& program) {
    for (int waited = 0; waited < 15000; waited += 100) {
        if (fs::exists(program.wstring() + L".started")) return true;
        Sleep(100);
    }
    return false;
}

TEST(win32_process_start, starts_a_program_under_a_non_ascii_name_and_names_one_it_cannot) {
    const fs::path folder =
        fs::temp_directory_path() / ("veltrano-start-" + std::to_string(GetCurrentProcessId()));
    fs::create_directories(folder);
    // The marker program proves it was started; here under a name that is not ASCII.
    const fs::path program = folder / L"Сведения о системе.exe";
    fs::copy_file(fs::path(testProgramDir()) / "veltrano_mark_started.exe", program,
                  fs::copy_options::overwrite_existing);
    const std::string folderPath = win32::toUtf8(folder.wstring());
    win32::Win32ProcessStart processes;
    EXPECT_TRUE(processes.fileExists(win32::toUtf8(program.wstring())));
    EXPECT_FALSE(processes.fileExists(folderPath));
    EXPECT_FALSE(processes.fileExists(folderPath + "\\absent.exe"));
    EXPECT_FALSE(processes.fileExists(""));
    EXPECT_FALSE(processes.fileExists("C:\\bad\xFFname"));
    processes.start(win32::toUtf8(program.wstring()));
    EXPECT_TRUE(markerRan(program));
    const std::string missing = folderPath + "\\absent.exe";
    const Raised raised = raisedBy([&] { processes.start(missing); });
    EXPECT_EQ(raised.number, 53);
    EXPECT_EQ(raised.description, "File not found: " + missing);
    std::error_code ignored;
    fs::remove_all(folder, ignored);
}

}  // namespace
}  // namespace veltrano::testing
