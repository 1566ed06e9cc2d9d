#include "engine/obj_to_array.h"

#include <gtest/gtest.h>

#include "engine/mapbasic_texts.h"
#include "support/fake_ports.h"
#include "support/scripted_automation.h"

namespace veltrano::testing {
namespace {

namespace mbt = mapbasic_text;

struct ScriptedNode {
    std::string xText, yText, distanceFromPrevious;  // the last: the answer for the edge to here
};
using ScriptedSections = std::vector<std::vector<ScriptedNode>>;

// Registers the answers for a polyline or region made of these sections and returns the
// requests the extraction must send, in order.
std::vector<Request> scriptSections(ScriptedAutomation& host, const std::string& table,
                                    const std::string& obj, const ScriptedSections& sections,
                                    const std::string& lengthQuery,
                                    const std::string& lengthAnswer) {
    std::vector<Request> expected{{"Do", "Set CoordSys Table " + table + " "}};
    auto ask = [&](const std::string& text, const std::string& answer) {
        host.answer(text, answer);
        expected.push_back({"Eval", text});
    };
    ask(mbt::count(obj, 21), std::to_string(sections.size()));
    for (std::size_t s = 0; s < sections.size(); ++s) {
        const int sectionNo = static_cast<int>(s) + 1;
        ask(mbt::count(obj, 21 + sectionNo), std::to_string(sections[s].size()));
        for (std::size_t n = 0; n < sections[s].size(); ++n) {
            const ScriptedNode& node = sections[s][n];
            ask(mbt::nodePair(obj, sectionNo, static_cast<int>(n) + 1),
                node.xText + ";" + node.yText);
            if (n == 0) continue;
            const ScriptedNode& prev = sections[s][n - 1];
            ask(mbt::distance(prev.xText, prev.yText, node.xText, node.yText),
                node.distanceFromPrevious);
        }
    }
    ask(lengthQuery, lengthAnswer);
    return expected;
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

TEST_F(obj_to_array, polyline_asks_2n_plus_3_requests_in_the_hosts_order) {
    const auto expected =
        scriptSections(*host, "Roads", kObj, fourSections(), mbt::length(kObj), "2.5E+01");
    ASSERT_EQ(extract(4), 12);
    EXPECT_EQ(host->traffic(), expected);
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
    const auto expected = scriptSections(*host, "Parcels", kObj,
                                         {{{"0.0E+00", "0.0E+00", ""},
                                           {"1.0E+01", "0.0E+00", "1.0E+01"},
                                           {"1.0E+01", "1.0E+01", "1.0E+01"},
                                           {"0.0E+00", "1.0E+01", "1.0E+01"}}},
                                         mbt::perimeter(kObj), "not a number");
    EXPECT_EQ(extract(7, "Parcels"), 4);
    EXPECT_EQ(host->traffic(), expected);
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
        scriptSections(h, "Roads", kObj, fourSections(), mbt::length(kObj), "1");
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

}  // namespace
}  // namespace veltrano::testing
