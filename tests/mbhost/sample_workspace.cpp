#include "sample_workspace.h"

namespace mbhost::testing {

namespace {

using Parts = std::vector<std::vector<Point>>;

struct Table {
    TableData data;
    Table(std::string name, const char* clause, std::vector<ColumnDef> columns = {}) {
        data.path = "/data/" + name + ".TAB";
        data.name = std::move(name);
        data.coordSysClause = clause;
        data.columns = std::move(columns);
    }
    Table& row(std::vector<Value> fields, ObjectType type, Parts parts) {
        Geometry g;
        g.type = type;
        g.parts = std::move(parts);
        data.rows.push_back(
            Row{std::move(fields), std::make_shared<const Geometry>(std::move(g)), false});
        return *this;
    }
};

}  // namespace

std::unique_ptr<Host> makeSampleHost() {
    HostIdentity identity;
    identity.mainWindowHandle = kSampleMainWindow;
    auto host = std::make_unique<Host>(identity);
    const std::vector<ColumnDef> placement{{"distanceM", ColumnType::Float, 0, 0},
                                           {"xRowId", ColumnType::Integer, 0, 0}};
    auto name = [](const char* text) { return Value::text(text); };
    Table roads("roads", kLatLongClause,
                {{"name", ColumnType::Char, 20, 0}, {"lanes", ColumnType::Integer, 0, 0}});
    roads
        .row({name("Ring road"), Value::integer(2)}, ObjectType::Polyline,
             {{{37.60, 55.70}, {37.62, 55.71}, {37.65, 55.715}}, {{37.70, 55.72}, {37.71, 55.73}}})
        .row({name("Bridge"), Value::integer(4)}, ObjectType::Line,
             {{{37.50, 55.60}, {37.51, 55.605}}})
        .row({name("Park"), Value::integer(0)}, ObjectType::Region,
             {{{37.0, 55.0}, {37.01, 55.0}, {37.01, 55.01}, {37.0, 55.01}},
              {{37.1, 55.1}, {37.11, 55.1}, {37.11, 55.11}}})
        .row({name("Well"), Value::integer(0)}, ObjectType::Point, {{{37.3, 55.3}}});
    Table fields("fields", kUtmClause, {{"owner", ColumnType::Char, 30, 0}});
    fields
        .row({name("North")}, ObjectType::Polyline,
             {{{500000, 7000000}, {500300, 7000400}, {500300, 7001000}}})
        .row({name("South")}, ObjectType::Region,
             {{{500000, 6990000}, {500100, 6990000}, {500100, 6990100}, {500000, 6990100}}});
    Table plan("plan", kNonEarthClause, {{"label", ColumnType::Char, 10, 0}});
    plan.row({name("diagonal")}, ObjectType::Line, {{{0, 0}, {300, 400}}})
        .row({name("corner")}, ObjectType::Polyline, {{{0, 0}, {100, 0}, {100, 100}}});
    Table archive("archive", kLatLongClause);
    archive.row({}, ObjectType::Point, {{{30.0, 60.0}}}).data.readOnly = true;
    for (Table* t : {&roads, &fields, &plan}) host->addTable(std::move(t->data));
    host->addTable(Table("points", kLatLongClause, placement).data);
    host->addTable(Table("labels", kLatLongClause).data);
    host->addTable(std::move(archive.data));
    return host;
}

}  // namespace mbhost::testing
