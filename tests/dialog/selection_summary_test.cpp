// The description of the host's selection that the dialog shows.
#include "dialog_fixture.h"

namespace veltrano::testing {
namespace {

const std::string kHead =
    "---  Selection :: [Query1] --- \r\n"
    "%N Object(s) from  [Roads]:\r\n"
    "CoordSys Earth Projection 1, 104]:\r\n";
const std::string kSeparator = "\r\n  --------------- \r\n";

std::string head(int count) {
    std::string text = kHead;
    text.replace(text.find("%N"), 2, std::to_string(count));
    return text;
}

TEST(selection_summary, no_host_and_no_selection_are_one_line) {
    DialogFixture f;
    f.provider.running.reset();
    f.form().load();
    EXPECT_EQ(f.form().selectionSummary(), "--- NO Active MAPINFO Application ---");

    f.provider.running = f.host;
    f.form().listOutputTables(true);
    EXPECT_EQ(f.form().selectionSummary(), "--- NO Selected Objects ---");
}

TEST(selection_summary, polyline_and_region_with_their_lengths) {
    DialogFixture f;
    f.select({{"Polyline", 11, 3, 1234.567}, {"Region", 9, 2, 500.0}});
    f.form().load();
    EXPECT_EQ(f.view.summary, head(2) +
                                  " 1. {Polyline} - 11 Points in 3 Segment(s)\r\n"
                                  " with Length = 1,234.57 m" +
                                  kSeparator +
                                  " 2. {Region} - 9 Points in 2 Segment(s)\r\n"
                                  " with Perimeter = 500.00 m" +
                                  kSeparator);
}

TEST(selection_summary, lengths_follow_the_regional_format) {
    DialogFixture f(FixedRegionalSettings::commaLocale());
    f.select({{"Polyline", 2, 1, 1234.567}});
    f.form().load();
    EXPECT_NE(f.view.summary.find(" with Length = 1 234,57 m"), std::string::npos);
}

TEST(selection_summary, a_straight_line_is_two_points_without_a_node_query) {
    DialogFixture f;
    f.select({{"Line", 2, 1, 42.0}});
    f.form().load();
    EXPECT_EQ(f.view.summary, head(1) + " 1. {Line} - 2 Points in 1 Segment\r\n" +
                                  " with Length = 42.00 m" + kSeparator);
    for (const auto& e : f.evals()) EXPECT_EQ(e.find("ObjectInfo("), std::string::npos) << e;
}

TEST(selection_summary, a_point_gets_only_its_head_line) {
    DialogFixture f;
    f.select({{"Point"}});
    f.form().load();
    EXPECT_EQ(f.view.summary, head(1) + " 1. {Point}" + kSeparator);
}

TEST(selection_summary, stops_at_the_end_of_the_table) {
    DialogFixture f;
    f.select({{"Point"}, {"Point"}});
    f.selectedRows = 5;  // the count says more rows than the cursor finds
    f.form().load();
    EXPECT_EQ(f.view.summary, head(5) + " 1. {Point}" + kSeparator + " 2. {Point}" + kSeparator);
}

TEST(selection_summary, sends_the_hosts_texts_in_order) {
    DialogFixture f;
    f.select({{"Polyline", 4, 1, 10.0}});
    f.form().listOutputTables(true);
    f.host->clearRequests();
    f.form().selectionSummary();
    const std::vector<std::string> expected{"SelectionInfo( 3) ",
                                            "SelectionInfo( 2)",
                                            "SelectionInfo( 1)",
                                            "TableInfo(Query1,29) ",
                                            "Str$(Query1.obj)",
                                            "Str$(Query1.obj)",
                                            "ObjectInfo(Query1.obj, 20)",
                                            "ObjectInfo(Query1.obj, 21)",
                                            "ObjectLen(Query1.obj, \"m\") ",
                                            "EOT(Query1)"};
    EXPECT_EQ(f.evals(), expected);
    EXPECT_EQ(f.statements(),
              (std::vector<std::string>{"fetch first from Query1", "fetch next from Query1"}));
}

TEST(selection_summary, counts_beyond_sixteen_bits) {
    DialogFixture f;
    f.select({{"Point"}});
    f.selectedRows = 40000;
    f.form().load();
    EXPECT_EQ(f.view.summary.rfind(head(40000), 0), 0u);
}

TEST(selection_summary, refresh_replaces_the_placement_lines) {
    DialogFixture f;
    f.select({{"Point"}});
    f.form().load();
    const std::string fresh = f.view.summary;
    f.view.summary += "\r\n ** 3 points allocated.";
    f.form().cmdRefreshMIClick();
    EXPECT_EQ(f.view.summary, fresh);
}

}  // namespace
}  // namespace veltrano::testing
