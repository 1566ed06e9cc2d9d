#include "mbhost/text_shape.h"

#include <array>

#include "foundation/mapbasic_name.h"
#include "mbhost/lexer.h"

namespace mbhost {

namespace {

// What a byte starts, by the lexer's rules; one table look-up per byte keeps the scan cheap
// next to the parse it saves.
enum class Starts : unsigned char { Other, Word, Digit, Point, Quote, Marker };

const std::array<Starts, 256>& byteTable() {
    static const std::array<Starts, 256> table = [] {
        std::array<Starts, 256> t{};
        for (int b = 0; b < 256; ++b) {
            const char c = static_cast<char>(b);
            if (veltrano::isNameStartByte(c)) t[b] = Starts::Word;
        }
        for (char c = '0'; c <= '9'; ++c) t[static_cast<unsigned char>(c)] = Starts::Digit;
        t['.'] = Starts::Point;
        t['"'] = Starts::Quote;
        for (NumberKind k : {NumberKind::Whole, NumberKind::LargeWhole, NumberKind::Real}) {
            t[static_cast<unsigned char>(k)] = Starts::Marker;
        }
        return t;
    }();
    return table;
}

// The end of the word at pos, by the lexer's rule: name bytes (digits included) and a '$'.
std::size_t wordEnd(std::string_view text, std::size_t pos, const std::array<Starts, 256>& t) {
    while (pos < text.size()) {
        const Starts s = t[static_cast<unsigned char>(text[pos])];
        if (s != Starts::Word && s != Starts::Digit) break;
        ++pos;
    }
    if (pos < text.size() && text[pos] == '$') ++pos;
    return pos;
}

// The end of the string literal whose opening quote is at pos; npos when unterminated.
std::size_t stringEnd(std::string_view text, std::size_t pos) {
    for (++pos; pos < text.size(); ++pos) {
        const char c = text[pos];
        if (c == '\r' || c == '\n') break;
        if (c != '"') continue;
        if (pos + 1 < text.size() && text[pos + 1] == '"') {
            ++pos;
            continue;
        }
        return pos + 1;
    }
    return std::string_view::npos;
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
    std::size_t copied = 0;  // text before this is in the key
    std::size_t pos = 0;
    while (pos < text.size()) {
        switch (table[static_cast<unsigned char>(text[pos])]) {
            case Starts::Other:
                ++pos;
                continue;
            case Starts::Word:
                pos = wordEnd(text, pos, table);
                continue;
            case Starts::Quote:
                pos = stringEnd(text, pos);
                if (pos == std::string_view::npos) return false;
                continue;
            case Starts::Marker:
                return false;
            case Starts::Point:
                if (!startsNumber(text, pos)) {
                    ++pos;
                    continue;
                }
                [[fallthrough]];
            case Starts::Digit:
                break;
        }
        const NumberSpan span = numberSpan(text, pos);
        double value = 0;
        NumberKind kind{};
        if (!readLiteral(text.substr(pos, span.end - pos), span.real, value, kind)) return false;
        shape.key.append(text.substr(copied, pos - copied));
        shape.key += static_cast<char>(kind);
        shape.numbers.push_back(value);
        pos = copied = span.end;
    }
    shape.key.append(text.substr(copied));
    return true;
}

}  // namespace mbhost
