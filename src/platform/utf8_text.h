// UTF-8, the encoding of every text crossing the core: typed text, MapBasic, trace files.
#pragma once

#include <string>

namespace veltrano {

// Appends the UTF-8 bytes of one code point. A surrogate or a value beyond U+10FFFF is not a
// character: it is written as U+FFFD.
void appendUtf8(std::string& out, char32_t codePoint);

inline std::string utf8Of(char32_t codePoint) {
    std::string out;
    appendUtf8(out, codePoint);
    return out;
}

}  // namespace veltrano
