// Placement along one object: the engine's entry point for one selected row.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/placement_port.h"
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

// Inserts the host refused for one reason: its message and how many.
struct InsertRefusal {
    std::string message;
    std::size_t count = 0;
};
// Counts one more refusal under its message.
void noteRefusal(std::vector<InsertRefusal>& refusals, const std::string& message);

// How the placement along one object went.
struct ObjectPlacement {
    ObjectPlacement() = default;
    // Only a count, as a stand-in for the engine gives it.
    ObjectPlacement(std::int32_t count) : placed(count) {}  // NOLINT: a count converts

    std::int32_t placed = -1;             // points placed; -1: the object was not reached
    std::int32_t computed = 0;            // points found along the object
    std::string unreached;                // why the object was not reached
    std::vector<InsertRefusal> refusals;  // point and label inserts the host refused
};

// Places a point at each distance along the object in the current row of the source table
// and writes it into the output table: one row per point with the distance in the distance
// column and the source row id in the row-id column; the attributes whose column the output
// table lacks go into a text label row at the point ("M = <dist>", "RowID = <id>", joined by
// the two characters \n).
//
// placed: -1 when the object is not reached (output table name empty: a warning box;
// host not running; source table or its coordinate system unknown); otherwise the points
// computed less the inserts the host did not complete.
//
// A run-time failure after the source row was reached goes up to the caller; the
// temporary host variable is released first once it has been declared.
ObjectPlacement placeAlongObject(PlacementPort& host, const PlacementRequest& request,
                                 MessageBoxPort& messages);
// The same over the host connection as MapBasic text; the number of points placed.
std::int32_t setPointsOnLine(miProObj* hostConn, const PlacementRequest& request,
                             const EnginePorts& ports);

inline constexpr std::string_view kNoOutputTableText =
    "Необходимо задать таблицу, в которую будут помещены создаваемые точки.";
inline constexpr std::string_view kNoOutputTableCaption = "Warning: Output table not defined.";

}  // namespace veltrano
