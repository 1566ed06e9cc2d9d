// A running mbhost, as a separate process, holding a small workspace in a projected system:
// a bent polyline of 2000 m and a straight line of 500 m, both selected, and an output table
// with the distance and row-id columns.
#pragma once

#include <memory>
#include <string>

#include "host/automation.h"
#include "mbhost_process.h"
#include "served_host.h"

namespace veltrano::testing {

class PlacementHost {
public:
    PlacementHost();

    const std::string& socket() const { return socket_; }
    bool listening() const { return listening_; }
    // The host object as a second client sees it, for looking at the result.
    Automation& client();

    // One row of the output table.
    struct Placed {
        double distance = 0;
        int rowId = 0;
        double x = 0, y = 0;
    };
    std::vector<Placed> placedRows();

    static constexpr const char* kOutputTable = "placed";

private:
    TempDir directory_;
    std::string socket_;
    std::unique_ptr<mbhost::testing::MbhostProcess> process_;
    bool listening_ = false;
    AutomationPtr client_;
};

}  // namespace veltrano::testing
