// The host link end to end against an mbhost workspace in this process: real tables, a map
// window, a browser and the host's button pads.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <tuple>

#include "automation/inprocess/inprocess_automation.h"
#include "bench/support/placement_workspace.h"
#include "host/miProObj.h"
#include "mbhost/host.h"
#include "platform/fixed_regional_settings.h"
#include "support/fake_ports.h"

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
          automation(std::make_shared<InProcessAutomation>(workspace)),
          provider(automation),
          regional(GetParam()),
          obj(provider, messages, regional, activation) {}

    void SetUp() override { ASSERT_NE(obj.connect2MiPro(), 0); }

    std::shared_ptr<mbhost::Host> workspace;
    std::shared_ptr<InProcessAutomation> automation;
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
    EXPECT_TRUE(messages.shown.empty());
}

TEST_P(host_link_on_mbhost, takes_the_census_of_maps_browsers_and_button_pads) {
    obj.xDo("Map From roads");
    obj.xDo("Browse * From notes");
    ASSERT_FALSE(obj.lastCallFailed());
    obj.RefreshWindowsInfo();
    EXPECT_EQ(obj.countWin(), 2);
    EXPECT_EQ(obj.maxWin(), 2);
    EXPECT_EQ(obj.minWin(), 2 - obj.NumAllWindows());
    ASSERT_LT(obj.minWin(), 0);  // the host's button pads
    EXPECT_EQ(obj.curWinID(), obj.FrontWindow());

    for (std::int32_t i = obj.minWin(); i <= -1; ++i) {
        ASSERT_NE(obj.miWindows(i), nullptr);
        EXPECT_EQ(obj.miWindows(i)->wTypeS(), "WIN_BUTTONPAD");
    }
    ASSERT_NE(obj.miWindows(0), nullptr);
    EXPECT_EQ(obj.miWindows(0)->wId(), 0);

    std::shared_ptr<miProWind> map;
    std::shared_ptr<miProWind> browser;
    for (std::int32_t i = 1; i <= 2; ++i) {
        const auto w = obj.miWindows(i);
        ASSERT_NE(w, nullptr);
        (w->wType() == 1 ? map : browser) = w;
    }
    ASSERT_NE(map, nullptr);
    ASSERT_NE(browser, nullptr);
    // The centre 37.4375, 55.5 is read whole, a half rounding to even.
    EXPECT_EQ(std::tuple(map->wTitle(), map->wTypeS(), map->centerX(), map->centerY()),
              std::tuple("roads Map", "WIN_MAPPER", 37, 56));
    EXPECT_GT(map->mapScale(), 0.0);
    EXPECT_NE(map->hwnd(), 0);
    EXPECT_EQ(std::tuple(browser->wTypeS(), browser->wTitle()),
              std::tuple("WIN_BROWSER", "notes Browser"));
    EXPECT_TRUE(messages.shown.empty());
}

// Then leaves it alone for a table without objects; the scratch table is closed each time.
TEST_P(host_link_on_mbhost, fits_a_map_window_to_all_objects_of_a_table) {
    obj.xDo("Map From roads");
    const std::int32_t id = obj.FrontWindowId();
    obj.xDo("Set Map Window " + std::to_string(id) + " Center (30, 50) Zoom 5 Units \"km\"");
    ASSERT_FALSE(obj.lastCallFailed());

    obj.showAllOnTable(id, "roads");
    obj.xDo("Set CoordSys Window " + std::to_string(id));
    const AnswerReader reader(regional);
    EXPECT_NEAR(reader.hostNumber(obj.MapperInfo(id, 3)), (37.125 + 37.75) / 2, 1e-9);
    EXPECT_NEAR(reader.hostNumber(obj.MapperInfo(id, 4)), (55.25 + 55.75) / 2, 1e-9);
    // Twice the larger extent per unit of window size, times the width, in the map's units.
    const double w = reader.hostNumber(obj.WindowInfo(id, 4));
    const double h = reader.hostNumber(obj.WindowInfo(id, 5));
    const double z = std::max((37.75 - 37.125) / w, (55.75 - 55.25) / h);
    EXPECT_NEAR(reader.hostNumber(obj.MapperInfo(id, 1)), 2 * z * w, 1e-9);
    EXPECT_EQ(obj.NumTables(), 2);

    const HostValue before = obj.MapperInfo(id, 3);
    obj.showAllOnTable(id, "notes");
    EXPECT_EQ(obj.MapperInfo(id, 3), before);
    EXPECT_EQ(obj.NumTables(), 2);
    EXPECT_TRUE(messages.shown.empty());
}

INSTANTIATE_TEST_SUITE_P(regional_settings, host_link_on_mbhost,
                         ::testing::Values(FixedRegionalSettings::pointLocale(),
                                           FixedRegionalSettings::commaLocale()),
                         [](const auto& info) {
                             return info.param.decimalSeparator() == U'.' ? "point" : "comma";
                         });

}  // namespace
}  // namespace veltrano::testing
