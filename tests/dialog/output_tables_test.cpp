// Start-up, refresh, the output-table list and the closing of the main dialog.
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
    f.openTables({{"Points", 1, false}});
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
        std::vector<HostTable> tables;
        std::string chosen;
        Names listed;
        std::string kept;
    } rows[] = {{{{"Roads"}, {"Archive", 1, true}, {"Query1", 2}, {"Points", 3}, {"Wells"}},
                 "",
                 {"Roads", "Points", "Wells"},
                 ""},
                {{{"Roads"}, {"Точки"}}, "тОЧКИ", {"Roads", "Точки"}, "Точки"},
                {{{"Roads"}}, "Points", {"Roads"}, ""},
                {{}, "Old", {}, ""}};
    for (const auto& row : rows) {
        DialogFixture f;
        f.openTables(row.tables);
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

}  // namespace
}  // namespace veltrano::testing
