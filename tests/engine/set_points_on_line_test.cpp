#include "engine/set_points_on_line.h"

#include <gtest/gtest.h>

#include "automation/raised.h"
#include "engine/mapbasic_texts.h"
#include "engine/random_digits.h"
#include "support/host_link_fixture.h"

namespace veltrano::testing {
namespace {

namespace mbt = mapbasic_text;

const std::string kUtmClause = "CoordSys Earth Projection 8, 104, \"m\", 39, 0, 0.9996, 500000, 0";

// A connected host link over a scripted host that holds table Query1 whose current row is
// a straight line from (1000, 2000) to (1100, 2000), 100 m long, and an output table Points.
class set_points_on_line : public ::testing::Test, protected ConnectedLink {
protected:
    set_points_on_line() {
        random.draws = {0.25, 0.5, 0.125, 0.75, 0.3125, 0.625};
        ScriptedRandom sameDraws = random;
        FixedTimer sameTimer = timer;
        var = temporaryVariableName(getRandomDigits(sameDraws, sameTimer));

        // clang-format off
        host->answer({{"TableInfo(Query1,1) ", "Query1"}, {"Tableinfo(Query1, 29) ", kUtmClause},
                      {"ColumnInfo(Points, distanceM ,1) ", "distanceM"},
                      {"ColumnInfo(Points, xRowId ,1) ", "xRowId"}, {"Query1.rowId", "17"},
                      {"ObjectInfo(" + var + ", 1) ", "3"},
                      {mbt::lineEnd(var, 1, 2), "1.0E+03;2.0E+03"},
                      {mbt::lineEnd(var, 3, 4), "1.1E+03;2.0E+03"},
                      {mbt::distance("1.0E+03", "2.0E+03", "1.1E+03", "2.0E+03"), "1.0E+02"},
                      {mbt::length(var), "1.0E+02"}});
        // clang-format on
    }

    std::int32_t place(std::vector<double> distances, std::string outTable = "Points") {
        distances_ = std::move(distances);
        random.position = 0;  // the same variable name on every run
        return setPointsOnLine(
            obj.get(), {distances_, "Query1", outTable, "distanceM", "xRowId", false}, ports);
    }

    std::string insert(const std::string& dist) const {
        return "Insert into Points ( obj, distanceM, xRowId ) Values ( " + var + ", " + dist +
               ", 17 ) ";
    }
    std::string createPoint(const std::string& x, const std::string& y) const {
        return "Set coordsys table Query1 \r\n" + var + "=createPoint( " + x + ", " + y + " )";
    }

    ScriptedRandom random;
    FixedTimer timer;
    EnginePorts ports{messages, random, timer};
    std::string var;
    std::vector<double> distances_;
};

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
        messages.shown.clear();
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
        EXPECT_EQ(messages.shown.size(), c.rowIdColumn ? 0u : 1u);
    }
}

TEST_F(set_points_on_line, without_an_output_table_it_says_so_and_asks_nothing) {
    EXPECT_EQ(place({25}, ""), -1);
    EXPECT_TRUE(host->requests().empty());
    EXPECT_EQ(messages.shown,
              (std::vector<ShownMessage>{
                  {"Необходимо задать таблицу, в которую будут помещены создаваемые точки.",
                   "Warning: Output table not defined.", MessageIcon::Exclamation}}));
}

TEST_F(set_points_on_line, rejected_statements_skip_their_point_and_the_run_goes_on) {
    host->fail(insert("25"), 311, "Points is read-only");
    EXPECT_EQ(place({25, 50}), 1);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "Points is read-only");
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

TEST_F(set_points_on_line, failures_go_up_and_release_only_a_declared_variable) {
    host->answer("ObjectInfo(" + var + ", 1) ", "Polyline");
    EXPECT_EQ(errorNumberOf([this] { place({25, 50}); }), err::kTypeMismatch);
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

}  // namespace
}  // namespace veltrano::testing
