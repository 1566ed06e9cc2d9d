// veltrano-batch's run over a scripted host: what it prints and how it ends when the host
// is missing or nothing is selected, and how it counts the inserts it watches.
#include "batch_run.h"

#include <gtest/gtest.h>

#include <sstream>

#include "automation/raised.h"
#include "insert_watch.h"
#include "support/dialog_fixture.h"

namespace veltrano::batch {
namespace {

class batch_run : public ::testing::Test {
protected:
    ExitStatus run(std::string points, std::string outputTable) {
        Options options;
        options.points = std::move(points);
        options.outputTable = std::move(outputTable);
        return runBatch(options, {f.provider, "/run/test/socket"}, out, err);
    }

    testing::DialogFixture f;
    std::ostringstream out, err;
};

TEST_F(batch_run, no_host_says_so_where_and_fails) {
    f.provider.running.reset();
    EXPECT_EQ(run("10", "Out"), kHostUnreachable);
    EXPECT_EQ(err.str().rfind(
                  "Error: No active Mapinfo.: Не удалось выполнить подключение к работающей копии "
                  "MapInfo.\nДля работы приложения программа MapInfo должна быть загружена.\n"
                  "veltrano-batch: cannot reach the host at /run/test/socket: ",
                  0),
              0u)
        << err.str();
    EXPECT_EQ(out.str(), "");
}

TEST_F(batch_run, an_empty_selection_is_not_a_placement) {
    EXPECT_EQ(run("10", "Out"), kNothingSelected);
    EXPECT_EQ(err.str(), "Veltrano: NO Selected Objects\n");
    EXPECT_EQ(out.str(), "--- NO Selected Objects ---\n");
}

TEST_F(batch_run, the_watch_counts_inserts_into_the_output_table_and_passes_all_on) {
    f.host->fail("Insert into Out ( obj, distanceM ) Values ( v, 2 ) ", 1013, "not mappable");
    f.host->fail("Insert into Out (obj) Values (v) ", 1013, "not mappable");
    f.host->fail("Insert into Other ( obj ) Values ( v ) ", 405, "not open");
    InsertRecord record;
    WatchingProvider watching(f.provider, "Out", record);
    const AutomationPtr watched = watching.attachRunning();
    const char* statements[] = {"Insert into Out ( obj, distanceM ) Values ( v, 1 ) ",
                                "Insert into Out ( obj, distanceM ) Values ( v, 2 ) ",
                                "Insert into Out (obj) Values (v) ",
                                "Insert into Other ( obj ) Values ( v ) "};
    for (const char* statement : statements) testing::raisedBy([&] { watched->Do(statement); });
    EXPECT_EQ(record.pointInserts, 2u);
    EXPECT_EQ(record.refusedPoints, 1u);
    ASSERT_EQ(record.refusals.size(), 1u);
    EXPECT_EQ(record.refusals[0].message, "not mappable");
    EXPECT_EQ(record.refusals[0].count, 2u);
    EXPECT_EQ(f.host->traffic().size(), std::size(statements));

    f.provider.running.reset();
    EXPECT_THROW(watching.attachRunning(), RunTimeError);
    EXPECT_FALSE(record.attachFailure.empty());
}

}  // namespace
}  // namespace veltrano::batch
