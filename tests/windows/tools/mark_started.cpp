// A program that only proves it was started: it leaves "<its own path>.started" beside itself.
// Tests copy it under the name of a tool they expect the program to start.
#include <windows.h>

int wmain() {
    wchar_t path[MAX_PATH * 2] = {};
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH * 2 - 16);
    if (n == 0) return 1;
    lstrcatW(path, L".started");
    HANDLE mark = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (mark == INVALID_HANDLE_VALUE) return 1;
    CloseHandle(mark);
    return 0;
}
