#include "mbhost/statements.h"

#include <set>

#include "mbhost/functions.h"
#include "mbhost/lexer.h"
#include "mbhost/number_format.h"

namespace mbhost {

namespace {

Value emptyValueOf(VarType type, const CoordSysPtr& session) {
    switch (type) {
        case VarType::Object:
            return Value::object(ObjectValue{nullptr, session});
        case VarType::Float:
            return Value::real(0);
        case VarType::Integer:
        case VarType::SmallInt:
            return Value::integer(0);
        case VarType::String:
            return Value::text("");
        case VarType::Logical:
            return Value::logical(false);
        case VarType::Date:
            return Value::date(Date{});
    }
    return {};
}

// Region polygons are kept open: a closing node equal to the first is dropped.
void openRing(std::vector<Point>& ring) {
    if (ring.size() > 1 && ring.front() == ring.back()) ring.pop_back();
}

// Statements that need a port say so plainly when the Host has none.
[[noreturn]] void noPort(const char* what) {
    throw MapBasicError(errc::kNoPort,
                        std::string("This host cannot ") + what + ": no file storage is attached");
}

}  // namespace

void Executor::run(const Statement& statement) {
    try {
        std::visit(*this, statement.body);
    } catch (const MapBasicError& error) {
        throw error.located(statement.spot);
    }
}

Variable& Executor::variable(const std::string& name) {
    auto it = ws_.variables.find(toLower(name));
    if (it == ws_.variables.end()) {
        throw MapBasicError(errc::kUndefinedName, "Variable or Field " + name + " not defined");
    }
    return it->second;
}

Table& Executor::writableTable(const TableRef& ref) {
    Table* t = ws_.findTable(ref.name);
    if (t == nullptr) {
        throw MapBasicError(errc::kTableNotOpen, "Table " + ref.name + " is not open", ref.spot);
    }
    if (t->readOnly()) {
        throw MapBasicError(errc::kReadOnlyTable, "Table " + t->name() + " is read-only", ref.spot);
    }
    return *t;
}

std::vector<std::int32_t> Executor::matchingRows(const Table& t, const Expr* where) {
    std::vector<std::int32_t> ids;
    for (std::int32_t id = 1; id <= t.lastRowId(); ++id) {
        const Row* r = t.row(id);
        if (r == nullptr) continue;
        if (where != nullptr) {
            RowContext ctx{&t, id, r};
            const Value v = ev_.eval(*where, &ctx);
            const bool keep =
                v.kind() == ValueKind::Logical ? v.asLogical() : (v.isNumber() && v.number() != 0);
            if (v.kind() != ValueKind::Logical && !v.isNumber()) {
                typeMismatch("Where", "a logical value", v);
            }
            if (!keep) continue;
        }
        ids.push_back(id);
    }
    return ids;
}

// ---- variables ----

void Executor::operator()(const DimStmt& s) {
    std::set<std::string> seen;
    for (const auto& [name, type] : s.variables) {
        const std::string key = toLower(name);
        if (ws_.variables.count(key) != 0 || !seen.insert(key).second) {
            throw MapBasicError(errc::kAlreadyDefined, "Variable " + name + " already defined");
        }
    }
    for (const auto& [name, type] : s.variables) {
        ws_.variables[toLower(name)] = Variable{name, type, emptyValueOf(type, ws_.session)};
    }
}

void Executor::operator()(const UndimStmt& s) {
    for (const auto& name : s.names) variable(name);
    for (const auto& name : s.names) ws_.variables.erase(toLower(name));
}

void Executor::operator()(const AssignStmt& s) {
    Variable& v = variable(s.name);
    Value value = convertForVariable(ev_.eval(*s.value), v.type, "Variable " + v.name);
    v.value = std::move(value);
}

void Executor::operator()(const PrintStmt& s) {
    const std::string text = valueText(ev_.eval(*s.value));
    if (ws_.print) ws_.print(text);
}

// ---- coordinate systems and cursors ----

void Executor::operator()(const SetCoordSysStmt& s) {
    switch (s.source) {
        case SetCoordSysStmt::Source::Table: {
            const Table& t = ws_.table(s.table.name);
            if (!t.mappable()) {
                throw MapBasicError(errc::kNotMappable, "Table " + t.name() + " is not mappable",
                                    s.table.spot);
            }
            ws_.session = t.coordSys();
            return;
        }
        case SetCoordSysStmt::Source::Window:
            ws_.session = mapWindow(*s.window).coordSys;
            return;
        case SetCoordSysStmt::Source::Clause:
            ws_.session = ws_.coordSystems.get(s.clause);
            return;
    }
}

void Executor::operator()(const FetchStmt& s) {
    Table& t = ws_.table(s.table.name);
    switch (s.where) {
        case FetchStmt::Where::First:
            t.fetch(Table::Move::First);
            break;
        case FetchStmt::Where::Next:
            t.fetch(Table::Move::Next);
            break;
        case FetchStmt::Where::Prev:
            t.fetch(Table::Move::Prev);
            break;
        case FetchStmt::Where::Last:
            t.fetch(Table::Move::Last);
            break;
        case FetchStmt::Where::Rec:
            t.fetchRecord(ev_.whole(*s.record, nullptr, "Fetch Rec"));
            break;
    }
}

// ---- rows ----

void Executor::operator()(const InsertStmt& s) {
    Table& t = writableTable(s.table);
    const auto& columns = t.data().columns;
    std::vector<int> targets;  // column index, or -1 for the object
    if (s.columns.empty()) {
        for (std::size_t i = 0; i < columns.size(); ++i) targets.push_back(static_cast<int>(i));
    } else {
        std::set<int> seen;
        for (const auto& name : s.columns) {
            const std::string key = toLower(name);
            const int index = (key == "obj" || key == "object") ? -1 : t.findColumn(key);
            if (index < 0 && key != "obj" && key != "object") {
                throw MapBasicError(errc::kColumnNotFound,
                                    "Column " + name + " not found in table " + t.name());
            }
            if (!seen.insert(index).second) {
                throw MapBasicError(errc::kSyntax, "Column " + name + " is listed twice");
            }
            targets.push_back(index);
        }
    }
    if (targets.size() != s.values.size()) {
        throw MapBasicError(errc::kArgumentCount,
                            "Insert gives " + std::to_string(s.values.size()) + " values for " +
                                std::to_string(targets.size()) + " columns");
    }
    Row row;
    row.fields.resize(columns.size());
    for (std::size_t i = 0; i < targets.size(); ++i) {
        Value v = ev_.eval(*s.values[i]);
        if (targets[i] >= 0) {
            row.fields[static_cast<std::size_t>(targets[i])] =
                convertForColumn(v, columns[static_cast<std::size_t>(targets[i])]);
            continue;
        }
        if (!t.mappable()) {
            throw MapBasicError(errc::kNotMappable, "Table " + t.name() + " is not mappable");
        }
        if (v.kind() != ValueKind::Object) typeMismatch("the obj column", "an object", v);
        const ObjectValue& o = v.asObject();
        row.object = ws_.coordSystems.convert(*o.coordSys, *t.coordSys(), o.geometry);
    }
    t.appendRow(std::move(row));
}

void Executor::operator()(const UpdateStmt& s) {
    Table& t = writableTable(s.table);
    const std::vector<std::int32_t> ids = matchingRows(t, s.where.get());
    std::vector<std::pair<std::int32_t, Row>> updated;
    for (std::int32_t id : ids) {
        Row row = *t.row(id);
        RowContext ctx{&t, id, t.row(id)};
        for (const auto& [name, expr] : s.assignments) {
            const std::string key = toLower(name);
            Value v = ev_.eval(*expr, &ctx);
            if (key == "obj" || key == "object") {
                if (!t.mappable()) {
                    throw MapBasicError(errc::kNotMappable,
                                        "Table " + t.name() + " is not mappable");
                }
                if (v.kind() != ValueKind::Object) typeMismatch("the obj column", "an object", v);
                const ObjectValue& o = v.asObject();
                row.object = ws_.coordSystems.convert(*o.coordSys, *t.coordSys(), o.geometry);
                continue;
            }
            const int index = t.findColumn(key);
            if (index < 0) {
                throw MapBasicError(errc::kColumnNotFound,
                                    "Column " + name + " not found in table " + t.name());
            }
            row.fields[static_cast<std::size_t>(index)] =
                convertForColumn(v, t.data().columns[static_cast<std::size_t>(index)]);
        }
        updated.emplace_back(id, std::move(row));
    }
    for (auto& [id, row] : updated) t.replaceRow(id, std::move(row));
}

void Executor::operator()(const DeleteStmt& s) {
    Table& t = writableTable(s.table);
    for (std::int32_t id : matchingRows(t, s.where.get())) t.deleteRow(id);
}

// ---- objects ----

void Executor::operator()(const CreateObjectStmt& s) {
    Variable& v = variable(s.variable);
    if (v.type != VarType::Object) {
        throw MapBasicError(errc::kTypeMismatch, "Variable " + v.name + " is not an Object");
    }
    Geometry g;
    g.type = s.type;
    for (const auto& part : s.parts) {
        std::vector<Point> nodes;
        for (const auto& [x, y] : part) {
            nodes.push_back({ev_.number(*x, nullptr, "x"), ev_.number(*y, nullptr, "y")});
        }
        if (s.type == ObjectType::Region) openRing(nodes);
        g.parts.push_back(std::move(nodes));
    }
    if (s.text) g.text = ev_.text(*s.text, nullptr, "the text of Create Text");
    if (s.type == ObjectType::Polyline) {
        for (const auto& part : g.parts) {
            if (part.size() < 2) {
                throw MapBasicError(errc::kObject, "A polyline section needs at least 2 nodes");
            }
        }
    }
    v.value =
        Value::object(ObjectValue{std::make_shared<const Geometry>(std::move(g)), ws_.session});
}

// ---- tables ----

void Executor::openTable(TableData data) {
    if (ws_.tables.find(data.name) != nullptr || equalsIgnoreCase(data.name, "selection")) {
        throw MapBasicError(errc::kTableExists, "A table named " + data.name + " is already open");
    }
    if (data.name.empty()) throw MapBasicError(errc::kSyntax, "A table needs a name");
    std::set<std::string> names;
    for (const auto& c : data.columns) {
        if (!names.insert(toLower(c.name)).second) {
            throw MapBasicError(errc::kSyntax,
                                "Column " + c.name + " appears twice in " + data.name);
        }
    }
    for (auto& row : data.rows) row.fields.resize(data.columns.size());
    CoordSysPtr cs;
    if (!data.coordSysClause.empty()) cs = ws_.coordSystems.get(data.coordSysClause);
    ws_.tables.add(std::make_unique<Table>(std::move(data), TableKind::Base, std::move(cs)));
}

void Executor::operator()(const OpenTableStmt& s) {
    const std::string path = ev_.text(*s.path, nullptr, "the table path");
    if (!ws_.store) noPort("open table files");
    const std::string layer = s.layer ? ev_.text(*s.layer, nullptr, "the layer name") : "";
    TableData data;
    try {
        data = s.layer ? ws_.store->openLayer(path, layer) : ws_.store->open(path);
    } catch (const std::exception& e) {
        throw MapBasicError::fromPort(e);
    }
    if (!s.alias.empty()) {
        data.name = s.alias;
    } else if (s.layer) {
        data.name = tableNameOfPath(layer);
    } else {
        data.name = tableNameOfPath(path);
    }
    data.path = path;
    data.readOnly = data.readOnly || s.readOnly;
    if (!s.coordSys.empty()) {
        data.coordSysClause = ws_.coordSystems.get(s.coordSys)->clause();
        data.coordSysNote.clear();
    }
    openTable(std::move(data));
}

void Executor::operator()(const CommitTableStmt& s) {
    Table& t = ws_.table(s.table.name);
    if (t.kind() != TableKind::Base) {
        throw MapBasicError(errc::kReadOnlyTable,
                            "Table " + t.name() + " is a query: save it As a file");
    }
    const std::string path = s.path ? ev_.text(*s.path, nullptr, "the table path") : t.data().path;
    if (path.empty()) {
        throw MapBasicError(errc::kFile, "Table " + t.name() + " has no file: use Commit Table " +
                                             t.name() + " As \"path\"");
    }
    if (!s.path && t.data().readOnly) {
        throw MapBasicError(errc::kReadOnlyTable, "Table " + t.name() + " is read-only");
    }
    if (!ws_.store) noPort("write table files");
    try {
        ws_.store->write(t.data(), path);
    } catch (const std::exception& e) {
        throw MapBasicError::fromPort(e);
    }
    if (!s.path || t.data().path.empty()) t.markCommitted(path);
}

void Executor::operator()(const CreateTableStmt& s) {
    if (ws_.findTable(s.table.name) != nullptr) {
        throw MapBasicError(errc::kTableExists,
                            "A table named " + s.table.name + " is already open");
    }
    TableData data;
    data.name = s.table.name;
    data.columns = s.columns;
    if (s.file) {
        data.path = ev_.text(*s.file, nullptr, "the table file");
        if (!ws_.store) noPort("create table files");
        try {
            ws_.store->create(data, data.path);
        } catch (const std::exception& e) {
            throw MapBasicError::fromPort(e);
        }
    }
    openTable(std::move(data));
}

void Executor::operator()(const CreateMapStmt& s) {
    Table& t = writableTable(s.table);
    if (t.mappable()) {
        throw MapBasicError(errc::kTableExists, "Table " + t.name() + " is already mappable");
    }
    CoordSysPtr cs = s.clause.empty() ? ws_.session : ws_.coordSystems.get(s.clause);
    t.setCoordSys(cs, cs->clause());
}

void Executor::operator()(const CloseTableStmt& s) {
    ws_.closeTable(ws_.table(s.table.name));
}

void Executor::operator()(const CloseAllStmt&) {
    while (ws_.tables.size() > 0) ws_.closeTable(*ws_.tables.byNumber(ws_.tables.size()));
    for (const Window& w : std::vector<Window>(ws_.windows.documents())) ws_.windows.close(w.id);
}

}  // namespace mbhost
