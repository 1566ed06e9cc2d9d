// The native main dialog and About box as the user meets them: every control read back
// through the Win32 API (place, text, tab order, tooltip) against the dialog's layout in twips.
// Without a display Wine cannot create windows; these tests then skip, saying why.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "about/about_texts.h"
#include "about/frm_about.h"
#include "platform/win32/wide_text.h"
#include "support/fake_ports.h"
#include "support/screen.h"
#include "win32_about_view.h"
#include "win32_form1_view.h"

namespace veltrano::testing {
namespace {

using win32::Win32AboutView;
using win32::Win32Form1View;

struct Control {
    const char* name;
    const wchar_t* windowClass;
    const wchar_t* text;
    int left, top, width, height;  // twips
    const wchar_t* tooltip;        // null: none
};

// Form1's controls in tab order.
const Control kForm1Controls[] = {
    {"txtPoints", L"Edit", L"", 45, 450, 2985, 4020,
     L"Линейные координаты точек в метрах. Разделяются \";\" или переносом."},
    {"Label1", L"Static", L"Список точек (координаты в метрах)", 45, 180, 2985, 285, nullptr},
    {"Combo1", L"ComboBox", L"", 3195, 450, 3660, 315, L"Таблица, в которую будут помещены точки."},
    {"Label2", L"Static", L"Таблица для создаваемых точек", 3195, 180, 3660, 285, nullptr},
    {"chkBreakLine", L"Button", L"Разбивать линию в точках", 3195, 1215, 3660, 315,
     L"В местах вставки точки добавлять вершину к полилинии."},
    {"chkStartFromTheEnd", L"Button", L"Отсчет от конца линии", 3195, 810, 3660, 315,
     L"Вычислять координты о конца линии."},
    {"txtSelectedPolyline", L"Edit", L"", 3195, 1890, 3660, 2580, nullptr},
    {"Label3", L"Static", L"Информация о выбранных объектах", 3195, 1620, 3660, 285, nullptr},
    {"cmdClose", L"Button", L"Close", 5940, 4545, 870, 330, L"Выйти из программы"},
    {"cmdOK", L"Button", L"OK", 3195, 4545, 870, 330, L"Выполнить расстановку точек"},
    {"cmdRefreshMI", L"Button", L"", 6930, 225, 465, 420, L"Обновить данные из MapInfo"},
    {"cmdAbout", L"Button", L"About", 8145, 4545, 870, 330, nullptr},
};

int screenDotsPerInch() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi;
}

int pixels(int twips) {
    return static_cast<int>(std::lround(twips * screenDotsPerInch() / 1440.0));
}

std::wstring textOf(HWND window) {
    wchar_t buffer[2048] = {};
    GetWindowTextW(window, buffer, 2048);
    return buffer;
}

std::wstring classOf(HWND window) {
    wchar_t buffer[64] = {};
    GetClassNameW(window, buffer, 64);
    return buffer;
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

// The tooltip window that this thread made for the given owner.
HWND tooltipsOf(HWND owner) {
    struct Search {
        HWND owner, found;
    } search{owner, nullptr};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND w, LPARAM l) -> BOOL {
            auto* s = reinterpret_cast<Search*>(l);
            if (lstrcmpiW(classOf(w).c_str(), TOOLTIPS_CLASSW) == 0 &&
                GetWindow(w, GW_OWNER) == s->owner) {
                s->found = w;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

struct Tool {
    HWND control;
    std::wstring text;
};

std::vector<Tool> toolsOf(HWND tooltips) {
    std::vector<Tool> tools;
    const auto count = SendMessageW(tooltips, TTM_GETTOOLCOUNT, 0, 0);
    for (WPARAM k = 0; k < static_cast<WPARAM>(count); ++k) {
        TOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        if (!SendMessageW(tooltips, TTM_ENUMTOOLSW, k, reinterpret_cast<LPARAM>(&tool))) continue;
        wchar_t text[512] = {};
        tool.lpszText = text;
        SendMessageW(tooltips, TTM_GETTEXTW, std::size(text), reinterpret_cast<LPARAM>(&tool));
        const HWND control =
            (tool.uFlags & TTF_IDISHWND) ? reinterpret_cast<HWND>(tool.uId) : nullptr;
        tools.push_back({control, text});
    }
    return tools;
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
    HWND control(const Control& c) const { return view->control(c.name); }

    std::unique_ptr<Win32Form1View> view;
};

TEST_F(win32_form1_view, window_has_its_caption_and_client_area) {
    EXPECT_EQ(textOf(view->window()), L"MapInfo utility: Put points along the Selected polyline");
    RECT client{};
    GetClientRect(view->window(), &client);
    expectNear(client.right, 9105, "client width", "Form1");
    expectNear(client.bottom, 4980, "client height", "Form1");
}

TEST_F(win32_form1_view, every_control_has_its_kind_text_and_place_inside_the_client_area) {
    RECT client{};
    GetClientRect(view->window(), &client);
    for (const Control& c : kForm1Controls) {
        HWND w = control(c);
        ASSERT_NE(w, nullptr) << c.name;
        EXPECT_EQ(GetParent(w), view->window()) << c.name;
        EXPECT_EQ(lstrcmpiW(classOf(w).c_str(), c.windowClass), 0) << c.name;
        EXPECT_EQ(textOf(w), c.text) << c.name;
        EXPECT_TRUE(IsWindowVisible(w)) << c.name;
        const RECT r = placeOf(w);
        expectNear(r.left, c.left, "left", c.name);
        expectNear(r.top, c.top, "top", c.name);
        expectNear(r.right - r.left, c.width, "width", c.name);
        expectNear(r.bottom - r.top, c.height, "height", c.name);
        EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= client.right &&
                    r.bottom <= client.bottom)
            << c.name << " lies outside the client area";
        if (lstrcmpiW(c.windowClass, L"Static") == 0) expectLabelShowsItsWholeText(w, c.name);
    }
}

TEST_F(win32_form1_view, controls_are_of_the_kinds_the_dialog_needs) {
    for (const char* name : {"txtPoints", "txtSelectedPolyline"}) {
        const auto style = GetWindowLongW(view->control(name), GWL_STYLE);
        EXPECT_TRUE(style & ES_MULTILINE) << name;
        EXPECT_TRUE((style & WS_VSCROLL) && (style & WS_HSCROLL)) << name << ": both scroll bars";
    }
    const auto combo = GetWindowLongW(view->control("Combo1"), GWL_STYLE);
    EXPECT_EQ(combo & 3, CBS_DROPDOWN) << "Combo1 takes typed text and offers a list";
    EXPECT_FALSE(combo & CBS_SORT) << "tables stay in the host's order";
    for (const char* name : {"chkBreakLine", "chkStartFromTheEnd"}) {
        EXPECT_EQ(GetWindowLongW(view->control(name), GWL_STYLE) & BS_TYPEMASK, BS_AUTOCHECKBOX)
            << name;
        EXPECT_EQ(SendMessageW(view->control(name), BM_GETCHECK, 0, 0), BST_UNCHECKED) << name;
    }
    EXPECT_NE(SendMessageW(view->control("cmdRefreshMI"), BM_GETIMAGE, IMAGE_BITMAP, 0), 0)
        << "the refresh button shows its picture";
}

TEST_F(win32_form1_view, tab_order_follows_the_layout_and_skips_what_takes_no_focus) {
    std::vector<HWND> expected;
    for (const Control& c : kForm1Controls) expected.push_back(control(c));
    EXPECT_EQ(childrenInZOrder(view->window()), expected);

    std::vector<HWND> focusable;
    for (HWND w : expected) {
        if (lstrcmpiW(classOf(w).c_str(), L"Static") != 0 && IsWindowEnabled(w)) {
            focusable.push_back(w);
        }
    }
    std::vector<HWND> walked{focusable.front()};
    for (HWND w = GetNextDlgTabItem(view->window(), walked.back(), FALSE);
         w && w != walked.front() && walked.size() <= expected.size();
         w = GetNextDlgTabItem(view->window(), w, FALSE)) {
        walked.push_back(w);
    }
    EXPECT_EQ(walked, focusable);
}

TEST_F(win32_form1_view, tooltips_belong_to_exactly_the_controls_that_have_one) {
    HWND tooltips = tooltipsOf(view->window());
    ASSERT_NE(tooltips, nullptr);
    const std::vector<Tool> tools = toolsOf(tooltips);
    std::size_t withTooltip = 0;
    for (const Control& c : kForm1Controls) {
        const Tool* found = nullptr;
        for (const Tool& t : tools) {
            if (t.control == control(c)) found = &t;
        }
        if (!c.tooltip) {
            EXPECT_EQ(found, nullptr) << c.name << " must have no tooltip";
            continue;
        }
        ++withTooltip;
        ASSERT_NE(found, nullptr) << c.name << " has no tooltip";
        EXPECT_EQ(found->text, c.tooltip) << c.name;
    }
    EXPECT_EQ(tools.size(), withTooltip);
}

struct AboutBox {
    RecordingMessageBox messages;
    FakeRegistry registry;
    FakeProcessStart processes;
    Win32AboutView view;
    frmAbout about{view, {messages, registry, processes}};

    explicit AboutBox(HWND owner) : view(owner) {
        view.okRequested = [this] { about.cmdOKClick(); };
        view.sysInfoRequested = [this] { about.cmdSysInfoClick(); };
        about.load();
    }
};

class win32_about_view : public win32_form1_view {};

TEST_F(win32_about_view, shows_its_texts_each_whole_and_inside_the_window) {
    AboutBox box(view->window());
    EXPECT_EQ(textOf(box.view.window()), L"About Veltrano");
    EXPECT_EQ(textOf(box.view.control("cmdOK")), L"OK");
    EXPECT_EQ(textOf(box.view.control("cmdSysInfo")), L"&System Info...");
    EXPECT_EQ(textOf(box.view.control("lblVersion")), L"Version 1.1.1");
    EXPECT_EQ(textOf(box.view.control("lblDescription")), win32::toWide(about::descriptionText()));
    EXPECT_EQ(textOf(box.view.control("lblTitle")), win32::toWide(about::titleText()));
    EXPECT_EQ(textOf(box.view.control("lblDisclaimer")), win32::toWide(about::disclaimerText()));
    EXPECT_NE(SendMessageW(box.view.control("picIcon"), STM_GETICON, 0, 0), 0);

    const char* const names[] = {"picIcon",       "lblTitle", "lblVersion", "lblDescription",
                                 "lblDisclaimer", "cmdOK",    "cmdSysInfo"};
    RECT client{};
    GetClientRect(box.view.window(), &client);
    for (const char* name : names) {
        HWND w = box.view.control(name);
        ASSERT_NE(w, nullptr) << name;
        const RECT r = placeOf(w);
        EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= client.right &&
                    r.bottom <= client.bottom)
            << name << " lies outside the client area";
        for (const char* other : names) {
            RECT overlap{}, o = placeOf(box.view.control(other));
            EXPECT_TRUE(other == name || !IntersectRect(&overlap, &r, &o))
                << name << " overlaps " << other;
        }
        const bool picture = (GetWindowLongW(w, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
        if (lstrcmpiW(classOf(w).c_str(), L"Static") == 0 && !picture) {
            expectLabelShowsItsWholeText(w, name);
        }
    }
}

// What the user would find while the About box runs its own message loop.
struct DuringModal {
    HWND about, owner, ok;
    bool aboutShown = false, ownerEnabled = true;
};
DuringModal* duringModal = nullptr;

TEST_F(win32_about_view, is_modal_over_the_main_dialog_until_ok_closes_it) {
    AboutBox box(view->window());
    DuringModal seen{box.view.window(), view->window(), box.view.control("cmdOK")};
    EXPECT_EQ(GetWindow(seen.about, GW_OWNER), view->window());
    duringModal = &seen;
    // Fires from inside the About box's own loop, then presses its OK button.
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR id, DWORD) {
        KillTimer(nullptr, id);
        duringModal->aboutShown = IsWindowVisible(duringModal->about);
        duringModal->ownerEnabled = IsWindowEnabled(duringModal->owner);
        PostMessageW(duringModal->about, WM_COMMAND,
                     MAKEWPARAM(GetDlgCtrlID(duringModal->ok), BN_CLICKED),
                     reinterpret_cast<LPARAM>(duringModal->ok));
    });
    ASSERT_NE(timer, 0u);
    box.view.runModal();
    duringModal = nullptr;
    EXPECT_TRUE(seen.aboutShown);
    EXPECT_FALSE(seen.ownerEnabled) << "the main dialog must take no input meanwhile";
    EXPECT_TRUE(IsWindowEnabled(view->window()));
    EXPECT_FALSE(IsWindowVisible(seen.about));
}

}  // namespace
}  // namespace veltrano::testing
