#include "platform/numeric_text.h"

#include <array>
#include <cmath>
#include <cstdio>

namespace veltrano {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

class Scanner {
public:
    explicit Scanner(std::string_view text) : text_(text) {}

    bool atEnd() const { return i_ == text_.size(); }
    bool take(std::string_view piece) {
        if (piece.empty() || text_.substr(i_, piece.size()) != piece) return false;
        i_ += piece.size();
        return true;
    }
    bool takeAnyOf(std::string_view chars) {
        if (atEnd() || chars.find(text_[i_]) == std::string_view::npos) return false;
        ++i_;
        return true;
    }
    bool takeDigit() {
        if (atEnd() || !isDigit(text_[i_])) return false;
        ++i_;
        return true;
    }
    void skipBlanks() {
        while (takeAnyOf(" \t")) {
        }
    }
    std::string_view takeDigits() {
        const std::size_t start = i_;
        while (takeDigit()) {
        }
        return text_.substr(start, i_ - start);
    }

private:
    std::string_view text_;
    std::size_t i_ = 0;
};

constexpr std::array<std::string_view, 3> kSpaces{" ", "\u00A0", "\u202F"};

bool isSpace(std::string_view group) {
    for (const auto space : kSpaces) {
        if (group == space) return true;
    }
    return false;
}

// The text between its blanks, every space inside written as the group separator.
std::string withSpacesAsGroup(std::string_view text, std::string_view group) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    text = text.substr(first, text.find_last_not_of(" \t") - first + 1);
    if (!isSpace(group)) return std::string(text);
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        std::size_t matched = 0;
        for (const auto space : kSpaces) {
            if (text.substr(i, space.size()) == space) matched = space.size();
        }
        out.append(matched ? group : text.substr(i, 1));
        i += matched ? matched : 1;
    }
    return out;
}

// "-" for a minus, nothing for a plus or no sign.
std::string takeSign(Scanner& s) {
    if (s.take("-")) return "-";
    s.take("+");
    return {};
}

// The whole part's digits when they stand ungrouped or grouped in threes; nothing otherwise.
std::optional<std::string> wholeDigits(Scanner& s, std::string_view group) {
    std::string whole(s.takeDigits());
    if (group.empty() || whole.empty() || whole.size() > 3) return whole;
    while (s.take(group)) {
        const auto digits = s.takeDigits();
        if (digits.size() != 3) return std::nullopt;
        whole += digits;
    }
    return whole;
}

}  // namespace

std::optional<std::string> wellFormedNumber(std::string_view text, std::string_view decimal,
                                            std::string_view group) {
    const std::string piece = withSpacesAsGroup(text, group);
    Scanner s(piece);
    std::string out = takeSign(s);
    const auto whole = wholeDigits(s, group == decimal ? std::string_view{} : group);
    if (!whole) return std::nullopt;
    const auto fraction = s.take(decimal) ? s.takeDigits() : std::string_view{};
    if (whole->empty() && fraction.empty()) return std::nullopt;
    out += whole->empty() ? "0" : *whole;
    if (!fraction.empty()) out.append(".").append(fraction);
    if (s.takeAnyOf("Ee")) {
        out += 'e' + takeSign(s);
        const auto exponent = s.takeDigits();
        if (exponent.empty()) return std::nullopt;
        out += exponent;
    }
    if (!s.atEnd()) return std::nullopt;
    return out;
}

bool isRegionalNumber(std::string_view text, std::string_view decimal, std::string_view group) {
    Scanner s(text);
    s.skipBlanks();
    s.takeAnyOf("+-");
    s.skipBlanks();
    bool digits = false;
    const bool groups = group != decimal;
    for (;;) {
        if (s.takeDigit()) {
            digits = true;
        } else if (!(groups && s.take(group))) {
            break;
        }
    }
    if (s.take(decimal)) {
        while (s.takeDigit()) digits = true;
    }
    if (!digits) return false;
    if (s.takeAnyOf("EeDd")) {
        s.takeAnyOf("+-");
        bool exponentDigits = false;
        while (s.takeDigit()) exponentDigits = true;
        if (!exponentDigits) return false;
    }
    s.skipBlanks();
    return s.atEnd();
}

std::string groupedNumberText(double value, int decimals, std::string_view decimal,
                              std::string_view group) {
    if (!std::isfinite(value)) return generalNumberText(value, decimal);
    char buffer[400];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, std::fabs(value));
    std::string plain(buffer);
    for (char& c : plain) {
        if (c == ',') c = '.';  // the C locale may have been set from the environment
    }
    const auto point = plain.find('.');
    const std::string whole = plain.substr(0, point);
    std::string out;
    for (std::size_t k = 0; k < whole.size(); ++k) {
        if (k > 0 && (whole.size() - k) % 3 == 0) out += group;
        out += whole[k];
    }
    if (point != std::string::npos) out.append(decimal).append(plain, point + 1);
    const bool showsNonZero = out.find_first_of("123456789") != std::string::npos;
    return (std::signbit(value) && showsNonZero ? "-" : "") + out;
}

std::string generalNumberText(double value, std::string_view decimal) {
    if (value == 0.0) return "0";
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.15G", value);
    std::string text;
    for (const char c : std::string_view(buffer)) {
        if (c == '.' || c == ',') {
            text += decimal;
        } else {
            text += c;
        }
    }
    return text;
}

}  // namespace veltrano
