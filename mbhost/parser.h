// Turns MapBasic text into a Program (statements) or an Expr (one expression).
#pragma once

#include <string_view>

#include "mbhost/ast.h"

namespace mbhost {

// Each throws MapBasicError with the position and the offending word: errc::kSyntax,
// kUnrecognizedCommand, kUnknownFunction or kArgumentCount.
Program parseStatements(std::string_view text);
ExprPtr parseExpression(std::string_view text);

// Expressions nest no deeper than this (parentheses, calls and chained operators all count):
// deeper text is refused rather than risking the stack when it is evaluated or freed.
inline constexpr int kMaxNesting = 1000;

}  // namespace mbhost
