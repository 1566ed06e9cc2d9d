// The host link end to end against an mbhost workspace in this process: real tables, a map
// window, a browser and the host's button pads.
#include <gtest/gtest.h>

#include <memory>
#include <tuple>
#include <utility>

#include "automation/inprocess/inprocess_automation.h"
#include "host/miProObj.h"
#include "mbhost/host.h"
#include "platform/fixed_regional_settings.h"
#include "support/fake_ports.h"
#include "workload/placement_workspace.h"

namespace veltrano::testing {
namespace {

// roads: two lines in longitude/latitude whose bounds have fractions; notes: no map, no rows.
std::shared_ptr<mbhost::Host> makeWorkspace() {
    auto host = std::make_shared<mbhost::Host>();
    mbhost::TableData roads = lineTable(
        "roads", kLatLongClause,
        {{{{37.25, 55.5}, {37.75, 55.625}, {37.5, 55.75}}}, {{{37.125, 55.25}, {37.5, 55.5}}}});
    roads.path = "/data/roads.TAB";
    host->addTable(std::move(roads));
    host->addTable(pointTable("notes", "", true));
    return host;
}

class host_link_on_mbhost : public ::testing::TestWithParam<FixedRegionalSettings> {
protected:
    host_link_on_mbhost()
        : workspace(makeWorkspace()),
          provider(std::make_shared<InProcessAutomation>(workspace)),
          regional(GetParam()),
          obj(provider, messages, regional, activation) {}

    void SetUp() override { ASSERT_NE(obj.connect2MiPro(), 0); }
    void TearDown() override { EXPECT_TRUE(messages.shown.empty()); }

    std::shared_ptr<mbhost::Host> workspace;
    InProcessProvider provider;
    RecordingMessageBox messages;
    FixedRegionalSettings regional;
    RecordingWindowActivation activation;
    miProObj obj;
};

TEST_P(host_link_on_mbhost, lists_the_open_tables_with_their_attributes) {
    TableList tables;
    ASSERT_EQ(obj.getAllTablesInfo(&tables), 2);
    ASSERT_EQ(tables.size(), 3u);
    const miProTblInfo& r = *tables[1];
    EXPECT_EQ(std::tuple(r.tName(), r.tNum(), r.tNCOLS(), r.tNROWS(), r.tType(), r.tPath(),
                         r.tIsGeoMap(), r.tCoordsys(), r.tIsReadOnly()),
              std::tuple("roads", 1, 1, 2, "TAB_TYPE_BASE", "/data/roads.TAB", true,
                         "CoordSys Earth Projection 1, 104", false));
    EXPECT_EQ(std::tuple(r.tMBR_minX(), r.tMBR_minY(), r.tMBR_maxX(), r.tMBR_maxY()),
              std::tuple(37.125, 55.25, 37.75, 55.75));  // fractions of two, exact
    const miProTblInfo& notes = *tables[2];
    EXPECT_EQ(std::tuple(notes.tName(), notes.tIsGeoMap(), notes.tCoordsys()),
              std::tuple("notes", false, ""));
    EXPECT_EQ(obj.TableNROWS(HostValue::text("notes")), 0);
    EXPECT_EQ(obj.TableNROWS(HostValue::whole(1)), 2);
    EXPECT_EQ(obj.NumTables(), 2);  // the row count's scratch table is closed again
}

TEST_P(host_link_on_mbhost, takes_the_census_of_maps_browsers_and_button_pads) {
    obj.xDo("Map From roads");
    obj.xDo("Browse * From notes");
    ASSERT_FALSE(obj.lastCallFailed());
    obj.RefreshWindowsInfo();
    EXPECT_EQ(std::tuple(obj.countWin(), obj.maxWin(), obj.minWin(), obj.curWinID()),
              std::tuple(2, 2, 2 - obj.NumAllWindows(), obj.FrontWindow()));
    ASSERT_LT(obj.minWin(), 0);  // the host's button pads

    for (std::int32_t i = obj.minWin(); i <= -1; ++i) {
        ASSERT_NE(obj.miWindows(i), nullptr);
        EXPECT_EQ(obj.miWindows(i)->wTypeS(), "WIN_BUTTONPAD");
    }
    ASSERT_NE(obj.miWindows(0), nullptr);
    EXPECT_EQ(obj.miWindows(0)->wId(), 0);

    auto map = obj.miWindows(1), browser = obj.miWindows(2);
    ASSERT_TRUE(map && browser);
    if (map->wType() != 1) std::swap(map, browser);
    // The centre 37.4375, 55.5 is read whole, a half rounding to even.
    EXPECT_EQ(std::tuple(map->wTitle(), map->wTypeS(), map->centerX(), map->centerY()),
              std::tuple("roads Map", "WIN_MAPPER", 37, 56));
    EXPECT_GT(map->mapScale(), 0.0);
    EXPECT_NE(map->hwnd(), 0);
    EXPECT_EQ(std::tuple(browser->wTypeS(), browser->wTitle()),
              std::tuple("WIN_BROWSER", "notes Browser"));
}

INSTANTIATE_TEST_SUITE_P(regional_settings, host_link_on_mbhost,
                         ::testing::Values(FixedRegionalSettings::pointLocale(),
                                           FixedRegionalSettings::commaLocale()),
                         [](const auto& info) {
                             return info.param.decimalSeparator() == U'.' ? "point" : "comma";
                         });

}  // namespace
}  // namespace veltrano::testing
