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

// Places a point at each distance along the object in the current row of srcTable and
// writes it into outTable: one row per point with the distance in distColumn and the
// source row id in rowIdColumn; the attributes whose column outTable lacks go into a text
// label row at the point ("M = <dist>", "RowID = <id>", joined by the two characters \n).
//
// hostConn: the host connection (none gives -1). distances: metres, sorted in place.
// fromEnd: measure from the object's last node instead of its first.
// Result: -1 when the object is not reached (output table name empty: a warning box;
// host not running; source table or its coordinate system unknown); otherwise the points
// placed: those computed less the inserts the host did not complete.
//
// A run-time failure after the source row was reached goes up to the caller; the
// temporary host variable is released first once it has been declared.
std::int32_t setPointsOnLine(miProObj* hostConn, std::vector<double>& distances,
                             const std::string& srcTable, const std::string& outTable,
                             std::string distColumn, std::string rowIdColumn, bool fromEnd,
                             const EnginePorts& ports);

}  // namespace veltrano
