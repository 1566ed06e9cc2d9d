#include "foundation/mapbasic_name.h"

namespace veltrano {

bool isNameStartByte(char c) {
    // ASCII letters by range: the result must not depend on the process's locale.
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' ||
           static_cast<unsigned char>(c) >= 0x80;
}

bool isNameByte(char c) {
    return isNameStartByte(c) || (c >= '0' && c <= '9');
}

bool isMapBasicName(std::string_view text) {
    if (text.empty() || !isNameStartByte(text.front())) return false;
    for (char c : text) {
        if (!isNameByte(c)) return false;
    }
    return true;
}

std::string mapBasicString(std::string_view text) {
    std::string quoted = "\"";
    for (char c : text) quoted += c == '"' ? std::string_view("\"\"") : std::string_view(&c, 1);
    return quoted + '"';
}

}  // namespace veltrano
