// Start-up, refresh and the output-table list of the main dialog.
#include "dialog_fixture.h"

namespace veltrano::testing {
namespace {

const ShownMessage kNoHost{
    "Не удалось выполнить подключение к работающей копии MapInfo.\r\n"
    "Для работы приложения программа MapInfo должна быть загружена.",
    "Error: No active Mapinfo.", MessageIcon::CriticalStop};

TEST(dialog_start, without_a_host_opens_quietly_with_ok_disabled) {
    DialogFixture f;
    f.provider.running.reset();
    f.form().load();
    EXPECT_TRUE(f.messages.shown.empty());
    EXPECT_FALSE(f.view.okEnabled);
    EXPECT_TRUE(f.view.outputTables.empty());
    EXPECT_EQ(f.view.summary, "--- NO Active MAPINFO Application ---");
}

TEST(dialog_start, refresh_without_a_host_tells_and_keeps_the_list) {
    DialogFixture f;
    f.openTables({{"Points", 1, false}});
    f.form().load();
    ASSERT_EQ(f.view.outputTables, std::vector<std::string>{"Points"});
    f.host->die();
    f.provider.running.reset();
    f.form().cmdRefreshMIClick();
    EXPECT_EQ(f.messages.shown.back(), kNoHost);
    EXPECT_FALSE(f.view.okEnabled);
    EXPECT_EQ(f.view.outputTables, std::vector<std::string>{"Points"});
}

TEST(dialog_start, a_later_successful_attach_enables_ok_again) {
    DialogFixture f;
    f.provider.running.reset();
    f.form().load();
    f.form().cmdRefreshMIClick();
    EXPECT_EQ(f.messages.shown, std::vector<ShownMessage>{kNoHost});
    EXPECT_FALSE(f.view.okEnabled);

    f.provider.running = f.host;
    f.openTables({{"Points", 1, false}});
    f.select({{"Polyline", 3, 1, 10.0}});
    f.form().cmdRefreshMIClick();
    EXPECT_TRUE(f.view.okEnabled);
    EXPECT_EQ(f.view.outputTables, std::vector<std::string>{"Points"});
    EXPECT_NE(f.view.summary.find("Selection :: [Query1]"), std::string::npos);
    EXPECT_EQ(f.messages.shown.size(), 1u);
}

TEST(output_tables, only_writable_base_tables_in_host_order) {
    DialogFixture f;
    f.openTables({{"Roads", 1, false},
                  {"Archive", 1, true},
                  {"Query1", 2, false},
                  {"Points", 3, false},
                  {"Wells", 1, false}});
    EXPECT_EQ(f.form().listOutputTables(true), 3);
    EXPECT_EQ(f.view.outputTables, (std::vector<std::string>{"Roads", "Points", "Wells"}));
    EXPECT_EQ(f.view.outputTable, "");
}

TEST(output_tables, the_choice_is_kept_in_the_hosts_letter_case) {
    DialogFixture f;
    f.openTables({{"Roads", 1, false}, {"Точки", 1, false}});
    f.view.outputTable = "тОЧКИ";
    EXPECT_EQ(f.form().listOutputTables(false), 2);
    EXPECT_EQ(f.view.outputTable, "Точки");
}

TEST(output_tables, a_closed_table_drops_out_of_the_choice) {
    DialogFixture f;
    f.openTables({{"Roads", 1, false}, {"Points", 1, false}});
    f.view.outputTable = "Points";
    f.form().listOutputTables(false);
    ASSERT_EQ(f.view.outputTable, "Points");
    f.openTables({{"Roads", 1, false}});
    EXPECT_EQ(f.form().listOutputTables(false), 1);
    EXPECT_EQ(f.view.outputTable, "");
    EXPECT_EQ(f.view.outputTables, std::vector<std::string>{"Roads"});
}

TEST(output_tables, a_host_without_tables_empties_the_list) {
    DialogFixture f;
    f.view.outputTables = {"Old"};
    f.view.outputTable = "Old";
    EXPECT_EQ(f.form().listOutputTables(false), 0);
    EXPECT_TRUE(f.view.outputTables.empty());
    EXPECT_EQ(f.view.outputTable, "");
    EXPECT_TRUE(f.messages.shown.empty());
}

TEST(output_tables, the_message_only_when_not_quiet) {
    DialogFixture f;
    f.provider.running.reset();
    EXPECT_EQ(f.form().listOutputTables(true), -1);
    EXPECT_TRUE(f.messages.shown.empty());
    EXPECT_EQ(f.form().listOutputTables(false), -1);
    EXPECT_EQ(f.messages.shown, std::vector<ShownMessage>{kNoHost});
}

TEST(dialog_buttons, about_opens_the_about_box_and_close_closes) {
    DialogFixture f;
    f.form().load();
    f.form().cmdAboutClick();
    EXPECT_EQ(f.aboutShown, 1);
    f.form().cmdCloseClick();
    EXPECT_TRUE(f.view.closed);
}

TEST(dialog_unload, detaches_and_leaves_the_host_running) {
    DialogFixture f;
    f.form().load();
    f.host->clearRequests();
    f.form().unload();
    const auto afterFirst = f.statements();
    f.form().unload();
    EXPECT_EQ(f.statements(), afterFirst);  // a second unload sends nothing
    ASSERT_FALSE(afterFirst.empty());
    for (const auto& s : afterFirst) EXPECT_EQ(s, "Set Application Window 0");
    EXPECT_FALSE(f.host->dead());
}

TEST(dialog_unload, a_host_that_has_gone_does_not_stop_it) {
    DialogFixture f;
    f.form().load();
    f.host->die();
    EXPECT_NO_THROW(f.form().unload());
}

}  // namespace
}  // namespace veltrano::testing
