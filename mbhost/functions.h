// The built-in functions mbhost knows, each declared once: its name, how many arguments it
// takes, and the handler that evaluates a call.
#pragma once

#include <string>
#include <string_view>

#include "mbhost/value.h"

namespace mbhost {

class Evaluator;
struct Expr;
struct RowContext;

// Evaluates one call; the parser has already checked the argument count.
using FunctionHandler = Value (*)(Evaluator& ev, const Expr& call, const RowContext* row);

// Aggregates total a Select list's rows, so Select evaluates them, not their handler.
enum class Aggregate { None, Count, Min, Max, Sum, Avg };

struct FunctionSpec {
    std::string_view name;  // as MapBasic writes it, lower-cased for look-up
    int minArgs;
    int maxArgs;
    FunctionHandler handler;
    Aggregate aggregate = Aggregate::None;
};

// Null when `lowerName` is not a function.
const FunctionSpec* findFunction(std::string_view lowerName);

// The table name Open Table gives a file opened without an alias (PathToTableName$).
std::string tableNameOfPath(const std::string& path);

}  // namespace mbhost
