// Placement along one object: the engine's entry point for one selected row.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/miProObj.h"
#include "platform/clock_random.h"
#include "platform/message_box.h"

namespace veltrano {

// What the engine needs of the platform besides the host.
struct EnginePorts {
    MessageBoxPort& messages;
    RandomSource& random = processRandom();  // for the temporary variable's name
    TimerPort& timer = systemTimer();
};

// One object's placement as its caller asks for it.
struct PlacementRequest {
    std::vector<double>& distances;  // metres; the caller's list, which the engine sorts in place
    std::string sourceTable;         // the table whose current row holds the object
    std::string outputTable;
    std::string distanceColumn = "distanceM";
    std::string rowIdColumn = "xRowId";
    bool fromTheEnd = false;  // measure from the object's last node instead of its first
};

// Places a point at each distance along the object in the current row of the source table
// and writes it into the output table: one row per point with the distance in the distance
// column and the source row id in the row-id column; the attributes whose column the output
// table lacks go into a text label row at the point ("M = <dist>", "RowID = <id>", joined by
// the two characters \n).
//
// hostConn: the host connection (none gives -1).
// Result: -1 when the object is not reached (output table name empty: a warning box;
// host not running; source table or its coordinate system unknown); otherwise the points
// placed: those computed less the inserts the host did not complete.
//
// A run-time failure after the source row was reached goes up to the caller; the
// temporary host variable is released first once it has been declared.
std::int32_t setPointsOnLine(miProObj* hostConn, const PlacementRequest& request,
                             const EnginePorts& ports);

}  // namespace veltrano
