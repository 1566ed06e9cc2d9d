// Select: makes a query table from one table's rows, optionally the new selection.
#include <set>

#include "mbhost/functions.h"
#include "mbhost/lexer.h"
#include "mbhost/statements.h"

namespace mbhost {

namespace {

bool isAggregate(const SelectItem& item) {
    return item.expr && item.expr->kind == ExprKind::Call &&
           item.expr->function->aggregate != Aggregate::None;
}

ColumnDef columnFor(const std::string& name, const Value& sample) {
    ColumnDef c;
    c.name = name;
    switch (sample.kind()) {
        case ValueKind::Integer:
            c.type = ColumnType::Integer;
            break;
        case ValueKind::Float:
            c.type = ColumnType::Float;
            break;
        case ValueKind::Logical:
            c.type = ColumnType::Logical;
            break;
        case ValueKind::Date:
            c.type = ColumnType::Date;
            break;
        default:
            c.type = ColumnType::Char;
            c.width = 254;
            break;
    }
    return c;
}

std::string itemName(const SelectItem& item, std::size_t index) {
    if (!item.alias.empty()) return item.alias;
    if (item.expr->kind == ExprKind::Name) return item.expr->name;
    if (item.expr->kind == ExprKind::Field) return item.expr->name;
    return "COL" + std::to_string(index + 1);
}

class Total {
public:
    Total(Evaluator& ev, const Expr& call) : ev_(ev), call_(call) {}

    void add(const RowContext& ctx) {
        if (kind() == Aggregate::Count) {
            if (call_.args[0]->kind == ExprKind::Star || !ev_.eval(*call_.args[0], &ctx).isNull()) {
                ++count_;
            }
            return;
        }
        const Value v = ev_.eval(*call_.args[0], &ctx);
        if (v.isNull()) return;
        if (!v.isNumber()) typeMismatch(call_.name, "a number", v);
        const double x = v.number();
        if (count_ == 0) min_ = max_ = x;
        min_ = std::min(min_, x);
        max_ = std::max(max_, x);
        sum_ += x;
        ++count_;
    }

    Value result() const {
        switch (kind()) {
            case Aggregate::Count:
                return Value::integer(count_);
            case Aggregate::Min:
                return Value::real(min_);
            case Aggregate::Max:
                return Value::real(max_);
            case Aggregate::Sum:
                return Value::real(sum_);
            default:
                return Value::real(count_ == 0 ? 0 : sum_ / static_cast<double>(count_));
        }
    }

private:
    Aggregate kind() const { return call_.function->aggregate; }

    Evaluator& ev_;
    const Expr& call_;
    std::int64_t count_ = 0;
    double min_ = 0, max_ = 0, sum_ = 0;
};

}  // namespace

void Executor::operator()(const SelectStmt& s) {
    const Table& from = ws_.table(s.from.name);
    const std::string baseKey = from.kind() == TableKind::Query ? from.sourceKey : from.key();
    const std::vector<std::int32_t> ids = matchingRows(from, s.where.get());

    const bool star = s.items.size() == 1 && !s.items.front().expr;
    std::size_t aggregates = 0;
    for (const auto& item : s.items) {
        if (!item.expr && !star)
            throw MapBasicError(errc::kSyntax, "'*' must stand alone in a Select list");
        if (isAggregate(item)) ++aggregates;
    }
    if (aggregates != 0 && aggregates != s.items.size()) {
        throw MapBasicError(errc::kSyntax,
                            "A Select list cannot mix aggregate functions with other columns");
    }

    TableData result;
    std::vector<std::int32_t> sourceRows;
    if (aggregates != 0) {
        std::vector<Total> totals;
        for (const auto& item : s.items) totals.emplace_back(ev_, *item.expr);
        for (std::int32_t id : ids) {
            const RowContext ctx{&from, id, from.row(id)};
            for (auto& total : totals) total.add(ctx);
        }
        Row row;
        for (std::size_t i = 0; i < totals.size(); ++i) {
            row.fields.push_back(totals[i].result());
            result.columns.push_back(columnFor(itemName(s.items[i], i), row.fields.back()));
        }
        result.rows.push_back(std::move(row));
    } else {
        if (star) result.columns = from.data().columns;
        for (std::int32_t id : ids) {
            const Row& source = *from.row(id);
            Row row;
            row.object = source.object;
            if (star) {
                row.fields = source.fields;
            } else {
                const RowContext ctx{&from, id, &source};
                for (const auto& item : s.items) row.fields.push_back(ev_.eval(*item.expr, &ctx));
            }
            result.rows.push_back(std::move(row));
            sourceRows.push_back(from.kind() == TableKind::Query
                                     ? from.sourceRows[static_cast<std::size_t>(id - 1)]
                                     : id);
        }
        if (!star) {
            for (std::size_t i = 0; i < s.items.size(); ++i) {
                const Value sample = result.rows.empty() ? ev_.eval(*s.items[i].expr, nullptr)
                                                         : result.rows.front().fields[i];
                result.columns.push_back(columnFor(itemName(s.items[i], i), sample));
            }
        }
    }

    std::string name = s.into;
    if (name.empty()) name = "Query" + std::to_string(ws_.nextQueryNumber);
    const Table* existing = ws_.tables.find(name);
    if (existing != nullptr && existing->kind() != TableKind::Query) {
        throw MapBasicError(errc::kTableExists,
                            "Table " + existing->name() + " is open: a query cannot take its name");
    }
    if (equalsIgnoreCase(name, "selection")) {
        throw MapBasicError(errc::kSyntax, "A query cannot be named Selection");
    }
    // Everything is known; from here on nothing fails.
    result.name = name;
    CoordSysPtr cs = aggregates == 0 ? from.coordSys() : nullptr;
    if (existing != nullptr) ws_.closeTable(*existing);
    if (s.into.empty()) ++ws_.nextQueryNumber;
    auto query = std::make_unique<Table>(std::move(result), TableKind::Query, std::move(cs));
    query->sourceKey = baseKey;
    query->sourceRows = std::move(sourceRows);
    const std::string key = query->key();
    ws_.tables.add(std::move(query));
    if (!s.noSelect) ws_.selectionKey = key;
}

}  // namespace mbhost
