#include "engine/points_along_object.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <functional>

#include "engine/point_on_segment.h"
#include "engine/reverse_obj_array.h"
#include "foundation/run_time_error.h"
#include "support/fake_ports.h"
#include "support/scripted_automation.h"

namespace veltrano::testing {
namespace {

const std::string kUtm = "CoordSys Earth Projection 8, 104, \"m\", 27, 0, 0.9996, 500000, 0";
const std::string kWgs84 = "CoordSys Earth Projection 1, 104";

// A straight record in a projected table: sections of nodes along the X axis, each node's
// dist measured within its section.
ObjArray straightRecord(const std::vector<std::vector<double>>& sectionXs) {
    ObjArray rec;
    rec.tabName = "Roads";
    rec.objType = 4;
    rec.nSegments = static_cast<std::int16_t>(sectionXs.size());
    rec.segments.clear();
    for (std::size_t s = 0; s < sectionXs.size(); ++s) {
        ObjSegment seg;
        seg.segNo = static_cast<std::int16_t>(s + 1);
        seg.nNodes = static_cast<std::int32_t>(sectionXs[s].size());
        for (double x : sectionXs[s]) {
            seg.nodes.push_back({x, 0, 0, x - sectionXs[s].front()});
        }
        seg.segLen = seg.nodes.back().dist;
        rec.nodesLen += seg.segLen;
        rec.segments.push_back(seg);
    }
    return rec;
}

class PointsAlongObject : public ::testing::Test {
protected:
    PointsAlongObject() { clause(kUtm); }
    void clause(const std::string& text) { host->answer("Tableinfo(Roads, 29) ", text); }
    std::int32_t walk(std::vector<double>& distances) {
        return pointsAlongObject(host, distances, rec, pts, boxes);
    }
    std::vector<double> placedDistances() const {
        std::vector<double> out;
        for (const auto& p : pts.nodes) out.push_back(p.dist);
        return out;
    }

    std::shared_ptr<ScriptedAutomation> host = std::make_shared<ScriptedAutomation>();
    RecordingMessageBox boxes;
    ObjArray rec = straightRecord({{0, 100}});
    ObjSegment pts;
};

TEST_F(PointsAlongObject, ProjectedTableAsksOnlyTheCoordinateSystem) {
    std::vector<double> distances{0, 25, 100, 150};
    EXPECT_EQ(walk(distances), 1);
    const std::vector<Request> expected{{"Do", "Set CoordSys Table Roads "},
                                        {"Eval", "Tableinfo(Roads, 29) "}};
    EXPECT_EQ(host->traffic(), expected);
    ASSERT_EQ(pts.nNodes, 1);
    ASSERT_EQ(pts.nodes.size(), 1u);
    EXPECT_DOUBLE_EQ(pts.nodes[0].x, 25.0);
    EXPECT_EQ(pts.nodes[0].y, 0.0);
    EXPECT_EQ(pts.nodes[0].mark, -1.0);
    EXPECT_EQ(pts.nodes[0].dist, 25.0);
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(PointsAlongObject, OnlyDistancesStrictlyInsideTheLengthGivePoints) {
    struct Case {
        const char* name;
        std::vector<double> distances;
        std::vector<double> placed;
    };
    const std::vector<Case> cases{
        {"zero and negative", {0, -5, -0.0}, {}},
        {"equal to the length", {100}, {}},
        {"beyond the length", {150, 1000}, {}},
        {"first positive beyond the length", {-1, 101, 150}, {}},
        {"duplicates give one point each", {40, 40, 60}, {40, 40, 60}},
        {"just inside both ends", {1e-9, 99.999999}, {1e-9, 99.999999}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto distances = c.distances;
        pts = ObjSegment{};
        EXPECT_EQ(walk(distances), static_cast<std::int32_t>(c.placed.size()));
        EXPECT_EQ(placedDistances(), c.placed);
        EXPECT_EQ(pts.nNodes, static_cast<std::int32_t>(c.placed.size()));
        for (const auto& p : pts.nodes) EXPECT_DOUBLE_EQ(p.x, p.dist);
    }
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(PointsAlongObject, SortsTheCallersListAndYieldsPointsInAscendingOrder) {
    std::vector<double> distances{30, 10, 30};
    ASSERT_EQ(walk(distances), 3);
    EXPECT_EQ(distances, (std::vector<double>{10, 30, 30}));
    EXPECT_EQ(placedDistances(), (std::vector<double>{10, 30, 30}));
    EXPECT_EQ(pts.nodes[1].x, pts.nodes[2].x);
}

TEST_F(PointsAlongObject, SectionsAreJoinedEndToEndWhateverTheGap) {
    // Section 1 from 0 to 40 (nodes at 0, 10, 40), section 2 far away from 500 to 560.
    rec = straightRecord({{0, 10, 40}, {500, 530, 560}});
    std::vector<double> distances{5, 40, 55, 69.5, 100, 120};
    ASSERT_EQ(walk(distances), 4);
    ASSERT_EQ(pts.nodes.size(), 4u);
    EXPECT_DOUBLE_EQ(pts.nodes[0].x, 5.0);
    // Equal to the first section's length: the first node of the second section.
    EXPECT_DOUBLE_EQ(pts.nodes[1].x, 500.0);
    EXPECT_EQ(pts.nodes[1].dist, 40.0);
    EXPECT_DOUBLE_EQ(pts.nodes[2].x, 515.0);
    EXPECT_DOUBLE_EQ(pts.nodes[3].x, 529.5);
    EXPECT_EQ(placedDistances(), (std::vector<double>{5, 40, 55, 69.5}));
}

TEST_F(PointsAlongObject, DistanceOnANodeIsComputedFromTheSegmentStartingThere) {
    rec = straightRecord({{0, 10, 20}});
    rec.segments[0].nodes[2].y = 10;  // a bend at the middle node
    std::vector<double> distances{10, 15};
    ASSERT_EQ(walk(distances), 2);
    EXPECT_DOUBLE_EQ(pts.nodes[0].x, 10.0);
    EXPECT_DOUBLE_EQ(pts.nodes[0].y, 0.0);
    EXPECT_DOUBLE_EQ(pts.nodes[1].x, 15.0);
    EXPECT_DOUBLE_EQ(pts.nodes[1].y, 5.0);
}

TEST_F(PointsAlongObject, FromTheEndWalksTheReversedRecord) {
    rec = straightRecord({{0, 10, 40}, {500, 530, 560}});
    reverseObjArray(rec);
    ASSERT_EQ(rec.segments.size(), 2u);
    EXPECT_EQ(rec.segments[0].segNo, 1);
    EXPECT_EQ(rec.segments[0].nodes.front().x, 560.0);
    EXPECT_EQ(rec.segments[0].nodes.front().dist, 0.0);
    EXPECT_EQ(rec.segments[0].nodes[1].dist, 30.0);
    EXPECT_EQ(rec.segments[1].segNo, 2);
    EXPECT_EQ(rec.segments[1].nodes.back().x, 0.0);
    EXPECT_EQ(rec.segments[1].nodes.back().dist, 40.0);
    EXPECT_EQ(rec.nodesLen, 100.0);
    std::vector<double> distances{5, 70};
    ASSERT_EQ(walk(distances), 2);
    EXPECT_DOUBLE_EQ(pts.nodes[0].x, 555.0);
    EXPECT_DOUBLE_EQ(pts.nodes[1].x, 30.0);
    EXPECT_EQ(placedDistances(), (std::vector<double>{5, 70}));
}

TEST(IsLatLongClause, DecidesFromTheProjectionNumber) {
    EXPECT_TRUE(isLatLongClause("CoordSys Earth Projection 1, 104"));
    EXPECT_TRUE(isLatLongClause("  coordsys earth projection 1001, 33, 7, 0, 0, 0"));
    EXPECT_TRUE(isLatLongClause("CoordSys Earth Projection 1"));
    EXPECT_FALSE(isLatLongClause(kUtm));
    EXPECT_FALSE(isLatLongClause("CoordSys Earth Projection 1008, 104, \"m\", 0"));
    EXPECT_FALSE(isLatLongClause("CoordSys Earth Projection 0, 104"));
    EXPECT_FALSE(isLatLongClause("CoordSys Earth Projection -1, 104"));
    EXPECT_FALSE(isLatLongClause("CoordSys NonEarth Units \"m\" Bounds (0, 0) (100, 100)"));
    EXPECT_FALSE(isLatLongClause("CoordSys Earth"));
    EXPECT_FALSE(isLatLongClause(""));
}

TEST_F(PointsAlongObject, ClauseSelectsTheFormOfInterpolation) {
    struct Case {
        std::string clause;
        bool iterative;
    };
    const std::vector<Case> cases{
        {kWgs84, true},
        {"CoordSys Earth Projection 1001, 104, 7, 0, 0, 0", true},
        {kUtm, false},
        {"CoordSys NonEarth Units \"m\" Bounds (0, 0) (1000, 1000)", false}};
    host->answerWith([](const std::string& e) -> std::optional<std::string> {
        if (e.rfind("format$(Distance (", 0) != 0) return std::nullopt;
        double ax, ay, x, y;
        if (std::sscanf(e.c_str(), "format$(Distance (%lf, %lf, %lf, %lf,", &ax, &ay, &x, &y) !=
            4) {
            return std::nullopt;
        }
        char out[64];
        std::snprintf(out, sizeof out, "%.17E", std::hypot(x - ax, y - ay));
        return std::string(out);
    });
    for (const auto& c : cases) {
        SCOPED_TRACE(c.clause);
        host->clearRequests();
        clause(c.clause);
        std::vector<double> distances{25};
        ASSERT_EQ(walk(distances), 1);
        EXPECT_DOUBLE_EQ(pts.nodes[0].x, 25.0);
        const auto traffic = host->traffic();
        ASSERT_EQ(traffic.size(), c.iterative ? 3u : 2u);
        if (c.iterative) {
            EXPECT_EQ(traffic[2].argument,
                      "format$(Distance (0, 0, 25, 0, \"m\" ),\"#0.######################E+00\")");
        }
    }
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(PointsAlongObject, FailuresShowTheBoxAndGiveNoPoints) {
    {
        SCOPED_TRACE("the host refuses the coordinate system");
        host->fail("Set CoordSys Table Roads ", 405, "Table Roads is not open");
        std::vector<double> distances{25};
        pts.nNodes = 7;
        EXPECT_EQ(walk(distances), 0);
        EXPECT_EQ(pts.nNodes, 7);  // untouched
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_EQ(
            boxes.shown[0],
            (ShownMessage{"-2147352567: Table Roads is not open",
                          "Application Internal Error [objToArray]:", MessageIcon::Exclamation}));
    }
    {
        SCOPED_TRACE("no host object");
        boxes.shown.clear();
        std::vector<double> distances{25};
        EXPECT_EQ(pointsAlongObject(nullptr, distances, rec, pts, boxes), 0);
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_EQ(boxes.shown[0].text.substr(0, 4), "91: ");
    }
    {
        SCOPED_TRACE("a lat/long host that refuses Distance");
        host = std::make_shared<ScriptedAutomation>();
        clause(kWgs84);
        boxes.shown.clear();
        std::vector<double> distances{25};
        EXPECT_EQ(walk(distances), 0);
        EXPECT_EQ(boxes.shown.size(), 1u);
    }
    {
        SCOPED_TRACE("a projection number beyond 32 bits");
        host = std::make_shared<ScriptedAutomation>();
        clause("CoordSys Earth Projection 99999999999, 104");
        boxes.shown.clear();
        std::vector<double> distances{25};
        EXPECT_EQ(walk(distances), 0);
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_EQ(boxes.shown[0].text, "6: Overflow");
    }
}

// The iterative form against a host whose metric stretches the X axis: the distance
// between (a, 0) and (x, 0) is |x^2 - a^2| / 100, so 100 m spans X 0 to 100 and the point
// 25 m along lies at X 50, which plain interpolation would miss by 25.
class IterativeForm : public ::testing::Test {
protected:
    std::shared_ptr<ScriptedAutomation> host = std::make_shared<ScriptedAutomation>();
    std::function<double(double, double, double, double)> metric =
        [](double ax, double, double x, double) { return std::fabs(x * x - ax * ax) / 100; };
    IterativeForm() {
        host->answerWith([this](const std::string& e) -> std::optional<std::string> {
            double ax, ay, x, y;
            if (std::sscanf(e.c_str(), "format$(Distance (%lf, %lf, %lf, %lf,", &ax, &ay, &x, &y) !=
                4) {
                return std::nullopt;
            }
            char out[64];
            std::snprintf(out, sizeof out, "%.17E", metric(ax, ay, x, y));
            return std::string(out);
        });
    }
    std::size_t distanceRequests() const { return host->traffic().size(); }
};

TEST_F(IterativeForm, ConvergesOnTheHostsMeasureWithinTheTolerance) {
    const ObjNode p = pointOnSegment(25, 0, 100, 0, 0, 100, 0, host, true);
    EXPECT_LT(std::fabs(p.x * p.x / 100 - 25), 0.001);
    EXPECT_EQ(p.y, 0.0);
    EXPECT_EQ(p.mark, -1.0);
    EXPECT_EQ(p.dist, 25.0);
    EXPECT_GT(distanceRequests(), 1u);
    EXPECT_LE(distanceRequests(), 102u);
}

TEST_F(IterativeForm, OffsetNodesMeasureFromA) {
    // A is 50 m along the object at X 50, B 25 m further at X 0 (see the metric); the
    // point 10 m from A lies where (2500 - x^2) / 100 = 10.
    const ObjNode p = pointOnSegment(60, 50, 75, 50, 0, 0, 0, host, true);
    EXPECT_EQ(p.dist, 60.0);
    EXPECT_GT(p.x, 0.0);
    EXPECT_LT(std::fabs((2500 - p.x * p.x) / 100 - 10), 0.001);
}

TEST_F(IterativeForm, StoppingRules) {
    {
        SCOPED_TRACE("first estimate within the tolerance: one request");
        metric = [](double ax, double, double x, double) { return std::fabs(x - ax) + 0.0009; };
        pointOnSegment(40, 0, 100, 0, 0, 100, 0, host, true);
        EXPECT_EQ(distanceRequests(), 1u);
    }
    {
        SCOPED_TRACE("a point exactly on its start node costs one request");
        host->clearRequests();
        metric = [](double ax, double, double x, double) { return std::fabs(x - ax); };
        const ObjNode p = pointOnSegment(30, 30, 80, 7, 8, 9, 10, host, true);
        EXPECT_EQ(distanceRequests(), 1u);
        EXPECT_EQ(p.x, 7.0);
        EXPECT_EQ(p.y, 8.0);
    }
    {
        SCOPED_TRACE("never within the tolerance: 101 steps, 102 requests, last estimate");
        host->clearRequests();
        metric = [](double, double, double, double) { return 1000.0; };
        const ObjNode p = pointOnSegment(40, 0, 100, 0, 0, 100, 0, host, true);
        EXPECT_EQ(distanceRequests(), 102u);
        EXPECT_TRUE(std::isfinite(p.x));
        EXPECT_EQ(p.dist, 40.0);
    }
    {
        SCOPED_TRACE("a chord below 1E-20 stops at once");
        host->clearRequests();
        metric = [](double, double, double, double) { return 5.0; };
        pointOnSegment(0.5e-21, 0, 1e-21, 0, 0, 1, 0, host, true);
        EXPECT_EQ(distanceRequests(), 1u);
    }
}

TEST(LinearForm, InterpolatesAtTheFractionWithoutTheHost) {
    const ObjNode p = pointOnSegment(30, 10, 50, 100, 200, 140, 100, nullptr, false);
    EXPECT_DOUBLE_EQ(p.x, 120.0);
    EXPECT_DOUBLE_EQ(p.y, 150.0);
    EXPECT_EQ(p.mark, -1.0);
    EXPECT_EQ(p.dist, 30.0);
    EXPECT_THROW(pointOnSegment(5, 5, 5, 0, 0, 1, 1, nullptr, false), RunTimeError);
}

}  // namespace
}  // namespace veltrano::testing
