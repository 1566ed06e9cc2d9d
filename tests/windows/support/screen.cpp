#include "support/screen.h"

#include <windows.h>

namespace veltrano::testing {

bool screenAvailable() {
    HWND probe = CreateWindowExW(0, L"STATIC", L"probe", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 nullptr, nullptr);
    if (!probe) return false;
    DestroyWindow(probe);
    return true;
}

}  // namespace veltrano::testing
