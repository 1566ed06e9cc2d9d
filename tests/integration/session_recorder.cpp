#include "session_recorder.h"

#include <csignal>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "automation/socket/socket_automation_provider.h"
#include "mbhost_process.h"
#include "support/placement_session.h"

namespace veltrano::testing {

namespace {

// Geographic coordinates, so that every point is found by refining geodesic distances: the
// requests then carry many formatted numbers, which is where platforms differ first.
std::string workspaceScript() {
    return "Create Table tracks (name Char(20))\n"
           "Create Map For tracks CoordSys Earth Projection 1, 104\n"
           "Create Table placed (distanceM Float, xRowId Integer)\n"
           "Create Map For placed CoordSys Earth Projection 1, 104\n"
           "Create Table labels (note Char(10))\n"
           "Create Map For labels CoordSys Earth Projection 1, 104\n"
           "Set CoordSys Earth Projection 1, 104\n"
           "Dim track As Object\n"
           "Create Pline Into Variable track 4 (37.60, 55.75) (37.70, 55.80) (37.85, 55.78) "
           "(38.00, 55.90)\n"
           "Insert Into tracks (obj, name) Values (track, \"Кольцевая\")\n"
           "Create Line Into Variable track (30.30, 59.93) (30.36, 59.94)\n"
           "Insert Into tracks (obj, name) Values (track, \"short\")\n"
           "Create Region Into Variable track 1 4 (44.00, 48.70) (44.10, 48.70) (44.10, 48.76) "
           "(44.00, 48.76)\n"
           "Insert Into tracks (obj, name) Values (track, \"block\")\n"
           "Select * From tracks\n";
}

}  // namespace

RecordedSession recordPlacementSession(const std::string& directory) {
    const std::filesystem::path dir(directory);
    RecordedSession recorded{
        (dir / "placement.trace.jsonl").string(), (dir / "placement.report.txt").string(), {}};
    const std::string workspace = (dir / "workspace.mb").string();
    const std::string socket = (dir / "mbhost.socket").string();
    std::ofstream(workspace) << workspaceScript();
    std::filesystem::remove(recorded.tracePath);

    mbhost::testing::MbhostProcess host(
        {"--socket", socket, "--script", workspace, "--trace", recorded.tracePath});
    if (!host.listensAt(socket)) throw std::runtime_error("mbhost did not start listening");
    ipc::SocketAutomationProvider socketHosts(socket);
    LoggingProvider hosts(socketHosts);
    const std::string report = runPlacementSession(hosts);
    recorded.sent = hosts.log();
    host.signal(SIGTERM);
    if (host.wait().status != 0) throw std::runtime_error("mbhost did not end cleanly");

    std::ofstream out(recorded.reportPath, std::ios::binary);
    out << report;
    if (!out.flush()) throw std::runtime_error("cannot write " + recorded.reportPath);
    return recorded;
}

}  // namespace veltrano::testing
