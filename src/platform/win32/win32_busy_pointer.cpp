#include "platform/win32/win32_busy_pointer.h"

namespace veltrano::win32 {

namespace {
// One pointer per process, like the screen's mouse pointer it stands for: a setting, not a
// count, so the last change wins. UI thread only.
bool busyNow = false;
}  // namespace

void Win32BusyPointer::setBusy(bool busy) {
    busyNow = busy;
    SetCursor(LoadCursorW(nullptr, busy ? IDC_WAIT : IDC_ARROW));
}

bool Win32BusyPointer::isBusy() noexcept {
    return busyNow;
}

bool Win32BusyPointer::applyOnSetCursor() noexcept {
    if (!isBusy()) return false;
    SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    return true;
}

}  // namespace veltrano::win32
