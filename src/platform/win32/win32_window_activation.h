// Brings another program's top-level window to the front by its title.
#pragma once

#include <windows.h>

#include <string>

#include "platform/window_activation.h"

namespace veltrano::win32 {

class Win32WindowActivation final : public WindowActivationPort {
public:
    void activate(std::string_view title, bool waitForFocus) override;

    // The visible top-level window whose title equals title (ignoring case), or else the
    // first whose title begins with it; null when none.
    static HWND findByTitle(const std::wstring& title);
};

}  // namespace veltrano::win32
