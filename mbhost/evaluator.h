// Evaluates expressions against a workspace. Expressions have no side effects, so a
// statement can evaluate everything it needs before it changes anything.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "mbhost/ast.h"
#include "mbhost/workspace.h"

namespace mbhost {

// The row that bare column names, obj and rowid refer to (Select, Update, Delete).
struct RowContext {
    const Table* table = nullptr;
    std::int32_t rowId = 0;
    const Row* row = nullptr;
};

class Evaluator {
public:
    explicit Evaluator(Workspace& ws) : ws_(ws) {}

    // Throws MapBasicError placed at the part of the expression that failed.
    Value eval(const Expr& e, const RowContext* row = nullptr);

    // Typed evaluation; `what` names the value in a type-mismatch message.
    double number(const Expr& e, const RowContext* row, std::string_view what);
    std::int32_t whole(const Expr& e, const RowContext* row, std::string_view what);
    std::string text(const Expr& e, const RowContext* row, std::string_view what);
    ObjectValue object(const Expr& e, const RowContext* row, std::string_view what);
    // A table argument: a bare name (unless a variable of that name holds a name or
    // number), a table number, or a string naming the table.
    Table& table(const Expr& e, const RowContext* row);

    Workspace& workspace() { return ws_; }

private:
    Value name(const Expr& e, const RowContext* row);
    Value field(const Expr& e, const RowContext* row);
    Value unary(const Expr& e, const RowContext* row);
    Value binary(const Expr& e, const RowContext* row);
    Value logic(const Expr& e, const RowContext* row);  // And, Or: the right side only if needed

    Workspace& ws_;
};

// The value of a row's column or object, as an expression sees it.
Value columnValue(const Table& table, const Row& row, std::string_view lowerField,
                  std::int32_t rowId, bool& found);

// Converts a value for storing in a variable or column of the given type; throws
// MapBasicError (kTypeMismatch, kOverflow) naming `target`.
Value convertForVariable(const Value& v, VarType type, std::string_view target);
Value convertForColumn(const Value& v, const ColumnDef& column);

[[noreturn]] void typeMismatch(std::string_view what, std::string_view expected, const Value& got);
const char* kindName(ValueKind kind);

}  // namespace mbhost
