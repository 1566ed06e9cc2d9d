#include "platform/win32/win32_process_start.h"

#include <windows.h>

#include "foundation/run_time_error.h"
#include "platform/win32/wide_text.h"

namespace veltrano::win32 {

namespace {
constexpr std::int32_t kFileNotFound = 53;
}

bool Win32ProcessStart::fileExists(std::string_view path) {
    if (path.empty()) return false;
    std::wstring wide;
    try {
        wide = toWide(path);
    } catch (const RunTimeError&) {
        return false;
    }
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void Win32ProcessStart::start(std::string_view path) {
    const std::wstring program = toWide(path);
    // The command line repeats the program, quoted, as its first argument: programs read
    // their own name from there.
    std::wstring commandLine = L"\"" + program + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process)) {
        throw RunTimeError(kFileNotFound, "File not found: " + std::string(path), "Shell");
    }
    // Not waited for: the program runs on its own.
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

}  // namespace veltrano::win32
