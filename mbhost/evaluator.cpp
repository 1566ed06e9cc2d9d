#include "mbhost/evaluator.h"

#include <cmath>
#include <limits>

#include "foundation/utf8.h"
#include "mbhost/functions.h"
#include "mbhost/lexer.h"
#include "mbhost/number_format.h"

namespace mbhost {

const char* kindName(ValueKind kind) {
    switch (kind) {
        case ValueKind::Null:
            return "nothing";
        case ValueKind::Integer:
            return "a whole number";
        case ValueKind::Float:
            return "a number";
        case ValueKind::String:
            return "a string";
        case ValueKind::Logical:
            return "a logical value";
        case ValueKind::Date:
            return "a date";
        case ValueKind::Object:
            return "an object";
    }
    return "a value";
}

void typeMismatch(std::string_view what, std::string_view expected, const Value& got) {
    throw MapBasicError(errc::kTypeMismatch, "Type mismatch: " + std::string(what) + " needs " +
                                                 std::string(expected) + ", not " +
                                                 kindName(got.kind()));
}

namespace {

Value numberResult(double v) {
    if (!std::isfinite(v)) throw MapBasicError(errc::kOverflow, "Numeric overflow");
    return Value::real(v);
}

Value integerResult(std::int64_t v) {
    if (v > std::numeric_limits<std::int32_t>::max() ||
        v < std::numeric_limits<std::int32_t>::min()) {
        return Value::real(static_cast<double>(v));
    }
    return Value::integer(v);
}

// The operator as messages quote it: '<>', 'mod'.
std::string quoted(Op op) {
    static constexpr std::pair<Op, std::string_view> kTexts[] = {
        {Op::Equal, "="},      {Op::NotEqual, "<>"},     {Op::Less, "<"},       {Op::Greater, ">"},
        {Op::LessEqual, "<="}, {Op::GreaterEqual, ">="}, {Op::Add, "+"},        {Op::Subtract, "-"},
        {Op::Multiply, "*"},   {Op::Divide, "/"},        {Op::IntDivide, "\\"}, {Op::Mod, "mod"},
        {Op::Like, "like"}};
    for (const auto& [candidate, text] : kTexts) {
        if (candidate == op) return "'" + std::string(text) + "'";
    }
    return "'?'";
}

bool truth(const Value& v, std::string_view op) {
    if (v.kind() == ValueKind::Logical) return v.asLogical();
    if (v.isNumber()) return v.number() != 0;
    typeMismatch(op, "a logical value", v);
}

int compareValues(const Value& a, const Value& b, Op op) {
    if (a.isNumber() && b.isNumber()) {
        const double x = a.number(), y = b.number();
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    if (a.kind() == ValueKind::String && b.kind() == ValueKind::String) {
        const std::string x = toLower(a.asText()), y = toLower(b.asText());
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    if (a.kind() == ValueKind::Logical && b.kind() == ValueKind::Logical) {
        return static_cast<int>(a.asLogical()) - static_cast<int>(b.asLogical());
    }
    if (a.kind() == ValueKind::Date && b.kind() == ValueKind::Date) {
        return a.asDate().yyyymmdd < b.asDate().yyyymmdd
                   ? -1
                   : (a.asDate().yyyymmdd > b.asDate().yyyymmdd ? 1 : 0);
    }
    if (a.isNull() || b.isNull()) return a.isNull() == b.isNull() ? 0 : (a.isNull() ? -1 : 1);
    typeMismatch(quoted(op), std::string("values of one kind, ") + kindName(a.kind()) + " and", b);
}

std::u32string charactersOf(const std::string& text) {
    std::u32string characters;
    for (std::string_view rest = text; !rest.empty();
         rest.remove_prefix(veltrano::characterOffset(rest, 1))) {
        characters += veltrano::firstCharacter(rest);
    }
    return characters;
}

// Like: % stands for any run of characters, _ for one; case is ignored, as in =.
Value like(const Value& a, const Value& b) {
    if (a.kind() != ValueKind::String) typeMismatch(quoted(Op::Like), "a string", a);
    if (b.kind() != ValueKind::String) typeMismatch(quoted(Op::Like), "a string pattern", b);
    const std::u32string text = charactersOf(toLower(a.asText()));
    const std::u32string pattern = charactersOf(toLower(b.asText()));
    // Greedy with one step back to the last %: linear in practice, never exponential.
    std::size_t t = 0, p = 0, starP = std::u32string::npos, starT = 0;
    while (t < text.size()) {
        if (p < pattern.size() && (pattern[p] == U'_' || pattern[p] == text[t])) {
            ++t, ++p;
        } else if (p < pattern.size() && pattern[p] == U'%') {
            starP = p++, starT = t;
        } else if (starP != std::u32string::npos) {
            p = starP + 1, t = ++starT;
        } else {
            return Value::logical(false);
        }
    }
    while (p < pattern.size() && pattern[p] == U'%') ++p;
    return Value::logical(p == pattern.size());
}

Value comparison(Op op, int c) {
    switch (op) {
        case Op::Equal:
            return Value::logical(c == 0);
        case Op::NotEqual:
            return Value::logical(c != 0);
        case Op::Less:
            return Value::logical(c < 0);
        case Op::Greater:
            return Value::logical(c > 0);
        case Op::LessEqual:
            return Value::logical(c <= 0);
        default:
            return Value::logical(c >= 0);
    }
}

Value product(const Value& a, const Value& b, bool whole) {
    if (whole) {
        const double exact = a.number() * b.number();
        if (std::fabs(exact) < 9e15) return integerResult(a.asInteger() * b.asInteger());
    }
    return numberResult(a.number() * b.number());
}

// /, \ and Mod; a zero divisor is refused before and after truncation.
Value quotient(Op op, const Value& a, const Value& b) {
    if (b.number() == 0) throw MapBasicError(errc::kDivisionByZero, "Division by zero");
    if (op == Op::Divide) return numberResult(a.number() / b.number());
    const double x = std::trunc(a.number()), y = std::trunc(b.number());
    if (y == 0) throw MapBasicError(errc::kDivisionByZero, "Division by zero");
    if (op == Op::IntDivide) return numberResult(std::trunc(x / y));
    return numberResult(std::fmod(x, y));
}

Value arithmetic(Op op, const Value& a, const Value& b) {
    if (!a.isNumber()) typeMismatch(quoted(op), "a number", a);
    if (!b.isNumber()) typeMismatch(quoted(op), "a number", b);
    const bool whole = a.kind() == ValueKind::Integer && b.kind() == ValueKind::Integer;
    switch (op) {
        case Op::Add:
            return whole ? integerResult(a.asInteger() + b.asInteger())
                         : numberResult(a.number() + b.number());
        case Op::Subtract:
            return whole ? integerResult(a.asInteger() - b.asInteger())
                         : numberResult(a.number() - b.number());
        case Op::Multiply:
            return product(a, b, whole);
        default:
            return quotient(op, a, b);
    }
}

}  // namespace

Value columnValue(const Table& table, const Row& row, std::string_view lowerField,
                  std::int32_t rowId, bool& found) {
    found = true;
    if (lowerField == "obj" || lowerField == "object") {
        if (!table.mappable()) {
            throw MapBasicError(errc::kNotMappable, "Table " + table.name() + " is not mappable");
        }
        return Value::object(ObjectValue{row.object, table.coordSys()});
    }
    if (lowerField == "rowid") return Value::integer(rowId);
    int column = table.findColumn(lowerField);
    if (column < 0 && lowerField.size() > 3 && lowerField.substr(0, 3) == "col") {
        const std::string digits(lowerField.substr(3));
        if (digits.find_first_not_of("0123456789") == std::string::npos && digits.size() < 6) {
            const int n = std::stoi(digits);
            if (n >= 1 && n <= static_cast<int>(table.data().columns.size())) column = n - 1;
        }
    }
    if (column < 0) {
        found = false;
        return {};
    }
    return row.fields[static_cast<std::size_t>(column)];
}

Value Evaluator::eval(const Expr& e, const RowContext* row) {
    try {
        switch (e.kind) {
            case ExprKind::Literal:
                return e.literal;
            case ExprKind::Name:
                return name(e, row);
            case ExprKind::Field:
                return field(e, row);
            case ExprKind::Unary:
                return unary(e, row);
            case ExprKind::Binary:
                return binary(e, row);
            case ExprKind::Call:
                return e.function->handler(*this, e, row);
            case ExprKind::Star:
                throw MapBasicError(errc::kSyntax, "'*' is allowed only in Count(*)");
        }
    } catch (const MapBasicError& error) {
        throw error.located(e.spot);
    }
    return {};
}

Value Evaluator::name(const Expr& e, const RowContext* row) {
    if (row != nullptr && row->row != nullptr) {
        bool found = false;
        Value v = columnValue(*row->table, *row->row, e.key, row->rowId, found);
        if (found) return v;
    }
    if (auto it = ws_.variables.find(e.key); it != ws_.variables.end()) return it->second.value;
    throw MapBasicError(errc::kUndefinedName, "Variable or Field " + e.name + " not defined");
}

Value Evaluator::field(const Expr& e, const RowContext* row) {
    const Table& t = ws_.table(e.table);
    std::int32_t rowId = t.cursor();
    const Row* r = nullptr;
    if (row != nullptr && row->table == &t) {
        rowId = row->rowId;
        r = row->row;
    } else {
        r = t.row(rowId);
    }
    if (r == nullptr) {
        if (e.key == "rowid") return Value::integer(0);
        throw MapBasicError(errc::kNoCurrentRow,
                            "No current row in table " + t.name() + " (fetch a row first)");
    }
    bool found = false;
    Value v = columnValue(t, *r, e.key, rowId, found);
    if (!found) {
        throw MapBasicError(errc::kUndefinedName,
                            "Variable or Field " + e.table + "." + e.name + " not defined");
    }
    return v;
}

Value Evaluator::unary(const Expr& e, const RowContext* row) {
    Value v = eval(*e.args[0], row);
    if (e.op == Op::Not) return Value::logical(!truth(v, "Not"));
    if (v.kind() == ValueKind::Integer) return integerResult(-v.asInteger());
    if (v.kind() == ValueKind::Float) return Value::real(-v.asFloat());
    typeMismatch("'-'", "a number", v);
}

Value Evaluator::binary(const Expr& e, const RowContext* row) {
    if (e.op == Op::And || e.op == Op::Or) return logic(e, row);
    Value a = eval(*e.args[0], row);
    const Value b = eval(*e.args[1], row);
    if (e.op == Op::Concat ||
        (e.op == Op::Add && (a.kind() == ValueKind::String || b.kind() == ValueKind::String))) {
        std::string joined = valueText(std::move(a));
        if (b.kind() == ValueKind::String) {
            joined += b.asText();
        } else {
            joined += valueText(b);
        }
        return Value::text(std::move(joined));
    }
    switch (e.op) {
        case Op::Equal:
        case Op::NotEqual:
        case Op::Less:
        case Op::Greater:
        case Op::LessEqual:
        case Op::GreaterEqual:
            return comparison(e.op, compareValues(a, b, e.op));
        case Op::Like:
            return like(a, b);
        default:
            return arithmetic(e.op, a, b);
    }
}

Value Evaluator::logic(const Expr& e, const RowContext* row) {
    const bool isAnd = e.op == Op::And;
    const char* name = isAnd ? "And" : "Or";
    const bool lhs = truth(eval(*e.args[0], row), name);
    if (lhs != isAnd) return Value::logical(lhs);
    return Value::logical(truth(eval(*e.args[1], row), name));
}

double Evaluator::number(const Expr& e, const RowContext* row, std::string_view what) {
    const Value v = eval(e, row);
    if (!v.isNumber()) {
        try {
            typeMismatch(what, "a number", v);
        } catch (const MapBasicError& error) {
            throw error.located(e.spot);
        }
    }
    return v.number();
}

std::int32_t Evaluator::whole(const Expr& e, const RowContext* row, std::string_view what) {
    const double v = number(e, row, what);
    const double r = std::round(v);
    if (!(r >= -2147483648.0 && r <= 2147483647.0)) {
        throw MapBasicError(errc::kOverflow, std::string(what) + " is out of range", e.spot);
    }
    return static_cast<std::int32_t>(r);
}

std::string Evaluator::text(const Expr& e, const RowContext* row, std::string_view what) {
    const Value v = eval(e, row);
    if (v.kind() != ValueKind::String) {
        try {
            typeMismatch(what, "a string", v);
        } catch (const MapBasicError& error) {
            throw error.located(e.spot);
        }
    }
    return v.asText();
}

ObjectValue Evaluator::object(const Expr& e, const RowContext* row, std::string_view what) {
    Value v = eval(e, row);
    if (v.kind() != ValueKind::Object) {
        try {
            typeMismatch(what, "an object", v);
        } catch (const MapBasicError& error) {
            throw error.located(e.spot);
        }
    }
    if (!v.asObject().geometry) {
        throw MapBasicError(errc::kObject, std::string(what) + " is an empty object", e.spot);
    }
    return v.asObject();
}

Table& Evaluator::table(const Expr& e, const RowContext* row) {
    Value v;
    if (e.kind == ExprKind::Name) {
        auto it = ws_.variables.find(e.key);
        if (it == ws_.variables.end()) {
            Table* t = ws_.findTable(e.name);
            if (t == nullptr) {
                throw MapBasicError(errc::kTableNotOpen, "Table " + e.name + " is not open",
                                    e.spot);
            }
            return *t;
        }
        v = it->second.value;
    } else {
        v = eval(e, row);
    }
    if (v.isNumber()) {
        const auto number = static_cast<std::int32_t>(std::lround(v.number()));
        Table* t = ws_.tables.byNumber(number);
        if (t == nullptr) {
            throw MapBasicError(errc::kTableNotOpen,
                                "Table number " + std::to_string(number) + " is not open", e.spot);
        }
        return *t;
    }
    if (v.kind() == ValueKind::String) {
        Table* t = ws_.findTable(v.asText());
        if (t == nullptr) {
            throw MapBasicError(errc::kTableNotOpen, "Table " + v.asText() + " is not open",
                                e.spot);
        }
        return *t;
    }
    try {
        typeMismatch("a table", "a name or a number", v);
    } catch (const MapBasicError& error) {
        throw error.located(e.spot);
    }
}

namespace {

Value toWhole(const Value& v, std::string_view target, double low, double high) {
    if (v.kind() == ValueKind::Logical) return Value::integer(v.asLogical() ? 1 : 0);
    if (!v.isNumber()) typeMismatch(target, "a number", v);
    const double r = std::round(v.number());
    if (!(r >= low && r <= high)) {
        throw MapBasicError(errc::kOverflow,
                            std::string(target) + ": " + realText(v.number()) + " is out of range");
    }
    return Value::integer(static_cast<std::int64_t>(r));
}

Value toFloat(const Value& v, std::string_view target) {
    if (!v.isNumber()) typeMismatch(target, "a number", v);
    return Value::real(v.number());
}

Value toDate(const Value& v, std::string_view target) {
    if (v.kind() == ValueKind::Date) return v;
    if (v.kind() == ValueKind::Integer && v.asInteger() >= 0 && v.asInteger() <= 99991231) {
        return Value::date(Date{static_cast<std::int32_t>(v.asInteger())});
    }
    if (v.kind() == ValueKind::String) {
        const std::string& s = v.asText();
        if (s.empty()) return Value::date(Date{});
        if (s.size() == 8 && s.find_first_not_of("0123456789") == std::string::npos) {
            return Value::date(Date{std::stoi(s)});
        }
    }
    typeMismatch(target, "a date (YYYYMMDD)", v);
}

}  // namespace

Value convertForVariable(const Value& v, VarType type, std::string_view target) {
    switch (type) {
        case VarType::Float:
            return toFloat(v, target);
        case VarType::Integer:
            return toWhole(v, target, -2147483648.0, 2147483647.0);
        case VarType::SmallInt:
            return toWhole(v, target, -32768.0, 32767.0);
        case VarType::String:
            if (v.kind() == ValueKind::Object) typeMismatch(target, "a string", v);
            return Value::text(valueText(v));
        case VarType::Logical:
            if (v.kind() == ValueKind::Logical) return v;
            if (v.isNumber()) return Value::logical(v.number() != 0);
            typeMismatch(target, "a logical value", v);
        case VarType::Date:
            return toDate(v, target);
        case VarType::Object:
            if (v.kind() != ValueKind::Object) typeMismatch(target, "an object", v);
            return v;
    }
    return v;
}

Value convertForColumn(const Value& v, const ColumnDef& column) {
    if (v.isNull()) return v;
    const std::string target = "column " + column.name;
    switch (column.type) {
        case ColumnType::Char: {
            if (v.kind() == ValueKind::Object) typeMismatch(target, "a string", v);
            // Char(n) holds n characters: a cut never splits one.
            std::string s = valueText(v);
            s.resize(veltrano::characterOffset(s, static_cast<std::size_t>(column.width)));
            return Value::text(std::move(s));
        }
        case ColumnType::Integer:
            return toWhole(v, target, -2147483648.0, 2147483647.0);
        case ColumnType::SmallInt:
            return toWhole(v, target, -32768.0, 32767.0);
        case ColumnType::Float:
            return toFloat(v, target);
        case ColumnType::Decimal: {
            const Value f = toFloat(v, target);
            const double scale = std::pow(10.0, column.decimals);
            return Value::real(std::round(f.asFloat() * scale) / scale);
        }
        case ColumnType::Logical:
            return convertForVariable(v, VarType::Logical, target);
        case ColumnType::Date:
            return toDate(v, target);
    }
    return v;
}

}  // namespace mbhost
