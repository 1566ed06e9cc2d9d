// One object read from the host into nodes, and the walk along them that places the points.
#include "engine/points_along_object.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>

#include "engine/mapbasic_texts.h"
#include "engine/obj_to_array.h"
#include "engine/point_on_segment.h"
#include "engine/reverse_obj_array.h"
#include "support/fake_ports.h"
#include "support/scripted_automation.h"

namespace veltrano::testing {
namespace {

namespace mbt = mapbasic_text;

struct ScriptedNode {
    std::string xText, yText, distanceFromPrevious;  // the last: the answer for the edge to here
};
using ScriptedSections = std::vector<std::vector<ScriptedNode>>;

// Registers the answers for a polyline or region made of these sections (the order of the
// requests is pinned by the recorded-session replay).
void scriptSections(ScriptedAutomation& host, const std::string& obj,
                    const ScriptedSections& sections, const std::string& lengthQuery,
                    const std::string& lengthAnswer) {
    host.answer(mbt::count(obj, 21), std::to_string(sections.size()));
    for (std::size_t s = 0; s < sections.size(); ++s) {
        const int sectionNo = static_cast<int>(s) + 1;
        host.answer(mbt::count(obj, 21 + sectionNo), std::to_string(sections[s].size()));
        for (std::size_t n = 0; n < sections[s].size(); ++n) {
            const ScriptedNode& node = sections[s][n];
            host.answer(mbt::nodePair(obj, sectionNo, static_cast<int>(n) + 1),
                        node.xText + ";" + node.yText);
            if (n == 0) continue;
            const ScriptedNode& prev = sections[s][n - 1];
            host.answer(mbt::distance(prev.xText, prev.yText, node.xText, node.yText),
                        node.distanceFromPrevious);
        }
    }
    host.answer(lengthQuery, lengthAnswer);
}

const std::string kObj = "qzv123456";
const std::string kFailureCaption = "Application Internal Error [objToArray]:";

class obj_to_array : public ::testing::Test {
protected:
    std::int32_t extract(std::int32_t type, const std::string& table = "Roads") {
        rec = ObjArray{};
        rec.tabName = table;
        rec.objType = type;
        return objToArray(host, kObj, rec, boxes);
    }
    void expectOneBox(const std::string& textStart) {
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_EQ(boxes.shown[0].text.substr(0, textStart.size()), textStart);
        EXPECT_EQ(boxes.shown[0].caption, kFailureCaption);
    }

    std::shared_ptr<ScriptedAutomation> host = std::make_shared<ScriptedAutomation>();
    RecordingMessageBox boxes;
    ObjArray rec;
};

// Sections of 4, 2, 1 and 5 nodes, coordinates in the host's own texts (some in forms the
// program would never write) so that pasting them back unchanged is visible.
ScriptedSections fourSections() {
    return {{{"1.0E+00", "2.0E+00", ""},
             {"1.00E+00", "3.0E+00", "1.0E+00"},
             {"2.0E+00", "3.0E+00", "1.5E+00"},
             {"2.0E+00", "5.0E+00", "2.5E+00"}},
            {{"1.0E+01", "1.0E+01", ""}, {"1.1E+01", "1.0E+01", "4.0E+00"}},
            {{"5.0E+00", "5.0E+00", ""}},
            {{"2.0E+01", "0.0E+00", ""},
             {"2.1E+01", "0.0E+00", "1.0E+00"},
             {"2.2E+01", "0.0E+00", "2.0E+00"},
             {"2.3E+01", "0.0E+00", "3.0E+00"},
             {"2.4E+01", "-1.25E-01", "4.0E+00"}}};
}

TEST_F(obj_to_array, polyline_sections_keep_their_own_lengths_and_the_hosts_length) {
    scriptSections(*host, kObj, fourSections(), mbt::length(kObj), "2.5E+01");
    ASSERT_EQ(extract(4), 12);
    ASSERT_EQ(rec.nSegments, 4);
    const double lengths[] = {5.0, 4.0, 0.0, 10.0};
    const std::int32_t counts[] = {4, 2, 1, 5};
    for (int s = 0; s < 4; ++s) {
        const ObjSegment& seg = rec.segments.at(s);
        ASSERT_EQ(seg.nodes.size(), static_cast<std::size_t>(counts[s]));
        EXPECT_EQ(std::tuple(seg.segNo, seg.nNodes, seg.segLen, seg.nodes.front().dist,
                             seg.nodes.back().dist, seg.nodes.back().mark),
                  std::tuple(s + 1, counts[s], lengths[s], 0.0, lengths[s], 0.0));
    }
    EXPECT_EQ(rec.segments[0].nodes[2].dist, 2.5);
    EXPECT_EQ(rec.segments[3].nodes[4].y, -0.125);
    // The gaps between sections count nothing; the host's own length is kept apart.
    EXPECT_EQ(rec.nodesLen, 19.0);
    EXPECT_EQ(rec.objLen, 25.0);
    EXPECT_EQ(rec.objType, 4);
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(obj_to_array, region_asks_its_perimeter_and_counts_no_closing_edge) {
    scriptSections(*host, kObj,
                   {{{"0.0E+00", "0.0E+00", ""},
                     {"1.0E+01", "0.0E+00", "1.0E+01"},
                     {"1.0E+01", "1.0E+01", "1.0E+01"},
                     {"0.0E+00", "1.0E+01", "1.0E+01"}}},
                   mbt::perimeter(kObj), "not a number");
    EXPECT_EQ(extract(7, "Parcels"), 4);
    EXPECT_EQ(rec.nodesLen, 30.0);
    EXPECT_EQ(rec.objLen, 0.0);  // an answer that is no number reads 0, without a failure
    EXPECT_EQ(rec.objType, 7);
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(obj_to_array, failures_show_one_box_and_return_the_result_as_it_stood) {
    struct Case {
        std::function<void(ScriptedAutomation&)> script;
        std::int32_t type, result;
        std::string box;
    };
    const auto sections = [](ScriptedAutomation& h) {
        scriptSections(h, kObj, fourSections(), mbt::length(kObj), "1");
    };
    const std::vector<Case> cases{
        {[](ScriptedAutomation& h) { h.answer(mbt::count(kObj, 21), "32768"); }, 4, -1,
         "6: Overflow"},
        {[](ScriptedAutomation& h) {
             h.answer({{mbt::lineEnd(kObj, 1, 2), "0;0"},
                       {mbt::lineEnd(kObj, 3, 4), "3;4"},
                       {mbt::distance("0", "0", "3", "4"), "5"}});
         },
         3, 2, "-2147352567: "},
        {[](ScriptedAutomation& h) { h.answer(mbt::lineEnd(kObj, 1, 2), "1.0E+00 2.0E+00"); }, 3,
         -1, "5: "},
        {[](ScriptedAutomation& h) {
             h.answer({{mbt::count(kObj, 21), "1"}, {mbt::count(kObj, 22), "-2"}});
         },
         4, 0, "9: "},
        {[&](ScriptedAutomation& h) {
             sections(h);
             h.die(5);
         },
         4, 0, "462: "},
        {[&](ScriptedAutomation& h) {
             sections(h);
             h.fail(mbt::nodePair(kObj, 2, 1), 1234, "Node out of range");
         },
         4, 0, "-2147352567: Node out of range"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.box);
        host = std::make_shared<ScriptedAutomation>();
        boxes.shown.clear();
        c.script(*host);
        EXPECT_EQ(extract(c.type), c.result);
        expectOneBox(c.box);
    }
    EXPECT_EQ(rec.segments[0].segLen, 5.0);  // what was read before the refusal stays
    boxes.shown.clear();
    EXPECT_EQ(objToArray(nullptr, kObj, rec, boxes), -1);
    expectOneBox("91: ");
}

const std::string kUtm = "CoordSys Earth Projection 8, 104, \"m\", 27, 0, 0.9996, 500000, 0";
const std::string kWgs84 = "CoordSys Earth Projection 1, 104";
using Metric = std::function<double(double, double, double, double)>;

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
        for (double x : sectionXs[s]) seg.nodes.push_back({x, 0, 0, x - sectionXs[s].front()});
        seg.segLen = seg.nodes.back().dist;
        rec.nodesLen += seg.segLen;
        rec.segments.push_back(seg);
    }
    return rec;
}

void answerDistances(ScriptedAutomation& host, const Metric& metric) {
    host.answerWith([metric](const std::string& e) -> std::optional<std::string> {
        double ax, ay, x, y;
        if (std::sscanf(e.c_str(), "format$(Distance (%lf, %lf, %lf, %lf,", &ax, &ay, &x, &y) != 4)
            return std::nullopt;
        char out[64];
        std::snprintf(out, sizeof out, "%.17E", metric(ax, ay, x, y));
        return std::string(out);
    });
}

class points_along_object : public ::testing::Test {
protected:
    points_along_object() { clause(kUtm); }
    void clause(const std::string& text) { host->answer("Tableinfo(Roads, 29) ", text); }
    std::int32_t walk(std::vector<double> distances) {
        pts = ObjSegment{};
        const std::int32_t n = pointsAlongObject(host, distances, rec, pts, boxes);
        sorted = distances;
        return n;
    }
    std::vector<double> placed(double ObjNode::*field) const {
        std::vector<double> out;
        for (const auto& p : pts.nodes) out.push_back(p.*field);
        return out;
    }

    std::shared_ptr<ScriptedAutomation> host = std::make_shared<ScriptedAutomation>();
    RecordingMessageBox boxes;
    ObjArray rec = straightRecord({{0, 100}});
    ObjSegment pts;
    std::vector<double> sorted;
};

TEST_F(points_along_object, only_distances_strictly_inside_the_length_give_points) {
    struct Case {
        std::vector<double> distances, placed;
    };
    const std::vector<Case> cases{{{0, -5, -0.0, 100, 150, 1000, -1, 101}, {}},
                                  {{30, 10, 30}, {10, 30, 30}},
                                  {{0, 25, 100, 150}, {25}},
                                  {{1e-9, 99.999999}, {1e-9, 99.999999}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.distances));
        EXPECT_EQ(walk(c.distances), static_cast<std::int32_t>(c.placed.size()));
        EXPECT_TRUE(std::is_sorted(sorted.begin(), sorted.end()));  // the caller's list too
        EXPECT_EQ(placed(&ObjNode::dist), c.placed);
        EXPECT_EQ(placed(&ObjNode::x), c.placed);
        for (const auto& p : pts.nodes) EXPECT_EQ(p.mark, -1.0);
    }
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(points_along_object, sections_are_joined_end_to_end_whatever_the_gap) {
    rec = straightRecord({{0, 10, 40}, {500, 530, 560}});
    // Equal to the first section's length: the first node of the second section.
    ASSERT_EQ(walk({5, 40, 55, 69.5, 100, 120}), 4);
    EXPECT_EQ(placed(&ObjNode::x), (std::vector<double>{5, 500, 515, 529.5}));
    EXPECT_EQ(placed(&ObjNode::dist), (std::vector<double>{5, 40, 55, 69.5}));

    reverseObjArray(rec);  // from the end
    ASSERT_EQ(rec.segments.size(), 2u);
    EXPECT_EQ(std::tuple(rec.segments[0].segNo, rec.segments[1].segNo, rec.nodesLen),
              std::tuple(1, 2, 100.0));
    ASSERT_EQ(walk({5, 70}), 2);
    EXPECT_EQ(placed(&ObjNode::x), (std::vector<double>{555, 30}));
}

// Lat/long clauses (the projection number 1 modulo 1000) ask the host's Distance for each
// point; the others interpolate without it.
TEST_F(points_along_object, clause_selects_the_form_of_interpolation) {
    // clang-format off
    const std::pair<std::string, bool> cases[] = {
        {kWgs84, true}, {"  coordsys earth projection 1001, 33, 7, 0, 0, 0", true},
        {"CoordSys Earth Projection 1", true}, {kUtm, false},
        {"CoordSys Earth Projection 1008, 104, \"m\", 0", false},
        {"CoordSys Earth Projection 0, 104", false}, {"CoordSys Earth Projection -1, 104", false},
        {"CoordSys NonEarth Units \"m\" Bounds (0, 0) (1000, 1000)", false},
        {"CoordSys Earth", false}, {"", false}};
    // clang-format on
    answerDistances(
        *host, [](double ax, double ay, double x, double y) { return std::hypot(x - ax, y - ay); });
    for (const auto& [text, latLong] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(isLatLongClause(text), latLong);
        host->clearRequests();
        clause(text);
        ASSERT_EQ(walk({25}), 1);
        EXPECT_DOUBLE_EQ(pts.nodes[0].x, 25.0);
        const auto traffic = host->traffic();
        ASSERT_EQ(traffic.size(), latLong ? 3u : 2u);
        if (latLong) {
            EXPECT_EQ(traffic[2].argument, mapbasic_text::pointDistance("0", "0", "25", "0"));
        }
    }
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(points_along_object, failures_show_the_box_and_give_no_points) {
    host->fail("Set CoordSys Table Roads ", 405, "Table Roads is not open");
    std::vector<double> distances{25};
    pts.nNodes = 7;
    EXPECT_EQ(pointsAlongObject(host, distances, rec, pts, boxes), 0);
    EXPECT_EQ(pts.nNodes, 7);  // untouched
    EXPECT_EQ(boxes.shown,
              (std::vector<ShownMessage>{{"-2147352567: Table Roads is not open", kFailureCaption,
                                          MessageIcon::Exclamation}}));

    boxes.shown.clear();
    EXPECT_EQ(pointsAlongObject(nullptr, distances, rec, pts, boxes), 0);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text.substr(0, 4), "91: ");

    const std::pair<std::string, std::string> clauses[] = {
        {kWgs84, "-2147352567: "},  // a lat/long host that refuses Distance
        {"CoordSys Earth Projection 99999999999, 104", "6: Overflow"}};
    for (const auto& [text, box] : clauses) {
        host = std::make_shared<ScriptedAutomation>();
        clause(text);
        boxes.shown.clear();
        EXPECT_EQ(walk({25}), 0) << text;
        ASSERT_EQ(boxes.shown.size(), 1u) << text;
        EXPECT_EQ(boxes.shown[0].text.substr(0, box.size()), box);
    }
}

// The iterative form against host metrics that plain interpolation would get wrong.
class point_on_segment : public ::testing::Test {
protected:
    ObjNode at(double d, double dA, double dB, double xA, double yA, double xB, double yB,
               const Metric& metric) {
        host = std::make_shared<ScriptedAutomation>();
        answerDistances(*host, metric);
        return pointOnSegment(d, dA, dB, xA, yA, xB, yB, host, true);
    }
    std::size_t requests() const { return host->traffic().size(); }
    std::shared_ptr<ScriptedAutomation> host;
};

// The distance between (a, 0) and (x, 0) is |x^2 - a^2| / 100, so 100 m spans X 0 to 100.
const Metric kStretched = [](double ax, double, double x, double) {
    return std::fabs(x * x - ax * ax) / 100;
};

TEST_F(point_on_segment, converges_on_the_hosts_measure_within_the_tolerance) {
    ObjNode p = at(25, 0, 100, 0, 0, 100, 0, kStretched);
    EXPECT_LT(std::fabs(p.x * p.x / 100 - 25), 0.001);
    EXPECT_EQ(p.y, 0.0);
    EXPECT_EQ(p.mark, -1.0);
    EXPECT_EQ(p.dist, 25.0);
    EXPECT_GT(requests(), 1u);
    // A is 50 m along the object at X 50, B 25 m further at X 0: measured from A.
    p = at(60, 50, 75, 50, 0, 0, 0, kStretched);
    EXPECT_EQ(p.dist, 60.0);
    EXPECT_GT(p.x, 0.0);
    EXPECT_LT(std::fabs((2500 - p.x * p.x) / 100 - 10), 0.001);
}

TEST_F(point_on_segment, stops_at_the_tolerance_the_step_limit_or_a_vanishing_chord) {
    at(40, 0, 100, 0, 0, 100, 0,
       [](double ax, double, double x, double) { return std::fabs(x - ax) + 0.0009; });
    EXPECT_EQ(requests(), 1u) << "first estimate within the tolerance";

    const ObjNode onNode = at(30, 30, 80, 7, 8, 9, 10, [](double ax, double, double x, double) {
        return std::fabs(x - ax);
    });
    EXPECT_EQ(requests(), 1u) << "a point exactly on its start node";
    EXPECT_EQ(onNode.x, 7.0);
    EXPECT_EQ(onNode.y, 8.0);

    const ObjNode never =
        at(40, 0, 100, 0, 0, 100, 0, [](double, double, double, double) { return 1000.0; });
    EXPECT_EQ(requests(), 102u) << "never within the tolerance: 101 steps, the last estimate";
    EXPECT_TRUE(std::isfinite(never.x));

    at(0.5e-21, 0, 1e-21, 0, 0, 1, 0, [](double, double, double, double) { return 5.0; });
    EXPECT_EQ(requests(), 1u) << "a chord below 1E-20 stops at once";
}

}  // namespace
}  // namespace veltrano::testing
