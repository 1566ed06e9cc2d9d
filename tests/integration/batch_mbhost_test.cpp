// veltrano-batch as a shell runs it, against mbhost running as a process of its own.
#include <gtest/gtest.h>

#include <fstream>

#include "automation/socket/socket_automation_provider.h"
#include "mbhost_process.h"
#include "support/shell_run.h"

namespace veltrano::testing {
namespace {

// A workspace in a projected system: a bent polyline of 2000 m and a straight line of 500 m,
// both selected, and an output table with the distance and row-id columns.
std::string writeWorkspace(const TempDir& dir) {
    const std::string utm = "CoordSys Earth Projection 8, 104, \"m\", 39, 0, 0.9996, 500000, 0";
    std::ofstream(dir.file("workspace.mb"))
        << "Create Table roads (name Char(20))\nCreate Map For roads " << utm
        << "\nCreate Table placed (distanceM Float, xRowId Integer)\nCreate Map For placed " << utm
        << "\nSet " << utm << "\nDim road As Object\n"
        << "Create Pline Into Variable road 3 (412000, 6180000) (413000, 6180000) (413000, "
           "6181000)\n"
        << "Insert Into roads (obj, name) Values (road, \"bend\")\n"
        << "Create Line Into Variable road (412000, 6182000) (412500, 6182000)\n"
        << "Insert Into roads (obj, name) Values (road, \"short\")\nSelect * From roads\n";
    return dir.file("workspace.mb");
}

// mbhost serving that workspace, and a second client for looking at the result.
struct PlacementHost {
    TempDir dir;
    std::string socket = dir.file("socket");
    mbhost::testing::MbhostProcess process{{"--socket", socket, "--script", writeWorkspace(dir)}};
    bool listening = process.listensAt(socket);
    AutomationPtr client =
        listening ? ipc::SocketAutomationProvider(socket).attachRunning() : nullptr;
};

// Each row of the output table: its distance, row id and point to the metre.
std::vector<std::string> placedRows(Automation& host) {
    std::vector<std::string> rows;
    const int count = std::stoi(host.Eval("TableInfo(placed, 8)"));
    host.Do("Fetch First From placed");
    for (int i = 0; i < count; ++i, host.Do("Fetch Next From placed")) {
        rows.push_back(
            host.Eval("Str$(placed.distanceM) + \" \" + Str$(placed.xRowId) + \" \" + "
                      "Str$(Round(CentroidX(placed.obj), 1)) + \" \" + "
                      "Str$(Round(CentroidY(placed.obj), 1))"));
    }
    return rows;
}

// Runs veltrano-batch with its host at socket; standard error joins standard output when
// asked, so a test sees the messages too.
ShellRun runBatch(const std::string& socket, const std::string& arguments, bool withMessages) {
    return runShell("MBHOST_SOCKET='" + socket + "' '" VELTRANO_BATCH_PATH "' " + arguments +
                    (withMessages ? " 2>&1" : " 2>/dev/null"));
}

// From the start, and from the last node with --from-end: the dialog's summary on standard
// output, the points in the output table where they belong.
TEST(batch_with_mbhost, places_the_points_as_the_dialog_does) {
    const struct {
        std::string arguments, allocated;
        std::vector<std::string> placed;
    } rows[] = {
        {"--points '1500;100\n600' --output placed",
         "\n ** 3 points allocated.\n ** 1 points allocated.\n",
         {"100 1 412100 6180000", "600 1 412600 6180000", "1500 1 413000 6180500",
          "100 2 412100 6182000"}},
        {"--points 100 --output placed --from-end",
         "\n ** 1 points allocated.\n ** 1 points allocated.\n",
         {"100 1 413000 6180900", "100 2 412400 6182000"}},
    };
    for (const auto& row : rows) {
        PlacementHost host;
        ASSERT_TRUE(host.listening);
        const ShellRun run = runBatch(host.socket, row.arguments, false);
        EXPECT_EQ(run.status, 0) << run.out;
        EXPECT_NE(run.out.find("---  Selection :: ["), std::string::npos) << run.out;
        EXPECT_NE(run.out.find("2 Object(s) from  [roads]:"), std::string::npos) << run.out;
        EXPECT_NE(run.out.find(row.allocated), std::string::npos) << run.out;
        EXPECT_EQ(placedRows(*host.client), row.placed) << row.arguments;
    }
}

// Every way a run can place nothing, no host included, each said on standard error with its
// status; none changes the host.
TEST(batch_with_mbhost, each_refusal_has_its_status_and_its_reason) {
    PlacementHost host;
    ASSERT_TRUE(host.listening);
    host.client->Do("Create Table flat (a Integer)");
    const std::string longList = ::testing::TempDir() + "veltrano-30000-distances.txt";
    std::ofstream(longList) << [] {
        std::string text;  // all beyond both objects (2000 m and 500 m)
        for (int d = 3000; d < 33000; ++d) text += std::to_string(d) + "\n";
        return text;
    }();
    const std::string notPositive = "' is not a positive distance\nveltrano-batch: no positive";
    const std::string nobody = ::testing::TempDir() + "veltrano-nobody-listens.socket";
    const struct {
        std::string arguments;
        int status;
        std::string message;
    } rows[] = {
        {"--points 10 --output placed", 2,
         "cannot reach the host: no mbhost is running at " + nobody},
        {"--points 100 --output nothere", 3,
         "refused 4 insert(s) into nothere: line 1, position 13, near 'nothere': Table nothere is "
         "not open"},
        {"--points 100 --output Query1", 3, "': Table Query1 is read-only"},
        {"--points 100 --output flat", 3, "': Table flat is not mappable"},
        {"--points 100 --output Selection", 3, "is read-only"},
        {"--points 100 --output \"$(printf 'out (obj) Values (CreatePoint(0,0))\\r\\n"
         "Close Table placed\\r\\nInsert Into placed')\"",
         3, "Warning: Output table not defined.: "},
        {"--points 'nan' --output placed", 3, "'nan" + notPositive},
        {"--points '-100' --output placed", 3, "'-100" + notPositive},
        {"--points '0' --output placed", 3, "'0" + notPositive},
        {"--points-file " + longList + " --output placed", 0, "no distance fell on any"},
        {"--points-file - --output placed < " + longList, 0, "no distance fell on any"},
    };
    for (const auto& row : rows) {
        const bool noHost = row.status == 2;
        const ShellRun run = runBatch(noHost ? nobody : host.socket, row.arguments, true);
        EXPECT_EQ(run.status, row.status) << row.arguments << "\n" << run.out;
        EXPECT_NE(run.out.find(row.message), std::string::npos) << row.arguments << "\n" << run.out;
    }
    EXPECT_TRUE(placedRows(*host.client).empty());
}

}  // namespace
}  // namespace veltrano::testing
