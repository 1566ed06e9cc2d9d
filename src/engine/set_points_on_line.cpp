#include "engine/set_points_on_line.h"

#include <algorithm>
#include <optional>

#include "engine/engine_failure.h"
#include "engine/label_box.h"
#include "engine/mapbasic_placement.h"
#include "engine/obj_to_array.h"
#include "engine/placement_texts.h"
#include "engine/points_along_object.h"
#include "engine/reverse_obj_array.h"

namespace veltrano {

namespace {

// The handling of one source object; once the temporary object is held, every way out
// releases it.
class ObjectPlacer {
public:
    ObjectPlacer(PlacementPort& host, const PlacementRequest& request, MessageBoxPort& messages)
        : host_(host),
          target_{request.outputTable, request.distanceColumn, request.rowIdColumn, {}},
          messages_(messages) {}

    // The source table's name and coordinate system; false (and why) when they cannot be had.
    bool resolveSource(const std::string& srcTable, std::string& why);
    void placeAlong(std::vector<double>& distances, bool fromEnd, ObjectPlacement& result);
    void releaseObject() { host_.releaseObject(); }

private:
    void showFailurePath(const std::optional<RunTimeError>& failure);
    void keepColumnIfPresent(std::string& column);
    void place(const ObjNode& point, const SegmentOfPoint& segment, ObjectPlacement& result);

    PlacementPort& host_;
    OutputTarget target_;
    MessageBoxPort& messages_;
    ObjArray rec_;
};

// Without a pending failure (the host's error code was set) the box reads "0: ".
void ObjectPlacer::showFailurePath(const std::optional<RunTimeError>& failure) {
    if (failure) {
        showInternalError(messages_, kSetPointsOnLineCaption, *failure);
    } else {
        messages_.show("0: ", kSetPointsOnLineCaption, MessageIcon::Exclamation);
    }
    LastError::clear();
}

bool ObjectPlacer::resolveSource(const std::string& srcTable, std::string& why) {
    rec_.tabName = host_.tableName(srcTable);
    why = "the host does not know the table " + srcTable;
    if (rec_.tabName.empty()) return false;
    why = "the host refused the table " + srcTable;
    try {
        if (host_.hostErrorPending()) {
            showFailurePath(std::nullopt);
            return false;
        }
        rec_.tabCoordSys = host_.coordSysClause(rec_.tabName);
    } catch (...) {
        showFailurePath(recordCaughtFailure());
        return false;
    }
    why = "the table " + rec_.tabName + " is not mappable";
    target_.sourceTable = rec_.tabName;
    return !rec_.tabCoordSys.empty();
}

void ObjectPlacer::keepColumnIfPresent(std::string& column) {
    if (!column.empty() && !host_.outputHasColumn(target_.table, column)) column.clear();
}

void ObjectPlacer::place(const ObjNode& node, const SegmentOfPoint& segment,
                         ObjectPlacement& result) {
    const PlacedPoint point{node.x,        node.y,      node.dist,    rec_.rowId,
                            segment.start, segment.end, segment.along};
    const InsertOutcome inserted = host_.insertPoint(target_, point);
    if (!inserted.inserted) {
        --result.placed;
        noteRefusal(result.refusals, inserted.refusal);
    }
    const std::string label = placement_text::labelText(
        !target_.distColumn.empty(), !target_.rowIdColumn.empty(), point.dist, point.rowId);
    if (label.empty()) return;
    const InsertOutcome labelled =
        host_.insertLabel(target_, label, point, labelExtent(rec_.tabCoordSys, point.y));
    if (!labelled.inserted) noteRefusal(result.refusals, labelled.refusal);
}

void ObjectPlacer::placeAlong(std::vector<double>& distances, bool fromEnd,
                              ObjectPlacement& result) {
    keepColumnIfPresent(target_.distColumn);
    keepColumnIfPresent(target_.rowIdColumn);
    rec_.rowId = host_.sourceRowId(rec_.tabName);
    host_.holdObject(rec_.tabName);
    rec_.objType = host_.objectType();
    result.placed = 0;
    if (objToArray(host_.geometry(), rec_, messages_) <= 0) return;
    if (fromEnd) reverseObjArray(rec_);
    ObjSegment pts;
    std::vector<SegmentOfPoint> segments;
    result.computed =
        pointsAlongObject(host_.geometry(), distances, rec_, pts, messages_, &segments);
    result.placed = result.computed;
    for (std::int32_t i = 0; i < result.computed; ++i) {
        const auto at = static_cast<std::size_t>(i);
        place(pts.nodes[at], segments[at], result);
    }
}

}  // namespace

void noteRefusal(std::vector<InsertRefusal>& refusals, const std::string& message) {
    auto seen = std::find_if(refusals.begin(), refusals.end(),
                             [&](const auto& refusal) { return refusal.message == message; });
    if (seen == refusals.end()) seen = refusals.insert(refusals.end(), {message, 0});
    ++seen->count;
}

ObjectPlacement placeAlongObject(PlacementPort& host, const PlacementRequest& request,
                                 MessageBoxPort& messages) {
    ObjectPlacement result;
    if (request.outputTable.empty()) {
        messages.show(kNoOutputTableText, kNoOutputTableCaption, MessageIcon::Exclamation);
        result.unreached = "no output table";
        return result;
    }
    if (!host.hostRunning()) {
        result.unreached = "the host is not running";
        return result;
    }
    ObjectPlacer placer(host, request, messages);
    if (!placer.resolveSource(request.sourceTable, result.unreached)) return result;
    result.unreached.clear();
    try {
        placer.placeAlong(request.distances, request.fromTheEnd, result);
    } catch (...) {
        placer.releaseObject();  // the failure itself still goes up
        throw;
    }
    placer.releaseObject();
    return result;
}

std::int32_t setPointsOnLine(miProObj* hostConn, const PlacementRequest& request,
                             const EnginePorts& ports) {
    if (hostConn == nullptr) {
        // No connection is a host that is not running, told after the output table's check.
        if (request.outputTable.empty()) {
            ports.messages.show(kNoOutputTableText, kNoOutputTableCaption,
                                MessageIcon::Exclamation);
        }
        return -1;
    }
    MapBasicPlacement host(*hostConn, ports.random, ports.timer);
    return placeAlongObject(host, request, ports.messages).placed;
}

}  // namespace veltrano
