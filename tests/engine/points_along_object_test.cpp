// The walk along an object's nodes that places the points, and its refinement on a lat/long
// host's measure. Sections joined one after the other are checked against PROJ by the file
// mode's tests.
#include "engine/points_along_object.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "engine/obj_to_array.h"
#include "engine/point_on_segment.h"
#include "engine/reverse_obj_array.h"
#include "mapbasic_texts.h"
#include "support/fake_ports.h"
#include "support/scripted_automation.h"

namespace veltrano::testing {
namespace {

const std::string kUtm = "CoordSys Earth Projection 8, 104, \"m\", 27, 0, 0.9996, 500000, 0";

// A straight line 100 m long along the X axis, in a projected table.
ObjArray straightRecord() {
    ObjArray rec;
    rec.tabName = "Roads";
    rec.objType = 4;
    rec.nSegments = 1;
    ObjSegment seg;
    seg.segNo = 1;
    seg.nNodes = 2;
    seg.nodes = {{0, 0, 0, 0}, {100, 0, 0, 100}};
    seg.segLen = rec.nodesLen = 100;
    rec.segments = {seg};
    return rec;
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
    ObjArray rec = straightRecord();
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

// Walked from the end: the sections still number from 1, the nodes measure from the new start.
TEST_F(points_along_object, from_the_end_sections_number_from_one_and_nodes_from_the_end) {
    reverseObjArray(rec);
    EXPECT_EQ(rec.segments.at(0).segNo, 1);
    ASSERT_EQ(walk({30}), 1);
    EXPECT_EQ(placed(&ObjNode::x), std::vector<double>{70});
}

// Lat/long clauses (the projection number 1 modulo 1000) ask the host's Distance for each
// point; the others interpolate without it.
TEST(is_lat_long_clause, reads_the_projection_number_modulo_1000) {
    // clang-format off
    const std::pair<std::string, bool> cases[] = {
        {"CoordSys Earth Projection 1, 104", true},
        {"  coordsys earth projection 1001, 33, 7, 0, 0, 0", true},
        {"CoordSys Earth Projection 1", true}, {kUtm, false},
        {"CoordSys Earth Projection 1008, 104, \"m\", 0", false},
        {"CoordSys Earth Projection 0, 104", false}, {"CoordSys Earth Projection -1, 104", false},
        {"CoordSys NonEarth Units \"m\" Bounds (0, 0) (1000, 1000)", false},
        {"CoordSys Earth", false}, {"", false}};
    // clang-format on
    for (const auto& [text, latLong] : cases) EXPECT_EQ(isLatLongClause(text), latLong) << text;
}

// A host whose Distance never comes within the tolerance: the refinement gives up after its
// last step, with a finite estimate.
TEST(point_on_segment, stops_after_101_refinements) {
    auto host = std::make_shared<ScriptedAutomation>();
    host->answerWith([](const std::string&) -> std::optional<std::string> { return "1.0E+03"; });
    const ObjNode never = pointOnSegment(40, 0, 100, 0, 0, 100, 0, host, true);
    EXPECT_EQ(host->traffic().size(), 102u);
    EXPECT_TRUE(std::isfinite(never.x));
}

// A host answer that is no pair of numbers: one box, with the reading's own caption.
TEST(obj_to_array, a_failure_shows_one_box_under_its_caption) {
    auto host = std::make_shared<ScriptedAutomation>();
    host->answer(mapbasic_text::lineEnd("qzv123456", 1, 2), "1.0E+00 2.0E+00");
    RecordingMessageBox boxes;
    ObjArray rec;
    rec.tabName = "Roads";
    rec.objType = 3;
    EXPECT_EQ(objToArray(host, "qzv123456", rec, boxes), -1);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].caption, "Application Internal Error [objToArray]:");
    EXPECT_EQ(boxes.shown[0].text.substr(0, 3), "5: ");
}

}  // namespace
}  // namespace veltrano::testing
