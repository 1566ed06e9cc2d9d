#include "mbhost/text_shape.h"

#include <array>
#include <cstring>

#include "foundation/mapbasic_name.h"
#include "mbhost/lexer.h"

namespace mbhost {

namespace {

// What a byte can be, by the lexer's rules, as bits: one table look-up per byte keeps the
// scan cheap next to the parse it saves.
enum : unsigned char {
    kWordStart = 1,
    kDigit = 2,
    kPoint = 4,
    kQuote = 8,
    kMarker = 16,
};

const std::array<unsigned char, 256>& byteTable() {
    static const std::array<unsigned char, 256> table = [] {
        std::array<unsigned char, 256> t{};
        for (int b = 0; b < 256; ++b) {
            if (veltrano::isNameStartByte(static_cast<char>(b))) t[b] = kWordStart;
        }
        for (char c = '0'; c <= '9'; ++c) t[static_cast<unsigned char>(c)] = kDigit;
        t['.'] = kPoint;
        t['"'] = kQuote;
        for (NumberKind k : {NumberKind::Whole, NumberKind::LargeWhole, NumberKind::Real}) {
            t[static_cast<unsigned char>(k)] = kMarker;
        }
        return t;
    }();
    return table;
}

// Past the string literal whose opening quote is at p; nullptr when it is unterminated. A line
// end inside is left to the lexer: such a text fails to parse and is never kept.
const char* pastString(const char* p, const char* end) {
    for (++p; p != end; p += 2) {
        p = static_cast<const char*>(std::memchr(p, '"', static_cast<std::size_t>(end - p)));
        if (!p) return nullptr;
        if (p + 1 == end || p[1] != '"') return p + 1;
    }
    return nullptr;
}

// A number's value and kind; false when out of range. Short whole numbers, most of those
// Veltrano sends, are read without the general reader.
bool readLiteral(std::string_view digits, bool real, double& value, NumberKind& kind) {
    if (!real && digits.size() <= 15) {
        std::int64_t whole = 0;
        for (char c : digits) whole = whole * 10 + (c - '0');
        value = static_cast<double>(whole);
    } else if (readNumber(digits, value) != std::errc{}) {
        return false;
    }
    kind = real                    ? NumberKind::Real
           : value <= 2147483647.0 ? NumberKind::Whole
                                   : NumberKind::LargeWhole;
    return true;
}

}  // namespace

bool shapeOf(std::string_view text, TextShape& shape) {
    const auto& table = byteTable();
    shape.key.clear();
    shape.numbers.clear();
    const char* const begin = text.data();
    const char* const end = begin + text.size();
    const char* copied = begin;  // text before this is in the key
    const char* p = begin;
    while (p != end) {
        const unsigned char kind = table[static_cast<unsigned char>(*p)];
        if (kind == kWordStart) {
            // A word runs over name bytes, digits included, and may end in '$'.
            for (++p; p != end && (table[static_cast<unsigned char>(*p)] & (kWordStart | kDigit));)
                ++p;
            if (p != end && *p == '$') ++p;
        } else if (kind == kQuote) {
            p = pastString(p, end);
            if (!p) return false;
        } else if (kind == kMarker) {
            return false;
        } else if (kind == kDigit ||
                   (kind == kPoint && startsNumber(text, static_cast<std::size_t>(p - begin)))) {
            const auto at = static_cast<std::size_t>(p - begin);
            const NumberSpan span = numberSpan(text, at);
            double value = 0;
            NumberKind number{};
            if (!readLiteral(text.substr(at, span.end - at), span.real, value, number))
                return false;
            shape.key.append(copied, p);
            shape.key += static_cast<char>(number);
            shape.numbers.push_back(value);
            p = copied = begin + span.end;
        } else {
            ++p;  // a symbol or a blank, copied with its neighbours
        }
    }
    shape.key.append(copied, end);
    return true;
}

}  // namespace mbhost
