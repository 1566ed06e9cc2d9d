// The window census, the window queries and the view chores.
#include <gtest/gtest.h>

#include <tuple>

#include "host_link_fixture.h"

namespace veltrano::testing {
namespace {

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
    const auto pad = f.obj->miWindows(-1), unnamed = f.obj->miWindows(0), map = f.obj->miWindows(1);
    ASSERT_TRUE(pad && unnamed && map);
    EXPECT_EQ(std::tuple(pad->wType(), pad->wTypeS(), pad->wTitle()),
              std::tuple(19, "WIN_BUTTONPAD", "Main"));
    EXPECT_EQ(std::tuple(unnamed->wId(), unnamed->wTitle()), std::tuple(0, ""));
    EXPECT_FALSE(f.sent("Eval", "WindowInfo(0,1)"));
    EXPECT_EQ(std::tuple(map->wId(), map->wTitle(), map->wTypeS()),
              std::tuple(77, "roads Map", "WIN_MAPPER"));
    // Width 6.5 rounds to even, height 4.25 down; the centre is whole too.
    EXPECT_EQ(
        (std::vector<std::int32_t>{map->width(), map->height(), map->leftX(), map->topY(),
                                   map->Status(), map->hwnd(), map->centerX(), map->centerY()}),
        (std::vector<std::int32_t>{6, 4, 12, 0, 1, 5000, 38, 55}));
    EXPECT_DOUBLE_EQ(map->mapScale(), 50000.5);
    EXPECT_EQ(f.host->statements(), Strings{"Set CoordSys  Window 77 "});
    EXPECT_TRUE(!f.obj->miWindows(2) && !f.obj->miWindows(-2));  // only inside the census range
    f.obj->setMaxWin(5);  // the fields are public; the records are not
    EXPECT_THROW(f.obj->miWindows(4), RunTimeError);
    EXPECT_TRUE(f.messages.shown.empty());
}

TEST(refresh_windows_info, without_documents_skips_the_census_of_documents_but_rereads_tables) {
    ConnectedLink f;
    f.obj->RefreshWindowsInfo();
    EXPECT_EQ(f.host->evals(),
              (Strings{"NumWindows()", "SystemInfo(9)", "NumAllWindows()", "NumTables()"}));
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
        Strings expected;
        if (row.setMap != "-") {
            expected = {"set coordsys window 77 ",
                        "Select Min(ObjectGeography( obj,1)) \"X1\",Max(ObjectGeography( obj,3)) "
                        "\"X2\",Min(ObjectGeography( obj,2)) \"Y1\",Max(ObjectGeography( obj,4)) "
                        "\"Y2\" from \"roads\" into temp001 noselect "};
            if (!row.setMap.empty())
                expected.insert(expected.end(), {row.setMap, "Close table temp001"});
        }
        EXPECT_EQ(f.host->statements(), expected) << row.setMap;
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
