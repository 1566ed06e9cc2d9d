// Start-up, refresh, the output-table list, the selection summary and the closing of the main
// dialog.
#include "support/dialog_fixture.h"

namespace veltrano::testing {
namespace {

const ShownMessage kNoHost{
    "Не удалось выполнить подключение к работающей копии MapInfo.\r\n"
    "Для работы приложения программа MapInfo должна быть загружена.",
    "Error: No active Mapinfo.", MessageIcon::CriticalStop};

TEST(dialog_start, a_host_that_comes_and_goes_is_said_on_refresh_and_sets_ok) {
    DialogFixture f;
    f.provider.running.reset();
    f.form().load();
    EXPECT_TRUE(f.messages.shown.empty());
    EXPECT_FALSE(f.view.okEnabled);
    EXPECT_TRUE(f.view.outputTables.empty());
    EXPECT_EQ(f.view.summary, "--- NO Active MAPINFO Application ---");
    f.form().cmdRefreshMIClick();
    EXPECT_EQ(f.messages.shown, std::vector<ShownMessage>{kNoHost});

    f.provider.running = f.host;
    answerTables(*f.host, {{.name = "Points"}});
    f.form().cmdRefreshMIClick();
    EXPECT_EQ(f.view.summary, "--- NO Selected Objects ---");
    f.select({{"Polyline", 3, 1, 10.0}});
    f.form().cmdRefreshMIClick();
    EXPECT_TRUE(f.view.okEnabled);
    EXPECT_EQ(f.view.outputTables, std::vector<std::string>{"Points"});
    EXPECT_NE(f.view.summary.find("Selection :: [Query1]"), std::string::npos);
    EXPECT_EQ(f.messages.shown.size(), 1u);

    f.hostGone();
    f.form().cmdRefreshMIClick();
    EXPECT_EQ(f.messages.shown.back(), kNoHost);
    EXPECT_FALSE(f.view.okEnabled);
    EXPECT_EQ(f.view.outputTables, std::vector<std::string>{"Points"});
}

// Only writable base tables, in the host's order; the choice survives in the host's letter
// case while its table is open.
TEST(output_tables, a_refresh_lists_writable_base_tables_and_keeps_an_open_choice) {
    using Names = std::vector<std::string>;
    const struct {
        std::vector<ScriptedTable> tables;
        std::string chosen;
        Names listed;
        std::string kept;
    } rows[] = {{{{.name = "Roads"},
                  {.name = "Archive", .readOnly = "T"},
                  {.name = "Query1", .type = "2"},
                  {.name = "Points", .type = "3"},
                  {.name = "Wells"}},
                 "",
                 {"Roads", "Points", "Wells"},
                 ""},
                {{{.name = "Roads"}, {.name = "Точки"}}, "тОЧКИ", {"Roads", "Точки"}, "Точки"},
                {{{.name = "Roads"}}, "Points", {"Roads"}, ""},
                {{}, "Old", {}, ""}};
    for (const auto& row : rows) {
        DialogFixture f;
        answerTables(*f.host, row.tables);
        f.view.outputTables = {"Old"};
        f.view.outputTable = row.chosen;
        f.form().cmdRefreshMIClick();
        EXPECT_EQ(f.view.outputTables, row.listed) << row.chosen;
        EXPECT_EQ(f.view.outputTable, row.kept) << row.chosen;
        EXPECT_TRUE(f.view.okEnabled) << row.chosen;
        EXPECT_TRUE(f.messages.shown.empty()) << row.chosen;
    }
}

TEST(dialog_buttons, about_opens_the_about_box_and_close_detaches_once_leaving_the_host) {
    DialogFixture f;
    f.form().load();
    f.form().cmdAboutClick();
    EXPECT_EQ(f.aboutShown, 1);
    f.host->clearRequests();
    f.form().cmdCloseClick();
    EXPECT_TRUE(f.view.closed);
    f.form().unload();
    const auto afterFirst = f.host->statements();
    f.form().unload();
    EXPECT_EQ(f.host->statements(), afterFirst);
    ASSERT_FALSE(afterFirst.empty());
    for (const auto& s : afterFirst) EXPECT_EQ(s, "Set Application Window 0");
    EXPECT_FALSE(f.host->dead());

    DialogFixture gone;
    gone.form().load();
    gone.host->die();
    EXPECT_NO_THROW(gone.form().unload());
}

const std::string kSeparator = "\r\n  --------------- \r\n";

std::string head(int count) {
    return "---  Selection :: [Query1] --- \r\n" + std::to_string(count) +
           " Object(s) from  [Roads]:\r\nCoordSys Earth Projection 1, 104]:\r\n";
}

// Each kind of object with its own line; the count stops at the end of the table and is
// read beyond 16 bits; lengths follow the regional format.
TEST(selection_summary, one_entry_per_object_in_the_regional_format) {
    const auto point = FixedRegionalSettings::pointLocale();
    const auto comma = FixedRegionalSettings::commaLocale();
    const struct {
        std::vector<SelectedObject> objects;
        std::int32_t rows;
        FixedRegionalSettings regional;
        std::string entries;
    } rows[] = {
        {{{"Polyline", 11, 3, 1234.567}, {"Region", 9, 2, 500.0}},
         2,
         point,
         " 1. {Polyline} - 11 Points in 3 Segment(s)\r\n with Length = 1,234.57 m" + kSeparator +
             " 2. {Region} - 9 Points in 2 Segment(s)\r\n with Perimeter = 500.00 m" + kSeparator},
        {{{"Polyline", 2, 1, 1234.567}},
         1,
         comma,
         " 1. {Polyline} - 2 Points in 1 Segment(s)\r\n with Length = 1 234,57 m" + kSeparator},
        {{{"Line", 2, 1, 42.0}},
         1,
         point,
         " 1. {Line} - 2 Points in 1 Segment\r\n with Length = 42.00 m" + kSeparator},
        {{{"Point"}, {"Point"}}, 5, point, " 1. {Point}" + kSeparator + " 2. {Point}" + kSeparator},
        {{{"Point"}}, 40000, point, " 1. {Point}" + kSeparator}};
    for (const auto& row : rows) {
        DialogFixture f(row.regional);
        f.select(row.objects);
        f.selectedRows = row.rows;
        f.form().load();
        ASSERT_EQ(f.view.summary, head(row.rows) + row.entries);

        f.view.summary += "\r\n ** 3 points allocated.";
        f.form().cmdRefreshMIClick();
        EXPECT_EQ(f.view.summary, head(row.rows) + row.entries);
    }
}

}  // namespace
}  // namespace veltrano::testing
