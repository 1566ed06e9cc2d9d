// Turns MapBasic text into a Program (statements) or an Expr (one expression).
#pragma once

#include <string_view>
#include <vector>

#include "mbhost/ast.h"

namespace mbhost {

// Each throws MapBasicError with the position and the offending word: errc::kSyntax,
// kUnrecognizedCommand, kUnknownFunction or kArgumentCount.
Program parseStatements(std::string_view text);
ExprPtr parseExpression(std::string_view text);

// The literal each number of a parsed text became, in the text's order. `complete` is false
// when some number went elsewhere (a count, a coordinate-system clause): then the parse holds
// that number's value and cannot take another's.
struct NumberLiterals {
    std::vector<Expr*> slots;
    bool complete = false;
};
Program parseStatements(std::string_view text, NumberLiterals& numbers);
ExprPtr parseExpression(std::string_view text, NumberLiterals& numbers);

// Expressions nest no deeper than this (parentheses, calls and chained operators all count):
// deeper text is refused rather than risking the stack when it is evaluated or freed.
inline constexpr int kMaxNesting = 1000;

}  // namespace mbhost
