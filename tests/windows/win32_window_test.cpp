// Message boxes and window activation on a real (virtual) screen. Without a display Wine
// cannot create windows; these tests then skip, saying why.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "foundation/run_time_error.h"
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
    SeenBox seen;
    for (int waited = 0; waited < 10000; waited += 50) {
        HWND box = nullptr;
        EnumWindows(
            [](HWND w, LPARAM found) -> BOOL {
                wchar_t cls[16] = {};
                GetClassNameW(w, cls, 16);
                DWORD pid = 0;
                GetWindowThreadProcessId(w, &pid);
                if (lstrcmpW(cls, L"#32770") == 0 && pid == GetCurrentProcessId() &&
                    IsWindowVisible(w)) {
                    *reinterpret_cast<HWND*>(found) = w;
                    return FALSE;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&box));
        if (box) {
            wchar_t buffer[512] = {};
            GetWindowTextW(box, buffer, 512);
            seen.caption = buffer;
            GetDlgItemTextW(box, 0xFFFF, buffer, 512);
            seen.text = buffer;
            PostMessageW(box, WM_COMMAND, IDOK, 0);
            return seen;
        }
        Sleep(50);
    }
    return seen;
}

TEST(win32_message_box, shows_text_and_caption_and_the_application_title_when_none) {
    if (!screenAvailable()) GTEST_SKIP() << "no display: run under Xvfb to see message boxes";
    Win32MessageBox boxes;
    SeenBox first;
    std::thread reader([&] { first = answerNextBox(); });
    boxes.show("Не удалось выполнить подключение", "Error: No active Mapinfo.",
               MessageIcon::CriticalStop);
    reader.join();
    EXPECT_EQ(first.caption, L"Error: No active Mapinfo.");
    EXPECT_EQ(first.text, L"Не удалось выполнить подключение");
    SeenBox second;
    std::thread reader2([&] { second = answerNextBox(); });
    boxes.show("System Information Is Unavailable At This Time", "", MessageIcon::None);
    reader2.join();
    EXPECT_EQ(second.caption, L"Veltrano");
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
