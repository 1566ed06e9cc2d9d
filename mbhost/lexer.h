// Splits MapBasic text into tokens. Keywords are not told apart here: the parser compares
// words case-insensitively.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "mbhost/diagnostics.h"

namespace mbhost {

enum class TokenKind {
    Word,     // a name or keyword: letters, digits, '_', and a trailing '$' (Format$)
    Integer,  // digits only
    Float,    // digits with a point or an exponent
    String,   // "text", with "" standing for one quote; `text` holds the content
    Symbol,   // + - * / \ & = <> < > <= >= ( ) , .
    NewLine,  // CR LF, CR or LF: the end of a statement
    End,
};

struct Token {
    TokenKind kind = TokenKind::End;
    std::string text;  // the word, the symbol, the digits, or a string's content
    double number = 0;
    std::int32_t line = 0;
    std::int32_t column = 0;

    // Where the token stands, with the token as the offending word.
    SourceSpot spot() const;

    bool isSymbol(std::string_view s) const { return kind == TokenKind::Symbol && text == s; }
    // Case-insensitive keyword test.
    bool isWord(std::string_view keyword) const;
};

// Statements longer than this are refused: nothing Veltrano sends comes near it, and the
// bound keeps a hostile text from costing unbounded memory.
inline constexpr std::size_t kMaxSourceLength = 1 << 20;

// Throws MapBasicError (errc::kSyntax) for a character that cannot start a token and for an
// unterminated string.
std::vector<Token> tokenize(std::string_view source);

// The number token that starts at `pos` (a digit, or a point before a digit): where it ends
// and whether it is real (a point or an exponent). The one rule for tokens and text shapes.
bool startsNumber(std::string_view source, std::size_t pos);
struct NumberSpan {
    std::size_t end = 0;
    bool real = false;
};
NumberSpan numberSpan(std::string_view source, std::size_t pos);
// The value of a number token's text; ".5" reads as 0.5. Out of range: std::errc set.
std::errc readNumber(std::string_view digits, double& value);

bool equalsIgnoreCase(std::string_view a, std::string_view b);
std::string toLower(std::string_view s);
std::string toUpper(std::string_view s);

}  // namespace mbhost
