#include "engine/obj_to_array.h"

#include <gtest/gtest.h>

#include "engine/geometry_script.h"
#include "support/fake_ports.h"

namespace veltrano::testing {
namespace {

const std::string kObj = "qzv123456";

class ObjToArray : public ::testing::Test {
protected:
    ObjToArray() {
        rec.tabName = "Roads";
        rec.rowId = 17;
    }
    std::int32_t extract() { return objToArray(host, kObj, rec, boxes); }

    std::shared_ptr<ScriptedAutomation> host = std::make_shared<ScriptedAutomation>();
    RecordingMessageBox boxes;
    ObjArray rec;
};

TEST_F(ObjToArray, LineBecomesOneSectionOfTwoNodesInFiveRequests) {
    rec.objType = 3;
    host->answer(lineEndExpr(kObj, 1, 2), "3.75E+01;5.5E+01");
    host->answer(lineEndExpr(kObj, 3, 4), "3.8E+01;5.6E+01");
    const std::string dist = distanceExpr("3.75E+01", "5.5E+01", "3.8E+01", "5.6E+01");
    host->answer(dist, "1.1536E+05");
    host->answer(lengthExpr(kObj), "1.1537E+05");

    EXPECT_EQ(extract(), 2);

    const std::vector<Request> expected{
        {"Do", "Set CoordSys Table Roads "},
        {"Eval",
         "format$(ObjectGeography( qzv123456, 1),\"#0.######################E+00\") + \";\" + "
         "format$(ObjectGeography( qzv123456, 2),\"#0.######################E+00\" )"},
        {"Eval", lineEndExpr(kObj, 3, 4)},
        {"Eval",
         "Format$(Distance(3.75E+01, 5.5E+01, 3.8E+01,5.6E+01,\"m\"),"
         "\"#0.######################E+00\")"},
        {"Eval", "Format$(ObjectLen(qzv123456,\"m\"),\"#0.######################E+00\")"}};
    EXPECT_EQ(host->traffic(), expected);
    EXPECT_EQ(rec.objType, 4);
    ASSERT_EQ(rec.nSegments, 1);
    ASSERT_EQ(rec.segments.size(), 1u);
    const ObjSegment& seg = rec.segments[0];
    EXPECT_EQ(seg.segNo, 1);
    EXPECT_EQ(seg.nNodes, 2);
    ASSERT_EQ(seg.nodes.size(), 2u);
    EXPECT_DOUBLE_EQ(seg.nodes[0].x, 37.5);
    EXPECT_DOUBLE_EQ(seg.nodes[0].y, 55.0);
    EXPECT_DOUBLE_EQ(seg.nodes[1].x, 38.0);
    EXPECT_DOUBLE_EQ(seg.nodes[0].dist, 0.0);
    EXPECT_DOUBLE_EQ(seg.segLen, 115360.0);
    EXPECT_DOUBLE_EQ(seg.nodes[1].dist, 115360.0);
    EXPECT_DOUBLE_EQ(rec.nodesLen, 115360.0);
    EXPECT_DOUBLE_EQ(rec.objLen, 115370.0);
    EXPECT_EQ(seg.nodes[1].mark, 0.0);
    EXPECT_TRUE(boxes.shown.empty());
}

// Three sections of 4, 2 and 5 nodes, coordinates in the host's own texts (some in forms
// the program would never write) so that pasting them back unchanged is visible.
std::vector<std::vector<ScriptedNode>> threeSections() {
    return {{{"1.0E+00", "2.0E+00", ""},
             {"1.00E+00", "3.0E+00", "1.0E+00"},
             {"2.0E+00", "3.0E+00", "1.5E+00"},
             {"2.0E+00", "5.0E+00", "2.5E+00"}},
            {{"1.0E+01", "1.0E+01", ""}, {"1.1E+01", "1.0E+01", "4.0E+00"}},
            {{"2.0E+01", "0.0E+00", ""},
             {"2.1E+01", "0.0E+00", "1.0E+00"},
             {"2.2E+01", "0.0E+00", "2.0E+00"},
             {"2.3E+01", "0.0E+00", "3.0E+00"},
             {"2.4E+01", "-1.25E-01", "4.0E+00"}}};
}

TEST_F(ObjToArray, PolylineOfThreeSectionsAsks2NPlus3RequestsInTheHostsOrder) {
    rec.objType = 4;
    const auto expected =
        scriptSections(*host, "Roads", kObj, threeSections(), lengthExpr(kObj), "2.5E+01");
    ASSERT_EQ(extract(), 11);
    EXPECT_EQ(host->traffic(), expected);
    EXPECT_EQ(host->traffic().size(), 2u * 11 + 3);

    ASSERT_EQ(rec.nSegments, 3);
    const double lengths[] = {5.0, 4.0, 10.0};
    const std::int32_t counts[] = {4, 2, 5};
    for (int s = 0; s < 3; ++s) {
        const ObjSegment& seg = rec.segments[s];
        EXPECT_EQ(seg.segNo, s + 1);
        EXPECT_EQ(seg.nNodes, counts[s]);
        ASSERT_EQ(seg.nodes.size(), static_cast<std::size_t>(counts[s]));
        EXPECT_DOUBLE_EQ(seg.segLen, lengths[s]);
        EXPECT_EQ(seg.nodes.front().dist, 0.0);
        EXPECT_DOUBLE_EQ(seg.nodes.back().dist, seg.segLen);
    }
    EXPECT_DOUBLE_EQ(rec.segments[0].nodes[2].dist, 2.5);
    EXPECT_DOUBLE_EQ(rec.segments[2].nodes[4].y, -0.125);
    // The gaps between sections count nothing; the host's own length is kept apart.
    EXPECT_DOUBLE_EQ(rec.nodesLen, 19.0);
    EXPECT_DOUBLE_EQ(rec.objLen, 25.0);
    EXPECT_EQ(rec.objType, 4);
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(ObjToArray, SingleNodeSectionHasNoLengthAndAsksNoDistance) {
    rec.objType = 4;
    const auto expected =
        scriptSections(*host, "Roads", kObj,
                       {{{"5.0E+00", "5.0E+00", ""}},
                        {{"0.0E+00", "0.0E+00", ""}, {"3.0E+00", "4.0E+00", "5.0E+00"}}},
                       lengthExpr(kObj), "5.0E+00");
    ASSERT_EQ(extract(), 3);
    EXPECT_EQ(host->traffic(), expected);
    EXPECT_EQ(rec.segments[0].segLen, 0.0);
    EXPECT_EQ(rec.segments[0].nodes[0].dist, 0.0);
    EXPECT_DOUBLE_EQ(rec.nodesLen, 5.0);
}

TEST_F(ObjToArray, RegionUsesPerimeterAndCountsNoClosingEdge) {
    rec.objType = 7;
    // A square polygon listed without repeating its first node; the perimeter has 4 edges.
    const auto expected = scriptSections(*host, "Parcels", kObj,
                                         {{{"0.0E+00", "0.0E+00", ""},
                                           {"1.0E+01", "0.0E+00", "1.0E+01"},
                                           {"1.0E+01", "1.0E+01", "1.0E+01"},
                                           {"0.0E+00", "1.0E+01", "1.0E+01"}}},
                                         perimeterExpr(kObj), "4.0E+01");
    rec.tabName = "Parcels";
    EXPECT_EQ(extract(), 4);
    EXPECT_EQ(host->traffic(), expected);
    EXPECT_EQ(host->traffic().size(), 2u * 4 + 3);
    EXPECT_DOUBLE_EQ(rec.nodesLen, 30.0);
    EXPECT_DOUBLE_EQ(rec.objLen, 40.0);
    EXPECT_EQ(rec.objType, 7);
}

TEST_F(ObjToArray, TypeNotReadSendsOnlyTheCoordinateSystemAndKeepsTheRecord) {
    for (std::int32_t type : {1, 2, 5, 8, 10, -1}) {
        SCOPED_TRACE(type);
        host->clearRequests();
        rec = ObjArray{};
        rec.tabName = "Roads";
        rec.objType = type;
        EXPECT_EQ(extract(), -1);
        EXPECT_EQ(host->traffic(), (std::vector<Request>{{"Do", "Set CoordSys Table Roads "}}));
        EXPECT_EQ(rec.nSegments, -1);
        EXPECT_EQ(rec.segments.size(), 1u);
        EXPECT_EQ(rec.nodesLen, 0.0);
        EXPECT_EQ(rec.objType, type);
    }
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(ObjToArray, HostNumberTextsAreReadWithThePointAndExponent) {
    rec.objType = 4;
    scriptSections(*host, "Roads", kObj,
                   {{{"1.5E+02", "-2.5E-01", ""}, {"1.5E+02", "7.5E+00", "1.5E+02"}}},
                   lengthExpr(kObj), "not a number");
    ASSERT_EQ(extract(), 2);
    EXPECT_DOUBLE_EQ(rec.segments[0].nodes[0].x, 150.0);
    EXPECT_DOUBLE_EQ(rec.segments[0].nodes[0].y, -0.25);
    EXPECT_DOUBLE_EQ(rec.segments[0].segLen, 150.0);
    EXPECT_EQ(rec.objLen, 0.0);  // an answer that is no number reads 0, without a failure
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(ObjToArray, FailuresShowTheBoxAndReturnTheResultAsItStood) {
    const ShownMessage overflow{
        "6: Overflow", "Application Internal Error [objToArray]:", MessageIcon::Exclamation};
    {
        SCOPED_TRACE("section count above 32767");
        rec.objType = 4;
        host->answer(countExpr(kObj, 21), "32768");
        EXPECT_EQ(extract(), -1);
        EXPECT_EQ(boxes.shown, std::vector<ShownMessage>{overflow});
        EXPECT_EQ(host->traffic().size(), 2u);
    }
    {
        SCOPED_TRACE("refused while the sections are read");
        host = std::make_shared<ScriptedAutomation>();
        boxes.shown.clear();
        rec = ObjArray{};
        rec.tabName = "Roads";
        rec.objType = 4;
        scriptSections(*host, "Roads", kObj, threeSections(), lengthExpr(kObj), "1");
        host->fail(nodePairExpr(kObj, 2, 1), 1234, "Node out of range");
        EXPECT_EQ(extract(), 0);
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_EQ(boxes.shown[0].text, "-2147352567: Node out of range");
        EXPECT_EQ(boxes.shown[0].caption, "Application Internal Error [objToArray]:");
        EXPECT_DOUBLE_EQ(rec.segments[0].segLen, 5.0);  // what was read stays
    }
    {
        SCOPED_TRACE("refused at the length query");
        host = std::make_shared<ScriptedAutomation>();
        boxes.shown.clear();
        rec = ObjArray{};
        rec.objType = 3;
        rec.tabName = "Roads";
        host->answer(lineEndExpr(kObj, 1, 2), "0;0");
        host->answer(lineEndExpr(kObj, 3, 4), "3;4");
        host->answer(distanceExpr("0", "0", "3", "4"), "5");
        EXPECT_EQ(extract(), 2);  // the length expression has no rule: the host refuses it
        EXPECT_EQ(boxes.shown.size(), 1u);
        EXPECT_EQ(rec.objType, 4);
    }
    {
        SCOPED_TRACE("a pair answer without a separator");
        host = std::make_shared<ScriptedAutomation>();
        boxes.shown.clear();
        rec.objType = 3;
        host->answer(lineEndExpr(kObj, 1, 2), "1.0E+00 2.0E+00");
        EXPECT_EQ(extract(), -1);
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_EQ(boxes.shown[0].text.substr(0, 3), "5: ");
    }
    {
        SCOPED_TRACE("a negative node count");
        host = std::make_shared<ScriptedAutomation>();
        boxes.shown.clear();
        rec.objType = 4;
        host->answer(countExpr(kObj, 21), "1");
        host->answer(countExpr(kObj, 22), "-2");
        EXPECT_EQ(extract(), 0);
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_EQ(boxes.shown[0].text.substr(0, 3), "9: ");
    }
}

TEST_F(ObjToArray, NoHostObjectIsAFailureNotACrash) {
    rec.objType = 4;
    EXPECT_EQ(objToArray(nullptr, kObj, rec, boxes), -1);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text.substr(0, 4), "91: ");
    EXPECT_EQ(boxes.shown[0].caption, "Application Internal Error [objToArray]:");
}

TEST_F(ObjToArray, HostGoneMidwayIsShownOnce) {
    rec.objType = 4;
    scriptSections(*host, "Roads", kObj, threeSections(), lengthExpr(kObj), "1");
    host->die(5);
    EXPECT_EQ(extract(), 0);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text.substr(0, 5), "462: ");
}

}  // namespace
}  // namespace veltrano::testing
