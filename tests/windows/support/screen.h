// Whether this Wine session can create windows: without a display it cannot, and the tests
// that need one skip. Waiting for a window, and a window's text, whichever process made it.
#pragma once

#include <windows.h>

#include <string>

namespace veltrano::testing {

inline bool screenAvailable() {
    HWND probe = CreateWindowExW(0, L"STATIC", L"probe", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 nullptr, nullptr);
    return probe && DestroyWindow(probe);
}

// A visible top-level window of that class made by that process, waiting for it a while;
// nullptr when none shows.
inline HWND waitForWindow(const wchar_t* windowClass, DWORD processId) {
    for (int waited = 0; waited < 20000; waited += 50) {
        HWND found = FindWindowW(windowClass, nullptr);
        DWORD owner = 0;
        if (found) GetWindowThreadProcessId(found, &owner);
        if (found && owner == processId && IsWindowVisible(found)) return found;
        Sleep(50);
    }
    return nullptr;
}

// GetWindowText does not read controls of another process; WM_GETTEXT does.
inline std::wstring textOf(HWND window) {
    wchar_t buffer[2048] = {};
    SendMessageTimeoutW(window, WM_GETTEXT, std::size(buffer), reinterpret_cast<LPARAM>(buffer),
                        SMTO_BLOCK, 5000, nullptr);
    return buffer;
}

}  // namespace veltrano::testing
