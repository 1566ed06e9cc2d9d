#include "host/answer_reader.h"

#include <cmath>
#include <limits>

#include "foundation/host_number.h"
#include "foundation/run_time_error.h"

namespace veltrano {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// Blanks, sign, digits with an optional "." and an optional exponent, blanks: the form in
// which the host writes numbers.
bool isHostForm(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i])) ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    bool digits = false;
    while (i < text.size() && isDigit(text[i])) {
        digits = true;
        ++i;
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && isDigit(text[i])) {
            digits = true;
            ++i;
        }
    }
    if (!digits) return false;
    if (i < text.size() && (text[i] == 'E' || text[i] == 'e' || text[i] == 'D' || text[i] == 'd')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
        bool exponentDigits = false;
        while (i < text.size() && isDigit(text[i])) {
            exponentDigits = true;
            ++i;
        }
        if (!exponentDigits) return false;
    }
    while (i < text.size() && isBlank(text[i])) ++i;
    return i == text.size();
}

// A text numeric under the regional settings rewritten in the host's form: the regional
// decimal separator becomes "." and grouping separators and blanks go.
std::string regionalToHostForm(std::string_view text, char32_t decimalSeparator) {
    std::string out;
    for (char c : text) {
        if (static_cast<unsigned char>(c) < 0x80 && static_cast<char32_t>(c) == decimalSeparator) {
            out += '.';
        } else if (isDigit(c) || c == '+' || c == '-' || c == 'E' || c == 'e' || c == 'D' ||
                   c == 'd') {
            out += c;
        }
    }
    return out;
}

bool contains(std::string_view text, char c) {
    return text.find(c) != std::string_view::npos;
}

[[noreturn]] void invalidUseOfNull() {
    throw RunTimeError(err::kInvalidUseOfNull, {}, "miProObj");
}
[[noreturn]] void typeMismatch() {
    throw RunTimeError(err::kTypeMismatch, {}, "miProObj");
}

}  // namespace

bool AnswerReader::isNumeric(std::string_view text) const {
    return isHostForm(text) || regional_.isNumeric(text);
}

std::optional<double> AnswerReader::numericValue(std::string_view text) const {
    if (isHostForm(text)) return readHostNumber(text);
    if (regional_.isNumeric(text)) {
        return readHostNumber(regionalToHostForm(text, regional_.decimalSeparator()));
    }
    return std::nullopt;
}

HostValue AnswerReader::evalAnswer(std::string_view text) const {
    if (!isNumeric(text)) return HostValue::text(std::string(text));
    try {
        if (contains(text, '.') || contains(text, ',')) {
            return HostValue::real(readHostNumber(text));
        }
        return HostValue::whole(toInt32(*numericValue(text)));
    } catch (const RunTimeError&) {
        return HostValue::null();  // out of range: the conversion is abandoned
    }
}

HostValue AnswerReader::infoAnswer(std::string_view text) const {
    if (contains(text, '.')) {
        const double real = readHostNumber(text);
        if (real != 0.0) return HostValue::real(real);
    }
    if (const auto number = numericValue(text)) return HostValue::whole(toInt32(*number));
    return HostValue::text(std::string(text));
}

std::int32_t AnswerReader::toWhole(const HostValue& value) const {
    return toInt32(toReal(value));
}

float AnswerReader::toSingle(const HostValue& value) const {
    const double real = toReal(value);
    if (std::fabs(real) > static_cast<double>(std::numeric_limits<float>::max())) {
        throw RunTimeError(err::kOverflow, {}, "miProObj");
    }
    return static_cast<float>(real);
}

double AnswerReader::toReal(const HostValue& value) const {
    if (value.isEmpty()) return 0.0;
    if (value.isNull()) invalidUseOfNull();
    if (value.isWhole()) return value.asWhole();
    if (value.isReal()) return value.asReal();
    const auto number = numericValue(value.asText());
    if (!number) typeMismatch();
    return *number;
}

std::string AnswerReader::toText(const HostValue& value) const {
    if (value.isEmpty()) return {};
    if (value.isNull()) invalidUseOfNull();
    if (value.isWhole()) return std::to_string(value.asWhole());
    if (value.isReal()) return regional_.generalText(value.asReal());
    return value.asText();
}

std::string AnswerReader::joinText(const HostValue& value) const {
    return value.isNull() ? std::string() : toText(value);
}

double AnswerReader::hostNumber(const HostValue& value) const {
    if (value.isEmpty()) return 0.0;
    if (value.isNull()) invalidUseOfNull();
    if (value.isWhole()) return value.asWhole();
    if (value.isReal()) return value.asReal();
    return readHostNumber(value.asText());
}

namespace {

// Decodes one UTF-8 sequence at text[i]; nothing for a malformed one.
std::optional<char32_t> decode(std::string_view text, std::size_t i, std::size_t& length) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[i + k]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) {
        length = 1;
        return lead;
    }
    if ((lead & 0xE0) == 0xC0 && i + 1 < text.size() && (byte(1) & 0xC0) == 0x80) {
        length = 2;
        return static_cast<char32_t>(((lead & 0x1F) << 6) | (byte(1) & 0x3F));
    }
    return std::nullopt;  // longer sequences hold no letters this folds
}

void encode(char32_t c, std::string& out) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

char32_t upper(char32_t c) {
    if (c >= U'a' && c <= U'z') return c - 0x20;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 0x20;  // Latin-1, not the division sign
    if (c >= 0x430 && c <= 0x44F) return c - 0x20;             // а..я
    if (c >= 0x450 && c <= 0x45F) return c - 0x50;             // ѐ..џ
    return c;
}

}  // namespace

std::string upperCase(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        std::size_t length = 0;
        const auto c = decode(text, i, length);
        if (!c) {
            out += text[i++];
            continue;
        }
        encode(upper(*c), out);
        i += length;
    }
    return out;
}

}  // namespace veltrano
