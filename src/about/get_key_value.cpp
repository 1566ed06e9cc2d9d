#include "about/get_key_value.h"

#include <algorithm>

namespace veltrano {

namespace {
std::string stringValue(const std::vector<std::uint8_t>& bytes) {
    std::string text(bytes.begin(), bytes.end());
    if (!text.empty() && text.back() == '\0') text.pop_back();
    return text;
}

// A number value is stored little-endian; a short one holds only its low bytes.
std::string numberValue(const std::vector<std::uint8_t>& bytes) {
    std::uint32_t value = 0;
    const std::size_t count = std::min<std::size_t>(bytes.size(), 4);
    for (std::size_t i = 0; i < count; ++i) {
        value |= static_cast<std::uint32_t>(bytes[i]) << (8 * i);
    }
    return std::to_string(value);
}
}  // namespace

bool GetKeyValue(RegistryPort& registry, RegistryRoot KeyRoot, std::string_view KeyName,
                 std::string_view SubKeyRef, std::string& KeyVal) {
    const auto stored = registry.read(KeyRoot, KeyName, SubKeyRef, kKeyValueAccess);
    if (!stored || stored->bytes.size() > kKeyValueBufferSize) {
        KeyVal.clear();
        return false;
    }
    if (stored->type == kRegString) {
        KeyVal = stringValue(stored->bytes);
    } else if (stored->type == kRegDword) {
        KeyVal = numberValue(stored->bytes);
    }
    return true;
}

}  // namespace veltrano
