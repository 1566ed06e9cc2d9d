// Reading one registry value as text, for the About box's system-information launcher.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/registry.h"

namespace veltrano {

// The access the value is read with: read, write, create and enumerate.
inline constexpr std::uint32_t kKeyValueAccess = 0x2003F;
// The reader's buffer: longer values are not read.
inline constexpr std::size_t kKeyValueBufferSize = 1024;

// Reads one registry value as text into KeyVal: a string value without its terminating NUL,
// a 32-bit number value as its decimal text. Any other type succeeds and leaves KeyVal as it
// was. False, with KeyVal empty, when the key or the value cannot be read.
bool GetKeyValue(RegistryPort& registry, RegistryRoot KeyRoot, std::string_view KeyName,
                 std::string_view SubKeyRef, std::string& KeyVal);

}  // namespace veltrano
