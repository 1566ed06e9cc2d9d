// The OK button: how the typed distances are read and written back, what the dialog checks,
// what it hands the engine, and how every press ends.
#include "dialog/distance_list.h"
#include "engine/qsort.h"
#include "support/dialog_fixture.h"

namespace veltrano::testing {
namespace {

using Pieces = std::vector<std::string>;
using List = std::vector<double>;

const auto kPoint = FixedRegionalSettings::pointLocale();
const auto kComma = FixedRegionalSettings::commaLocale();
// A region that groups digits with a point and marks decimals with a comma.
const FixedRegionalSettings kPointGrouping(",", ".", 2);

// Only spaces are trimmed; only ";" and CR LF cut, so a lone line feed stays in its piece.
TEST(distance_text, trims_spaces_and_cuts_at_separators_and_line_breaks) {
    EXPECT_EQ(trimSpaces("  10;20  "), "10;20");
    EXPECT_EQ(trimSpaces("\t10\r\n"), "\t10\r\n");
    EXPECT_EQ(trimSpaces("    "), "");
    const std::pair<std::string, Pieces> rows[] = {{"30;10\r\n20;", {"30", "10", "20"}},
                                                   {"10;;;20", {"10", "20"}},
                                                   {";10", {"", "10"}},
                                                   {";", {}},
                                                   {"", {}},
                                                   {"10\n20", {"10\n20"}},
                                                   {"10\r\n\r\n20", {"10", "20"}}};
    for (const auto& [text, pieces] : rows) EXPECT_EQ(distancePieces(text), pieces) << text;
}

// Sorting, repeats and text that is no number are the OK button's (below).
TEST(distance_list, reads_what_the_region_accepts_and_sorts_it) {
    const struct {
        std::string text;
        const RegionalSettings& regional;
        List expected;
    } rows[] = {{" 1.5E+02 ;2", kPoint, {2, 150}},
                {"1e999;--5;5e", kPoint, {}},
                {"1 234,5;0,25", kComma, {0.25, 1234.5}},
                {"2.5;1,5", kPointGrouping, {1.5, 2.5}}};
    for (const auto& row : rows) {
        auto list = parseDistanceList(trimSpaces(row.text), row.regional);
        QSort(list);
        EXPECT_EQ(list, row.expected) << row.text;
    }
}

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
        answerTables(*f.host, {{.name = "Roads"}, {.name = "Out"}});
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
        ASSERT_FALSE(f.busy.changes.empty());
        EXPECT_FALSE(f.busy.changes.back());
        EXPECT_EQ(f.beep.count, 2);
        EXPECT_TRUE(f.sent("Eval", "NumTables()"));
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
        EXPECT_EQ(call.fromTheEnd, &call == &f.calls[1]);
    }
    EXPECT_EQ(f.view.summary, before + "\r\n ** 3 points allocated." +
                                  "\r\n ** 0 points allocated." + "\r\n ** -1 points allocated.");
    EXPECT_TRUE(f.messages.shown.empty());
    expectEnding();
}

// Inserts the host refused are said once for the run, with its reason, not only as counts.
TEST_F(placement_command, refused_inserts_are_said_once_with_the_hosts_reason) {
    f.onPlacement = [](std::size_t) {
        ObjectPlacement placed(0);
        placed.refusals = {{"Table Out is not mappable", 2}};
        return placed;
    };
    EXPECT_EQ(press("10;20"), PlacementOutcome::Placed);
    EXPECT_EQ(f.messages.shown,
              (std::vector<ShownMessage>{{"the host refused 6 insert(s) into Out: Table Out is "
                                          "not mappable",
                                          "", MessageIcon::Exclamation}}));
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
        EXPECT_EQ(f.sent("Eval", "SelectionInfo( 3) "), row.rows == 0);
        expectEnding();
    }
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
    EXPECT_EQ(f.busy.changes, (std::vector<bool>{true, false}));
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
