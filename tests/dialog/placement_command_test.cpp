// What pressing OK does: the distance list, the checks, the walk over the selection and the
// ending that every run reaches.
#include "dialog_fixture.h"

namespace veltrano::testing {
namespace {

const ShownMessage kNoPoints{"Точки не заданы.", "", MessageIcon::Exclamation};
const ShownMessage kNoOutputTable{
    "Необходимо задать таблицу, в которую будут помещены создаваемые точки.",
    "Warning: Output table not defined.", MessageIcon::Exclamation};
const ShownMessage kNoSelection{"NO Selected Objects", "", MessageIcon::Exclamation};
constexpr const char* kInternalError = "Application Internal Error [objToArray]:";

// A dialog attached to a host with one writable output table and a selection.
class placement_command : public ::testing::Test {
protected:
    explicit placement_command(
        FixedRegionalSettings regional = FixedRegionalSettings::pointLocale())
        : f(regional) {}

    void SetUp() override {
        f.openTables({{"Roads", 1, false}, {"Out", 1, false}});
        f.select({{"Polyline", 3, 1, 100.0}, {"Polyline", 5, 2, 200.0}, {"Line", 2, 1, 50.0}});
        f.form().load();
        f.view.outputTable = "Out";
        f.host->clearRequests();
    }

    PlacementOutcome press(const std::string& points) {
        f.view.points = points;
        return f.form().cmdOKClick();
    }

    // The ending ran: pointer back, two beeps, tables listed again.
    void expectEnding(int beeps = 2) {
        EXPECT_FALSE(f.busy.busy);
        ASSERT_FALSE(f.busy.changes.empty());
        EXPECT_FALSE(f.busy.changes.back());
        EXPECT_EQ(f.beep.count, beeps);
        EXPECT_TRUE(f.sent("NumTables()"));
    }

    DialogFixture f;
};

TEST_F(placement_command, distances_are_sorted_written_back_and_placed_per_object) {
    EXPECT_EQ(press("30;10\r\n20;"), PlacementOutcome::Placed);
    EXPECT_EQ(f.view.points, "10\r\n20\r\n30");
    ASSERT_EQ(f.calls.size(), 3u);
    for (const auto& call : f.calls) {
        EXPECT_EQ(call.distances, (std::vector<double>{10, 20, 30}));
        EXPECT_EQ(call.sourceTable, "Query1");
        EXPECT_EQ(call.outputTable, "Out");
        EXPECT_EQ(call.distanceColumn, "distanceM");
        EXPECT_EQ(call.rowIdColumn, "xRowId");
        EXPECT_FALSE(call.fromTheEnd);
    }
    EXPECT_TRUE(f.messages.shown.empty());
    expectEnding();
}

TEST_F(placement_command, one_result_line_per_object_whatever_the_count) {
    const std::string before = f.view.summary;
    const std::vector<std::int32_t> counts{3, 0, -1};
    f.onPlacement = [&](std::size_t call) { return counts[call - 1]; };
    press("10");
    EXPECT_EQ(f.view.summary, before + "\r\n ** 3 points allocated." +
                                  "\r\n ** 0 points allocated." + "\r\n ** -1 points allocated.");
}

TEST_F(placement_command, walks_the_selection_with_the_hosts_texts) {
    press("10");
    const std::vector<std::string> walk{"fetch first From Query1", "fetch next From Query1",
                                        "fetch next From Query1", "fetch next From Query1"};
    auto statements = f.statements();
    statements.resize(walk.size());
    EXPECT_EQ(statements, walk);
    const auto evals = f.evals();
    ASSERT_GE(evals.size(), 5u);
    EXPECT_EQ(evals[0], "SelectionInfo( 3) ");
    EXPECT_EQ(evals[1], "SelectionInfo( 2)");
    EXPECT_EQ(evals[2], "EOT(Query1) ");
}

TEST_F(placement_command, the_end_option_is_read_for_every_object) {
    f.onPlacement = [&](std::size_t call) {
        f.view.startFromTheEnd = call == 1 ? 1 : 2;  // ticked, then greyed
        return std::int32_t{1};
    };
    press("10");
    ASSERT_EQ(f.calls.size(), 3u);
    EXPECT_FALSE(f.calls[0].fromTheEnd);
    EXPECT_TRUE(f.calls[1].fromTheEnd);
    EXPECT_FALSE(f.calls[2].fromTheEnd);
}

TEST_F(placement_command, stops_at_the_end_of_the_table) {
    f.selectedRows = 10;
    press("10");
    EXPECT_EQ(f.calls.size(), 3u);
}

TEST_F(placement_command, selection_counts_beyond_sixteen_bits) {
    f.selectedRows = 70000;  // 70000 read as 16 bits would be 4464, or an overflow
    EXPECT_EQ(press("10"), PlacementOutcome::Placed);
    EXPECT_EQ(f.calls.size(), 3u);
}

TEST_F(placement_command, duplicates_zero_and_negatives_reach_the_engine) {
    press("5;5;-3;0;abc;;");
    ASSERT_FALSE(f.calls.empty());
    EXPECT_EQ(f.calls[0].distances, (std::vector<double>{-3, 0, 5, 5}));
    EXPECT_EQ(f.view.points, "-3\r\n0\r\n5\r\n5");
}

TEST_F(placement_command, empty_points_come_before_an_empty_table) {
    f.view.outputTable = "  ";
    EXPECT_EQ(press("   "), PlacementOutcome::Refused);
    EXPECT_EQ(f.messages.shown, std::vector<ShownMessage>{kNoPoints});
    EXPECT_TRUE(f.calls.empty());
    EXPECT_FALSE(f.sent("SelectionInfo( 3) "));
    expectEnding();
}

TEST_F(placement_command, an_output_table_that_is_no_name_is_refused_before_any_request) {
    for (const std::string typed :
         {"", "out (obj) Values (CreatePoint(0,0))\r\nClose Table victim\r\nInsert Into out",
          "my table", "Out\"", "2nd"}) {
        SCOPED_TRACE(typed);
        f.messages.shown.clear();
        f.beep.count = 0;
        f.host->clearRequests();
        f.view.outputTable = typed;
        f.view.outputTables.clear();
        EXPECT_EQ(press("10"), PlacementOutcome::Refused);
        EXPECT_EQ(f.messages.shown, std::vector<ShownMessage>{kNoOutputTable});
        EXPECT_EQ(f.view.points, "10");
        EXPECT_TRUE(f.calls.empty());
        EXPECT_FALSE(f.sent("SelectionInfo( 3) "));
        expectEnding();
    }
}

TEST_F(placement_command, no_accepted_distance_keeps_the_text_and_sends_nothing) {
    for (const std::string typed : {"abc", ";", "x;y\r\nz"}) {
        f.messages.shown.clear();
        f.host->clearRequests();
        EXPECT_EQ(press(typed), PlacementOutcome::Refused) << typed;
        EXPECT_EQ(f.messages.shown, std::vector<ShownMessage>{kNoPoints}) << typed;
        EXPECT_EQ(f.view.points, typed);
        EXPECT_FALSE(f.sent("SelectionInfo( 3) ")) << typed;
    }
    EXPECT_TRUE(f.calls.empty());
}

TEST_F(placement_command, no_selection_is_said) {
    f.selectedRows = 0;
    EXPECT_EQ(press("10"), PlacementOutcome::NoSelection);
    EXPECT_EQ(f.messages.shown, std::vector<ShownMessage>{kNoSelection});
    EXPECT_EQ(f.view.points, "10");
    EXPECT_TRUE(f.calls.empty());
    expectEnding();
}

TEST_F(placement_command, a_failure_from_the_engine_is_reported_and_the_ending_runs) {
    f.onPlacement = [](std::size_t) -> std::int32_t {
        throw RunTimeError(err::kDivisionByZero, {}, "pointsAlongObject");
    };
    EXPECT_EQ(press("10"), PlacementOutcome::Failed);
    ASSERT_EQ(f.messages.shown.size(), 1u);
    EXPECT_EQ(f.messages.shown[0],
              (ShownMessage{"11: Division by zero", kInternalError, MessageIcon::Exclamation}));
    EXPECT_EQ(f.calls.size(), 1u);
    expectEnding();
    EXPECT_TRUE(f.view.okEnabled);
}

TEST_F(placement_command, the_host_ending_in_the_walk_is_reported_and_ok_disabled) {
    f.onPlacement = [&](std::size_t) {
        f.host->die();
        f.provider.running.reset();
        return std::int32_t{2};
    };
    EXPECT_EQ(press("10"), PlacementOutcome::Failed);
    ASSERT_GE(f.messages.shown.size(), 2u);
    EXPECT_EQ(f.messages.shown[0].caption, kInternalError);
    EXPECT_EQ(f.messages.shown[0].text.rfind("462: ", 0), 0u) << f.messages.shown[0].text;
    EXPECT_EQ(f.messages.shown.back().caption, "Error: No active Mapinfo.");
    EXPECT_EQ(f.view.summary.substr(f.view.summary.size() - 23), " ** 2 points allocated.");
    EXPECT_FALSE(f.busy.busy);
    EXPECT_EQ(f.beep.count, 2);
    EXPECT_FALSE(f.view.okEnabled);
}

TEST_F(placement_command, a_host_that_has_gone_before_ok_gives_no_selection) {
    f.host->die();
    f.provider.running.reset();
    EXPECT_EQ(press("10"), PlacementOutcome::NoSelection);
    EXPECT_EQ(f.messages.shown.front(), kNoSelection);
    EXPECT_FALSE(f.view.okEnabled);
    EXPECT_EQ(f.beep.count, 2);
}

class placement_command_comma : public placement_command {
protected:
    placement_command_comma() : placement_command(FixedRegionalSettings::commaLocale()) {}
};

TEST_F(placement_command_comma, a_decimal_comma_keeps_its_fraction_and_is_written_back) {
    press("2,5;1.25");
    ASSERT_FALSE(f.calls.empty());
    EXPECT_EQ(f.calls[0].distances, (std::vector<double>{1.25, 2.5}));
    EXPECT_EQ(f.view.points, "1,25\r\n2,5");
}

}  // namespace
}  // namespace veltrano::testing
