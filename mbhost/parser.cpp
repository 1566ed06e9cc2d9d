#include "mbhost/parser.h"

#include <cstdint>

#include "mbhost/parser_detail.h"

namespace mbhost {

namespace detail {

Program Parser::program() {
    Program p;
    while (true) {
        while (peek().kind == TokenKind::NewLine) ++pos_;
        if (peek().kind == TokenKind::End) break;
        p.statements.push_back(statement());
        expectStatementEnd();
    }
    return p;
}

ExprPtr Parser::wholeExpression() {
    ExprPtr e = expression();
    if (peek().kind != TokenKind::End) fail(errc::kSyntax, "Unexpected text after expression");
    return e;
}

void Parser::fail(std::int32_t code, const std::string& what) const {
    SourceSpot spot = peek().spot();
    if (peek().kind == TokenKind::End || peek().kind == TokenKind::NewLine) {
        spot.near = "end of statement";
    }
    throw MapBasicError(code, what, spot);
}

void Parser::expectWord(std::string_view w) {
    if (!acceptWord(w)) fail(errc::kSyntax, "Expected " + std::string(w));
}

void Parser::expectSymbol(std::string_view s) {
    if (!acceptSymbol(s)) fail(errc::kSyntax, "Expected '" + std::string(s) + "'");
}

std::string Parser::expectName(const char* what) {
    if (peek().kind != TokenKind::Word) fail(errc::kSyntax, std::string("Expected ") + what);
    return take().text;
}

TableRef Parser::tableRef() {
    if (peek().kind != TokenKind::Word && peek().kind != TokenKind::String) {
        fail(errc::kSyntax, "Expected a table name");
    }
    const Token& t = take();
    return TableRef{t.text, t.spot()};
}

void Parser::expectStatementEnd() {
    if (!atStatementEnd()) fail(errc::kSyntax, "Unexpected text at end of statement");
}

}  // namespace detail

Program parseStatements(std::string_view text) {
    return detail::Parser(tokenize(text)).program();
}

ExprPtr parseExpression(std::string_view text) {
    return detail::Parser(tokenize(text)).wholeExpression();
}

namespace {
// Parses with `rule`, noting every literal made of a number token.
template <class Rule>
auto parseNoting(std::string_view text, NumberLiterals& numbers, Rule rule) {
    std::vector<Token> tokens = tokenize(text);
    const auto count = std::count_if(tokens.begin(), tokens.end(), [](const Token& t) {
        return t.kind == TokenKind::Integer || t.kind == TokenKind::Float;
    });
    numbers.slots.clear();
    detail::Parser parser(std::move(tokens), &numbers.slots);
    const std::uint64_t freedBefore = Expr::freedOnThisThread();
    auto parsed = rule(parser);
    // Tokens are taken once each, in order: as many literals as number tokens means every
    // number became its own literal. A node freed on the way (a clause given twice, a value
    // a statement ignores) may have been one of them, so such a parse binds nothing.
    numbers.complete = Expr::freedOnThisThread() == freedBefore &&
                       numbers.slots.size() == static_cast<std::size_t>(count);
    return parsed;
}
}  // namespace

Program parseStatements(std::string_view text, NumberLiterals& numbers) {
    return parseNoting(text, numbers, [](detail::Parser& p) { return p.program(); });
}

ExprPtr parseExpression(std::string_view text, NumberLiterals& numbers) {
    return parseNoting(text, numbers, [](detail::Parser& p) { return p.wholeExpression(); });
}

}  // namespace mbhost
