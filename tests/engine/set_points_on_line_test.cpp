#include "engine/set_points_on_line.h"

#include <gtest/gtest.h>

#include "automation/raised.h"
#include "engine/label_box.h"
#include "engine/mapbasic_texts.h"
#include "engine/random_digits.h"
#include "foundation/number_text.h"
#include "platform/fixed_regional_settings.h"
#include "support/fake_ports.h"
#include "support/scripted_automation.h"

namespace veltrano::testing {
namespace {

namespace mbt = mapbasic_text;

const std::string kUtmClause = "CoordSys Earth Projection 8, 104, \"m\", 39, 0, 0.9996, 500000, 0";

// A connected host link over a scripted host that holds table Query1 whose current row is
// a straight line from (1000, 2000) to (1100, 2000), 100 m long, and an output table Points.
class set_points_on_line : public ::testing::Test {
protected:
    set_points_on_line() {
        random.draws = {0.25, 0.5, 0.125, 0.75, 0.3125, 0.625};
        ScriptedRandom sameDraws = random;
        FixedTimer sameTimer = timer;
        var = temporaryVariableName(getRandomDigits(sameDraws, sameTimer));

        provider.running = host;
        // clang-format off
        host->answer({{"SystemInfo(17)", "1"}, {"SystemInfo(9)", "1"}, {"NumWindows()", "0"},
                      {"NumAllWindows()", "0"}, {"NumTables()", "0"},  // an empty desktop
                      {"TableInfo(Query1,1) ", "Query1"}, {"Tableinfo(Query1, 29) ", kUtmClause},
                      {"ColumnInfo(Points, distanceM ,1) ", "distanceM"},
                      {"ColumnInfo(Points, xRowId ,1) ", "xRowId"}, {"Query1.rowId", "17"},
                      {"ObjectInfo(" + var + ", 1) ", "3"},
                      {mbt::lineEnd(var, 1, 2), "1.0E+03;2.0E+03"},
                      {mbt::lineEnd(var, 3, 4), "1.1E+03;2.0E+03"},
                      {mbt::distance("1.0E+03", "2.0E+03", "1.1E+03", "2.0E+03"), "1.0E+02"},
                      {mbt::length(var), "1.0E+02"}});
        // clang-format on
        link.connect2MiPro();
        host->clearRequests();
    }

    std::int32_t place(std::vector<double> distances, std::string outTable = "Points") {
        distances_ = std::move(distances);
        random.position = 0;  // the same variable name on every run
        return setPointsOnLine(
            &link, {distances_, "Query1", outTable, "distanceM", "xRowId", false}, ports);
    }

    // The engine's own requests: the link's liveness probes left out.
    std::vector<Request> sent() const {
        std::vector<Request> out;
        for (const auto& r : host->traffic())
            if (r.argument != "2*2") out.push_back(r);
        return out;
    }
    std::string insert(const std::string& dist) const {
        return "Insert into Points ( obj, distanceM, xRowId ) Values ( " + var + ", " + dist +
               ", 17 ) ";
    }
    std::int32_t failure() {
        return errorNumberOf([this] { place({25, 50}); });
    }
    std::string createPoint(const std::string& x, const std::string& y) const {
        return "Set coordsys table Query1 \r\n" + var + "=createPoint( " + x + ", " + y + " )";
    }

    std::shared_ptr<ScriptedAutomation> host = std::make_shared<ScriptedAutomation>();
    ScriptedProvider provider;
    RecordingMessageBox boxes;
    FixedRegionalSettings regional = FixedRegionalSettings::pointLocale();
    RecordingWindowActivation activation;
    miProObj link{provider, boxes, regional, activation};
    ScriptedRandom random;
    FixedTimer timer;
    EnginePorts ports{boxes, random, timer};
    std::string var;
    std::vector<double> distances_;
};

// The request sequence itself is pinned by the recorded-session replay; here the rows.
TEST_F(set_points_on_line, both_columns_give_one_row_per_point_in_distance_order) {
    EXPECT_EQ(place({50, 25.5}), 2);
    auto done = host->statements();
    ASSERT_EQ(done.size(), 9u);
    EXPECT_EQ(std::vector(done.begin() + 4, done.end()),
              (std::vector<std::string>{createPoint("1025.5", "2000"), insert("25.5"),
                                        createPoint("1050", "2000"), insert("50"),
                                        "undim " + var + " "}));
    EXPECT_EQ(distances_, (std::vector<double>{25.5, 50}));
    EXPECT_TRUE(boxes.shown.empty());
}

// The box's size comes from the table's system and the point's latitude: metres on the
// ground in a lat/long table (the size itself is checked against PROJ with labelExtent).
TEST_F(set_points_on_line, a_label_in_a_lat_long_table_is_sized_at_its_point) {
    const std::string latLong = "CoordSys Earth Projection 1, 104";
    host->answer({{"Tableinfo(Query1, 29) ", latLong}, {"ColumnInfo(Points, distanceM ,1) ", ""}});
    // The geodesic refinement's first estimate is taken as exact.
    host->answerWith([](const std::string& e) -> std::optional<std::string> {
        if (e.rfind("format$(Distance (", 0) == 0) return "2.5E+01";
        return std::nullopt;
    });
    ASSERT_EQ(place({25}), 1);
    const LabelExtent box = labelExtent(latLong, 2000);
    EXPECT_EQ(host->statements().at(6), "Create Text into Variable " + var +
                                            " \"M = 25\" (1025, 2000 ) ( " +
                                            programNumberText(1025 + box.east) + ", " +
                                            programNumberText(2000 + box.north) + " )  ");
}

TEST_F(set_points_on_line, missing_columns_go_into_a_label_at_the_point) {
    struct Case {
        bool distColumn, rowIdColumn;
        std::string columns, values, label;
    };
    // A failure rule stays once set, so the cases with the row-id column come first.
    const std::vector<Case> cases{{false, true, "obj, xRowId", ", 17", "M = 25"},
                                  {true, false, "obj, distanceM", ", 25", "RowID = 17"},
                                  {false, false, "obj", "", "M = 25\\nRowID = 17"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        host->clearRequests();
        boxes.shown.clear();
        host->answer("ColumnInfo(Points, distanceM ,1) ", c.distColumn ? "distanceM" : "");
        if (c.rowIdColumn) {
            host->answer("ColumnInfo(Points, xRowId ,1) ", "xRowId");
        } else {
            host->fail("ColumnInfo(Points, xRowId ,1) ", 1130,
                       "Variable or Field xRowId not defined");
        }
        EXPECT_EQ(place({25}), 1);
        const auto done = host->statements();
        ASSERT_EQ(done.size(), 9u);
        EXPECT_EQ(std::vector(done.begin() + 4, done.end()),
                  (std::vector<std::string>{
                      createPoint("1025", "2000"),
                      "Insert into Points ( " + c.columns + " ) Values ( " + var + c.values + " ) ",
                      "Create Text into Variable " + var + " \"" + c.label +
                          "\" (1025, 2000 ) ( 1125, 2025 )  ",
                      "Insert into Points (obj) Values (" + var + ") ", "undim " + var + " "}));
        // The link shows the rejected probe once; the engine adds nothing.
        EXPECT_EQ(boxes.shown.size(), c.rowIdColumn ? 0u : 1u);
    }
}

TEST_F(set_points_on_line, not_reached_gives_minus_one_before_the_object) {
    EXPECT_EQ(place({25}, ""), -1);
    EXPECT_TRUE(host->requests().empty());
    EXPECT_EQ(boxes.shown,
              (std::vector<ShownMessage>{
                  {"Необходимо задать таблицу, в которую будут помещены создаваемые точки.",
                   "Warning: Output table not defined.", MessageIcon::Exclamation}}));
    boxes.shown.clear();
    std::vector<double> d{25};
    EXPECT_EQ(
        setPointsOnLine(nullptr, {d, "Query1", "Points", "distanceM", "xRowId", false}, ports), -1);

    host->answer("Tableinfo(Query1, 29) ", "");  // an empty coordinate system
    EXPECT_EQ(place({25}), -1);
    EXPECT_EQ(sent().size(), 2u);
    EXPECT_TRUE(boxes.shown.empty());

    host->clearRequests();
    host->fail("TableInfo(Query1,1) ", 405, "Table Query1 is not open");
    EXPECT_EQ(place({25}), -1);
    ASSERT_EQ(boxes.shown.size(), 1u);  // the link's own report
    EXPECT_EQ(boxes.shown[0].caption, "MI Error: 405");
    EXPECT_EQ(sent(), (std::vector<Request>{{"Eval", "TableInfo(Query1,1) "}}));

    boxes.shown.clear();
    host->die();  // not running: no message
    EXPECT_EQ(place({25}), -1);
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(set_points_on_line, rejected_statements_skip_their_point_and_the_run_goes_on) {
    host->fail(insert("25"), 311, "Points is read-only");
    EXPECT_EQ(place({25, 50}), 1);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "Points is read-only");
    auto done = host->statements();
    ASSERT_EQ(done.size(), 9u);
    EXPECT_EQ(done[7], insert("50"));

    host->fail(createPoint("1050", "2000"), 1311, "Coordinates out of bounds");
    host->clearRequests();
    EXPECT_EQ(place({25, 50, 75}), 1);  // neither the rejected insert nor the rejected point
    done = host->statements();
    ASSERT_EQ(done.size(), 10u);
    EXPECT_EQ(done[6], createPoint("1050", "2000"));
    EXPECT_EQ(done[7], createPoint("1075", "2000"));
}

TEST_F(set_points_on_line, objects_that_give_no_points_count_zero_and_release_the_variable) {
    host->answer("ObjectInfo(" + var + ", 1) ", "5");  // a point object is not read
    EXPECT_EQ(place({25}), 0);
    EXPECT_EQ(host->statements().back(), "undim " + var + " ");
    host->clearRequests();
    host->answer("ObjectInfo(" + var + ", 1) ", "3");
    EXPECT_EQ(place({0, 100, 250}), 0);
    EXPECT_EQ(host->statements().back(), "undim " + var + " ");
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(set_points_on_line, failures_go_up_and_release_only_a_declared_variable) {
    host->answer("ObjectInfo(" + var + ", 1) ", "Polyline");
    EXPECT_EQ(failure(), err::kTypeMismatch);
    auto done = host->statements();
    ASSERT_EQ(done.size(), 3u);
    EXPECT_EQ(done[0], "dim " + var + " as Object ");
    EXPECT_EQ(done[2], "undim " + var + " ");

    host->clearRequests();
    host->answer("ObjectInfo(" + var + ", 1) ", "3");
    host->fail("dim " + var + " as Object ", 1001, "Variable already declared");
    place({25});
    for (const auto& statement : host->statements()) EXPECT_NE(statement.rfind("undim", 0), 0u);
}

TEST_F(set_points_on_line, host_gone_while_placing_goes_up_without_a_crash) {
    host->failWhen(
        [this](const Request& r) {
            if (r.member == "Do" && r.argument.rfind("Insert into", 0) == 0) host->die();
            return false;
        },
        0, "");
    EXPECT_EQ(failure(), err::kHostGone);
    EXPECT_EQ(host->statements().back().rfind("Insert into", 0), 0u);
}

}  // namespace
}  // namespace veltrano::testing
