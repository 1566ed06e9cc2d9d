#include "platform/win32/wide_text.h"

#include <windows.h>

#include <algorithm>
#include <climits>

#include "foundation/run_time_error.h"

namespace veltrano::win32 {

std::wstring toWide(std::string_view text) {
    if (text.empty()) return {};
    if (text.size() > INT_MAX) throw RunTimeError(err::kOverflow, "cannot convert text: too long");
    const int length = static_cast<int>(text.size());
    const int needed =
        MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), length, nullptr, 0);
    if (needed <= 0) {
        throw RunTimeError(err::kTypeMismatch, "cannot convert text: it is not valid UTF-8");
    }
    std::wstring wide(static_cast<std::size_t>(needed), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), length, wide.data(), needed);
    return wide;
}

std::wstring toWideForDisplay(std::string_view text) {
    if (text.empty()) return {};
    const int length = static_cast<int>(std::min<std::size_t>(text.size(), INT_MAX));
    const int needed = MultiByteToWideChar(CP_UTF8, 0, text.data(), length, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(needed > 0 ? needed : 0), L'\0');
    if (needed > 0) MultiByteToWideChar(CP_UTF8, 0, text.data(), length, wide.data(), needed);
    return wide;
}

std::string toUtf8(std::wstring_view text) {
    if (text.empty()) return {};
    if (text.size() > INT_MAX / 3)
        throw RunTimeError(err::kOverflow, "cannot convert text: too long");
    const int length = static_cast<int>(text.size());
    const int needed =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(needed > 0 ? needed : 0), '\0');
    if (needed > 0) {
        WideCharToMultiByte(CP_UTF8, 0, text.data(), length, narrow.data(), needed, nullptr,
                            nullptr);
    }
    return narrow;
}

}  // namespace veltrano::win32
