#include "mbhost/parser.h"

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

}  // namespace mbhost
