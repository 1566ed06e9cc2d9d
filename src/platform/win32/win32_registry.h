// Registry reads through RegOpenKeyExW and RegQueryValueExW.
#pragma once

#include "platform/registry.h"

namespace veltrano::win32 {

// A string value (REG_SZ, REG_EXPAND_SZ) comes back as UTF-8 bytes, its terminating NUL kept
// exactly when it was stored with one; every other type as the bytes stored.
//
// When the requested access includes writing and the user may only read the key (HKLM for
// anyone but an administrator), the key is opened again for reading: a read must not fail
// for want of a right it never uses.
class Win32Registry final : public RegistryPort {
public:
    std::optional<RegistryValue> read(RegistryRoot root, std::string_view keyPath,
                                      std::string_view valueName,
                                      std::uint32_t accessMask) override;
};

}  // namespace veltrano::win32
