// Starting programs and telling files from folders, on the real file system.
#include <windows.h>

#include <gtest/gtest.h>

#include "foundation/run_time_error.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_process_start.h"
#include "raised.h"
#include "support/temp_folder.h"

namespace veltrano::testing {
namespace {

TEST(win32_process_start, tells_files_from_folders_and_names_a_program_it_cannot_start) {
    TempFolder folder;
    const std::wstring program = folder.addMarkerProgram(L"Инструмент.exe");
    win32::Win32ProcessStart processes;
    EXPECT_TRUE(processes.fileExists(win32::toUtf8(program)));
    EXPECT_FALSE(processes.fileExists(folder.pathUtf8()));
    EXPECT_FALSE(processes.fileExists(folder.pathUtf8() + "\\absent.exe"));
    EXPECT_FALSE(processes.fileExists(""));
    EXPECT_FALSE(processes.fileExists("C:\\bad\xFFname"));
    const std::string missing = folder.pathUtf8() + "\\absent.exe";
    const Raised raised = raisedBy([&] { processes.start(missing); });
    EXPECT_EQ(raised.number, 53);
    EXPECT_EQ(raised.description, "File not found: " + missing);
}

}  // namespace
}  // namespace veltrano::testing
