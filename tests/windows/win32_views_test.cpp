// The native main dialog and About box as the user meets them: every control read back
// through the Win32 API (place, text, tab order, tooltip) against its form's layout; the keys
// the dialog manager turns into commands; distances typed under Windows' locales.
// Without a display Wine cannot create windows; these tests then skip, saying why.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "about/about_layout.h"
#include "about/about_texts.h"
#include "about/frm_about.h"
#include "dialog/form1_layout.h"
#include "foundation/version.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_regional_settings.h"
#include "support/fake_ports.h"
#include "support/screen.h"
#include "support/typed_distances.h"
#include "win32_about_view.h"
#include "win32_form1_view.h"

namespace veltrano::testing {
namespace {

using win32::Win32AboutView;
using win32::Win32Form1View;

using layout::Kind;

const wchar_t* windowClassOf(Kind kind) {
    if (kind == Kind::TextBox) return L"Edit";
    if (kind == Kind::ComboBox) return L"ComboBox";
    return kind == Kind::CheckBox || kind == Kind::CommandButton ? L"Button" : L"Static";
}

int pixels(int twips) {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return static_cast<int>(std::lround(twips * dpi / 1440.0));
}

// The control's rectangle in its parent's client coordinates.
RECT placeOf(HWND control) {
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void expectNear(int actual, int twips, const char* what, const char* name) {
    EXPECT_NEAR(actual, pixels(twips), 1) << name << " " << what << " (" << twips << " twips)";
}

std::vector<HWND> childrenInZOrder(HWND parent) {
    std::vector<HWND> children;
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        children.push_back(c);
    }
    return children;
}

// The text of control's tooltip; empty when it has none.
std::wstring tooltipOf(HWND tooltips, HWND control) {
    wchar_t text[512] = {};
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND;
    tool.hwnd = GetParent(control);
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = text;
    SendMessageW(tooltips, TTM_GETTEXTW, std::size(text), reinterpret_cast<LPARAM>(&tool));
    return text;
}

// A label that needs more lines than its height allows cuts its text off.
void expectLabelShowsItsWholeText(HWND label, const char* name) {
    const std::wstring text = textOf(label);
    RECT box{};
    GetClientRect(label, &box);
    RECT needed = box;
    HDC dc = GetDC(label);
    const auto old =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)));
    DrawTextW(dc, text.c_str(), -1, &needed, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS);
    SelectObject(dc, old);
    ReleaseDC(label, dc);
    EXPECT_LE(needed.bottom - needed.top, box.bottom - box.top) << name << " cuts its text off";
    EXPECT_LE(needed.right - needed.left, box.right - box.left) << name << " cuts its text off";
}

// The tab key walks the focusable controls in the order they were made.
void expectTabOrder(HWND window, const std::vector<HWND>& built) {
    EXPECT_EQ(childrenInZOrder(window), built);
    std::vector<HWND> focusable;
    for (HWND w : built) {
        if ((GetWindowLongW(w, GWL_STYLE) & WS_TABSTOP) && IsWindowEnabled(w)) {
            focusable.push_back(w);
        }
    }
    ASSERT_FALSE(focusable.empty());
    std::vector<HWND> walked{focusable.front()};
    for (HWND w = GetNextDlgTabItem(window, walked.back(), FALSE);
         w && w != walked.front() && walked.size() <= built.size();
         w = GetNextDlgTabItem(window, w, FALSE)) {
        walked.push_back(w);
    }
    EXPECT_EQ(walked, focusable);
}

// Exactly the controls with a tooltip have one, and it says what the layout says.
template <typename View>
void expectTooltips(const View& view, const layout::Form& form) {
    HWND tooltips = nullptr;  // the tooltip window made for this view
    while ((tooltips = FindWindowExW(nullptr, tooltips, TOOLTIPS_CLASSW, nullptr)) &&
           GetWindow(tooltips, GW_OWNER) != view.window()) {
    }
    LRESULT withTooltip = 0;
    for (const layout::Control& c : form.controls) {
        withTooltip += c.tooltip.empty() ? 0 : 1;
        if (HWND w = view.control(c.name.c_str())) {
            EXPECT_EQ(tooltipOf(tooltips, w), win32::toWide(c.tooltip)) << c.name;
        }
    }
    EXPECT_EQ(SendMessageW(tooltips, TTM_GETTOOLCOUNT, 0, 0), withTooltip);
}

// What the user can type, scroll, tick or see in a control of each kind.
void expectStyleOfItsKind(HWND w, const layout::Control& c) {
    const auto style = GetWindowLongW(w, GWL_STYLE);
    const char* name = c.name.c_str();
    if (c.kind == Kind::TextBox) {
        EXPECT_TRUE((style & ES_MULTILINE) && (style & WS_VSCROLL) && (style & WS_HSCROLL)) << name;
    } else if (c.kind == Kind::ComboBox) {
        EXPECT_EQ(style & 3, CBS_DROPDOWN) << name << " takes typed text and offers a list";
        EXPECT_FALSE(style & CBS_SORT) << "tables stay in the host's order";
    } else if (c.kind == Kind::CheckBox) {
        EXPECT_EQ(style & BS_TYPEMASK, BS_AUTOCHECKBOX) << name;
        EXPECT_EQ(SendMessageW(w, BM_GETCHECK, 0, 0), BST_UNCHECKED) << name;
    } else if (c.kind == Kind::CommandButton && c.picture) {
        EXPECT_NE(SendMessageW(w, BM_GETIMAGE, IMAGE_BITMAP, 0), 0) << name;
    } else if (c.kind == Kind::PictureBox) {
        EXPECT_NE(SendMessageW(w, STM_GETICON, 0, 0), 0) << name;
    }
}

// Both views answer window() and control(name).
template <typename View>
void expectMatchesLayout(const View& view, const layout::Form& form) {
    HWND window = view.window();
    EXPECT_EQ(textOf(window), win32::toWide(form.caption));
    RECT client{};
    GetClientRect(window, &client);
    expectNear(client.right, form.clientWidth, "client width", form.name.c_str());
    expectNear(client.bottom, form.clientHeight, "client height", form.name.c_str());
    std::vector<HWND> built;
    for (const layout::Control& c : form.controls) {
        const char* name = c.name.c_str();
        HWND w = view.control(name);
        if (!c.builtBy(layout::kWin32) || c.kind == Kind::Line) {
            EXPECT_EQ(w, nullptr) << name << " has no window of its own";
            continue;
        }
        ASSERT_NE(w, nullptr) << name;
        built.push_back(w);
        EXPECT_EQ(GetParent(w), window) << name;
        wchar_t windowClass[64] = {};
        GetClassNameW(w, windowClass, 64);
        EXPECT_EQ(lstrcmpiW(windowClass, windowClassOf(c.kind)), 0) << name;
        EXPECT_EQ(textOf(w), win32::toWide(c.caption)) << name;
        EXPECT_EQ((GetWindowLongW(w, GWL_STYLE) & WS_VISIBLE) != 0, c.visible) << name;
        EXPECT_EQ(IsWindowEnabled(w) != FALSE, c.enabled) << name;
        const RECT r = placeOf(w);
        expectNear(r.left, c.place.left, "left", name);
        expectNear(r.top, c.place.top, "top", name);
        if (c.kind != Kind::PictureBox) {  // an icon takes its own size
            expectNear(r.right - r.left, c.place.width, "width", name);
            expectNear(r.bottom - r.top, c.place.height, "height", name);
        }
        EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= client.right &&
                    r.bottom <= client.bottom)
            << name << " lies outside the client area";
        if (c.kind == Kind::Label) expectLabelShowsItsWholeText(w, name);
        expectStyleOfItsKind(w, c);
    }
    expectTabOrder(window, built);
    expectTooltips(view, form);
}

class win32_form1_view : public ::testing::Test {
protected:
    void SetUp() override {
        if (!screenAvailable()) GTEST_SKIP() << "no display: run under Xvfb to create windows";
        view = std::make_unique<Win32Form1View>();
        view->show();
    }
    void TearDown() override {
        view.reset();
        // The closed dialog ends its message loop: drop that quit so the next loop runs.
        MSG left;
        while (PeekMessageW(&left, nullptr, 0, 0, PM_REMOVE)) {
        }
    }
    std::unique_ptr<Win32Form1View> view;
};

TEST_F(win32_form1_view, matches_its_form_layout) {
    expectMatchesLayout(*view, form1Layout());
}

TEST_F(win32_form1_view, enter_and_escape_in_the_table_box_or_on_an_option_press_nothing) {
    int placements = 0, closes = 0;
    view->okRequested = [&] { ++placements; };
    view->closeRequested = [&] { ++closes; };
    // Posted: the dialog manager sees them in the loop, as it sees the user's keys.
    for (HWND target : {FindWindowExW(view->control("Combo1"), nullptr, L"Edit", nullptr),
                        view->control("chkStartFromTheEnd")}) {
        for (WPARAM key : {VK_RETURN, VK_ESCAPE}) PostMessageW(target, WM_KEYDOWN, key, 0);
    }
    PostMessageW(view->window(), WM_CLOSE, 0, 0);
    PostQuitMessage(0);  // the loop ends once the posted messages are handled
    view->run();
    EXPECT_EQ(placements, 0);
    EXPECT_EQ(closes, 1) << "only the close message may ask to close";
}

TEST(typed_distance, reads_alike_under_windows_locales) {
    expectTypedDistances([](std::string_view name) {
        return win32::Win32RegionalSettings::forLocale(std::wstring(name.begin(), name.end()));
    });
}

struct AboutBox {
    RecordingMessageBox messages;
    FakeRegistry registry;
    FakeProcessStart processes;
    Win32AboutView view;
    frmAbout about{view, {messages, registry, processes}};

    explicit AboutBox(HWND owner) : view(owner) {
        view.okRequested = [this] { about.cmdOKClick(); };
        about.load();
    }
};

class win32_about_view : public win32_form1_view {};

TEST_F(win32_about_view, matches_its_form_layout) {
    Win32AboutView about(view->window());
    expectMatchesLayout(about, about::aboutLayout());
}

TEST_F(win32_about_view, shows_the_loaded_texts_each_whole_and_apart) {
    AboutBox box(view->window());
    const std::pair<const char*, std::string> loaded[] = {
        {"lblVersion", std::string("Version ") + kVersionText},
        {"lblDescription", about::descriptionText()},
        {"lblDisclaimer", about::disclaimerText()}};
    for (const auto& [name, text] : loaded) {
        EXPECT_EQ(textOf(box.view.control(name)), win32::toWide(text)) << name;
        expectLabelShowsItsWholeText(box.view.control(name), name);
    }
    const std::vector<HWND> controls = childrenInZOrder(box.view.window());
    for (std::size_t k = 0; k < controls.size(); ++k) {
        for (std::size_t earlier = 0; earlier < k; ++earlier) {
            RECT overlap{}, a = placeOf(controls[k]), b = placeOf(controls[earlier]);
            EXPECT_FALSE(IntersectRect(&overlap, &a, &b))
                << "controls " << earlier << " and " << k << " in creation order overlap";
        }
    }
}

TEST_F(win32_about_view, is_modal_over_the_main_dialog_until_ok_closes_it) {
    AboutBox box(view->window());
    HWND about = box.view.window();
    EXPECT_EQ(GetWindow(about, GW_OWNER), view->window());
    // Pressed from inside the About box's own loop: what the user finds while it runs.
    bool aboutShown = false, ownerEnabled = true;
    box.view.okRequested = [&, close = box.view.okRequested] {
        aboutShown = IsWindowVisible(about);
        ownerEnabled = IsWindowEnabled(view->window());
        close();
    };
    PostMessageW(box.view.control("cmdOK"), BM_CLICK, 0, 0);
    box.view.runModal();
    EXPECT_TRUE(aboutShown);
    EXPECT_FALSE(ownerEnabled) << "the main dialog must take no input meanwhile";
    EXPECT_TRUE(IsWindowEnabled(view->window()));
    EXPECT_FALSE(IsWindowVisible(about));
}

}  // namespace
}  // namespace veltrano::testing
