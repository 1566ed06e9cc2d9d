// UTF-8, the encoding of every text crossing the core: typed text, MapBasic, trace files,
// the socket protocol and the host's messages.
#pragma once

#include <string>
#include <string_view>

namespace veltrano {

// Appends the UTF-8 bytes of one code point. A surrogate or a value beyond U+10FFFF is not a
// character: it is written as U+FFFD.
void appendUtf8(std::string& out, char32_t codePoint);

inline std::string utf8Of(char32_t codePoint) {
    std::string out;
    appendUtf8(out, codePoint);
    return out;
}

// Whether text is well-formed UTF-8: no overlong forms, no surrogates, nothing past U+10FFFF.
bool isValidUtf8(std::string_view text);

// Valid UTF-8 of these bytes, fit to show as a message: each byte that does not belong to a
// well-formed sequence, and each NUL (which would end the text for a C reader), becomes
// U+FFFD; everything else is kept.
std::string validUtf8(std::string_view bytes);

// Text as characters, as the MapBasic text functions count it: a byte outside a well-formed
// sequence counts as one character, so that any text has a length and a cut never splits a
// well-formed character.
std::size_t characterCount(std::string_view text);
// The byte offset after the first n characters of text; text.size() when it has fewer.
std::size_t characterOffset(std::string_view text, std::size_t n);
// The code point of text's first character; 0 for an empty text, the byte's own value for a
// byte outside a well-formed sequence.
char32_t firstCharacter(std::string_view text);

}  // namespace veltrano
