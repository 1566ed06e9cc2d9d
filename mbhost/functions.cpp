#include "mbhost/functions.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <filesystem>

#include "foundation/utf8.h"
#include "mbhost/evaluator.h"
#include "mbhost/geodesy.h"
#include "mbhost/lexer.h"
#include "mbhost/number_format.h"

namespace mbhost {

namespace {

using Args = std::vector<ExprPtr>;

[[noreturn]] void outOfRange(std::string_view function, std::int64_t code) {
    throw MapBasicError(errc::kArgumentRange, "Argument out of range: " + std::string(function) +
                                                  " has no code " + std::to_string(code));
}

Value logical(bool b) {
    return Value::logical(b);
}

// ---- workspace ----

Value systemInfo(Evaluator& ev, const Args& a, const RowContext* row) {
    const std::int32_t code = ev.whole(*a[0], row, "SystemInfo code");
    const HostIdentity& id = ev.workspace().identity;
    switch (code) {
        case 1:
            return Value::integer(3);  // the platform: Windows
        case 2:
            return Value::integer(std::atoi(id.version.c_str()));
        case 9:
            return Value::integer(id.mainWindowHandle);
        case 17:
            return Value::integer(id.systemInfo17);
        default:
            outOfRange("SystemInfo", code);
    }
}

Bounds tableBounds(Workspace& ws, const Table& t) {
    Bounds b;
    bool any = false;
    for (std::int32_t id = 1; id <= t.lastRowId(); ++id) {
        const Row* r = t.row(id);
        if (r == nullptr || !r->object) continue;
        const Bounds ob = ws.coordSystems.convert(*t.coordSys(), *ws.session, *r->object).bounds();
        if (!any) {
            b = ob;
            any = true;
            continue;
        }
        b.minX = std::min(b.minX, ob.minX);
        b.minY = std::min(b.minY, ob.minY);
        b.maxX = std::max(b.maxX, ob.maxX);
        b.maxY = std::max(b.maxY, ob.maxY);
    }
    return b;
}

Value tableInfo(Evaluator& ev, const Args& a, const RowContext* row) {
    Table& t = ev.table(*a[0], row);
    const std::int32_t code = ev.whole(*a[1], row, "TableInfo code");
    Workspace& ws = ev.workspace();
    switch (code) {
        case 1:
            return Value::text(t.name());
        case 2:
            return Value::integer(ws.tables.numberOf(t));
        case 3:
            return Value::integer(static_cast<std::int32_t>(t.kind()));
        case 4:
            return Value::integer(static_cast<std::int64_t>(t.data().columns.size()));
        case 5:
            return logical(t.mappable());
        case 6:
            return logical(t.readOnly());
        case 7:
            return logical(t.temporary());
        case 8:
            return Value::integer(t.rowCount());
        case 9:
            return logical(t.edited());
        case 10:
            return logical(false);
        case 19:
            return Value::text(t.data().path);
        case 25:
        case 26:
        case 27:
        case 28: {
            if (!t.mappable()) return Value::real(0);
            const Bounds b = tableBounds(ws, t);
            const double v[] = {b.minX, b.minY, b.maxX, b.maxY};
            return Value::real(v[code - 25]);
        }
        case 29:
            return Value::text(t.mappable() ? "CoordSys " + t.coordSys()->clause() : std::string());
        default:
            outOfRange("TableInfo", code);
    }
}

std::int32_t columnTypeCodeOf(ColumnType type) {
    return columnTypeCode(type);
}

Value columnInfo(Evaluator& ev, const Args& a, const RowContext* row) {
    Table& t = ev.table(*a[0], row);
    std::string column;
    const Expr& c = *a[1];
    if (c.kind == ExprKind::Name)
        column = c.name;
    else if (c.kind == ExprKind::Field)
        column = c.name;
    else
        column = ev.text(c, row, "ColumnInfo column");
    int index = t.findColumn(toLower(column));
    const std::string lower = toLower(column);
    if (index < 0 && lower.size() > 3 && lower.substr(0, 3) == "col" &&
        lower.find_first_not_of("0123456789", 3) == std::string::npos && lower.size() < 9) {
        const int n = std::stoi(lower.substr(3));
        if (n >= 1 && n <= static_cast<int>(t.data().columns.size())) index = n - 1;
    }
    if (index < 0) {
        throw MapBasicError(errc::kColumnNotFound,
                            "Column " + column + " not found in table " + t.name(), c.spot);
    }
    const ColumnDef& def = t.data().columns[static_cast<std::size_t>(index)];
    const std::int32_t code = ev.whole(*a[2], row, "ColumnInfo code");
    switch (code) {
        case 1:
            return Value::text(def.name);
        case 2:
            return Value::integer(index + 1);
        case 3:
            return Value::integer(columnTypeCodeOf(def.type));
        case 4:
            return Value::integer(def.width);
        case 5:
            return Value::integer(def.decimals);
        case 6:
            return logical(false);
        case 7:
            return logical(!t.readOnly());
        default:
            outOfRange("ColumnInfo", code);
    }
}

Value selectionInfo(Evaluator& ev, const Args& a, const RowContext* row) {
    const std::int32_t code = ev.whole(*a[0], row, "SelectionInfo code");
    Workspace& ws = ev.workspace();
    const Table* sel = ws.selection();
    switch (code) {
        case 1: {
            if (sel == nullptr) return Value::text("");
            const Table* source = ws.tables.find(sel->sourceKey);
            return Value::text(source != nullptr ? source->name() : std::string());
        }
        case 2:
            return Value::text(sel != nullptr ? sel->name() : std::string());
        case 3:
            return Value::integer(sel != nullptr ? sel->rowCount() : 0);
        default:
            outOfRange("SelectionInfo", code);
    }
}

Window& windowArg(Evaluator& ev, const Expr& e, const RowContext* row) {
    const std::int32_t windowRef = ev.whole(e, row, "a window");
    Window* w = ev.workspace().windows.find(windowRef);
    if (w == nullptr) {
        throw MapBasicError(errc::kWindowNotFound,
                            "Window " + std::to_string(windowRef) + " does not exist", e.spot);
    }
    return *w;
}

Value applicationWindowInfo(Workspace& ws, std::int32_t code) {
    switch (code) {
        case 1:
            return Value::text(ws.identity.applicationTitle);
        case 3:
            return Value::integer(wintype::kApplication);
        case 9:
            return Value::integer(2);
        case 12:
            return Value::integer(ws.identity.mainWindowHandle);
        default:
            outOfRange("WindowInfo", code);
    }
}

Value windowInfo(Evaluator& ev, const Args& a, const RowContext* row) {
    const std::int32_t code = ev.whole(*a[1], row, "WindowInfo code");
    if (a[0]->kind == ExprKind::Literal && a[0]->literal.isNumber() &&
        a[0]->literal.number() == wintype::kApplication) {
        return applicationWindowInfo(ev.workspace(), code);
    }
    const Window& w = windowArg(ev, *a[0], row);
    switch (code) {
        case 1:
            return Value::text(w.title);
        case 3:
            return Value::integer(w.type);
        case 4:
            return Value::real(w.widthInches);
        case 5:
            return Value::real(w.heightInches);
        case 6:
            return Value::real(w.leftInches);
        case 7:
            return Value::real(0.5);
        case 9:
            return Value::integer(w.state);
        case 10: {
            if (w.tableKeys.empty()) return Value::text("");
            const Table* t = ev.workspace().tables.find(w.tableKeys.front());
            return Value::text(t != nullptr ? t->name() : std::string());
        }
        case 11:
            return logical(w.shown);
        case 12:
            return Value::integer(w.handle());
        default:
            outOfRange("WindowInfo", code);
    }
}

Value mapperInfo(Evaluator& ev, const Args& a, const RowContext* row) {
    const Window& w = windowArg(ev, *a[0], row);
    const std::int32_t code = ev.whole(*a[1], row, "MapperInfo code");
    if (w.type != wintype::kMapper) {
        throw MapBasicError(errc::kWindowNotFound,
                            "Window " + std::to_string(w.id) + " is not a map window", a[0]->spot);
    }
    Workspace& ws = ev.workspace();
    const double unit = metresPerUnit(w.distanceUnits);
    switch (code) {
        case 1:
            return Value::real(w.zoomMetres / unit);
        case 2:
            return Value::real(w.zoomMetres / (w.widthInches * 0.0254));
        case 3:
        case 4: {
            const Point c = ws.coordSystems.convert(*w.coordSys, *ws.session, w.center);
            return Value::real(code == 3 ? c.x : c.y);
        }
        case 11:
            return Value::text(w.distanceUnits);
        default:
            outOfRange("MapperInfo", code);
    }
}

Value tempFileName(Evaluator& ev, const Args& a, const RowContext* row) {
    std::string dir = ev.text(*a[0], row, "TempFileName$ directory");
    Workspace& ws = ev.workspace();
    std::error_code ec;
    if (dir.empty()) dir = ws.identity.tempDirectory;
    if (dir.empty()) dir = std::filesystem::temp_directory_path(ec).string();
    for (int attempt = 0; attempt < 10000; ++attempt) {
        char name[32];
        std::snprintf(name, sizeof name, "~MAP%04X.TMP", ws.nextTempFile++ & 0xFFFF);
        const auto path = std::filesystem::path(dir) / name;
        if (!std::filesystem::exists(path, ec)) return Value::text(path.string());
    }
    throw MapBasicError(errc::kFile, "No free temporary file name in " + dir);
}

Value pathToTableName(Evaluator& ev, const Args& a, const RowContext* row) {
    const std::string path = ev.text(*a[0], row, "PathToTableName$ path");
    // Either separator: the path may come from a host on another system.
    const auto slash = path.find_last_of("/\\");
    std::string stem = slash == std::string::npos ? path : path.substr(slash + 1);
    if (const auto dot = stem.find_last_of('.'); dot != std::string::npos && dot > 0) {
        stem.erase(dot);
    }
    for (char& c : stem) {
        const auto u = static_cast<unsigned char>(c);
        if (!(std::isalnum(u) || c == '_' || u >= 0x80)) c = '_';
    }
    if (!stem.empty() && std::isdigit(static_cast<unsigned char>(stem.front()))) {
        stem.insert(0, "_");
    }
    return Value::text(stem);
}

// ---- objects ----

const std::vector<Point>& section(const Geometry& g, std::int32_t s, std::string_view fn) {
    if (s < 1 || s > static_cast<std::int32_t>(g.parts.size())) {
        throw MapBasicError(errc::kArgumentRange, std::string(fn) + ": the object has no section " +
                                                      std::to_string(s) + " (it has " +
                                                      std::to_string(g.parts.size()) + ")");
    }
    return g.parts[static_cast<std::size_t>(s - 1)];
}

Value objectInfo(Evaluator& ev, const Args& a, const RowContext* row) {
    const ObjectValue o = ev.object(*a[0], row, "ObjectInfo object");
    const std::int32_t code = ev.whole(*a[1], row, "ObjectInfo code");
    const Geometry& g = *o.geometry;
    if (code == 1) return Value::integer(static_cast<std::int32_t>(g.type));
    if (code == 3 && g.type == ObjectType::Text) return Value::text(g.text);
    if (code == 20) return Value::integer(g.nodeCount());
    if (code == 21) return Value::integer(static_cast<std::int64_t>(g.parts.size()));
    if (code > 21)
        return Value::integer(
            static_cast<std::int64_t>(section(g, code - 21, "ObjectInfo").size()));
    outOfRange("ObjectInfo", code);
}

Value objectGeography(Evaluator& ev, const Args& a, const RowContext* row) {
    const ObjectValue o = ev.object(*a[0], row, "ObjectGeography object");
    const std::int32_t code = ev.whole(*a[1], row, "ObjectGeography code");
    if (code < 1 || code > 4) outOfRange("ObjectGeography", code);
    Workspace& ws = ev.workspace();
    const Geometry& g = *o.geometry;
    if ((g.type == ObjectType::Line || g.type == ObjectType::Point) && !g.parts.empty() &&
        !g.parts.front().empty()) {
        const auto& nodes = g.parts.front();
        const Point p = ws.coordSystems.convert(*o.coordSys, *ws.session,
                                                code <= 2 ? nodes.front() : nodes.back());
        return Value::real(code % 2 == 1 ? p.x : p.y);
    }
    const Bounds b = ws.coordSystems.convert(*o.coordSys, *ws.session, g).bounds();
    const double v[] = {b.minX, b.minY, b.maxX, b.maxY};
    return Value::real(v[code - 1]);
}

Value objectNode(Evaluator& ev, const Args& a, const RowContext* row, bool wantX) {
    const char* fn = wantX ? "ObjectNodeX" : "ObjectNodeY";
    const ObjectValue o = ev.object(*a[0], row, fn);
    const std::int32_t s = ev.whole(*a[1], row, "section number");
    const std::int32_t n = ev.whole(*a[2], row, "node number");
    const auto& nodes = section(*o.geometry, s, fn);
    if (n < 1 || n > static_cast<std::int32_t>(nodes.size())) {
        throw MapBasicError(errc::kArgumentRange, std::string(fn) + ": section " +
                                                      std::to_string(s) + " has no node " +
                                                      std::to_string(n) + " (it has " +
                                                      std::to_string(nodes.size()) + ")");
    }
    Workspace& ws = ev.workspace();
    const Point p =
        ws.coordSystems.convert(*o.coordSys, *ws.session, nodes[static_cast<std::size_t>(n - 1)]);
    return Value::real(wantX ? p.x : p.y);
}

double unitArg(Evaluator& ev, const Expr& e, const RowContext* row) {
    return metresPerUnit(ev.text(e, row, "the distance unit"));
}

Value measure(Evaluator& ev, const Args& a, const RowContext* row, bool perimeter) {
    const ObjectValue o = ev.object(*a[0], row, perimeter ? "Perimeter" : "ObjectLen");
    const double unit = unitArg(ev, *a[1], row);
    Measurer& m = ev.workspace().measurer;
    const double metres =
        perimeter ? m.perimeter(*o.coordSys, *o.geometry) : m.length(*o.coordSys, *o.geometry);
    return Value::real(metres / unit);
}

Value area(Evaluator& ev, const Args& a, const RowContext* row) {
    const ObjectValue o = ev.object(*a[0], row, "Area");
    std::string unit = ev.text(*a[1], row, "the area unit");
    if (toLower(unit).rfind("sq ", 0) == 0) unit = unit.substr(3);
    const double perUnit = metresPerUnit(unit);
    Workspace& ws = ev.workspace();
    // Planar area in the session's system, scaled; enough for what mbhost is asked.
    double total = 0;
    const Geometry g = ws.coordSystems.convert(*o.coordSys, *ws.session, *o.geometry);
    if (g.type != ObjectType::Region) return Value::real(0);
    for (const auto& ring : g.parts) {
        double twice = 0;
        for (std::size_t i = 0; i < ring.size(); ++i) {
            const Point& p = ring[i];
            const Point& q = ring[(i + 1) % ring.size()];
            twice += p.x * q.y - q.x * p.y;
        }
        total += std::fabs(twice) / 2;
    }
    const double scale = ws.session->isLatLong() ? 0 : ws.session->metresPerUnit();
    return Value::real(total * scale * scale / (perUnit * perUnit));
}

Value distance(Evaluator& ev, const Args& a, const RowContext* row) {
    const double x1 = ev.number(*a[0], row, "Distance x1");
    const double y1 = ev.number(*a[1], row, "Distance y1");
    const double x2 = ev.number(*a[2], row, "Distance x2");
    const double y2 = ev.number(*a[3], row, "Distance y2");
    const double unit = unitArg(ev, *a[4], row);
    Workspace& ws = ev.workspace();
    return Value::real(ws.measurer.distance(*ws.session, {x1, y1}, {x2, y2}) / unit);
}

Value createPoint(Evaluator& ev, const Args& a, const RowContext* row) {
    const double x = ev.number(*a[0], row, "CreatePoint x");
    const double y = ev.number(*a[1], row, "CreatePoint y");
    return Value::object(ObjectValue{std::make_shared<const Geometry>(Geometry::point(x, y)),
                                     ev.workspace().session});
}

Value createLine(Evaluator& ev, const Args& a, const RowContext* row) {
    double v[4];
    for (int i = 0; i < 4; ++i)
        v[i] = ev.number(*a[static_cast<std::size_t>(i)], row, "CreateLine");
    return Value::object(
        ObjectValue{std::make_shared<const Geometry>(Geometry::line({v[0], v[1]}, {v[2], v[3]})),
                    ev.workspace().session});
}

Value centroid(Evaluator& ev, const Args& a, const RowContext* row, bool wantX) {
    const ObjectValue o = ev.object(*a[0], row, wantX ? "CentroidX" : "CentroidY");
    Workspace& ws = ev.workspace();
    const Bounds b = ws.coordSystems.convert(*o.coordSys, *ws.session, *o.geometry).bounds();
    return Value::real(wantX ? (b.minX + b.maxX) / 2 : (b.minY + b.maxY) / 2);
}

// ---- text and numbers ----

// Reads a number from the start of a text as Val does: blanks skipped, reading stops at the
// first character that cannot continue the number.
Value val(const std::string& s) {
    std::size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
    const std::size_t start = i;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) ++i;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) ++i;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) ++i;
    }
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < s.size() && (s[j] == '-' || s[j] == '+')) ++j;
        if (j < s.size() && std::isdigit(static_cast<unsigned char>(s[j]))) {
            i = j;
            while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) ++i;
        }
    }
    const double v = std::strtod(s.substr(start, i - start).c_str(), nullptr);
    return Value::real(std::isfinite(v) ? v : 0);
}

std::int32_t lengthArg(Evaluator& ev, const Expr& e, const RowContext* row, const char* what) {
    const std::int32_t n = ev.whole(e, row, what);
    if (n < 0)
        throw MapBasicError(errc::kArgumentRange, std::string(what) + " is negative", e.spot);
    return n;
}

Value textFunction(Evaluator& ev, Fn id, const Args& a, const RowContext* row) {
    switch (id) {
        case Fn::Str:
            return Value::text(valueText(ev.eval(*a[0], row)));
        case Fn::Format:
            return Value::text(formatPicture(ev.number(*a[0], row, "Format$ value"),
                                             ev.text(*a[1], row, "Format$ picture")));
        case Fn::Chr: {
            const std::int32_t code = ev.whole(*a[0], row, "Chr$ code");
            if (code < 0 || code > 0xFFFF) outOfRange("Chr$", code);
            return Value::text(veltrano::utf8Of(static_cast<char32_t>(code)));
        }
        case Fn::Val:
            return val(ev.text(*a[0], row, "Val"));
        case Fn::Len:
            return Value::integer(static_cast<std::int64_t>(ev.text(*a[0], row, "Len").size()));
        case Fn::UCase:
            return Value::text(toUpper(ev.text(*a[0], row, "UCase$")));
        case Fn::LCase:
            return Value::text(toLower(ev.text(*a[0], row, "LCase$")));
        case Fn::Left: {
            const std::string s = ev.text(*a[0], row, "Left$");
            return Value::text(
                s.substr(0, static_cast<std::size_t>(lengthArg(ev, *a[1], row, "Left$ length"))));
        }
        case Fn::Right: {
            const std::string s = ev.text(*a[0], row, "Right$");
            const auto n = std::min<std::size_t>(
                s.size(), static_cast<std::size_t>(lengthArg(ev, *a[1], row, "Right$ length")));
            return Value::text(s.substr(s.size() - n));
        }
        case Fn::Mid: {
            const std::string s = ev.text(*a[0], row, "Mid$");
            const std::int32_t from = ev.whole(*a[1], row, "Mid$ position");
            const std::int32_t n = lengthArg(ev, *a[2], row, "Mid$ length");
            if (from < 1) outOfRange("Mid$", from);
            if (static_cast<std::size_t>(from) > s.size()) return Value::text("");
            return Value::text(
                s.substr(static_cast<std::size_t>(from - 1), static_cast<std::size_t>(n)));
        }
        case Fn::LTrim: {
            std::string s = ev.text(*a[0], row, "LTrim$");
            s.erase(0, s.find_first_not_of(' ') == std::string::npos ? s.size()
                                                                     : s.find_first_not_of(' '));
            return Value::text(s);
        }
        case Fn::RTrim: {
            std::string s = ev.text(*a[0], row, "RTrim$");
            const auto last = s.find_last_not_of(' ');
            s.erase(last == std::string::npos ? 0 : last + 1);
            return Value::text(s);
        }
        case Fn::Asc: {
            const std::string s = ev.text(*a[0], row, "Asc");
            return Value::integer(s.empty() ? 0 : static_cast<unsigned char>(s.front()));
        }
        default:
            break;
    }
    return {};
}

Value numberFunction(Evaluator& ev, Fn id, const Args& a, const RowContext* row) {
    switch (id) {
        case Fn::Int:
            return Value::real(std::floor(ev.number(*a[0], row, "Int")));
        case Fn::Fix:
            return Value::real(std::trunc(ev.number(*a[0], row, "Fix")));
        case Fn::Round: {
            const double v = ev.number(*a[0], row, "Round value");
            const double step = ev.number(*a[1], row, "Round step");
            if (step == 0) return Value::real(v);
            return Value::real(std::round(v / step) * step);
        }
        case Fn::Abs: {
            const Value v = ev.eval(*a[0], row);
            if (v.kind() == ValueKind::Integer) return Value::integer(std::llabs(v.asInteger()));
            return Value::real(std::fabs(ev.number(*a[0], row, "Abs")));
        }
        case Fn::Sqr: {
            const double v = ev.number(*a[0], row, "Sqr");
            if (v < 0) throw MapBasicError(errc::kArgumentRange, "Sqr of a negative number");
            return Value::real(std::sqrt(v));
        }
        case Fn::Minimum:
            return Value::real(
                std::min(ev.number(*a[0], row, "Minimum"), ev.number(*a[1], row, "Minimum")));
        case Fn::Maximum:
            return Value::real(
                std::max(ev.number(*a[0], row, "Maximum"), ev.number(*a[1], row, "Maximum")));
        case Fn::CurDate: {
            const auto today = std::chrono::year_month_day(
                std::chrono::floor<std::chrono::days>(std::chrono::system_clock::now()));
            return Value::date(Date{static_cast<int>(today.year()) * 10000 +
                                    static_cast<int>(static_cast<unsigned>(today.month())) * 100 +
                                    static_cast<int>(static_cast<unsigned>(today.day()))});
        }
        default:
            break;
    }
    return {};
}

}  // namespace

std::int32_t columnTypeCode(ColumnType type) {
    switch (type) {
        case ColumnType::Char:
            return 1;
        case ColumnType::Decimal:
            return 2;
        case ColumnType::Float:
            return 3;
        case ColumnType::Integer:
            return 4;
        case ColumnType::SmallInt:
            return 5;
        case ColumnType::Date:
            return 6;
        case ColumnType::Logical:
            return 7;
    }
    return 0;
}

std::string columnTypeText(const ColumnDef& c) {
    switch (c.type) {
        case ColumnType::Char:
            return "Char(" + std::to_string(c.width) + ")";
        case ColumnType::Decimal:
            return "Decimal(" + std::to_string(c.width) + "," + std::to_string(c.decimals) + ")";
        case ColumnType::Float:
            return "Float";
        case ColumnType::Integer:
            return "Integer";
        case ColumnType::SmallInt:
            return "SmallInt";
        case ColumnType::Date:
            return "Date";
        case ColumnType::Logical:
            return "Logical";
    }
    return {};
}

Value callFunction(Evaluator& ev, const Expr& call, const RowContext* row) {
    const Args& a = call.args;
    Workspace& ws = ev.workspace();
    switch (call.function) {
        case Fn::SystemInfo:
            return systemInfo(ev, a, row);
        case Fn::TableInfo:
            return tableInfo(ev, a, row);
        case Fn::ColumnInfo:
            return columnInfo(ev, a, row);
        case Fn::NumTables:
            return Value::integer(ws.tables.size());
        case Fn::SelectionInfo:
            return selectionInfo(ev, a, row);
        case Fn::EOT:
            return logical(ev.table(*a[0], row).eot());
        case Fn::NumWindows:
            return Value::integer(ws.windows.documentCount());
        case Fn::NumAllWindows:
            return Value::integer(ws.windows.allCount());
        case Fn::FrontWindow:
            return Value::integer(ws.windows.frontWindow());
        case Fn::WindowId:
            return Value::integer(ws.windows.idOfNumber(ev.whole(*a[0], row, "WindowId number")));
        case Fn::WindowInfo:
            return windowInfo(ev, a, row);
        case Fn::MapperInfo:
            return mapperInfo(ev, a, row);
        case Fn::TempFileName:
            return tempFileName(ev, a, row);
        case Fn::PathToTableName:
            return pathToTableName(ev, a, row);
        case Fn::ObjectInfo:
            return objectInfo(ev, a, row);
        case Fn::ObjectGeography:
            return objectGeography(ev, a, row);
        case Fn::ObjectNodeX:
            return objectNode(ev, a, row, true);
        case Fn::ObjectNodeY:
            return objectNode(ev, a, row, false);
        case Fn::ObjectLen:
            return measure(ev, a, row, false);
        case Fn::Perimeter:
            return measure(ev, a, row, true);
        case Fn::Area:
            return area(ev, a, row);
        case Fn::Distance:
            return distance(ev, a, row);
        case Fn::CreatePoint:
            return createPoint(ev, a, row);
        case Fn::CreateLine:
            return createLine(ev, a, row);
        case Fn::CentroidX:
            return centroid(ev, a, row, true);
        case Fn::CentroidY:
            return centroid(ev, a, row, false);
        case Fn::Str:
        case Fn::Format:
        case Fn::Chr:
        case Fn::Val:
        case Fn::Len:
        case Fn::UCase:
        case Fn::LCase:
        case Fn::Left:
        case Fn::Right:
        case Fn::Mid:
        case Fn::LTrim:
        case Fn::RTrim:
        case Fn::Asc:
            return textFunction(ev, call.function, a, row);
        case Fn::Int:
        case Fn::Fix:
        case Fn::Round:
        case Fn::Abs:
        case Fn::Sqr:
        case Fn::Minimum:
        case Fn::Maximum:
        case Fn::CurDate:
            return numberFunction(ev, call.function, a, row);
        case Fn::Count:
        case Fn::Min:
        case Fn::Max:
        case Fn::Sum:
        case Fn::Avg:
            break;
    }
    throw MapBasicError(errc::kSyntax,
                        "Aggregate function " + call.name + " is allowed only in a Select list");
}

}  // namespace mbhost
