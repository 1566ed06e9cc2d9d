#include "win32_about_view.h"

#include "about/about_layout.h"
#include "platform/win32/wide_text.h"
#include "win32_form_controls.h"

namespace veltrano::win32 {

namespace {
constexpr wchar_t kClassName[] = L"VeltranoAbout";
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
    const layout::Form& form = about::aboutLayout();
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    const SIZE size = windowSizeFor(form, style, WS_EX_DLGMODALFRAME);
    window_ =
        CreateWindowExW(WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT, kClassName,
                        toWideForDisplay(form.caption).c_str(), style, CW_USEDEFAULT, CW_USEDEFAULT,
                        size.cx, size.cy, owner, nullptr, GetModuleHandleW(nullptr), this);
    controls_ = std::make_unique<Win32FormControls>(window_, form);
    SendMessageW(control("picIcon"), STM_SETICON,
                 reinterpret_cast<WPARAM>(LoadIconW(nullptr, IDI_APPLICATION)), 0);
}

Win32AboutView::~Win32AboutView() {
    if (window_) DestroyWindow(window_);
}

HWND Win32AboutView::control(const char* name) const {
    return controls_ ? controls_->find(name) : nullptr;
}

void Win32AboutView::runModal() {
    if (!window_) return;
    open_ = true;
    if (owner_) EnableWindow(owner_, FALSE);
    ShowWindow(window_, SW_SHOWNORMAL);
    SetFocus(control("cmdOK"));
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
    if (self && self->controls_ && message == WM_COMMAND && HIWORD(w) == BN_CLICKED) {
        const int id = LOWORD(w);
        const bool ok = id == self->controls_->idOf("cmdOK") || id == IDOK || id == IDCANCEL;
        if (ok && self->okRequested) self->okRequested();
        if (id == self->controls_->idOf("cmdSysInfo") && self->sysInfoRequested) {
            self->sysInfoRequested();
        }
        return 0;
    }
    if (self && self->controls_ && message == WM_PAINT) {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        self->controls_->paintLines(dc);
        EndPaint(window, &paint);
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
    SetWindowTextW(control("lblVersion"), toWideForDisplay(text).c_str());
}

void Win32AboutView::setDescriptionText(std::string_view text) {
    SetWindowTextW(control("lblDescription"), toWideForDisplay(text).c_str());
}

void Win32AboutView::setDisclaimerText(std::string_view text) {
    SetWindowTextW(control("lblDisclaimer"), toWideForDisplay(text).c_str());
}

void Win32AboutView::closeWindow() {
    open_ = false;
    PostMessageW(window_, WM_NULL, 0, 0);  // wakes the modal loop
}

}  // namespace veltrano::win32
