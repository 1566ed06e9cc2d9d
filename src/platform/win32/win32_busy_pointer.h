// The hourglass over the whole application. A window class's own cursor wins on every
// WM_SETCURSOR, so the program's windows ask isBusy() there and keep the hourglass.
#pragma once

#include <windows.h>

#include "platform/busy_pointer.h"

namespace veltrano::win32 {

class Win32BusyPointer final : public BusyPointerPort {
public:
    void setBusy(bool busy) override;

    static bool isBusy() noexcept;
    // For a window procedure's WM_SETCURSOR: true when it set the hourglass and the message
    // is handled.
    static bool applyOnSetCursor() noexcept;
};

}  // namespace veltrano::win32
