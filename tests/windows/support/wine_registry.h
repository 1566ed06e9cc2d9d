// Registry values for a test, made with the system's own reg.exe.
#pragma once

#include <string>

namespace veltrano::testing {

// reg add KEY /v NAME /t TYPE /d DATA /f; true on success.
bool regAdd(const std::wstring& key, const std::wstring& name, const std::wstring& type,
            const std::wstring& data);
// reg add KEY /f: the key alone, without values.
bool regAddKey(const std::wstring& key);
// reg delete KEY /f; true also when it did not exist.
bool regDeleteKey(const std::wstring& key);

}  // namespace veltrano::testing
