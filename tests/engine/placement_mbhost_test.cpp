// Placement end to end on a real host (mbhost) and real geometry. The expected positions are
// computed here independently: geodesics with PROJ, projected segments from the host's own
// node distances.
#include <geodesic.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <random>

#include "automation/inprocess/inprocess_automation.h"
#include "bench/support/placement_workspace.h"
#include "engine/obj_to_array.h"
#include "foundation/host_number.h"
#include "support/fake_ports.h"

namespace veltrano::testing {
namespace {

geod_geodesic wgs84() {
    geod_geodesic g;
    geod_init(&g, 6378137.0, 1 / 298.257223563);
    return g;
}

double geodesicM(const mbhost::Point& a, const mbhost::Point& b) {
    static const geod_geodesic g = wgs84();
    double s12 = 0;
    geod_inverse(&g, a.y, a.x, b.y, b.x, &s12, nullptr, nullptr);
    return s12;
}

// Distances from the measuring end's node to every node of one section.
std::vector<double> cumulative(const std::vector<mbhost::Point>& nodes,
                               double (*measure)(const mbhost::Point&, const mbhost::Point&)) {
    std::vector<double> along{0};
    for (std::size_t i = 1; i < nodes.size(); ++i) {
        along.push_back(along.back() + measure(nodes[i - 1], nodes[i]));
    }
    return along;
}

// The segment [k, k + 1] on which distance d falls.
std::size_t segmentOf(const std::vector<double>& along, double d) {
    const auto it = std::upper_bound(along.begin(), along.end(), d);
    return static_cast<std::size_t>(it - along.begin()) - 1;
}

class PlacementOnMbhost : public ::testing::Test {
protected:
    void open(mbhost::TableData lines, mbhost::TableData points) {
        host->addTable(std::move(lines));
        host->addTable(std::move(points));
        session = std::make_unique<PlacementSession>(automation);
    }
    std::vector<PlacedRow> placedRows() { return readPlacedRows(*automation, "Points"); }

    std::shared_ptr<mbhost::Host> host = std::make_shared<mbhost::Host>();
    std::shared_ptr<InProcessAutomation> automation = std::make_shared<InProcessAutomation>(host);
    std::unique_ptr<PlacementSession> session;
    std::mt19937_64 rng{20261206};
};

// The extraction's texts as the real host takes them, and its request counts: 5 for a line,
// 2N + 3 for a polyline or region of N nodes.
TEST(extraction_on_mbhost, request_counts_and_lengths_match_the_geometry) {
    auto host = std::make_shared<mbhost::Host>();
    const std::vector<mbhost::Point> line{{37.50, 55.60}, {37.51, 55.605}};
    const Sections polyline{{{37.60, 55.70}, {37.62, 55.71}, {37.65, 55.715}, {37.66, 55.72}},
                            {{37.70, 55.72}, {37.71, 55.73}},
                            {{37.0, 55.0}, {37.1, 55.0}, {37.2, 55.1}, {37.3, 55.1}, {37.3, 55.2}}};
    const Sections region{{{37.0, 55.0}, {37.01, 55.0}, {37.01, 55.01}, {37.0, 55.01}},
                          {{37.1, 55.1}, {37.11, 55.1}, {37.11, 55.11}}};
    mbhost::TableData shapes = lineTable("Shapes", kLatLongClause, {{line}, polyline, region});
    shapes.rows[0].object =
        std::make_shared<const mbhost::Geometry>(mbhost::Geometry::line(line[0], line[1]));
    auto regionObject = std::make_shared<mbhost::Geometry>(*shapes.rows[2].object);
    regionObject->type = mbhost::ObjectType::Region;
    shapes.rows[2].object = regionObject;
    host->addTable(std::move(shapes));
    auto automation = std::make_shared<InProcessAutomation>(host);
    auto counter = std::make_shared<CountingAutomation>(automation);
    automation->Do("Dim shape As Object");

    struct Case {
        const char* name;
        Sections sections;
        std::int32_t type;
        std::int32_t nodes;
        std::int64_t requests;
    };
    const std::vector<Case> cases{{"line", {line}, 3, 2, 5},
                                  {"polyline", polyline, 4, 11, 2 * 11 + 3},
                                  {"region", region, 7, 7, 2 * 7 + 3}};
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(c.name);
        automation->Do("Fetch Rec " + std::to_string(i + 1) + " From Shapes");
        automation->Do("shape = Shapes.obj");
        ObjArray rec;
        rec.tabName = "Shapes";
        rec.objType =
            static_cast<std::int32_t>(readHostNumber(automation->Eval("ObjectInfo(shape, 1)")));
        ASSERT_EQ(rec.objType, c.type);
        counter->reset();
        RecordingMessageBox boxes;
        EXPECT_EQ(objToArray(counter, "shape", rec, boxes), c.nodes);
        EXPECT_TRUE(boxes.shown.empty());
        EXPECT_EQ(counter->requests(), c.requests);
        EXPECT_EQ(rec.objType, c.type == 3 ? 4 : c.type);
        double length = 0, closing = 0;
        for (const auto& section : c.sections) {
            length += cumulative(section, geodesicM).back();
            closing += geodesicM(section.back(), section.front());
        }
        EXPECT_NEAR(rec.nodesLen, length, 1e-6);
        EXPECT_NEAR(rec.objLen, c.type == 7 ? length + closing : length, 1e-6);
        ASSERT_EQ(rec.segments.size(), c.sections.size());
        for (std::size_t s = 0; s < c.sections.size(); ++s) {
            EXPECT_EQ(rec.segments[s].nodes.back().x, c.sections[s].back().x);
            EXPECT_EQ(rec.segments[s].nodes.back().y, c.sections[s].back().y);
        }
    }
}

TEST_F(placement_on_mbhost, lat_long_points_lie_at_their_geodesic_distance_along_the_line) {
    constexpr int kLines = 40;
    constexpr int kDistancesPerLine = 5;  // 200 in all
    std::uniform_real_distribution<double> lengthKm(2, 500), fraction(0.001, 0.999);
    std::vector<Sections> lines;
    std::vector<std::vector<double>> requested;
    for (int i = 0; i < kLines; ++i) {
        const double lengthM = lengthKm(rng) * 1000;
        // Nodes at most about 5 km apart: a lon/lat chord strays from the geodesic
        // quadratically with its length, and the refinement adds up measures along it.
        const int nodes = std::max(2, static_cast<int>(std::ceil(lengthM / 4000)) + 1);
        lines.push_back(randomLatLongLine(rng, lengthM, nodes));
        const double total = cumulative(lines.back()[0], geodesicM).back();
        std::vector<double> d;
        for (int k = 0; k < kDistancesPerLine; ++k) d.push_back(fraction(rng) * total);
        requested.push_back(d);
    }
    open(lineTable("Lines", kLatLongClause, lines), pointTable("Points", kLatLongClause, true));

    std::int64_t placed = 0;
    for (int i = 0; i < kLines; ++i) {
        placed += session->placeAlongRow("Lines", i + 1, "Points", requested[i], i % 2 == 1);
    }
    EXPECT_EQ(placed, kLines * kDistancesPerLine);
    EXPECT_TRUE(session->messages().empty());

    const auto rows = placedRows();
    ASSERT_EQ(rows.size(), static_cast<std::size_t>(kLines * kDistancesPerLine));
    double worst = 0;
    for (const PlacedRow& row : rows) {
        ASSERT_GE(row.xRowId, 1);
        ASSERT_LE(row.xRowId, kLines);
        const std::size_t line = static_cast<std::size_t>(row.xRowId - 1);
        const auto& wanted = requested[line];
        EXPECT_TRUE(std::any_of(wanted.begin(), wanted.end(),
                                [&](double d) { return std::fabs(d - row.distanceM) <= 1e-9 * d; }))
            << "row of line " << row.xRowId << " at " << row.distanceM;
        std::vector<mbhost::Point> nodes = lines[line][0];
        if (line % 2 == 1) std::reverse(nodes.begin(), nodes.end());
        const auto along = cumulative(nodes, geodesicM);
        const std::size_t k = segmentOf(along, row.distanceM);
        ASSERT_LT(k + 1, nodes.size());
        const mbhost::Point p{row.x, row.y};
        const double fromNode = geodesicM(nodes[k], p);
        EXPECT_LE(fromNode, geodesicM(nodes[k], nodes[k + 1]) + 1e-6);
        const double error = std::fabs(along[k] + fromNode - row.distanceM);
        worst = std::max(worst, error);
        EXPECT_LT(error, 0.001) << "line " << row.xRowId << ", " << row.distanceM << " m";
    }
    RecordProperty("worst_error_m", std::to_string(worst));
}

TEST_F(placement_on_mbhost, utm_points_lie_at_the_linear_fraction_of_the_hosts_segment) {
    constexpr int kLines = 10;
    std::uniform_real_distribution<double> lengthKm(5, 60), fraction(0.001, 0.999);
    std::vector<Sections> lines;
    for (int i = 0; i < kLines; ++i) lines.push_back(randomUtmLine(rng, lengthKm(rng) * 1000, 30));
    open(lineTable("Lines", kUtmClause, lines), pointTable("Points", kUtmClause, true));

    // The host's own distances between the nodes, asked here with MapBasic.
    automation->Do("Set CoordSys Table Lines");
    auto hostDistance = [this](const mbhost::Point& a, const mbhost::Point& b) {
        char expr[256];
        std::snprintf(expr, sizeof expr, "Distance(%.17g, %.17g, %.17g, %.17g, \"m\")", a.x, a.y,
                      b.x, b.y);
        return readHostNumber(automation->Eval(expr));
    };
    std::vector<std::vector<double>> along(kLines), requested(kLines);
    for (int i = 0; i < kLines; ++i) {
        std::vector<mbhost::Point> nodes = lines[i][0];
        if (i % 3 == 0) std::reverse(nodes.begin(), nodes.end());
        along[i] = {0};
        for (std::size_t n = 1; n < nodes.size(); ++n) {
            along[i].push_back(along[i].back() + hostDistance(nodes[n - 1], nodes[n]));
        }
        for (int k = 0; k < 4; ++k) requested[i].push_back(fraction(rng) * along[i].back());
    }
    for (int i = 0; i < kLines; ++i) {
        EXPECT_EQ(session->placeAlongRow("Lines", i + 1, "Points", requested[i], i % 3 == 0), 4);
    }
    EXPECT_TRUE(session->messages().empty());

    const auto rows = placedRows();
    ASSERT_EQ(rows.size(), static_cast<std::size_t>(kLines * 4));
    for (const PlacedRow& row : rows) {
        const std::size_t line = static_cast<std::size_t>(row.xRowId - 1);
        ASSERT_LT(line, static_cast<std::size_t>(kLines));
        std::vector<mbhost::Point> nodes = lines[line][0];
        if (line % 3 == 0) std::reverse(nodes.begin(), nodes.end());
        const std::size_t k = segmentOf(along[line], row.distanceM);
        ASSERT_LT(k + 1, nodes.size());
        const double f = (row.distanceM - along[line][k]) / (along[line][k + 1] - along[line][k]);
        EXPECT_NEAR(row.x, nodes[k].x + (nodes[k + 1].x - nodes[k].x) * f, 1e-6);
        EXPECT_NEAR(row.y, nodes[k].y + (nodes[k + 1].y - nodes[k].y) * f, 1e-6);
    }
    // Every requested distance has its row, with the source row id.
    for (int i = 0; i < kLines; ++i) {
        for (double d : requested[i]) {
            EXPECT_EQ(std::count_if(rows.begin(), rows.end(),
                                    [&](const PlacedRow& r) {
                                        return r.xRowId == i + 1 &&
                                               std::fabs(r.distanceM - d) <= 1e-9 * d;
                                    }),
                      1)
                << "line " << i + 1 << ", " << d << " m";
        }
    }
}

TEST_F(placement_on_mbhost, run_over_a_hundred_polylines_writes_exactly_the_expected_rows) {
    constexpr int kLines = 100;
    std::uniform_real_distribution<double> lengthKm(2, 80);
    std::uniform_int_distribution<int> nodeCount(2, 30);
    std::vector<Sections> lines;
    std::vector<double> nodesLen;
    for (int i = 0; i < kLines; ++i) {
        Sections line = randomLatLongLine(rng, lengthKm(rng) * 1000, nodeCount(rng));
        // Every third line in two sections; the gap between them counts nothing.
        if (i % 3 == 0 && line[0].size() >= 4) {
            std::vector<mbhost::Point> second(line[0].begin() + 2, line[0].end());
            line[0].resize(2);
            line.push_back(second);
        }
        double length = 0;
        for (const auto& section : line) length += cumulative(section, geodesicM).back();
        nodesLen.push_back(length);
        lines.push_back(line);
    }
    open(lineTable("Lines", kLatLongClause, lines), pointTable("Points", kLatLongClause, true));

    const std::vector<double> distances{-10, 0, 1000, 5000, 5000, 25000, 60000, 1e7};
    const std::int64_t placed =
        session->placeAlongRows("Lines", kLines, "Points", distances, false);

    std::multimap<std::int32_t, double> expected;
    for (int i = 0; i < kLines; ++i) {
        for (double d : distances) {
            if (d > 0 && d < nodesLen[i]) expected.emplace(i + 1, d);
        }
    }
    EXPECT_EQ(placed, static_cast<std::int64_t>(expected.size()));
    std::multimap<std::int32_t, double> written;
    for (const PlacedRow& row : placedRows()) written.emplace(row.xRowId, row.distanceM);
    EXPECT_EQ(written, expected);
    EXPECT_TRUE(session->messages().empty());

    // No temporary variable is left in the host.
    const auto declared = session->declaredVariables();
    EXPECT_EQ(declared.size(), static_cast<std::size_t>(kLines));
    for (const auto& [key, variable] : host->workspace().variables) {
        EXPECT_NE(key.rfind("qzv", 0), 0u) << variable.name << " is still declared";
    }
    for (const auto& name : declared) {
        EXPECT_THROW(automation->Eval(name), RunTimeError) << name;
    }
}

TEST_F(placement_on_mbhost, tables_made_with_mapbasic_hold_the_generated_lines) {
    std::vector<Sections> lines{randomLatLongLine(rng, 30000, 12)};
    Sections twoSections = randomLatLongLine(rng, 20000, 6);
    twoSections.push_back({{10.5, 20.25}, {10.75, 20.5}});
    lines.push_back(twoSections);
    createTablesWithMapBasic(*automation, "Lines", "Points", kLatLongClause, lines);
    session = std::make_unique<PlacementSession>(automation);

    ASSERT_EQ(readHostNumber(automation->Eval("TableInfo(Lines, 8)")), 2.0);
    automation->Do("Fetch Rec 2 From Lines");
    automation->Do("Set CoordSys Table Lines");
    EXPECT_EQ(readHostNumber(automation->Eval("ObjectInfo(Lines.obj, 21)")), 2.0);
    EXPECT_EQ(readHostNumber(automation->Eval(
                  "format$(ObjectNodeX(Lines.obj, 1, 3),\"#0.######################E+00\")")),
              twoSections[0][2].x);
    // Both lines are longer than 25 km (the second has a 37 km section of its own).
    const std::vector<double> distances{1000, 15000, 25000};
    EXPECT_EQ(session->placeAlongRows("Lines", 2, "Points", distances, false), 6);
    EXPECT_EQ(placedRows().size(), 6u);
}

}  // namespace
}  // namespace veltrano::testing
