#include "win32_form_controls.h"

#include <commctrl.h>

#include "platform/win32/wide_text.h"
#include "twips.h"

namespace veltrano::win32 {

namespace {

using layout::Kind;

constexpr int kFirstId = 100;

struct NativeKind {
    const wchar_t* windowClass;
    DWORD style, exStyle;
};

NativeKind nativeKind(const layout::Control& control) {
    switch (control.kind) {
        case Kind::Label:
            return {L"STATIC", 0, 0};
        case Kind::TextBox:
            return {L"EDIT",
                    WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_WANTRETURN |
                        ES_AUTOVSCROLL | ES_AUTOHSCROLL,
                    WS_EX_CLIENTEDGE};
        case Kind::ComboBox:
            return {L"COMBOBOX", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL, 0};
        case Kind::CheckBox:
            return {L"BUTTON", WS_TABSTOP | BS_AUTOCHECKBOX, 0};
        case Kind::CommandButton:
            return {L"BUTTON",
                    static_cast<DWORD>(WS_TABSTOP |
                                       (control.isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) |
                                       (control.picture ? BS_BITMAP : 0)),
                    0};
        case Kind::PictureBox:
            return {L"STATIC", SS_ICON, 0};
        case Kind::Line:
            break;  // drawn by the form: see paintLines
    }
    return {nullptr, 0, 0};
}

// A closed combo box takes its height from its font; give it the layout's height instead.
// The field's height is corrected by what is still missing, as the frame around it differs
// between systems.
void setClosedHeight(HWND combo, int height) {
    auto field = SendMessageW(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
    for (int attempt = 0; attempt < 3 && field > 0; ++attempt) {
        RECT shown{};
        GetWindowRect(combo, &shown);
        const int missing = height - (shown.bottom - shown.top);
        if (missing == 0 || field + missing <= 0) return;
        field += missing;
        SendMessageW(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field);
    }
}

HFONT messageFont() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    return CreateFontIndirectW(&metrics.lfMessageFont);
}

// An etched line along the top of its place, as Qt draws a sunken horizontal line; the
// groove takes two pixels whatever the place's height.
RECT lineRect(const layout::Twips& place, int dpi) {
    const int left = twipsToPixels(place.left, dpi);
    const int top = twipsToPixels(place.top, dpi);
    return {left, top, left + twipsToPixels(place.width, dpi), top + 2};
}

}  // namespace

SIZE windowSizeFor(const layout::Form& form, DWORD style, DWORD exStyle) {
    const int dpi = screenDpi();
    RECT client{0, 0, twipsToPixels(form.clientWidth, dpi), twipsToPixels(form.clientHeight, dpi)};
    AdjustWindowRectEx(&client, style, FALSE, exStyle);
    return {client.right - client.left, client.bottom - client.top};
}

Win32FormControls::Win32FormControls(HWND window, const layout::Form& form)
    : window_(window), dpi_(screenDpi()), font_(messageFont()) {
    for (std::size_t k = 0; k < form.controls.size(); ++k) {
        const layout::Control& control = form.controls[k];
        if (!control.builtBy(layout::kWin32)) continue;
        if (control.kind == Kind::Line) {
            lines_.push_back(lineRect(control.place, dpi_));
            continue;
        }
        HWND made = create(control, kFirstId + static_cast<int>(k));
        if (!made) continue;
        if (!control.enabled) EnableWindow(made, FALSE);
        if (!control.tooltip.empty()) addTooltip(made, control.tooltip);
        controls_.emplace(control.name, made);
    }
}

Win32FormControls::~Win32FormControls() {
    if (font_) DeleteObject(font_);
}

HWND Win32FormControls::create(const layout::Control& control, int id) {
    const NativeKind kind = nativeKind(control);
    if (!kind.windowClass) return nullptr;
    const bool combo = control.kind == Kind::ComboBox;
    // A combo box's height includes its open list: room for a few table names.
    const int height = control.place.height * (combo ? 8 : 1);
    HWND made = CreateWindowExW(
        kind.exStyle, kind.windowClass, toWideForDisplay(control.caption).c_str(),
        WS_CHILD | (control.visible ? WS_VISIBLE : 0) | kind.style,
        twipsToPixels(control.place.left, dpi_), twipsToPixels(control.place.top, dpi_),
        twipsToPixels(control.place.width, dpi_), twipsToPixels(height, dpi_), window_,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    if (!made) return nullptr;
    SendMessageW(made, WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
    if (combo) setClosedHeight(made, twipsToPixels(control.place.height, dpi_));
    return made;
}

void Win32FormControls::addTooltip(HWND control, const std::string& text) {
    if (!tooltips_) {
        tooltips_ = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0,
                                    0, window_, nullptr, GetModuleHandleW(nullptr), nullptr);
    }
    // The tooltip window keeps its own copy of the text.
    std::wstring wide = toWideForDisplay(text);
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = window_;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = wide.data();
    SendMessageW(tooltips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

HWND Win32FormControls::find(std::string_view name) const {
    const auto it = controls_.find(name);
    return it == controls_.end() ? nullptr : it->second;
}

void Win32FormControls::paintLines(HDC dc) const {
    for (RECT line : lines_) DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
}

int Win32FormControls::idOf(std::string_view name) const {
    HWND control = find(name);
    return control ? GetDlgCtrlID(control) : 0;
}

}  // namespace veltrano::win32
