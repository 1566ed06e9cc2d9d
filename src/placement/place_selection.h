// The placement use case: walk the host's selection, place along each object, report.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "engine/set_points_on_line.h"
#include "platform/message_box.h"

namespace veltrano {

// How a placement ended.
enum class PlacementOutcome {
    Placed,       // the walk went over the selection
    Refused,      // no distance or no nameable output table: nothing was sent to the host
    NoSelection,  // the host holds no selection (or could not be asked)
    Failed,       // a failure stopped the walk; it has been reported
};

// The host's selection as the placement walks it, one current row at a time.
class SelectionWalk {
public:
    virtual ~SelectionWalk() = default;
    // The number of selected rows; 0 when there is none or the host cannot say.
    virtual std::int32_t selectedCount() = 0;
    // Moves to the first selected row; the name of the table that holds the selection.
    virtual std::string first() = 0;
    // Whether the host holds an error that must stop the walk.
    virtual bool hostErrorPending() = 0;
    // The engine on the current row.
    virtual ObjectPlacement placeCurrent(const PlacementRequest& request) = 0;
    // Moves to the next row; false past the last.
    virtual bool next() = 0;
};

// One object of the walk.
struct ObjectReport {
    std::int32_t placed = -1;   // -1: not reached
    std::int32_t computed = 0;  // points found along it
    std::string unreached;      // why it was not reached
};

struct PlacementReport {
    PlacementOutcome outcome = PlacementOutcome::Placed;
    std::vector<ObjectReport> objects;    // in the order walked
    std::vector<InsertRefusal> refusals;  // every refused insert, by the host's message

    std::int64_t computed() const;
    std::int64_t placed() const;
};

// What to place: the distances (sorted in place by the engine), where, and how to follow.
struct PlacementOrder {
    std::vector<double>& distances;
    std::string outputTable;
    std::function<bool()> fromTheEnd;                          // asked anew for every object
    std::function<void(const ObjectReport&)> objectDone = {};  // after each object
    std::function<bool()> stopRequested = {};                  // true: pass over the rest
};

inline constexpr const char* kDistanceColumn = "distanceM";
inline constexpr const char* kRowIdColumn = "xRowId";

// Places the order along every selected object. "NO Selected Objects" and a failure that
// stops the walk are said on messages; the engine says its own.
PlacementReport placeSelection(SelectionWalk& selection, const PlacementOrder& order,
                               MessageBoxPort& messages);

// "the host refused 3 insert(s) into Posts: <the host's message>": how both front ends
// say one refusal of the report.
std::string refusalText(const InsertRefusal& refusal, const std::string& outputTable);

// The pending run-time error, "<number>: <description>" ("0: " when none), as an internal
// error box.
void reportInternalError(MessageBoxPort& messages);

}  // namespace veltrano
