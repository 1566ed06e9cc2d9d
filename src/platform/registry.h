// Port: reading the system registry.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace veltrano {

// Root key handles as the registry numbers them.
enum class RegistryRoot : std::uint32_t {
    ClassesRoot = 0x80000000u,
    CurrentUser = 0x80000001u,
    LocalMachine = 0x80000002u,
    Users = 0x80000003u,
};

inline constexpr std::uint32_t kRegString = 1;  // REG_SZ
inline constexpr std::uint32_t kRegDword = 4;   // REG_DWORD, little-endian

struct RegistryValue {
    std::uint32_t type = 0;
    std::vector<std::uint8_t> bytes;  // exactly as stored, terminating NUL included
};

class RegistryPort {
public:
    virtual ~RegistryPort() = default;
    // Opens keyPath under root with the given access mask and reads valueName; nothing when
    // the key or the value cannot be read. Key and value names are UTF-8.
    virtual std::optional<RegistryValue> read(RegistryRoot root, std::string_view keyPath,
                                              std::string_view valueName,
                                              std::uint32_t accessMask) = 0;
};

}  // namespace veltrano
