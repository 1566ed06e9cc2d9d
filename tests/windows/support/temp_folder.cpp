#include "support/temp_folder.h"

#include <windows.h>

#include <filesystem>
#include <stdexcept>

#include "support/replay_server_process.h"

namespace veltrano::testing {

namespace {
constexpr int kMarkerWaitMs = 15000;
}

TempFolder::TempFolder() {
    wchar_t base[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, base);
    static int counter = 0;
    path_ = std::wstring(base) + L"veltrano-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(++counter);
    if (!CreateDirectoryW(path_.c_str(), nullptr)) {
        throw std::runtime_error("cannot create a temporary folder");
    }
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(std::filesystem::path(path_), ignored);
}

std::wstring TempFolder::addMarkerProgram(const std::wstring& name) const {
    const std::wstring target = path_ + L"\\" + name;
    const std::wstring source = testProgramDir() + L"\\veltrano_mark_started.exe";
    if (!CopyFileW(source.c_str(), target.c_str(), FALSE)) {
        throw std::runtime_error("cannot copy the marker program");
    }
    return target;
}

bool TempFolder::markerRan(const std::wstring& name) const {
    const std::wstring mark = path_ + L"\\" + name + L".started";
    for (int waited = 0; waited < kMarkerWaitMs; waited += 100) {
        if (GetFileAttributesW(mark.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
        Sleep(100);
    }
    return false;
}

}  // namespace veltrano::testing
