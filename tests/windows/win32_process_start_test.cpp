// Starting programs and telling files from folders, on the real file system.
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/win32/wide_text.h"
#include "platform/win32/win32_process_start.h"
#include "raised.h"
#include "support/temp_folder.h"

namespace veltrano::testing {
namespace {

TEST(win32_process_start, starts_a_program_under_a_non_ascii_name_and_names_one_it_cannot) {
    TempFolder folder;
    const std::wstring program = folder.addMarkerProgram(L"Сведения о системе.exe");
    const std::string folderPath = win32::toUtf8(folder.path());
    win32::Win32ProcessStart processes;
    EXPECT_TRUE(processes.fileExists(win32::toUtf8(program)));
    EXPECT_FALSE(processes.fileExists(folderPath));
    EXPECT_FALSE(processes.fileExists(folderPath + "\\absent.exe"));
    EXPECT_FALSE(processes.fileExists(""));
    EXPECT_FALSE(processes.fileExists("C:\\bad\xFFname"));
    processes.start(win32::toUtf8(program));
    EXPECT_TRUE(folder.markerRan(L"Сведения о системе.exe"));
    const std::string missing = folderPath + "\\absent.exe";
    const Raised raised = raisedBy([&] { processes.start(missing); });
    EXPECT_EQ(raised.number, 53);
    EXPECT_EQ(raised.description, "File not found: " + missing);
}

}  // namespace
}  // namespace veltrano::testing
