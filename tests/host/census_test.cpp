// The host's census: the table list, single attributes and the table chores; the windows, the
// window queries and the view chores.
#include <gtest/gtest.h>

#include <tuple>

#include "support/host_link_fixture.h"

namespace veltrano::testing {
namespace {

TEST(get_all_tables_info, fills_one_record_per_table_in_slots_from_one) {
    ConnectedLink f;
    TableList none{std::make_shared<miProTblInfo>()};
    EXPECT_EQ(f.obj->getAllTablesInfo(&none), 0);
    EXPECT_EQ(none, TableList{nullptr});
    answerTables(*f.host, {ScriptedTable{}, ScriptedTable{.name = "rivers",
                                                          .path = "/data/rivers.tab",
                                                          .mappable = "F",
                                                          .readOnly = "t",
                                                          .temporary = "T",
                                                          .type = "2",
                                                          .minX = "0"}});
    TableList copy;
    ASSERT_EQ(f.obj->getAllTablesInfo(&copy), 2);
    ASSERT_EQ(copy.size(), 3u);
    EXPECT_EQ(copy[0], nullptr);
    EXPECT_EQ(copy[1], f.obj->tableSlots().slots()[1]);  // the same records, shared

    // The attributes of a plain table meet mbhost end to end; these are the odd ones.
    const miProTblInfo& v = *copy[2];  // read-only "t" counts after upper-casing
    EXPECT_EQ(std::tuple(v.tType(), v.tIsGeoMap(), v.tCoordsys(), v.tIsReadOnly(), v.tIsTemp(),
                         v.tMBR_minX()),
              std::tuple("TAB_TYPE_QUERY", false, "", true, true, 0.0));
    EXPECT_FALSE(f.sent("Eval", "TableInfo(2,29) "));
    EXPECT_TRUE(f.messages.shown.empty());
    f.host->answer("TableInfo(1,8) ", "12");
    ASSERT_EQ(f.obj->TablesInfo(1), copy[1]);  // refreshed in place
    EXPECT_EQ(copy[1]->tNROWS(), 12);
    EXPECT_TRUE(!f.obj->TablesInfo(3) && !f.obj->TablesInfo(0));
}

// The table list and the window census alike.
TEST(get_all_tables_info, a_failure_is_shown_with_its_source_and_keeps_what_was_read) {
    ConnectedLink f;
    answerTables(*f.host, {ScriptedTable{}, ScriptedTable{}});
    f.answerWindows(1, {ScriptedWindow{}});
    f.host->fail("TableInfo(2,4) ", 401, "Table closed meanwhile");
    f.host->fail("WindowInfo(1,5)", 401, "window closed");
    EXPECT_EQ(f.obj->getAllTablesInfo(), -1);
    const auto& slots = f.obj->tableSlots().slots();
    ASSERT_EQ(slots.size(), 3u);
    EXPECT_EQ(slots[1]->tName(), "roads");
    EXPECT_EQ(slots[2]->tNum(), 2);  // read before the failure
    f.host->clearRequests();
    f.obj->RefreshWindowsInfo();
    EXPECT_EQ(f.shown(&ShownMessage::caption), (Strings{"MI Error: 401", "", "MI Error: 401", ""}));
    EXPECT_EQ(f.messages.shown[1].text, "94: Invalid use of Null\n in \nmiProObj");
    EXPECT_EQ(f.messages.shown[3].text, "94: Invalid use of Null\n in \nmiProObj");
    EXPECT_EQ(f.obj->miWindows(1)->wTitle(), "roads Map");
    EXPECT_FALSE(f.sent("Eval", "NumTables()"));  // the refresh stopped
}

TEST(get_mi_tab_info, ids_outside_the_table_count_leave_out_of_range_values) {
    ConnectedLink f;
    answerTables(*f.host, {ScriptedTable{}});
    for (std::int32_t id : {0, 2, -1}) {
        miProTblInfo record;
        record.setTName("stale");
        record.setTMBR_minX(5);
        record.setTIsGeoMap(true);
        record.GetMiTabInfo(*f.obj, id);
        EXPECT_EQ(std::tuple(record.tName() + record.tType(), record.tNum(), record.tNCOLS(),
                             record.tNROWS(), record.tIsGeoMap(), record.tMBR_minX()),
                  std::tuple("", miProTblInfo::kNoTable, -9999, -9999, false, 0.0));
    }
    f.host->die(3);
    miProTblInfo record;
    EXPECT_THROW(record.GetMiTabInfo(*f.obj, 1), RunTimeError);  // a host gone midway
}

TEST(table_info, selection_with_nothing_selected_asks_no_attribute) {
    ConnectedLink f;
    f.host->answer("SelectionInfo( 3) ", "0");
    EXPECT_TRUE(f.obj->TableInfo("Selection", 8).isNull());
    EXPECT_EQ(f.host->evals(), Strings{"SelectionInfo( 3) "});
    f.host->answer({{"SelectionInfo( 3) ", "2"}, {"TableInfo(Selection,8) ", "2"}});
    EXPECT_EQ(f.obj->TableInfo("Selection", 8), HostValue::whole(2));
    EXPECT_FALSE(f.obj->lastCallFailed());
}

// Counting by name and by number meets mbhost end to end; here the failures.
TEST(table_nrows, gives_minus_one_when_the_table_or_its_count_fails) {
    ConnectedLink f;
    f.host->answer(
        {{"TempFileName$(\"\")", "/tmp/x.tmp"}, {"PathToTableName$(\"/tmp/x.tmp\" ) ", "x"}});
    f.host->fail("TableInfo(9,1)", 405, "no table 9");
    EXPECT_EQ(f.obj->TableNROWS(HostValue::whole(9)), -1);
    f.host->fail("select Count(*) from roads into x Noselect ", 405, "no roads");
    EXPECT_EQ(f.obj->TableNROWS(HostValue::text("roads")), -1);
    EXPECT_TRUE(f.sent("SetLastErrorCode", "0"));
    EXPECT_TRUE(f.messages.shown.empty());
}

TEST(open_table, composes_the_statement_and_finds_the_table_by_path) {
    ConnectedLink f;
    answerTables(*f.host, {ScriptedTable{.path = "/data/roads.tab"},
                           ScriptedTable{.name = "Карты", .path = "/data/Карты.TAB"}});
    const std::string path = "/DATA/карты.tab";
    EXPECT_EQ(f.obj->openTable(path, "ReadOnly", "maps"), 2);
    EXPECT_EQ(path, "/DATA/карты.tab");  // the caller's text is untouched
    EXPECT_TRUE(f.sent("Do", "Open table \"/DATA/карты.tab\" As  maps ReadOnly "));
    EXPECT_EQ(f.obj->openTable("/data/roads.tab", "", ""), 1);
    EXPECT_TRUE(f.sent("Do", "Open table \"/data/roads.tab\" View Automatic "));
    EXPECT_EQ(f.obj->openTable("/data/none.tab", "", ""), -1);
    EXPECT_EQ(f.obj->openTable("", "", ""), -1);
}

TEST(make_selection, counts_the_rows_of_a_mappable_result_given_table_criterion_and_link) {
    ConnectedLink f;
    EXPECT_EQ(f.obj->makeSelection("roads", "", "s"), -1);
    EXPECT_EQ(f.obj->makeSelection("", "len > 10", "s"), -1);
    EXPECT_TRUE(f.host->statements().empty());
    f.host->answer({{"TableInfo(sel1,5) ", "T"}, {"TableInfo(sel1,8) ", "5"}});
    EXPECT_EQ(f.obj->makeSelection("roads", "len > 10", "sel1"), 5);
    EXPECT_EQ(f.host->statements(), Strings{"select * from \"roads\" where len > 10  into sel1 "});
    f.host->answer("TableInfo(sel1,5) ", "F");
    EXPECT_EQ(f.obj->makeSelection("roads", "len > 10", "sel1"), 0);
}

const ScriptedWindow kMap{.number = 1, .id = 77, .title = "roads Map", .type = "1"};
const ScriptedWindow kPad{.number = -1, .id = 9, .title = "Main", .type = "19"};
const ScriptedWindow kNoId{.number = 0, .id = 0, .title = "never read", .type = "2"};

TEST(refresh_windows_info, reads_documents_extra_windows_and_map_details) {
    ConnectedLink f;
    // One document and one extra window: the counts cancel out, the census is still read.
    f.answerWindows(1, {kPad, kNoId, kMap});
    f.obj->RefreshWindowsInfo();
    EXPECT_EQ(std::tuple(f.obj->countWin(), f.obj->minWin(), f.obj->maxWin(), f.obj->curWinID()),
              std::tuple(1, -1, 1, 1));
    // Types, titles and the centre's rounding meet mbhost end to end.
    const auto unnamed = f.obj->miWindows(0), map = f.obj->miWindows(1);
    ASSERT_TRUE(f.obj->miWindows(-1) && unnamed && map);
    EXPECT_EQ(std::tuple(unnamed->wId(), unnamed->wTitle(), map->wId()), std::tuple(0, "", 77));
    // Width 6.5 rounds to even, height 4.25 down; the centre is whole too.
    EXPECT_EQ(
        (std::vector<std::int32_t>{map->width(), map->height(), map->leftX(), map->topY(),
                                   map->Status(), map->hwnd(), map->centerX(), map->centerY()}),
        (std::vector<std::int32_t>{6, 4, 12, 0, 1, 5000, 38, 55}));
    EXPECT_DOUBLE_EQ(map->mapScale(), 50000.5);
    EXPECT_TRUE(!f.obj->miWindows(2) && !f.obj->miWindows(-2));  // only inside the census range
    f.obj->setMaxWin(5);  // the fields are public; the records are not
    EXPECT_THROW(f.obj->miWindows(4), RunTimeError);
    EXPECT_TRUE(f.messages.shown.empty());
}

TEST(refresh_windows_info, without_documents_skips_the_census_of_documents_but_rereads_tables) {
    ConnectedLink f;
    f.obj->RefreshWindowsInfo();
    EXPECT_TRUE(f.sent("Eval", "NumTables()"));
    EXPECT_EQ(f.obj->countWin() | f.obj->maxWin() | f.obj->minWin(), 0);
    EXPECT_EQ(f.obj->hwnd(), 4242);
    f.answerWindows(0, {kPad});  // only an extra window: an empty document range
    f.obj->RefreshWindowsInfo();
    EXPECT_EQ(std::tuple(f.obj->maxWin(), f.obj->minWin(), f.obj->curWinID()),
              std::tuple(-1, -1, 0));
    EXPECT_FALSE(f.sent("Eval", "FrontWindow()"));
    ASSERT_NE(f.obj->miWindows(-1), nullptr);
    EXPECT_EQ(f.obj->miWindows(-1)->wTitle(), "Main");
}

TEST(window_queries, send_their_expressions_and_read_whole_numbers) {
    ConnectedLink f;
    f.host->answer(
        {{"FrontWindow()", "2"}, {"WindowId(FrontWindow() )", "88"}, {"WindowId(2)", "89"}});
    EXPECT_EQ(std::tuple(f.obj->FrontWindow(), f.obj->FrontWindowId(), f.obj->WindowId(2)),
              std::tuple(2, 88, 89));
    f.host->answer("WindowId(3)", "not a number");
    EXPECT_EQ(f.obj->WindowId(3), 0);
    EXPECT_EQ(f.shown(), Strings{"Type mismatch"});
}

// Table roads (3 rows, mappable) in map window 77 of 5 by 4 units, but for what a row changes.
struct ShowAllCase {
    std::vector<std::pair<std::string, std::string>> answers;
    std::string setMap;  // the map statement expected; none when the bounds query is not sent
    FixedRegionalSettings regional = FixedRegionalSettings::pointLocale();
};

TEST(show_all_on_table, centres_and_zooms_to_the_larger_extent_of_a_table_on_a_map) {
    const ShowAllCase rows[] = {
        {{}, "set map window 77 center ( 20, 25)  zoom  40 Units \"m\" "},
        {{{"temp001.X2", "10"}, {"temp001.Y2", "20"}}, "set map window 77 center ( 10, 20) "},
        {{{"temp001.X1", "10.5"}, {"temp001.X2", "30.5"}},
         "set map window 77 center ( 20.5, 25)  zoom  40 Units \"m\" ",
         FixedRegionalSettings::commaLocale()},
        {{{"WindowInfo(77,4)", "0"}}, ""},   // a window without size is not zoomed
        {{{"WindowInfo(77,3)", "2"}}, "-"},  // a browser, an empty or a flat table: not shown
        {{{"TableInfo(roads,8) ", "0"}}, "-"},
        {{{"TableInfo(roads,5) ", "F"}}, "-"}};
    for (const auto& row : rows) {
        ConnectedLink f(row.regional);
        // clang-format off
        f.host->answer({{"TableInfo(roads,1) ", "roads"}, {"TableInfo(roads,8) ", "3"},
                        {"TableInfo(roads,5) ", "T"}, {"WindowInfo(77,3)", "1"},
                        {"WindowInfo(77,4)", "5"}, {"WindowInfo(77,5)", "4"},
                        {"MapperInfo(77,11) ", "m"}, {"temp001.X1", "10"}, {"temp001.X2", "30"},
                        {"temp001.Y1", "20"}, {"temp001.Y2", "30"}});
        // clang-format on
        f.host->answer(row.answers);
        f.obj->showAllOnTable(77, "roads");
        const Strings done = f.host->statements();
        EXPECT_EQ(done.size(), row.setMap == "-" ? 0u : row.setMap.empty() ? 2u : 4u);
        if (done.size() == 4) {
            EXPECT_EQ(done[2], row.setMap);
        }
        EXPECT_EQ(f.sent("Eval", "MapperInfo(77,11) "),
                  row.setMap.find("zoom") != std::string::npos);
        EXPECT_TRUE(f.messages.shown.empty());
    }
}

TEST(show_mi_obj, shows_a_hidden_host_and_brings_any_to_the_front) {
    ConnectedLink f;
    f.answerWindows(0, {kPad});
    f.obj->RefreshWindowsInfo();
    f.host->clearRequests();
    f.obj->ShowMiObj();
    EXPECT_TRUE(f.sent("SetVisible", "T"));
    EXPECT_EQ(f.host->statements(), (Strings{"StatusBar  Hide ", "Run Menu Command 616 ",
                                             "Alter ButtonPad  \"Main\" show ",
                                             "Set Application Window 0", "Set Window 1011 max "}));
    const std::vector<RecordingWindowActivation::Call> activated{{f.host->applicationTitle, true}};
    EXPECT_EQ(f.activation.calls, activated);
    f.host->clearRequests();
    f.obj->ShowMiObj();  // now visible
    EXPECT_EQ(f.host->statements(), (Strings{"Set Application Window 0", "Set Window 1011 max "}));
    EXPECT_EQ(f.activation.calls.size(), 2u);
    EXPECT_TRUE(f.messages.shown.empty());
    f.activation.windowMissing = true;
    f.obj->ShowMiObj();
    EXPECT_EQ(f.shown(), Strings{describeError(err::kInvalidProcedureCall)});
}

}  // namespace
}  // namespace veltrano::testing
