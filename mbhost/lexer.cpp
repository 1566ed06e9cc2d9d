#include "mbhost/lexer.h"

#include <charconv>

#include "foundation/mapbasic_name.h"

namespace mbhost {

namespace {

char lowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
// Names follow the one rule Veltrano also checks output table names by.
bool isWordStart(char c) {
    return veltrano::isNameStartByte(c);
}
bool isWordChar(char c) {
    return veltrano::isNameByte(c);
}

class Lexer {
public:
    explicit Lexer(std::string_view s) : src_(s) {}

    std::vector<Token> run() {
        std::vector<Token> tokens;
        tokens.reserve(src_.size() / 3 + 2);
        while (true) {
            skipBlanks();
            if (pos_ >= src_.size()) break;
            tokens.push_back(next());
        }
        Token end;
        placeHere(end);
        tokens.push_back(std::move(end));
        return tokens;
    }

private:
    void placeHere(Token& t) const {
        t.line = line_;
        t.column = static_cast<std::int32_t>(pos_ - lineStart_) + 1;
    }

    void skipBlanks() {
        while (pos_ < src_.size() && (src_[pos_] == ' ' || src_[pos_] == '\t')) ++pos_;
    }

    Token next() {
        Token t;
        placeHere(t);
        const char c = src_[pos_];
        if (c == '\r' || c == '\n') return newLine(t);
        if (isWordStart(c)) return word(t);
        if (startsNumber(src_, pos_)) return number(t);
        if (c == '"') return string(t);
        return symbol(t);
    }

    Token newLine(Token t) {
        if (src_[pos_] == '\r' && pos_ + 1 < src_.size() && src_[pos_ + 1] == '\n') ++pos_;
        ++pos_;
        t.kind = TokenKind::NewLine;
        t.text = "\n";
        ++line_;
        lineStart_ = pos_;
        return t;
    }

    Token word(Token t) {
        const std::size_t start = pos_;
        while (pos_ < src_.size() && isWordChar(src_[pos_])) ++pos_;
        if (pos_ < src_.size() && src_[pos_] == '$') ++pos_;
        t.kind = TokenKind::Word;
        t.text = std::string(src_.substr(start, pos_ - start));
        return t;
    }

    Token number(Token t) {
        const NumberSpan span = numberSpan(src_, pos_);
        t.text = std::string(src_.substr(pos_, span.end - pos_));
        t.kind = span.real ? TokenKind::Float : TokenKind::Integer;
        pos_ = span.end;
        if (readNumber(t.text, t.number) == std::errc::result_out_of_range) {
            throw MapBasicError(errc::kOverflow, "Number out of range: " + t.text, t.spot());
        }
        return t;
    }

    Token string(Token t) {
        ++pos_;
        std::string content;
        while (true) {
            if (pos_ >= src_.size() || src_[pos_] == '\r' || src_[pos_] == '\n') {
                SourceSpot spot = t.spot();
                spot.near = "\"" + content;
                throw MapBasicError(errc::kSyntax, "Unterminated string", spot);
            }
            if (src_[pos_] == '"') {
                if (pos_ + 1 < src_.size() && src_[pos_ + 1] == '"') {
                    content += '"';
                    pos_ += 2;
                    continue;
                }
                ++pos_;
                break;
            }
            content += src_[pos_++];
        }
        t.kind = TokenKind::String;
        t.text = std::move(content);
        return t;
    }

    Token symbol(Token t) {
        static constexpr std::string_view kTwo[] = {"<>", "<=", ">="};
        for (std::string_view two : kTwo) {
            if (src_.substr(pos_, 2) == two) {
                pos_ += 2;
                t.kind = TokenKind::Symbol;
                t.text = std::string(two);
                return t;
            }
        }
        static constexpr std::string_view kOne = "+-*/\\&=<>(),.";
        const char c = src_[pos_];
        if (kOne.find(c) == std::string_view::npos) {
            SourceSpot spot = t.spot();
            spot.near = std::string(1, c);
            throw MapBasicError(errc::kSyntax, "Unexpected character", spot);
        }
        ++pos_;
        t.kind = TokenKind::Symbol;
        t.text = std::string(1, c);
        return t;
    }

    std::string_view src_;
    std::size_t pos_ = 0;
    std::size_t lineStart_ = 0;
    std::int32_t line_ = 1;
};

}  // namespace

SourceSpot Token::spot() const {
    SourceSpot s{line, column, {}};
    switch (kind) {
        case TokenKind::String:
            s.near = "\"" + text + "\"";
            break;
        case TokenKind::NewLine:
        case TokenKind::End:
            s.near = "end of statement";
            break;
        default:
            s.near = text;
            break;
    }
    return s;
}

bool Token::isWord(std::string_view keyword) const {
    return kind == TokenKind::Word && equalsIgnoreCase(text, keyword);
}

std::vector<Token> tokenize(std::string_view source) {
    if (source.size() > kMaxSourceLength) {
        throw MapBasicError(errc::kLimit,
                            "Text too long: " + std::to_string(source.size()) + " characters");
    }
    return Lexer(source).run();
}

bool startsNumber(std::string_view source, std::size_t pos) {
    const char c = source[pos];
    return isDigit(c) || (c == '.' && pos + 1 < source.size() && isDigit(source[pos + 1]));
}

NumberSpan numberSpan(std::string_view source, std::size_t pos) {
    NumberSpan span;
    auto digits = [&] {
        while (pos < source.size() && isDigit(source[pos])) ++pos;
    };
    digits();
    if (pos < source.size() && source[pos] == '.') {
        span.real = true;
        ++pos;
        digits();
    }
    if (pos < source.size() && (source[pos] == 'e' || source[pos] == 'E')) {
        std::size_t p = pos + 1;
        if (p < source.size() && (source[p] == '+' || source[p] == '-')) ++p;
        if (p < source.size() && isDigit(source[p])) {
            span.real = true;
            pos = p;
            digits();
        }
    }
    span.end = pos;
    return span;
}

std::errc readNumber(std::string_view digits, double& value) {
    if (digits.empty() || digits[0] != '.') {
        return std::from_chars(digits.data(), digits.data() + digits.size(), value).ec;
    }
    // from_chars wants a digit first
    char padded[64];
    if (digits.size() + 1 > sizeof padded) {
        const std::string copy = "0" + std::string(digits);
        return std::from_chars(copy.data(), copy.data() + copy.size(), value).ec;
    }
    padded[0] = '0';
    digits.copy(padded + 1, digits.size());
    return std::from_chars(padded, padded + digits.size() + 1, value).ec;
}

bool equalsIgnoreCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
    }
    return true;
}

std::string toLower(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = lowerAscii(c);
    return out;
}

std::string toUpper(std::string_view s) {
    std::string out(s);
    for (char& c : out) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    }
    return out;
}

}  // namespace mbhost
