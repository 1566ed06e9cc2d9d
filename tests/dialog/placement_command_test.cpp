// The OK button: what the dialog checks, what it hands the engine, and how every press ends.
#include "support/dialog_fixture.h"

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
    void expectEnding() {
        EXPECT_FALSE(f.busy.busy);
        ASSERT_FALSE(f.busy.changes.empty());
        EXPECT_FALSE(f.busy.changes.back());
        EXPECT_EQ(f.beep.count, 2);
        EXPECT_TRUE(f.sent("NumTables()"));
    }

    DialogFixture f;
};

// The end option is read anew for every object: ticked for the second, greyed for the third.
TEST_F(placement_command, distances_are_sorted_written_back_and_placed_per_object) {
    const std::string before = f.view.summary;
    const std::vector<std::int32_t> counts{3, 0, -1};
    f.onPlacement = [&](std::size_t call) {
        f.view.startFromTheEnd = call == 1 ? 1 : 2;
        return counts[call - 1];
    };
    EXPECT_EQ(press("30;10\r\n20;;abc;-3;0;10"), PlacementOutcome::Placed);
    EXPECT_EQ(f.view.points, "-3\r\n0\r\n10\r\n10\r\n20\r\n30");
    ASSERT_EQ(f.calls.size(), 3u);
    for (const auto& call : f.calls) {
        EXPECT_EQ(call.distances, (std::vector<double>{-3, 0, 10, 10, 20, 30}));
        EXPECT_EQ(call.sourceTable, "Query1");
        EXPECT_EQ(call.outputTable, "Out");
        EXPECT_EQ(call.distanceColumn, "distanceM");
        EXPECT_EQ(call.rowIdColumn, "xRowId");
        EXPECT_EQ(call.fromTheEnd, &call == &f.calls[1]);
    }
    EXPECT_EQ(f.view.summary, before + "\r\n ** 3 points allocated." +
                                  "\r\n ** 0 points allocated." + "\r\n ** -1 points allocated.");
    EXPECT_TRUE(f.messages.shown.empty());
    expectEnding();
    auto statements = f.host->statements();
    statements.resize(4);
    EXPECT_EQ(statements,
              (std::vector<std::string>{"fetch first From Query1", "fetch next From Query1",
                                        "fetch next From Query1", "fetch next From Query1"}));
    auto evals = f.host->evals();
    evals.resize(3);
    EXPECT_EQ(evals, (std::vector<std::string>{"SelectionInfo( 3) ", "SelectionInfo( 2)",
                                               "EOT(Query1) "}));
}

// A count beyond the rows found ends at the end of the table; one beyond 16 bits is no
// overflow (70000 read as 16 bits would be 4464, or negative).
TEST_F(placement_command, stops_at_the_end_of_the_table_whatever_the_count) {
    for (const std::int32_t rows : {10, 70000}) {
        f.calls.clear();
        f.selectedRows = rows;
        EXPECT_EQ(press("10"), PlacementOutcome::Placed);
        ASSERT_EQ(f.calls.size(), 3u) << rows;
    }
}

// Each refusal is said once, keeps the typed text and the engine idle, and still ends.
TEST_F(placement_command, a_refused_press_says_why_and_places_nothing) {
    const std::string injection =
        "out (obj) Values (CreatePoint(0,0))\r\nClose Table victim\r\nInsert Into out";
    const struct {
        std::string points, table;
        std::int32_t rows;
        PlacementOutcome outcome;
        ShownMessage message;
    } rows[] = {{"   ", "  ", 3, PlacementOutcome::Refused, kNoPoints},
                {"abc", "Out", 3, PlacementOutcome::Refused, kNoPoints},
                {";", "Out", 3, PlacementOutcome::Refused, kNoPoints},
                {"x;y\r\nz", "Out", 3, PlacementOutcome::Refused, kNoPoints},
                {"10", "", 3, PlacementOutcome::Refused, kNoOutputTable},
                {"10", injection, 3, PlacementOutcome::Refused, kNoOutputTable},
                {"10", "my table", 3, PlacementOutcome::Refused, kNoOutputTable},
                {"10", "Out\"", 3, PlacementOutcome::Refused, kNoOutputTable},
                {"10", "2nd", 3, PlacementOutcome::Refused, kNoOutputTable},
                {"10", "Out", 0, PlacementOutcome::NoSelection, kNoSelection}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.points + " into " + row.table);
        f.messages.shown.clear();
        f.beep.count = 0;
        f.host->clearRequests();
        f.view.outputTable = row.table;
        f.view.outputTables.clear();
        f.selectedRows = row.rows;
        EXPECT_EQ(press(row.points), row.outcome);
        EXPECT_EQ(f.messages.shown, std::vector<ShownMessage>{row.message});
        EXPECT_EQ(f.view.points, row.points);
        EXPECT_TRUE(f.calls.empty());
        EXPECT_EQ(f.sent("SelectionInfo( 3) "), row.rows == 0);
        expectEnding();
    }
}

TEST_F(placement_command, a_failure_from_the_engine_is_reported_and_the_ending_runs) {
    f.onPlacement = [](std::size_t) -> std::int32_t {
        throw RunTimeError(err::kDivisionByZero, {}, "pointsAlongObject");
    };
    EXPECT_EQ(press("10"), PlacementOutcome::Failed);
    EXPECT_EQ(f.messages.shown, (std::vector<ShownMessage>{{"11: Division by zero", kInternalError,
                                                            MessageIcon::Exclamation}}));
    EXPECT_EQ(f.calls.size(), 1u);
    expectEnding();
    EXPECT_TRUE(f.view.okEnabled);
}

TEST_F(placement_command, the_host_ending_in_the_walk_is_reported_and_ok_disabled) {
    f.onPlacement = [&](std::size_t) {
        f.hostGone();
        return std::int32_t{2};
    };
    EXPECT_EQ(press("10"), PlacementOutcome::Failed);
    ASSERT_GE(f.messages.shown.size(), 2u);
    EXPECT_EQ(f.messages.shown[0].caption, kInternalError);
    EXPECT_EQ(f.messages.shown[0].text.rfind("462: ", 0), 0u) << f.messages.shown[0].text;
    EXPECT_EQ(f.messages.shown.back().caption, "Error: No active Mapinfo.");
    EXPECT_TRUE(f.view.summary.ends_with("\r\n ** 2 points allocated."));
    EXPECT_FALSE(f.busy.busy);
    EXPECT_EQ(f.beep.count, 2);
    EXPECT_FALSE(f.view.okEnabled);
}

TEST_F(placement_command, a_host_that_has_gone_before_ok_gives_no_selection) {
    f.hostGone();
    EXPECT_EQ(press("10"), PlacementOutcome::NoSelection);
    EXPECT_EQ(f.messages.shown.front(), kNoSelection);
    EXPECT_FALSE(f.view.okEnabled);
    EXPECT_EQ(f.beep.count, 2);
}

}  // namespace
}  // namespace veltrano::testing
