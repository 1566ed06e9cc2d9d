#include "sample_workspace.h"

namespace mbhost::testing {

namespace {

GeometryPtr shape(ObjectType type, std::vector<std::vector<Point>> parts, std::string text = {}) {
    Geometry g;
    g.type = type;
    g.parts = std::move(parts);
    g.text = std::move(text);
    return std::make_shared<const Geometry>(std::move(g));
}

Row row(std::vector<Value> fields, GeometryPtr object) {
    Row r;
    r.fields = std::move(fields);
    r.object = std::move(object);
    return r;
}

TableData roads() {
    TableData t;
    t.name = "roads";
    t.path = "/data/roads.TAB";
    t.coordSysClause = kLatLongClause;
    t.columns = {{"name", ColumnType::Char, 20, 0}, {"lanes", ColumnType::Integer, 0, 0}};
    t.rows.push_back(
        row({Value::text("Ring road"), Value::integer(2)},
            shape(ObjectType::Polyline, {{{37.60, 55.70}, {37.62, 55.71}, {37.65, 55.715}},
                                         {{37.70, 55.72}, {37.71, 55.73}}})));
    t.rows.push_back(row({Value::text("Bridge"), Value::integer(4)},
                         shape(ObjectType::Line, {{{37.50, 55.60}, {37.51, 55.605}}})));
    t.rows.push_back(
        row({Value::text("Park"), Value::integer(0)},
            shape(ObjectType::Region, {{{37.0, 55.0}, {37.01, 55.0}, {37.01, 55.01}, {37.0, 55.01}},
                                       {{37.1, 55.1}, {37.11, 55.1}, {37.11, 55.11}}})));
    t.rows.push_back(
        row({Value::text("Well"), Value::integer(0)}, shape(ObjectType::Point, {{{37.3, 55.3}}})));
    return t;
}

TableData fields() {
    TableData t;
    t.name = "fields";
    t.path = "/data/fields.TAB";
    t.coordSysClause = kUtmClause;
    t.columns = {{"owner", ColumnType::Char, 30, 0}};
    t.rows.push_back(row(
        {Value::text("North")},
        shape(ObjectType::Polyline, {{{500000, 7000000}, {500300, 7000400}, {500300, 7001000}}})));
    t.rows.push_back(
        row({Value::text("South")},
            shape(ObjectType::Region,
                  {{{500000, 6990000}, {500100, 6990000}, {500100, 6990100}, {500000, 6990100}}})));
    return t;
}

TableData plan() {
    TableData t;
    t.name = "plan";
    t.path = "/data/plan.TAB";
    t.coordSysClause = kNonEarthClause;
    t.columns = {{"label", ColumnType::Char, 10, 0}};
    t.rows.push_back(
        row({Value::text("diagonal")}, shape(ObjectType::Line, {{{0, 0}, {300, 400}}})));
    t.rows.push_back(row({Value::text("corner")},
                         shape(ObjectType::Polyline, {{{0, 0}, {100, 0}, {100, 100}}})));
    return t;
}

TableData output(std::string name, bool withColumns) {
    TableData t;
    t.name = std::move(name);
    t.path = "/data/" + t.name + ".TAB";
    t.coordSysClause = kLatLongClause;
    if (withColumns) {
        t.columns = {{"distanceM", ColumnType::Float, 0, 0}, {"xRowId", ColumnType::Integer, 0, 0}};
    }
    return t;
}

TableData archive() {
    TableData t = output("archive", false);
    t.readOnly = true;
    t.rows.push_back(row({}, shape(ObjectType::Point, {{{30.0, 60.0}}})));
    return t;
}

}  // namespace

std::unique_ptr<Host> makeSampleHost() {
    HostIdentity identity;
    identity.mainWindowHandle = kSampleMainWindow;
    auto host = std::make_unique<Host>(identity);
    host->addTable(roads());
    host->addTable(fields());
    host->addTable(plan());
    host->addTable(output("points", true));
    host->addTable(output("labels", false));
    host->addTable(archive());
    return host;
}

}  // namespace mbhost::testing
