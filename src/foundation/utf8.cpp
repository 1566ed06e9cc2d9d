#include "foundation/utf8.h"

#include <algorithm>
#include <cstdint>

namespace veltrano {

namespace {
constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

// Length of the sequence a lead byte starts, 0 for a byte that cannot lead.
std::size_t sequenceLength(unsigned char lead) {
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) return 2;
    if (lead >= 0xE0 && lead <= 0xEF) return 3;
    if (lead >= 0xF0 && lead <= 0xF4) return 4;
    return 0;
}

bool isContinuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

// The length of the well-formed sequence at the start of text, 0 when there is none.
std::size_t validSequenceAt(std::string_view text) {
    const auto lead = static_cast<unsigned char>(text[0]);
    const std::size_t length = sequenceLength(lead);
    if (length == 0 || length > text.size()) return 0;
    std::uint32_t code = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
        const auto c = static_cast<unsigned char>(text[k]);
        if (!isContinuation(c)) return 0;
        code = (code << 6) | (c & 0x3F);
    }
    const bool overlong = (length == 3 && code < 0x800) || (length == 4 && code < 0x10000);
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    return overlong || surrogate || code > 0x10FFFF ? 0 : length;
}
// The bytes of the character at the start of text: a well-formed sequence, else one byte.
std::size_t characterLength(std::string_view text) {
    return std::max<std::size_t>(validSequenceAt(text), 1);
}
}  // namespace

void appendUtf8(std::string& out, char32_t c) {
    if ((c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) c = 0xFFFD;
    const auto byte = [&out](char32_t b) { out += static_cast<char>(b); };
    if (c < 0x80) {
        byte(c);
    } else if (c < 0x800) {
        byte(0xC0 | (c >> 6));
        byte(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        byte(0xE0 | (c >> 12));
        byte(0x80 | ((c >> 6) & 0x3F));
        byte(0x80 | (c & 0x3F));
    } else {
        byte(0xF0 | (c >> 18));
        byte(0x80 | ((c >> 12) & 0x3F));
        byte(0x80 | ((c >> 6) & 0x3F));
        byte(0x80 | (c & 0x3F));
    }
}

bool isValidUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = validSequenceAt(text.substr(i));
        if (length == 0) return false;
        i += length;
    }
    return true;
}

std::string validUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t length = validSequenceAt(bytes.substr(i));
        if (length == 0 || bytes[i] == '\0') {
            out += kReplacement;
            ++i;
        } else {
            out += bytes.substr(i, length);
            i += length;
        }
    }
    return out;
}

std::size_t characterCount(std::string_view text) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size(); i += characterLength(text.substr(i))) ++count;
    return count;
}

std::size_t characterOffset(std::string_view text, std::size_t n) {
    std::size_t i = 0;
    for (; i < text.size() && n > 0; --n) i += characterLength(text.substr(i));
    return i;
}

char32_t firstCharacter(std::string_view text) {
    if (text.empty()) return 0;
    const auto lead = static_cast<unsigned char>(text[0]);
    const std::size_t length = validSequenceAt(text);
    if (length <= 1) return lead;
    char32_t code = lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) code = (code << 6) | (text[k] & 0x3F);
    return code;
}

}  // namespace veltrano
