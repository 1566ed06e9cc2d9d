// The host's tables: the table list, single attributes and the table chores.
#include <gtest/gtest.h>

#include <tuple>

#include "host_link_fixture.h"

namespace veltrano::testing {
namespace {

TEST(get_all_tables_info, fills_one_record_per_table_in_slots_from_one) {
    ConnectedLink f;
    TableList none{std::make_shared<miProTblInfo>()};
    EXPECT_EQ(f.obj->getAllTablesInfo(&none), 0);
    EXPECT_EQ(none, TableList{nullptr});
    f.answerTables({ScriptedTable{}, ScriptedTable{.name = "rivers",
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

    EXPECT_EQ(copy[1]->tNROWS(), 3);  // the attributes themselves meet mbhost end to end
    EXPECT_FALSE(copy[1]->tIsReadOnly() || copy[1]->tIsTemp());
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
    f.answerTables({ScriptedTable{}, ScriptedTable{}});
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
    f.answerTables({ScriptedTable{}});
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
    EXPECT_EQ(f.host->evals(), (Strings{"NumTables()", "NumTables()", "NumTables()"}));
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

TEST(table_nrows, counts_rows_by_a_scratch_query_closes_it_and_gives_minus_one_on_failure) {
    ConnectedLink f;
    f.host->answer({{"TempFileName$(\"\")", "/tmp/x.tmp"},
                    {"PathToTableName$(\"/tmp/x.tmp\" ) ", "x"},
                    {"Str$(x.COL1)", " 42"}});
    EXPECT_EQ(f.obj->TableNROWS(HostValue::text("roads")), 42);
    EXPECT_EQ(f.host->traffic(), (std::vector<Request>{
                                     {"Eval", "TempFileName$(\"\")"},
                                     {"Eval", "PathToTableName$(\"/tmp/x.tmp\" ) "},
                                     {"Do", "select Count(*) from roads into x Noselect "},
                                     {"Do", "Fetch first from x"},
                                     {"Eval", "Str$(x.COL1)"},
                                     {"Do", "close table x"},
                                 }));
    f.host->answer("TableInfo(2,1)", "rivers");  // a table number is named first
    EXPECT_EQ(f.obj->TableNROWS(HostValue::whole(2)), 42);
    EXPECT_TRUE(f.sent("Do", "select Count(*) from rivers into x Noselect "));
    f.host->fail("TableInfo(9,1)", 405, "no table 9");
    EXPECT_EQ(f.obj->TableNROWS(HostValue::whole(9)), -1);
    f.host->fail("select Count(*) from roads into x Noselect ", 405, "no roads");
    EXPECT_EQ(f.obj->TableNROWS(HostValue::text("roads")), -1);
    EXPECT_TRUE(f.sent("SetLastErrorCode", "0"));
    EXPECT_TRUE(f.messages.shown.empty());
}

TEST(open_table, composes_the_statement_and_finds_the_table_by_path) {
    ConnectedLink f;
    f.answerTables({ScriptedTable{.path = "/data/roads.tab"},
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

}  // namespace
}  // namespace veltrano::testing
