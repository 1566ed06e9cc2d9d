#include "win32_form1_view.h"

#include <commctrl.h>

#include "platform/win32/wide_text.h"
#include "platform/win32/win32_busy_pointer.h"
#include "refresh_picture.h"
#include "twips.h"

namespace veltrano::win32 {

namespace {

constexpr wchar_t kClassName[] = L"VeltranoForm1";
constexpr int kFirstId = 100;

// Control identifiers, in tab order.
const char* const kTabOrder[] = {
    "txtPoints",           "Label1", "Combo1",   "Label2", "chkBreakLine", "chkStartFromTheEnd",
    "txtSelectedPolyline", "Label3", "cmdClose", "cmdOK",  "cmdRefreshMI", "cmdAbout"};

int idOf(const char* name) {
    for (int k = 0; k < static_cast<int>(std::size(kTabOrder)); ++k) {
        if (std::string_view(kTabOrder[k]) == name) return kFirstId + k;
    }
    return 0;
}

std::string windowText(HWND control) {
    const int length = GetWindowTextLengthW(control);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(control, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return toUtf8(text);
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

}  // namespace

Win32Form1View::Win32Form1View() : dpi_(screenDpi()) {
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

    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    RECT client{0, 0, twipsToPixels(9105, dpi_), twipsToPixels(4980, dpi_)};
    AdjustWindowRectEx(&client, style, FALSE, 0);
    window_ = CreateWindowExW(
        WS_EX_CONTROLPARENT, kClassName, L"MapInfo utility: Put points along the Selected polyline",
        style, CW_USEDEFAULT, CW_USEDEFAULT, client.right - client.left, client.bottom - client.top,
        nullptr, nullptr, GetModuleHandleW(nullptr), this);
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    font_ = CreateFontIndirectW(&metrics.lfMessageFont);
    tooltips_ = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0, 0,
                                window_, nullptr, GetModuleHandleW(nullptr), nullptr);
    createControls();
}

Win32Form1View::~Win32Form1View() {
    if (window_) DestroyWindow(window_);
    if (font_) DeleteObject(font_);
    if (refreshPicture_) DeleteObject(refreshPicture_);
}

HWND Win32Form1View::add(const char* name, const wchar_t* type, const std::wstring& text,
                         DWORD style, int left, int top, int width, int height,
                         const std::wstring& tooltip) {
    HWND control = CreateWindowExW(std::wstring_view(type) == L"EDIT" ? WS_EX_CLIENTEDGE : 0, type,
                                   text.c_str(), WS_CHILD | WS_VISIBLE | style,
                                   twipsToPixels(left, dpi_), twipsToPixels(top, dpi_),
                                   twipsToPixels(width, dpi_), twipsToPixels(height, dpi_), window_,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(idOf(name))),
                                   GetModuleHandleW(nullptr), nullptr);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
    if (!tooltip.empty() && tooltips_) {
        TOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = window_;
        tool.uId = reinterpret_cast<UINT_PTR>(control);
        tool.lpszText = const_cast<wchar_t*>(tooltip.c_str());
        SendMessageW(tooltips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
    controls_[name] = control;
    return control;
}

void Win32Form1View::createControls() {
    const DWORD multiLine = WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_WANTRETURN |
                            ES_AUTOVSCROLL | ES_AUTOHSCROLL;
    // Created in tab order: the dialog manager walks the controls in creation order.
    add("txtPoints", L"EDIT", L"", multiLine, 45, 450, 2985, 4020,
        L"Линейные координаты точек в метрах. Разделяются \";\" или переносом.");
    add("Label1", L"STATIC", L"Список точек (координаты в метрах)", 0, 45, 180, 2985, 285);
    HWND combo =
        add("Combo1", L"COMBOBOX", L"", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL,
            3195, 450, 3660, 315 * 8, L"Таблица, в которую будут помещены точки.");
    setClosedHeight(combo, twipsToPixels(315, dpi_));
    add("Label2", L"STATIC", L"Таблица для создаваемых точек", 0, 3195, 180, 3660, 285);
    HWND breakLine =
        add("chkBreakLine", L"BUTTON", L"Разбивать линию в точках", WS_TABSTOP | BS_AUTOCHECKBOX,
            3195, 1215, 3660, 315, L"В местах вставки точки добавлять вершину к полилинии.");
    EnableWindow(breakLine, FALSE);  // nothing reads it
    add("chkStartFromTheEnd", L"BUTTON", L"Отсчет от конца линии", WS_TABSTOP | BS_AUTOCHECKBOX,
        3195, 810, 3660, 315, L"Вычислять координты о конца линии.");
    add("txtSelectedPolyline", L"EDIT", L"", multiLine, 3195, 1890, 3660, 2580);
    add("Label3", L"STATIC", L"Информация о выбранных объектах", 0, 3195, 1620, 3660, 285);
    add("cmdClose", L"BUTTON", L"Close", WS_TABSTOP | BS_PUSHBUTTON, 5940, 4545, 870, 330,
        L"Выйти из программы");
    add("cmdOK", L"BUTTON", L"OK", WS_TABSTOP | BS_DEFPUSHBUTTON, 3195, 4545, 870, 330,
        L"Выполнить расстановку точек");
    HWND refresh = add("cmdRefreshMI", L"BUTTON", L"", WS_TABSTOP | BS_PUSHBUTTON | BS_BITMAP, 6930,
                       225, 465, 420, L"Обновить данные из MapInfo");
    refreshPicture_ = makeRefreshPicture();
    SendMessageW(refresh, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(refreshPicture_));
    add("cmdAbout", L"BUTTON", L"About", WS_TABSTOP | BS_PUSHBUTTON, 8145, 4545, 870, 330);
}

HWND Win32Form1View::control(const char* name) const {
    const auto it = controls_.find(name);
    return it == controls_.end() ? nullptr : it->second;
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
            if (HIWORD(w) == BN_CLICKED) {
                const int id = LOWORD(w);
                if (id == idOf("cmdOK") || id == IDOK) fire(okRequested);
                if (id == idOf("cmdRefreshMI")) fire(refreshRequested);
                if (id == idOf("cmdAbout")) fire(aboutRequested);
                if (id == idOf("cmdClose") || id == IDCANCEL) fire(closeRequested);
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
