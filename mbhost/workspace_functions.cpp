// Functions that ask about the workspace: its tables, columns, selection and windows.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>

#include "foundation/host_codes.h"
#include "mbhost/function_groups.h"
#include "mbhost/lexer.h"

namespace mbhost {

namespace {
using namespace veltrano::host_code;

Value systemInfo(Evaluator& ev, const Expr& call, const RowContext* row) {
    const std::int32_t code = ev.whole(*call.args[0], row, "SystemInfo code");
    const HostIdentity& id = ev.workspace().identity;
    switch (code) {
        case system_info::kPlatform:
            return Value::integer(kWindowsPlatform);
        case system_info::kAppVersion:
            return Value::integer(std::atoi(id.version.c_str()));
        case system_info::kMainWindow:
            return Value::integer(id.mainWindowHandle);
        case system_info::kVersion:
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
        b = any ? united(b, ob) : ob;
        any = true;
    }
    return b;
}

Value tableInfo(Evaluator& ev, const Expr& call, const RowContext* row) {
    Table& t = ev.table(*call.args[0], row);
    const std::int32_t code = ev.whole(*call.args[1], row, "TableInfo code");
    Workspace& ws = ev.workspace();
    switch (code) {
        case table_info::kName:
            return Value::text(t.name());
        case table_info::kNumber:
            return Value::integer(ws.tables.numberOf(t));
        case table_info::kType:
            return Value::integer(static_cast<std::int32_t>(t.kind()));
        case table_info::kColumns:
            return Value::integer(static_cast<std::int64_t>(t.data().columns.size()));
        case table_info::kMappable:
            return Value::logical(t.mappable());
        case table_info::kReadOnly:
            return Value::logical(t.readOnly());
        case table_info::kTemporary:
            return Value::logical(t.temporary());
        case table_info::kRows:
            return Value::integer(t.rowCount());
        case table_info::kEdited:
            return Value::logical(t.edited());
        case table_info::kFastEdit:
            return Value::logical(false);
        case table_info::kPath:
            return Value::text(t.data().path);
        case table_info::kMinX:
        case table_info::kMinY:
        case table_info::kMaxX:
        case table_info::kMaxY: {
            if (!t.mappable()) return Value::real(0);
            const Bounds b = tableBounds(ws, t);
            const double v[] = {b.minX, b.minY, b.maxX, b.maxY};
            return Value::real(v[code - table_info::kMinX]);
        }
        case table_info::kCoordSys:
            return Value::text(t.mappable() ? "CoordSys " + t.coordSys()->clause() : std::string());
        default:
            outOfRange("TableInfo", code);
    }
}

Value columnInfo(Evaluator& ev, const Expr& call, const RowContext* row) {
    Table& t = ev.table(*call.args[0], row);
    std::string column;
    const Expr& c = *call.args[1];
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
    const std::int32_t code = ev.whole(*call.args[2], row, "ColumnInfo code");
    switch (code) {
        case column_info::kName:
            return Value::text(def.name);
        case column_info::kNumber:
            return Value::integer(index + 1);
        case column_info::kType:
            return Value::integer(columnTypeCode(def.type));
        case column_info::kWidth:
            return Value::integer(def.width);
        case column_info::kDecimals:
            return Value::integer(def.decimals);
        case column_info::kIndexed:
            return Value::logical(false);
        case column_info::kEditable:
            return Value::logical(!t.readOnly());
        default:
            outOfRange("ColumnInfo", code);
    }
}

Value selectionInfo(Evaluator& ev, const Expr& call, const RowContext* row) {
    const std::int32_t code = ev.whole(*call.args[0], row, "SelectionInfo code");
    Workspace& ws = ev.workspace();
    const Table* sel = ws.selection();
    switch (code) {
        case selection_info::kTableName: {
            if (sel == nullptr) return Value::text("");
            const Table* source = ws.tables.find(sel->sourceKey);
            return Value::text(source != nullptr ? source->name() : std::string());
        }
        case selection_info::kSelectionName:
            return Value::text(sel != nullptr ? sel->name() : std::string());
        case selection_info::kRows:
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
        case window_info::kTitle:
            return Value::text(ws.identity.applicationTitle);
        case window_info::kType:
            return Value::integer(wintype::kApplication);
        case window_info::kStatus:
            return Value::integer(kWindowMaximised);
        case window_info::kHandle:
            return Value::integer(ws.identity.mainWindowHandle);
        default:
            outOfRange("WindowInfo", code);
    }
}

Value windowInfo(Evaluator& ev, const Expr& call, const RowContext* row) {
    const std::int32_t code = ev.whole(*call.args[1], row, "WindowInfo code");
    if (call.args[0]->kind == ExprKind::Literal && call.args[0]->literal.isNumber() &&
        call.args[0]->literal.number() == wintype::kApplication) {
        return applicationWindowInfo(ev.workspace(), code);
    }
    const Window& w = windowArg(ev, *call.args[0], row);
    switch (code) {
        case window_info::kTitle:
            return Value::text(w.title);
        case window_info::kType:
            return Value::integer(w.type);
        case window_info::kWidth:
            return Value::real(w.widthInches);
        case window_info::kHeight:
            return Value::real(w.heightInches);
        case window_info::kLeft:
            return Value::real(w.leftInches);
        case window_info::kTop:
            return Value::real(0.5);
        case window_info::kStatus:
            return Value::integer(w.state);
        case window_info::kTable: {
            if (w.tableKeys.empty()) return Value::text("");
            const Table* t = ev.workspace().tables.find(w.tableKeys.front());
            return Value::text(t != nullptr ? t->name() : std::string());
        }
        case window_info::kOpen:
            return Value::logical(w.shown);
        case window_info::kHandle:
            return Value::integer(w.handle());
        default:
            outOfRange("WindowInfo", code);
    }
}

Value mapperInfo(Evaluator& ev, const Expr& call, const RowContext* row) {
    const Window& w = windowArg(ev, *call.args[0], row);
    const std::int32_t code = ev.whole(*call.args[1], row, "MapperInfo code");
    if (w.type != wintype::kMapper) {
        throw MapBasicError(errc::kWindowNotFound,
                            "Window " + std::to_string(w.id) + " is not a map window",
                            call.args[0]->spot);
    }
    Workspace& ws = ev.workspace();
    const double unit = metresPerUnit(w.distanceUnits);
    switch (code) {
        case mapper_info::kZoom:
            return Value::real(w.zoomMetres / unit);
        case mapper_info::kScale:
            return Value::real(w.zoomMetres / (w.widthInches * 0.0254));
        case mapper_info::kCenterX:
        case mapper_info::kCenterY: {
            const Point c = ws.coordSystems.convert(*w.coordSys, *ws.session, w.center);
            return Value::real(code == mapper_info::kCenterX ? c.x : c.y);
        }
        case mapper_info::kDistanceUnits:
            return Value::text(w.distanceUnits);
        default:
            outOfRange("MapperInfo", code);
    }
}

Value tempFileName(Evaluator& ev, const Expr& call, const RowContext* row) {
    std::string dir = ev.text(*call.args[0], row, "TempFileName$ directory");
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

Value pathToTableName(Evaluator& ev, const Expr& call, const RowContext* row) {
    return Value::text(tableNameOfPath(ev.text(*call.args[0], row, "PathToTableName$ path")));
}

Value numTables(Evaluator& ev, const Expr&, const RowContext*) {
    return Value::integer(ev.workspace().tables.size());
}

Value eot(Evaluator& ev, const Expr& call, const RowContext* row) {
    return Value::logical(ev.table(*call.args[0], row).eot());
}

Value numWindows(Evaluator& ev, const Expr&, const RowContext*) {
    return Value::integer(ev.workspace().windows.documentCount());
}

Value numAllWindows(Evaluator& ev, const Expr&, const RowContext*) {
    return Value::integer(ev.workspace().windows.allCount());
}

Value frontWindow(Evaluator& ev, const Expr&, const RowContext*) {
    return Value::integer(ev.workspace().windows.frontWindow());
}

Value windowId(Evaluator& ev, const Expr& call, const RowContext* row) {
    const std::int32_t number = ev.whole(*call.args[0], row, "WindowId number");
    return Value::integer(ev.workspace().windows.idOfNumber(number));
}

constexpr FunctionSpec kFunctions[] = {
    {"systeminfo", 1, 1, systemInfo},       {"tableinfo", 2, 2, tableInfo},
    {"columninfo", 3, 3, columnInfo},       {"numtables", 0, 0, numTables},
    {"selectioninfo", 1, 1, selectionInfo}, {"eot", 1, 1, eot},
    {"numwindows", 0, 0, numWindows},       {"numallwindows", 0, 0, numAllWindows},
    {"frontwindow", 0, 0, frontWindow},     {"windowid", 1, 1, windowId},
    {"windowinfo", 2, 2, windowInfo},       {"mapperinfo", 2, 2, mapperInfo},
    {"tempfilename$", 1, 1, tempFileName},  {"pathtotablename$", 1, 1, pathToTableName},
};

}  // namespace

std::span<const FunctionSpec> workspaceFunctions() {
    return kFunctions;
}

std::string tableNameOfPath(const std::string& path) {
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
    return stem;
}

}  // namespace mbhost
