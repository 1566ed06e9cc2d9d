// veltrano-batch's run over a scripted host: what it prints and how it ends when the host
// is missing or nothing is selected, and the exit status each placement report gives.
#include "batch_run.h"

#include <gtest/gtest.h>

#include <sstream>

#include "automation/raised.h"
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

TEST(batch_status, each_report_has_its_status_and_names_the_refusals) {
    const auto placed = PlacementOutcome::Placed;
    const struct {
        PlacementReport report;
        ExitStatus status;
        std::string err;
    } rows[] = {
        {PlacementReport{placed, {{3, 3, ""}, {-1, 0, "why"}}, {}}, kPlaced, ""},
        {PlacementReport{placed, {{0, 0, ""}}, {}}, kPlaced,
         "no distance fell on any selected object"},
        {PlacementReport{placed, {{0, 2, ""}}, {{"not mappable", 2}}}, kRefused,
         "the host refused 2 insert(s) into Out: not mappable\n"},
        {PlacementReport{placed, {{2, 2, ""}}, {{"label refused", 1}}}, kPartlyPlaced,
         "label refused"},
        {PlacementReport{placed, {{1, 2, ""}}, {}}, kPartlyPlaced, ""},
        {PlacementReport{PlacementOutcome::Refused, {}, {}}, kRefused, ""},
        {PlacementReport{PlacementOutcome::NoSelection, {}, {}}, kNothingSelected, ""},
        {PlacementReport{PlacementOutcome::Failed, {{1, 1, ""}}, {}}, kStopped, ""},
    };
    for (const auto& row : rows) {
        std::ostringstream err;
        EXPECT_EQ(statusOf(row.report, "Out", err), row.status) << err.str();
        EXPECT_NE(err.str().find(row.err), std::string::npos) << err.str();
        if (row.err.empty()) {
            EXPECT_EQ(err.str(), "");
        }
    }
}

}  // namespace
}  // namespace veltrano::batch
