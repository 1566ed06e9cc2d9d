// Placement end to end on a real host (mbhost) and real geometry. The expected positions are
// computed independently: geodesics with PROJ, projected segments from the host's own node
// distances.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "automation/inprocess/inprocess_automation.h"
#include "bench/support/placement_workspace.h"
#include "engine/label_box.h"
#include "foundation/host_number.h"
#include "reference_geodesy.h"

namespace veltrano::testing {
namespace {

using Measure = std::function<double(const mbhost::Point&, const mbhost::Point&)>;

double geodesicM(const mbhost::Point& a, const mbhost::Point& b) {
    return mbhost::testing::referenceDistance(mbhost::testing::SampleSystem::LatLong, a, b);
}

std::vector<double> cumulative(const std::vector<mbhost::Point>& nodes, const Measure& measure) {
    std::vector<double> along{0};
    for (std::size_t i = 1; i < nodes.size(); ++i)
        along.push_back(along.back() + measure(nodes[i - 1], nodes[i]));
    return along;
}

std::size_t segmentOf(const std::vector<double>& along, double d) {
    return static_cast<std::size_t>(std::upper_bound(along.begin(), along.end(), d) -
                                    along.begin()) -
           1;
}

class placement_on_mbhost : public ::testing::Test {
protected:
    void open(const std::string& clause, const std::vector<Sections>& lines) {
        host = std::make_shared<mbhost::Host>();
        automation = std::make_shared<InProcessAutomation>(host);
        host->addTable(lineTable("Lines", clause, lines));
        host->addTable(pointTable("Points", clause, true));
        session = std::make_unique<PlacementSession>(automation);
    }
    std::vector<PlacedRow> place(const std::vector<std::vector<double>>& requested,
                                 const std::function<bool(int)>& fromEnd) {
        for (int i = 0; i < static_cast<int>(requested.size()); ++i) {
            EXPECT_EQ(session->placeAlongRow("Lines", i + 1, "Points", requested[i], fromEnd(i)),
                      static_cast<std::int32_t>(requested[i].size()));
        }
        EXPECT_TRUE(session->messages().empty());
        return readPlacedRows(*automation, "Points");
    }
    static void expectOneRowEach(const std::vector<PlacedRow>& rows,
                                 const std::vector<std::vector<double>>& requested) {
        for (int i = 0; i < static_cast<int>(requested.size()); ++i) {
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

    // Places the distances wanted along every line (given its index and length), from the end
    // where fromEnd says, and checks each row against its line's nodes in the placing
    // direction, their measures along the line and the segment the row's distance falls in.
    using Check = std::function<void(const PlacedRow&, const std::vector<mbhost::Point>&,
                                     const std::vector<double>&, std::size_t)>;
    using Wanted = std::function<std::vector<double>(std::size_t, double)>;
    void placeAndCheck(const std::vector<Sections>& lines, const Wanted& wanted,
                       const Measure& measure, const std::function<bool(int)>& fromEnd,
                       const Check& check) {
        std::vector<std::vector<mbhost::Point>> nodes;
        std::vector<std::vector<double>> along, requested(lines.size());
        std::size_t wantedRows = 0;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            nodes.push_back(lines[i][0]);
            if (fromEnd(static_cast<int>(i))) std::reverse(nodes[i].begin(), nodes[i].end());
            along.push_back(cumulative(nodes[i], measure));
            requested[i] = wanted(i, along[i].back());
            wantedRows += requested[i].size();
        }
        const auto rows = place(requested, fromEnd);
        ASSERT_EQ(rows.size(), wantedRows);
        expectOneRowEach(rows, requested);
        for (const PlacedRow& row : rows) {
            const auto line = static_cast<std::size_t>(row.xRowId - 1);
            ASSERT_LT(line, lines.size());
            const std::size_t k = segmentOf(along[line], row.distanceM);
            ASSERT_LT(k + 1, nodes[line].size());
            check(row, nodes[line], along[line], k);
        }
    }

    std::shared_ptr<mbhost::Host> host = std::make_shared<mbhost::Host>();
    std::shared_ptr<InProcessAutomation> automation = std::make_shared<InProcessAutomation>(host);
    std::unique_ptr<PlacementSession> session;
    std::mt19937_64 rng{20261206};
    std::uniform_real_distribution<double> fraction{0.001, 0.999};
};

TEST_F(placement_on_mbhost, lat_long_points_lie_at_their_geodesic_distance_along_the_line) {
    std::uniform_real_distribution<double> lengthKm(2, 500);
    std::vector<Sections> lines;
    std::vector<std::vector<double>> requested;
    for (int i = 0; i < 40; ++i) {
        const double lengthM = lengthKm(rng) * 1000;
        // Nodes at most about 5 km apart: a lon/lat chord strays from the geodesic
        // quadratically with its length, and the refinement adds up measures along it.
        const int nodes = std::max(2, static_cast<int>(std::ceil(lengthM / 4000)) + 1);
        lines.push_back(randomLatLongLine(rng, lengthM, nodes));
        const double total = cumulative(lines.back()[0], geodesicM).back();
        requested.emplace_back();
        for (int k = 0; k < 5; ++k) requested.back().push_back(fraction(rng) * total);
    }
    open(kLatLongClause, lines);
    placeAndCheck(
        lines, [&](std::size_t i, double) { return requested[i]; }, geodesicM,
        [](int i) { return i % 2 == 1; },
        [](const PlacedRow& row, const auto& nodes, const auto& along, std::size_t k) {
            const double fromNode = geodesicM(nodes[k], {row.x, row.y});
            EXPECT_LE(fromNode, geodesicM(nodes[k], nodes[k + 1]) + 1e-6);
            EXPECT_LT(std::fabs(along[k] + fromNode - row.distanceM), 0.001)
                << "line " << row.xRowId << ", " << row.distanceM << " m";
        });
}

TEST_F(placement_on_mbhost, projected_points_lie_at_the_linear_fraction_of_the_hosts_segment) {
    for (const std::string& clause :
         {std::string(kUtmClause), std::string("NonEarth Units \"m\" Bounds (0, 0) (1E7, 1E7)")}) {
        SCOPED_TRACE(clause);
        std::uniform_real_distribution<double> lengthKm(5, 60);
        std::vector<Sections> lines;
        for (int i = 0; i < 10; ++i) lines.push_back(randomUtmLine(rng, lengthKm(rng) * 1000, 30));
        open(clause, lines);
        automation->Do("Set CoordSys Table Lines");
        const Measure hostDistance = [this](const mbhost::Point& a, const mbhost::Point& b) {
            char expr[256];
            std::snprintf(expr, sizeof expr, "Distance(%.17g, %.17g, %.17g, %.17g, \"m\")", a.x,
                          a.y, b.x, b.y);
            return readHostNumber(automation->Eval(expr));
        };
        const Wanted fractions = [this](std::size_t, double length) {
            std::vector<double> out;
            for (int k = 0; k < 4; ++k) out.push_back(fraction(rng) * length);
            return out;
        };
        placeAndCheck(
            lines, fractions, hostDistance, [](int i) { return i % 3 == 0; },
            [](const PlacedRow& row, const auto& nodes, const auto& along, std::size_t k) {
                const double f = (row.distanceM - along[k]) / (along[k + 1] - along[k]);
                EXPECT_NEAR(row.x, nodes[k].x + (nodes[k + 1].x - nodes[k].x) * f, 1e-6);
                EXPECT_NEAR(row.y, nodes[k].y + (nodes[k + 1].y - nodes[k].y) * f, 1e-6);
            });
    }
}

// A label in a lat/long table spans 100 by 25 metres on the ground at every latitude.
TEST(label_box, spans_100_by_25_metres_on_the_ground) {
    const char* latLong = "CoordSys Earth Projection 1, 104";
    EXPECT_LT(labelExtent(latLong, 90).east, 10) << "finite at the pole";
    for (const double y : {0.0, 60.0, -80.0, 80.0}) {
        const LabelExtent box = labelExtent(latLong, y);
        const auto metresTo = [y](double east, double north) {
            return geodesicM({37.5, y}, {37.5 + east, y + north});
        };
        EXPECT_NEAR(metresTo(box.east, 0), 100, 1) << y;
        EXPECT_NEAR(metresTo(0, box.north), 25, 1) << y;
    }
}

}  // namespace
}  // namespace veltrano::testing
