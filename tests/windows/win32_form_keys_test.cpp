// Typed distances under Windows' locales, and Enter and Esc on the native main dialog.
#include "platform/win32/win32_regional_settings.h"
#include "support/screen.h"
#include "support/typed_distances.h"
#include "win32_form1_view.h"

namespace veltrano::testing {

TEST(typed_distance, reads_alike_under_windows_locales) {
    expectTypedDistances([](std::string_view name) {
        return win32::Win32RegionalSettings::forLocale(std::wstring(name.begin(), name.end()));
    });
}

TEST(win32_form1_keys, enter_and_escape_in_the_table_box_or_on_an_option_press_nothing) {
    if (!screenAvailable()) GTEST_SKIP() << "no display: run under Xvfb to create windows";
    win32::Win32Form1View view;
    int placements = 0, closes = 0;
    view.okRequested = [&] { ++placements; };
    view.closeRequested = [&] { ++closes, view.closeWindow(); };
    // Posted: the dialog manager sees them in the loop, as it sees the user's keys.
    for (HWND target : {FindWindowExW(view.control("Combo1"), nullptr, L"Edit", nullptr),
                        view.control("chkStartFromTheEnd")}) {
        for (WPARAM key : {VK_RETURN, VK_ESCAPE}) PostMessageW(target, WM_KEYDOWN, key, 0);
    }
    PostMessageW(view.window(), WM_CLOSE, 0, 0);
    view.run();
    EXPECT_EQ(placements, 0);
    EXPECT_EQ(closes, 1);
}

}  // namespace veltrano::testing
