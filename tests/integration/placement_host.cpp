#include "placement_host.h"

#include <fstream>

#include "automation/socket/socket_automation_provider.h"
#include "foundation/host_number.h"

namespace veltrano::testing {

namespace {
constexpr const char* kUtm37 = "CoordSys Earth Projection 8, 104, \"m\", 39, 0, 0.9996, 500000, 0";

std::string workspaceScript() {
    const std::string utm = kUtm37;
    return "Create Table roads (name Char(20))\n"
           "Create Map For roads " +
           utm + "\n" +
           "Create Table placed (distanceM Float, xRowId Integer)\n"
           "Create Map For placed " +
           utm + "\n" + "Set " + utm + "\n" +
           "Dim road As Object\n"
           "Create Pline Into Variable road 3 (412000, 6180000) (413000, 6180000) (413000, "
           "6181000)\n"
           "Insert Into roads (obj, name) Values (road, \"bend\")\n"
           "Create Line Into Variable road (412000, 6182000) (412500, 6182000)\n"
           "Insert Into roads (obj, name) Values (road, \"short\")\n"
           "Select * From roads\n";
}
}  // namespace

PlacementHost::PlacementHost() : socket_(directory_.file("socket")) {
    std::ofstream(directory_.file("workspace.mb")) << workspaceScript();
    process_ = std::make_unique<mbhost::testing::MbhostProcess>(
        std::vector<std::string>{"--socket", socket_, "--script", directory_.file("workspace.mb")});
    listening_ = process_->listensAt(socket_);
}

Automation& PlacementHost::client() {
    if (!client_) client_ = ipc::SocketAutomationProvider(socket_).attachRunning();
    return *client_;
}

std::vector<PlacementHost::Placed> PlacementHost::placedRows() {
    Automation& host = client();
    std::vector<Placed> rows;
    const int count = std::stoi(host.Eval("TableInfo(placed, 8)"));
    host.Do("Fetch First From placed");
    for (int i = 0; i < count; ++i) {
        rows.push_back({readHostNumber(host.Eval("placed.distanceM")),
                        std::stoi(host.Eval("placed.xRowId")),
                        readHostNumber(host.Eval("CentroidX(placed.obj)")),
                        readHostNumber(host.Eval("CentroidY(placed.obj)"))});
        host.Do("Fetch Next From placed");
    }
    return rows;
}

}  // namespace veltrano::testing
