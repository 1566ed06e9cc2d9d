// Registry values for a test, made with the system's own reg.exe.
#pragma once

#include <string>

#include "support/replay_server_process.h"

namespace veltrano::testing {

// reg add KEY [/v NAME /t TYPE /d DATA] /f; true on success.
inline bool regAdd(const std::wstring& key, const std::wstring& name = {},
                   const std::wstring& type = {}, const std::wstring& data = {}) {
    const std::wstring value =
        name.empty() ? L"" : L" /v \"" + name + L"\" /t " + type + L" /d \"" + data + L"\"";
    return runAndWait(L"reg.exe add \"" + key + L"\"" + value + L" /f") == 0;
}

// reg delete KEY /f; true also when it did not exist.
inline bool regDeleteKey(const std::wstring& key) {
    runAndWait(L"reg.exe delete \"" + key + L"\" /f");
    return runAndWait(L"reg.exe query \"" + key + L"\"") != 0;
}

}  // namespace veltrano::testing
