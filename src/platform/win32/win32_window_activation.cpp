#include "platform/win32/win32_window_activation.h"

#include "foundation/run_time_error.h"
#include "platform/win32/wide_text.h"

namespace veltrano::win32 {

namespace {

struct Search {
    const std::wstring* title;
    HWND exact = nullptr;
    HWND prefix = nullptr;
};

std::wstring titleOf(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return text;
}

BOOL CALLBACK visit(HWND window, LPARAM context) {
    auto& search = *reinterpret_cast<Search*>(context);
    if (!IsWindowVisible(window)) return TRUE;
    const std::wstring text = titleOf(window);
    const std::wstring& wanted = *search.title;
    if (text.size() < wanted.size()) return TRUE;
    if (CompareStringOrdinal(text.c_str(), static_cast<int>(wanted.size()), wanted.c_str(),
                             static_cast<int>(wanted.size()), TRUE) != CSTR_EQUAL) {
        return TRUE;
    }
    if (text.size() == wanted.size()) {
        search.exact = window;
        return FALSE;
    }
    if (!search.prefix) search.prefix = window;
    return TRUE;
}

}  // namespace

HWND Win32WindowActivation::findByTitle(const std::wstring& title) {
    if (title.empty()) return nullptr;
    Search search{&title};
    EnumWindows(visit, reinterpret_cast<LPARAM>(&search));
    return search.exact ? search.exact : search.prefix;
}

void Win32WindowActivation::activate(std::string_view title, bool /*waitForFocus*/) {
    // Activation is asked for in answer to the user's own click, so this program holds the
    // foreground and may hand it on at once: there is nothing to wait for.
    const HWND window = findByTitle(toWideForDisplay(title));
    if (!window) {
        throw RunTimeError(err::kInvalidProcedureCall, "Invalid procedure call or argument",
                           "AppActivate");
    }
    if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
    SetForegroundWindow(window);
}

}  // namespace veltrano::win32
