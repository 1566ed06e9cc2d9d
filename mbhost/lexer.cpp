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
        if (isDigit(c) || (c == '.' && pos_ + 1 < src_.size() && isDigit(src_[pos_ + 1])))
            return number(t);
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
        const std::size_t start = pos_;
        bool real = false;
        while (pos_ < src_.size() && isDigit(src_[pos_])) ++pos_;
        if (pos_ < src_.size() && src_[pos_] == '.') {
            real = true;
            ++pos_;
            while (pos_ < src_.size() && isDigit(src_[pos_])) ++pos_;
        }
        if (pos_ < src_.size() && (src_[pos_] == 'e' || src_[pos_] == 'E')) {
            std::size_t p = pos_ + 1;
            if (p < src_.size() && (src_[p] == '+' || src_[p] == '-')) ++p;
            if (p < src_.size() && isDigit(src_[p])) {
                real = true;
                pos_ = p;
                while (pos_ < src_.size() && isDigit(src_[pos_])) ++pos_;
            }
        }
        t.text = std::string(src_.substr(start, pos_ - start));
        t.kind = real ? TokenKind::Float : TokenKind::Integer;
        const char* first = t.text.data();
        const char* last = first + t.text.size();
        if (*first == '.') {
            // from_chars wants a digit first; ".5" reads as "0.5"
            std::string padded = "0" + t.text;
            std::from_chars(padded.data(), padded.data() + padded.size(), t.number);
        } else {
            auto [ptr, ec] = std::from_chars(first, last, t.number);
            if (ec == std::errc::result_out_of_range) {
                throw MapBasicError(errc::kOverflow, "Number out of range: " + t.text, t.spot());
            }
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
