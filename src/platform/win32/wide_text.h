// UTF-8 (Veltrano's text) to UTF-16 (the Win32 and COM text) and back.
#pragma once

#include <string>
#include <string_view>

namespace veltrano::win32 {

// Raises RunTimeError err::kTypeMismatch when text is not valid UTF-8: a wrong character sent
// to the host or shown to the user is worse than a clear refusal.
std::wstring toWide(std::string_view text);
// For text that is only shown: invalid UTF-8 sequences become U+FFFD instead of failing.
std::wstring toWideForDisplay(std::string_view text);
// Unpaired surrogates become U+FFFD: what another program hands us is shown, never refused.
std::string toUtf8(std::wstring_view text);

}  // namespace veltrano::win32
