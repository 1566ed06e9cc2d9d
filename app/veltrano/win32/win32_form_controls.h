// Native controls made from a form's layout: each at its place in twips, in tab order.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/form_layout.h"

namespace veltrano::win32 {

// The window's outer size that gives it the form's client area at the screen's resolution.
SIZE windowSizeFor(const layout::Form& form, DWORD style, DWORD exStyle);

class Win32FormControls {
public:
    // Creates on the window every control Win32 builds, in tab order: the dialog manager
    // walks the controls in the order they were made.
    Win32FormControls(HWND window, const layout::Form& form);
    ~Win32FormControls();
    Win32FormControls(const Win32FormControls&) = delete;
    Win32FormControls& operator=(const Win32FormControls&) = delete;

    HWND find(std::string_view name) const;  // null: no such control, or a line
    int idOf(std::string_view name) const;   // 0: no such control
    // Lines have no window of their own, as in the form designer: the form draws them.
    void paintLines(HDC dc) const;

private:
    HWND create(const layout::Control& control, int id);
    void addTooltip(HWND control, const std::string& text);

    HWND window_;
    int dpi_;
    HFONT font_ = nullptr;
    HWND tooltips_ = nullptr;
    std::map<std::string, HWND, std::less<>> controls_;
    std::vector<RECT> lines_;
};

}  // namespace veltrano::win32
