// Message boxes through MessageBoxW: OK button, the port's icon, modal to the owner window.
#pragma once

#include <windows.h>

#include "platform/message_box.h"

namespace veltrano::win32 {

class Win32MessageBox final : public MessageBoxPort {
public:
    // owner may be null (a box of its own in the task bar); see setOwner.
    explicit Win32MessageBox(HWND owner = nullptr) : owner_(owner) {}
    void setOwner(HWND owner) { owner_ = owner; }
    void show(std::string_view text, std::string_view caption, MessageIcon icon) override;

    // The MessageBoxW style for an icon; exposed so the choice is testable without a screen.
    static UINT styleFor(MessageIcon icon);

private:
    HWND owner_;
};

}  // namespace veltrano::win32
