#include "win32_form1_view.h"

#include <commctrl.h>

#include "dialog/form1_layout.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_busy_pointer.h"
#include "refresh_picture.h"
#include "win32_form_controls.h"

namespace veltrano::win32 {

namespace {

constexpr wchar_t kClassName[] = L"VeltranoForm1";

std::string windowText(HWND control) {
    const int length = GetWindowTextLengthW(control);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(control, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return toUtf8(text);
}

}  // namespace

Win32Form1View::Win32Form1View() {
    INITCOMMONCONTROLSEX common{sizeof common, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&common);
    WNDCLASSEXW type{};
    type.cbSize = sizeof type;
    type.lpfnWndProc = procedure;
    type.hInstance = GetModuleHandleW(nullptr);
    type.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    type.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    type.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    type.lpszClassName = kClassName;
    RegisterClassExW(&type);

    const layout::Form& form = form1Layout();
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    const SIZE size = windowSizeFor(form, style, 0);
    window_ =
        CreateWindowExW(WS_EX_CONTROLPARENT, kClassName, toWideForDisplay(form.caption).c_str(),
                        style, CW_USEDEFAULT, CW_USEDEFAULT, size.cx, size.cy, nullptr, nullptr,
                        GetModuleHandleW(nullptr), this);
    controls_ = std::make_unique<Win32FormControls>(window_, form);
    refreshPicture_ = makeRefreshPicture();
    SendMessageW(control("cmdRefreshMI"), BM_SETIMAGE, IMAGE_BITMAP,
                 reinterpret_cast<LPARAM>(refreshPicture_));
}

Win32Form1View::~Win32Form1View() {
    if (window_) DestroyWindow(window_);
    if (refreshPicture_) DeleteObject(refreshPicture_);
}

HWND Win32Form1View::control(const char* name) const {
    return controls_ ? controls_->find(name) : nullptr;
}

std::string Win32Form1View::textOf(const char* name) const {
    return windowText(control(name));
}

void Win32Form1View::show() {
    ShowWindow(window_, SW_SHOWNORMAL);
    UpdateWindow(window_);
    SetFocus(control("txtPoints"));
}

int Win32Form1View::run() {
    MSG message;
    while (!closed_ && GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (IsDialogMessageW(window_, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}

LRESULT CALLBACK Win32Form1View::procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_NCCREATE) {
        auto* self =
            static_cast<Win32Form1View*>(reinterpret_cast<CREATESTRUCTW*>(l)->lpCreateParams);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->window_ = window;
    }
    auto* self = reinterpret_cast<Win32Form1View*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    return self ? self->handle(message, w, l) : DefWindowProcW(window, message, w, l);
}

LRESULT Win32Form1View::handle(UINT message, WPARAM w, LPARAM l) {
    const auto fire = [](const std::function<void()>& callback) {
        if (callback) callback();
    };
    switch (message) {
        case WM_COMMAND:
            if (HIWORD(w) == BN_CLICKED && controls_) {
                // Enter and Esc arrive as IDOK and IDCANCEL from the dialog manager: no
                // button of this form takes them, so they do nothing.
                const int id = LOWORD(w);
                if (id == controls_->idOf("cmdOK")) fire(okRequested);
                if (id == controls_->idOf("cmdRefreshMI")) fire(refreshRequested);
                if (id == controls_->idOf("cmdAbout")) fire(aboutRequested);
                if (id == controls_->idOf("cmdClose")) fire(closeRequested);
                return 0;
            }
            break;
        case WM_SETCURSOR:
            if (Win32BusyPointer::applyOnSetCursor()) return TRUE;
            break;
        case WM_CLOSE:
            fire(closeRequested);
            return 0;
        case WM_DESTROY:
            if (!closed_) {
                closed_ = true;
                fire(unloading);
            }
            window_ = nullptr;
            PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return DefWindowProcW(window_, message, w, l);
}

std::string Win32Form1View::pointsText() const {
    return textOf("txtPoints");
}

void Win32Form1View::setPointsText(std::string_view text) {
    SetWindowTextW(control("txtPoints"), toWideForDisplay(text).c_str());
}

std::string Win32Form1View::outputTableText() const {
    return textOf("Combo1");
}

void Win32Form1View::clearOutputTables() {
    SendMessageW(control("Combo1"), CB_RESETCONTENT, 0, 0);
    SetWindowTextW(control("Combo1"), L"");
}

void Win32Form1View::addOutputTable(std::string_view name) {
    const std::wstring wide = toWideForDisplay(name);
    SendMessageW(control("Combo1"), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
}

void Win32Form1View::selectOutputTable(int index) {
    SendMessageW(control("Combo1"), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

int Win32Form1View::startFromTheEndValue() const {
    return static_cast<int>(SendMessageW(control("chkStartFromTheEnd"), BM_GETCHECK, 0, 0));
}

std::string Win32Form1View::summaryText() const {
    return textOf("txtSelectedPolyline");
}

void Win32Form1View::setSummaryText(std::string_view text) {
    SetWindowTextW(control("txtSelectedPolyline"), toWideForDisplay(text).c_str());
}

void Win32Form1View::appendSummaryText(std::string_view text) {
    HWND box = control("txtSelectedPolyline");
    const int end = GetWindowTextLengthW(box);
    SendMessageW(box, EM_SETSEL, static_cast<WPARAM>(end), end);
    SendMessageW(box, EM_REPLACESEL, FALSE,
                 reinterpret_cast<LPARAM>(toWideForDisplay(text).c_str()));
    UpdateWindow(box);  // shown while the command still runs
}

void Win32Form1View::setOkEnabled(bool enabled) {
    EnableWindow(control("cmdOK"), enabled);
}

void Win32Form1View::closeWindow() {
    if (window_) DestroyWindow(window_);
}

}  // namespace veltrano::win32
