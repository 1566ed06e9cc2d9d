#include "workload/placement_workspace.h"

#include <geodesic.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "engine/set_points_on_line.h"
#include "foundation/host_number.h"

namespace veltrano::testing {

namespace {

const geod_geodesic& wgs84() {
    static const geod_geodesic g = [] {
        geod_geodesic out;
        geod_init(&out, 6378137.0, 1 / 298.257223563);
        return out;
    }();
    return g;
}

// Segment lengths vary by up to a third around the mean, so nodes are unevenly spaced.
std::vector<double> segmentLengths(std::mt19937_64& rng, double lengthM, int nodeCount) {
    std::uniform_real_distribution<double> weight(2.0 / 3, 4.0 / 3);
    std::vector<double> steps(static_cast<std::size_t>(nodeCount - 1));
    double sum = 0;
    for (double& s : steps) sum += (s = weight(rng));
    for (double& s : steps) s *= lengthM / sum;
    return steps;
}

mbhost::GeometryPtr polyline(const Sections& sections) {
    mbhost::Geometry g;
    g.type = mbhost::ObjectType::Polyline;
    g.parts = sections;
    return std::make_shared<const mbhost::Geometry>(std::move(g));
}

}  // namespace

Sections randomLatLongLine(std::mt19937_64& rng, double lengthM, int nodeCount) {
    std::uniform_real_distribution<double> lon(-150, 150), lat(-60, 60), turn(-20, 20),
        heading(-180, 180);
    double x = lon(rng), y = lat(rng), azimuth = heading(rng);
    std::vector<mbhost::Point> nodes{{x, y}};
    for (double step : segmentLengths(rng, lengthM, nodeCount)) {
        double lat2 = 0, lon2 = 0, azi2 = 0;
        geod_direct(&wgs84(), y, x, azimuth, step, &lat2, &lon2, &azi2);
        x = lon2;
        y = lat2;
        azimuth = azi2 + turn(rng);
        nodes.push_back({x, y});
    }
    return {nodes};
}

Sections randomUtmLine(std::mt19937_64& rng, double lengthM, int nodeCount) {
    std::uniform_real_distribution<double> east(400000, 600000), north(6000000, 7000000),
        turn(-0.35, 0.35), heading(-M_PI, M_PI);
    double x = east(rng), y = north(rng), angle = heading(rng);
    std::vector<mbhost::Point> nodes{{x, y}};
    for (double step : segmentLengths(rng, lengthM, nodeCount)) {
        x += step * std::cos(angle);
        y += step * std::sin(angle);
        angle += turn(rng);
        nodes.push_back({x, y});
    }
    return {nodes};
}

mbhost::TableData lineTable(const std::string& name, const std::string& clause,
                            const std::vector<Sections>& lines) {
    mbhost::TableData t;
    t.name = name;
    t.coordSysClause = clause;
    t.columns = {{"label", mbhost::ColumnType::Char, 12, 0}};
    for (std::size_t i = 0; i < lines.size(); ++i) {
        mbhost::Row row;
        row.fields = {mbhost::Value::text("line " + std::to_string(i + 1))};
        row.object = polyline(lines[i]);
        t.rows.push_back(std::move(row));
    }
    return t;
}

mbhost::TableData pointTable(const std::string& name, const std::string& clause, bool withColumns) {
    mbhost::TableData t;
    t.name = name;
    t.coordSysClause = clause;
    if (withColumns) {
        t.columns = {{"distanceM", mbhost::ColumnType::Float, 0, 0},
                     {"xRowId", mbhost::ColumnType::Integer, 0, 0}};
    }
    return t;
}

void createTablesWithMapBasic(Automation& host, const std::string& lineTableName,
                              const std::string& pointTableName, const std::string& clause,
                              const std::vector<Sections>& lines) {
    host.Do("Create Table " + lineTableName + " (label Char(12))");
    host.Do("Create Map For " + lineTableName + " CoordSys " + clause);
    host.Do("Create Table " + pointTableName + " (distanceM Float, xRowId Integer)");
    host.Do("Create Map For " + pointTableName + " CoordSys " + clause);
    host.Do("Set CoordSys " + clause);
    host.Do("Dim loadedShape As Object");
    char coordinate[64];
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::string create = "Create Pline Into Variable loadedShape";
        if (lines[i].size() > 1) create += " Multiple " + std::to_string(lines[i].size());
        for (const auto& section : lines[i]) {
            create += " " + std::to_string(section.size());
            for (const auto& p : section) {
                std::snprintf(coordinate, sizeof coordinate, " (%.17g, %.17g)", p.x, p.y);
                create += coordinate;
            }
        }
        host.Do(create);
        host.Do("Insert Into " + lineTableName + " (label, obj) Values (\"line " +
                std::to_string(i + 1) + "\", loadedShape)");
    }
    host.Do("Undim loadedShape");
}

PlacementSession::PlacementSession(AutomationPtr host)
    : counter_(std::make_shared<CountingAutomation>(std::move(host))),
      provider_(counter_),
      link_(provider_, messages_, regional_, activation_) {
    counter_->keepStatements([](std::string_view s) { return s.rfind("dim qzv", 0) == 0; });
    link_.connect2MiPro();
}

std::vector<std::string> PlacementSession::declaredVariables() const {
    std::vector<std::string> names;
    for (const auto& statement : counter_->kept()) {
        // "dim <name> as Object "
        const auto end = statement.find(' ', 4);
        names.push_back(statement.substr(4, end - 4));
    }
    return names;
}

std::int32_t PlacementSession::placeAlongRow(const std::string& source, std::int32_t rowNo,
                                             const std::string& output,
                                             std::vector<double> distances, bool fromEnd) {
    link_.xDo("Fetch Rec " + std::to_string(rowNo) + " From " + source);
    const EnginePorts ports{messages_};
    return setPointsOnLine(&link_, {distances, source, output, "distanceM", "xRowId", fromEnd},
                           ports);
}

std::int64_t PlacementSession::placeAlongRows(const std::string& source, std::int32_t rowCount,
                                              const std::string& output,
                                              const std::vector<double>& distances, bool fromEnd) {
    std::int64_t placed = 0;
    for (std::int32_t row = 1; row <= rowCount; ++row) {
        placed += placeAlongRow(source, row, output, distances, fromEnd);
    }
    return placed;
}

std::vector<PlacedRow> readPlacedRows(Automation& host, const std::string& table) {
    const std::string picture = ",\"#0.######################E+00\")";
    host.Do("Set CoordSys Table " + table);
    const auto rows =
        static_cast<std::int32_t>(readHostNumber(host.Eval("TableInfo(" + table + ", 8)")));
    std::vector<PlacedRow> out;
    for (std::int32_t r = 1; r <= rows; ++r) {
        host.Do("Fetch Rec " + std::to_string(r) + " From " + table);
        PlacedRow row;
        row.x =
            readHostNumber(host.Eval("format$(ObjectGeography(" + table + ".obj, 1)" + picture));
        row.y =
            readHostNumber(host.Eval("format$(ObjectGeography(" + table + ".obj, 2)" + picture));
        row.distanceM = readHostNumber(host.Eval("format$(" + table + ".distanceM" + picture));
        row.xRowId = static_cast<std::int32_t>(readHostNumber(host.Eval(table + ".xRowId")));
        out.push_back(row);
    }
    return out;
}

}  // namespace veltrano::testing
