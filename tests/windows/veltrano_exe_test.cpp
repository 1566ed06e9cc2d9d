// veltrano.exe itself, started as a user starts it, with no host running: the dialog opens
// with its controls, says there is no host, keeps OK disabled, and closes cleanly.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "support/replay_server_process.h"
#include "support/screen.h"

namespace veltrano::testing {
namespace {

constexpr int kCmdOkId = 109;    // tenth control in tab order
constexpr int kSummaryId = 106;  // txtSelectedPolyline

TEST(veltrano_exe, opens_without_a_host_with_ok_disabled_and_closes_cleanly) {
    if (!screenAvailable()) GTEST_SKIP() << "no display: run under Xvfb to start the dialog";

    HANDLE process = startProcess(L"\"Z:" VELTRANO_EXE_PATH L"\"");
    ASSERT_NE(process, nullptr);
    // The window shows once the dialog has loaded.
    HWND dialog = waitForWindow(L"VeltranoForm1", GetProcessId(process));
    if (!dialog) exitCodeOf(process, 0);
    ASSERT_NE(dialog, nullptr);

    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, kCmdOkId)));
    EXPECT_EQ(textOf(GetDlgItem(dialog, kSummaryId)), L"--- NO Active MAPINFO Application ---");

    PostMessageW(dialog, WM_CLOSE, 0, 0);
    EXPECT_EQ(exitCodeOf(process, 20000), 0);
}

}  // namespace
}  // namespace veltrano::testing
