#include "support/trace/json_value.h"

#include <charconv>
#include <cstdlib>
#include <stdexcept>

#include "foundation/utf8.h"

namespace veltrano::replay {

namespace {

// Traces are flat; this only stops a hostile line from exhausting the stack.
constexpr int kMaxDepth = 32;

class Parser {
public:
    explicit Parser(std::string_view text) : text_(text) {}

    JsonValue document() {
        JsonValue v = value(0);
        skipBlanks();
        if (at_ != text_.size()) fail("unexpected text after the value");
        return v;
    }

private:
    [[noreturn]] void fail(const std::string& reason) const {
        throw std::runtime_error("column " + std::to_string(at_ + 1) + ": " + reason);
    }
    void skipBlanks() {
        while (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\t' ||
                                      text_[at_] == '\r' || text_[at_] == '\n')) {
            ++at_;
        }
    }
    bool take(char c) {
        skipBlanks();
        if (at_ < text_.size() && text_[at_] == c) {
            ++at_;
            return true;
        }
        return false;
    }
    void expect(char c) {
        if (!take(c)) fail(std::string("expected '") + c + "'");
    }
    bool takeWord(std::string_view word) {
        if (text_.substr(at_, word.size()) != word) return false;
        at_ += word.size();
        return true;
    }

    JsonValue value(int depth) {
        if (depth > kMaxDepth) fail("nested too deeply");
        skipBlanks();
        if (at_ >= text_.size()) fail("a value is missing");
        JsonValue v;
        const char c = text_[at_];
        if (c == '{') {
            v.kind = JsonValue::Kind::Object;
            ++at_;
            if (take('}')) return v;
            do {
                skipBlanks();
                const std::string key = string();
                expect(':');
                v.members[key] = value(depth + 1);
            } while (take(','));
            expect('}');
        } else if (c == '[') {
            v.kind = JsonValue::Kind::Array;
            ++at_;
            if (take(']')) return v;
            do {
                v.items.push_back(value(depth + 1));
            } while (take(','));
            expect(']');
        } else if (c == '"') {
            v.kind = JsonValue::Kind::String;
            v.text = string();
        } else if (takeWord("true") || takeWord("false")) {
            v.kind = JsonValue::Kind::Boolean;
            v.boolean = text_[at_ - 1] == 'e' && text_[at_ - 2] == 'u';
        } else if (takeWord("null")) {
            v.kind = JsonValue::Kind::Null;
        } else {
            number(v);
        }
        return v;
    }

    void number(JsonValue& v) {
        const std::size_t start = at_;
        while (at_ < text_.size() &&
               std::string_view("+-0123456789.eE").find(text_[at_]) != std::string_view::npos) {
            ++at_;
        }
        if (at_ == start) fail("not a JSON value");
        v.kind = JsonValue::Kind::Number;
        v.numberText = std::string(text_.substr(start, at_ - start));
        char* end = nullptr;
        v.number = std::strtod(v.numberText.c_str(), &end);
        if (end != v.numberText.c_str() + v.numberText.size()) fail("malformed number");
    }

    unsigned hex4() {
        if (at_ + 4 > text_.size()) fail("short \\u escape");
        unsigned code = 0;
        const char* digits = text_.data() + at_;
        const auto [end, error] = std::from_chars(digits, digits + 4, code, 16);
        at_ += static_cast<std::size_t>(end - digits);
        if (error != std::errc() || end != digits + 4) {
            ++at_;  // the column of the character that is no hexadecimal digit, as it is read
            fail("bad \\u escape");
        }
        return code;
    }

    // The escape after a backslash, as the character it stands for.
    void unescape(std::string& out) {
        constexpr std::string_view kEscapes = "\"\\/bfnrt", kMeanings = "\"\\/\b\f\n\r\t";
        const char e = text_[at_++];
        if (const auto k = kEscapes.find(e); k != std::string_view::npos) {
            out += kMeanings[k];
            return;
        }
        if (e != 'u') fail("unknown escape");
        unsigned code = hex4();
        if (code >= 0xD800 && code < 0xDC00 && takeWord("\\u")) {
            const unsigned low = hex4();
            if (low < 0xDC00 || low > 0xDFFF) fail("unpaired surrogate");
            code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
        } else if (code >= 0xD800 && code <= 0xDFFF) {
            fail("unpaired surrogate");
        }
        appendUtf8(out, static_cast<char32_t>(code));
    }

    std::string string() {
        if (at_ >= text_.size() || text_[at_] != '"') fail("expected a string");
        ++at_;
        std::string out;
        for (;;) {
            if (at_ >= text_.size()) fail("unterminated string");
            const char c = text_[at_++];
            if (c == '"') return out;
            if (static_cast<unsigned char>(c) < 0x20) fail("control character in a string");
            if (c != '\\') {
                out += c;
                continue;
            }
            if (at_ >= text_.size()) fail("unterminated escape");
            unescape(out);
        }
    }

    std::string_view text_;
    std::size_t at_ = 0;
};

}  // namespace

const JsonValue* JsonValue::member(const std::string& name) const {
    const auto it = members.find(name);
    return it == members.end() ? nullptr : &it->second;
}

JsonValue parseJson(std::string_view text) {
    return Parser(text).document();
}

}  // namespace veltrano::replay
