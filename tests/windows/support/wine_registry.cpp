#include "support/wine_registry.h"

#include "support/replay_server_process.h"

namespace veltrano::testing {

bool regAdd(const std::wstring& key, const std::wstring& name, const std::wstring& type,
            const std::wstring& data) {
    return runAndWait(L"reg.exe add \"" + key + L"\" /v \"" + name + L"\" /t " + type + L" /d \"" +
                      data + L"\" /f") == 0;
}

bool regAddKey(const std::wstring& key) {
    return runAndWait(L"reg.exe add \"" + key + L"\" /f") == 0;
}

bool regDeleteKey(const std::wstring& key) {
    runAndWait(L"reg.exe delete \"" + key + L"\" /f");
    return runAndWait(L"reg.exe query \"" + key + L"\"") != 0;
}

}  // namespace veltrano::testing
