// The parsed form of MapBasic text: expressions and statements. Names are kept both as
// written (for messages) and lower-cased (for look-ups, which ignore case).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "mbhost/diagnostics.h"
#include "mbhost/geometry.h"
#include "mbhost/table_data.h"
#include "mbhost/value.h"

namespace mbhost {

struct FunctionSpec;

// Resolved once by the parser, so evaluation never compares operator text.
enum class Op {
    Negate,
    Not,
    Or,
    And,
    Equal,
    NotEqual,
    Less,
    Greater,
    LessEqual,
    GreaterEqual,
    Like,
    Add,
    Subtract,
    Concat,
    Multiply,
    Divide,
    IntDivide,
    Mod,
};

enum class ExprKind {
    Literal,  // `literal`
    Name,     // a bare name: a variable, or a column of the row in context (`name`)
    Field,    // table.field (`table`, `name`)
    Star,     // the * of Count(*)
    Unary,    // `op` (Negate, Not), args[0]
    Binary,   // `op`, args[0] and args[1]
    Call,     // `function`, args; `name` as written
};

struct Expr {
    Expr() = default;
    Expr(const Expr&) = delete;
    Expr& operator=(const Expr&) = delete;
    // Counted, so that a parse can tell it dropped or replaced a node (parser.cpp).
    ~Expr() { ++freedOnThisThread(); }
    static std::uint64_t& freedOnThisThread() {
        thread_local std::uint64_t freed = 0;
        return freed;
    }

    ExprKind kind = ExprKind::Literal;
    Value literal;
    std::string name;      // as written
    std::string key;       // lower-cased name
    std::string table;     // Field: the table as written
    std::string tableKey;  // Field: lower-cased
    Op op{};
    const FunctionSpec* function = nullptr;  // Call
    std::vector<std::unique_ptr<Expr>> args;
    SourceSpot spot;
};
using ExprPtr = std::unique_ptr<Expr>;

// A table named in a statement: a word or a string literal.
struct TableRef {
    std::string name;
    SourceSpot spot;
};

enum class VarType { Object, Float, Integer, SmallInt, String, Logical, Date };

struct DimStmt {
    // Dim a, b As Float, c As Object: each name with its type.
    std::vector<std::pair<std::string, VarType>> variables;
};
struct UndimStmt {
    std::vector<std::string> names;
};
struct AssignStmt {
    std::string name;
    ExprPtr value;
};
struct SetCoordSysStmt {
    enum class Source { Table, Window, Clause } source = Source::Clause;
    TableRef table;
    ExprPtr window;
    std::string clause;
};
struct FetchStmt {
    enum class Where { First, Next, Prev, Last, Rec } where = Where::First;
    ExprPtr record;
    TableRef table;
};
struct SelectItem {
    ExprPtr expr;  // null for *
    std::string alias;
};
struct SelectStmt {
    std::vector<SelectItem> items;
    TableRef from;
    ExprPtr where;
    std::string into;
    bool noSelect = false;
};
struct InsertStmt {
    TableRef table;
    std::vector<std::string> columns;  // empty: every column in order, then the object
    std::vector<ExprPtr> values;
};
struct UpdateStmt {
    TableRef table;
    std::vector<std::pair<std::string, ExprPtr>> assignments;
    ExprPtr where;
};
struct DeleteStmt {
    TableRef table;
    ExprPtr where;
};
struct PrintStmt {
    ExprPtr value;
};
struct CreateTableStmt {
    TableRef table;
    std::vector<ColumnDef> columns;
    ExprPtr file;
};
struct CreateMapStmt {
    TableRef table;
    std::string clause;  // empty: the session's system
};
struct CreateObjectStmt {
    ObjectType type = ObjectType::Point;
    std::string variable;
    // Point: one part of one node; Line and Text: one part of two; Pline and Region: parts.
    std::vector<std::vector<std::pair<ExprPtr, ExprPtr>>> parts;
    ExprPtr text;
};
struct OpenTableStmt {
    ExprPtr path;
    ExprPtr layer;  // null: the file's only layer
    std::string alias;
    bool readOnly = false;
    std::string coordSys;  // the table's system in place of the file's; empty: the file's
};
struct CommitTableStmt {
    TableRef table;
    ExprPtr path;
};
struct CloseTableStmt {
    TableRef table;
};
struct CloseAllStmt {};
struct MapStmt {
    std::vector<TableRef> tables;
};
struct BrowseStmt {
    TableRef table;
};
struct SetMapWindowStmt {
    ExprPtr window;
    ExprPtr centerX, centerY;
    ExprPtr zoom, units;
};
struct SetWindowStmt {
    ExprPtr window;
    std::int32_t state = 0;  // 0 restore, 1 minimise, 2 maximise
};
struct AlterButtonPadStmt {
    ExprPtr name;
    bool show = true;
};
struct StatusBarStmt {
    bool show = true;
};
struct RunMenuCommandStmt {
    ExprPtr command;
};
struct SetApplicationWindowStmt {
    ExprPtr handle;
};
struct EndMapInfoStmt {};
struct SaveWindowStmt {
    ExprPtr window;
    ExprPtr path;
    // The picture's size on paper (Units: "in" when absent) and its dots per inch; absent:
    // the window's own size at 96 dots per inch.
    ExprPtr width, widthUnits;
    ExprPtr height, heightUnits;
    ExprPtr resolution;
};
struct CloseWindowStmt {
    ExprPtr window;
};

using StatementBody =
    std::variant<DimStmt, UndimStmt, AssignStmt, SetCoordSysStmt, FetchStmt, SelectStmt, InsertStmt,
                 UpdateStmt, DeleteStmt, PrintStmt, CreateTableStmt, CreateMapStmt,
                 CreateObjectStmt, OpenTableStmt, CommitTableStmt, CloseTableStmt, CloseAllStmt,
                 MapStmt, BrowseStmt, SetMapWindowStmt, SetWindowStmt, AlterButtonPadStmt,
                 StatusBarStmt, RunMenuCommandStmt, SetApplicationWindowStmt, EndMapInfoStmt,
                 SaveWindowStmt, CloseWindowStmt>;

struct Statement {
    StatementBody body;
    SourceSpot spot;  // the statement's first word
};

// A parsed Do text: its statements in order.
struct Program {
    std::vector<Statement> statements;
};

}  // namespace mbhost
