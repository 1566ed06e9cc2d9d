#include "platform/numeric_text.h"

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

private:
    std::string_view text_;
    std::size_t i_ = 0;
};

}  // namespace

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

}  // namespace veltrano
