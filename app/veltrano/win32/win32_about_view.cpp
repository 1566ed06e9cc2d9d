#include "win32_about_view.h"

#include "about/about_texts.h"
#include "platform/win32/wide_text.h"
#include "twips.h"

namespace veltrano::win32 {

namespace {
constexpr wchar_t kClassName[] = L"VeltranoAbout";
constexpr int kOkId = IDOK;
constexpr int kSysInfoId = 200;
}  // namespace

Win32AboutView::Win32AboutView(HWND owner) : owner_(owner) {
    WNDCLASSEXW type{};
    type.cbSize = sizeof type;
    type.lpfnWndProc = procedure;
    type.hInstance = GetModuleHandleW(nullptr);
    type.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    type.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    type.lpszClassName = kClassName;
    RegisterClassExW(&type);
    const int dpi = screenDpi();
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    RECT client{0, 0, twipsToPixels(8400, dpi), twipsToPixels(7000, dpi)};
    AdjustWindowRectEx(&client, style, FALSE, WS_EX_DLGMODALFRAME);
    window_ = CreateWindowExW(WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT, kClassName,
                              L"About Veltrano", style, CW_USEDEFAULT, CW_USEDEFAULT,
                              client.right - client.left, client.bottom - client.top, owner,
                              nullptr, GetModuleHandleW(nullptr), this);
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    font_ = CreateFontIndirectW(&metrics.lfMessageFont);
    const auto px = [dpi](int twips) { return twipsToPixels(twips, dpi); };
    HWND icon = add("picIcon", L"STATIC", L"", SS_ICON, px(240), px(240), px(540), px(540));
    SendMessageW(icon, STM_SETICON, reinterpret_cast<WPARAM>(LoadIconW(nullptr, IDI_APPLICATION)),
                 0);
    add("lblTitle", L"STATIC", toWideForDisplay(about::titleText()), 0, px(1050), px(240), px(7100),
        px(480));
    add("lblVersion", L"STATIC", L"Version", 0, px(1050), px(780), px(7100), px(300));
    // Tall enough for the whole description in the message font at any usual scaling.
    add("lblDescription", L"STATIC", L"App Description", 0, px(1050), px(1125), px(7100), px(4500));
    add("lblDisclaimer", L"STATIC", L"Warning: ...", 0, px(255), px(5880), px(5900), px(900));
    add("cmdOK", L"BUTTON", L"OK", WS_TABSTOP | BS_DEFPUSHBUTTON, px(6700), px(5880), px(1450),
        px(375), kOkId);
    add("cmdSysInfo", L"BUTTON", L"&System Info...", WS_TABSTOP | BS_PUSHBUTTON, px(6700), px(6390),
        px(1450), px(375), kSysInfoId);
}

Win32AboutView::~Win32AboutView() {
    if (window_) DestroyWindow(window_);
    if (font_) DeleteObject(font_);
}

HWND Win32AboutView::add(const char* name, const wchar_t* type, const std::wstring& text,
                         DWORD style, int x, int y, int width, int height, int id) {
    HWND control = CreateWindowExW(
        0, type, text.c_str(), WS_CHILD | WS_VISIBLE | style, x, y, width, height, window_,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
    controls_[name] = control;
    return control;
}

HWND Win32AboutView::control(const char* name) const {
    const auto it = controls_.find(name);
    return it == controls_.end() ? nullptr : it->second;
}

void Win32AboutView::runModal() {
    if (!window_) return;
    open_ = true;
    if (owner_) EnableWindow(owner_, FALSE);
    ShowWindow(window_, SW_SHOWNORMAL);
    SetFocus(controls_["cmdOK"]);
    MSG message;
    while (open_ && GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (IsDialogMessageW(window_, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    if (owner_) {
        EnableWindow(owner_, TRUE);
        SetActiveWindow(owner_);
    }
    if (window_) ShowWindow(window_, SW_HIDE);
}

LRESULT CALLBACK Win32AboutView::procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_NCCREATE) {
        auto* self =
            static_cast<Win32AboutView*>(reinterpret_cast<CREATESTRUCTW*>(l)->lpCreateParams);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Win32AboutView*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self && message == WM_COMMAND && HIWORD(w) == BN_CLICKED) {
        if ((LOWORD(w) == kOkId || LOWORD(w) == IDCANCEL) && self->okRequested) self->okRequested();
        if (LOWORD(w) == kSysInfoId && self->sysInfoRequested) self->sysInfoRequested();
        return 0;
    }
    if (self && message == WM_CLOSE) {
        if (self->okRequested) self->okRequested();
        return 0;
    }
    return DefWindowProcW(window, message, w, l);
}

void Win32AboutView::setCaption(std::string_view text) {
    SetWindowTextW(window_, toWideForDisplay(text).c_str());
}

void Win32AboutView::setVersionText(std::string_view text) {
    SetWindowTextW(controls_["lblVersion"], toWideForDisplay(text).c_str());
}

void Win32AboutView::setDescriptionText(std::string_view text) {
    SetWindowTextW(controls_["lblDescription"], toWideForDisplay(text).c_str());
}

void Win32AboutView::setDisclaimerText(std::string_view text) {
    SetWindowTextW(controls_["lblDisclaimer"], toWideForDisplay(text).c_str());
}

void Win32AboutView::closeWindow() {
    open_ = false;
    PostMessageW(window_, WM_NULL, 0, 0);  // wakes the modal loop
}

}  // namespace veltrano::win32
