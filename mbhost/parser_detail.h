// The parser's shared state: a cursor over the tokens, with the statement rules
// (parse_statement.cpp) and the expression rules (parse_expression.cpp) as its members.
// Private to those files and parser.cpp.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "mbhost/ast.h"
#include "mbhost/lexer.h"

namespace mbhost::detail {

class Parser {
public:
    // numberLiterals, when given, receives the literal made of each number token, in order.
    explicit Parser(std::vector<Token> tokens, std::vector<Expr*>* numberLiterals = nullptr)
        : tokens_(std::move(tokens)), numberLiterals_(numberLiterals) {}

    Program program();
    ExprPtr wholeExpression();

private:
    // ---- the cursor (parser.cpp) ----
    const Token& peek(std::size_t ahead = 0) const {
        const std::size_t i = std::min(pos_ + ahead, tokens_.size() - 1);
        return tokens_[i];
    }
    const Token& take() {
        const Token& t = tokens_[pos_];
        if (pos_ + 1 < tokens_.size()) ++pos_;
        return t;
    }
    bool atStatementEnd() const {
        return peek().kind == TokenKind::NewLine || peek().kind == TokenKind::End;
    }
    bool acceptWord(std::string_view w) {
        if (!peek().isWord(w)) return false;
        ++pos_;
        return true;
    }
    bool acceptSymbol(std::string_view s) {
        if (!peek().isSymbol(s)) return false;
        ++pos_;
        return true;
    }
    [[noreturn]] void fail(std::int32_t code, const std::string& what) const;
    void expectWord(std::string_view w);
    void expectSymbol(std::string_view s);
    std::string expectName(const char* what);
    TableRef tableRef();
    void expectStatementEnd();

    // ---- statements (parse_statement.cpp) ----
    Statement statement();
    DimStmt dim();
    VarType variableType();
    UndimStmt undim();
    StatementBody set();
    SetCoordSysStmt setCoordSys();
    std::string clauseText();
    SetMapWindowStmt setMapWindow();
    FetchStmt fetch();
    SelectStmt select();
    InsertStmt insert();
    UpdateStmt update();
    DeleteStmt remove();
    StatementBody create();
    CreateTableStmt createTable();
    std::int32_t smallCount();
    ColumnDef columnDef();
    std::pair<ExprPtr, ExprPtr> coordinatePair();
    std::vector<std::pair<ExprPtr, ExprPtr>> nodeList(bool counted);
    CreateObjectStmt createObject(ObjectType type);
    void skipStyleClauses();
    OpenTableStmt open();
    CommitTableStmt commit();
    StatementBody close();
    MapStmt map();
    BrowseStmt browse();
    AlterButtonPadStmt alter();
    StatusBarStmt statusBar();
    RunMenuCommandStmt run();
    EndMapInfoStmt endMapInfo();
    SaveWindowStmt save();

    // ---- expressions (parse_expression.cpp) ----
    ExprPtr makeNode(ExprKind kind, const SourceSpot& spot);
    ExprPtr binary(Op op, const SourceSpot& spot, ExprPtr lhs, ExprPtr rhs);
    ExprPtr expression();
    ExprPtr conjunction();
    ExprPtr negation();
    ExprPtr comparison();
    ExprPtr additive();
    ExprPtr multiplicative();
    ExprPtr unary();
    ExprPtr primary();
    ExprPtr word();
    ExprPtr call(const Token& name);
    struct ChainGuard;
    struct DepthGuard;

    std::vector<Token> tokens_;
    std::vector<Expr*>* numberLiterals_;
    std::size_t pos_ = 0;
    int depth_ = 0;
};

}  // namespace mbhost::detail
