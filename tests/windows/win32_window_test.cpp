// Message boxes and window activation on a real (virtual) screen. Without a display Wine
// cannot create windows; these tests then skip, saying why.
#include <windows.h>

#include <gtest/gtest.h>

#include <thread>

#include "foundation/run_time_error.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_message_box.h"
#include "platform/win32/win32_window_activation.h"
#include "raised.h"
#include "support/screen.h"

namespace veltrano::testing {
namespace {

using win32::Win32MessageBox;

struct SeenBox {
    std::wstring caption;
    std::wstring text;
};

// Waits for the next message box of this process, reads it and presses OK.
SeenBox answerNextBox() {
    HWND box = waitForWindow(L"#32770", GetCurrentProcessId());
    wchar_t caption[512] = {}, text[512] = {};
    GetWindowTextW(box, caption, 512);
    GetDlgItemTextW(box, 0xFFFF, text, 512);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    return {caption, text};
}

TEST(win32_message_box, shows_text_and_caption_and_the_application_title_when_none) {
    if (!screenAvailable()) GTEST_SKIP() << "no display: run under Xvfb to see message boxes";
    struct Row {
        const char *text, *caption;
        MessageIcon icon;
        const wchar_t* shownCaption;
    };
    const Row rows[] = {
        {"Не удалось выполнить подключение", "Error: No active Mapinfo.", MessageIcon::CriticalStop,
         L"Error: No active Mapinfo."},
        {"System Information Is Unavailable At This Time", "", MessageIcon::None, L"Veltrano"}};
    Win32MessageBox boxes;
    for (const Row& row : rows) {
        SeenBox seen;
        std::thread reader([&] { seen = answerNextBox(); });
        boxes.show(row.text, row.caption, row.icon);
        reader.join();
        EXPECT_EQ(seen.caption, row.shownCaption);
        EXPECT_EQ(seen.text, win32::toWide(row.text));
    }
}

TEST(win32_window_activation, brings_the_window_with_that_title_or_title_start_forward) {
    if (!screenAvailable()) GTEST_SKIP() << "no display: run under Xvfb to activate windows";
    HWND target = CreateWindowExW(0, L"STATIC", L"MapInfo Professional - [Дороги Map]",
                                  WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, nullptr,
                                  nullptr, nullptr, nullptr);
    HWND other = CreateWindowExW(0, L"STATIC", L"Other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10,
                                 200, 100, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(target && other);
    SetForegroundWindow(other);
    win32::Win32WindowActivation activation;
    EXPECT_EQ(win32::Win32WindowActivation::findByTitle(L"mapinfo professional"), target);
    activation.activate("MapInfo Professional", true);
    EXPECT_EQ(GetForegroundWindow(), target);
    EXPECT_EQ(errorNumberOf([&] { activation.activate("No such window title", true); }),
              err::kInvalidProcedureCall);
    DestroyWindow(target);
    DestroyWindow(other);
}

}  // namespace
}  // namespace veltrano::testing
