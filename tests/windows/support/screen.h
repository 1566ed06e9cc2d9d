// Whether this Wine session can create windows: without a display it cannot, and the tests
// that need one skip.
#pragma once

#include <windows.h>

namespace veltrano::testing {

inline bool screenAvailable() {
    HWND probe = CreateWindowExW(0, L"STATIC", L"probe", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 nullptr, nullptr);
    return probe && DestroyWindow(probe);
}

}  // namespace veltrano::testing
