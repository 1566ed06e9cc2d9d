#include "engine/set_points_on_line.h"

#include <optional>
#include <string_view>

#include "engine/engine_failure.h"
#include "engine/label_box.h"
#include "engine/obj_to_array.h"
#include "engine/placement_texts.h"
#include "engine/points_along_object.h"
#include "engine/random_digits.h"
#include "engine/reverse_obj_array.h"
#include "foundation/host_number.h"
#include "foundation/number_text.h"
#include "host/host_codes.h"

namespace veltrano {

namespace {

namespace text = placement_text;

constexpr std::string_view kNoOutputTableText =
    "Необходимо задать таблицу, в которую будут помещены создаваемые точки.";
constexpr std::string_view kNoOutputTableCaption = "Warning: Output table not defined.";
constexpr std::int32_t kNotReached = -1;

// A host value read as text; no value reads as empty.
std::string textOf(const HostValue& value) {
    if (value.isText()) return value.asText();
    if (value.isWhole()) return std::to_string(value.asWhole());
    if (value.isReal()) return programNumberText(value.asReal());
    return {};
}

// A host value read as a whole number, as the assignment to a 32-bit field converts it.
std::int32_t wholeOf(const HostValue& value, std::string_view what) {
    if (value.isWhole()) return value.asWhole();
    if (value.isReal()) return toInt32(value.asReal());
    if (value.isEmpty()) return 0;
    if (value.isNull()) {
        throw RunTimeError(err::kInvalidUseOfNull, "Invalid use of Null: " + std::string(what),
                           "setPointsOnLine");
    }
    throw RunTimeError(err::kTypeMismatch,
                       "Type mismatch: " + std::string(what) + " is \"" + value.asText() + "\"",
                       "setPointsOnLine");
}

// The handling of one source object; once the temporary variable is declared, every way
// out releases it.
class ObjectPlacement {
public:
    ObjectPlacement(miProObj& host, const std::string& outTable, std::string distColumn,
                    std::string rowIdColumn, const EnginePorts& ports)
        : host_(host),
          outTable_(outTable),
          distColumn_(std::move(distColumn)),
          rowIdColumn_(std::move(rowIdColumn)),
          ports_(ports) {}

    // The source table's name and coordinate system; false when they cannot be had.
    bool resolveSource(const std::string& srcTable);
    std::int32_t placeAlongObject(std::vector<double>& distances, bool fromEnd);
    void releaseVariable();

private:
    std::string sourceTableName(const std::string& srcTable);
    void showFailurePath(const std::optional<RunTimeError>& failure);
    void keepColumnIfPresent(std::string& column);
    void declareVariable();
    bool insertSucceeded(const ObjNode& point);
    void addLabel(const ObjNode& point);

    miProObj& host_;
    const std::string& outTable_;
    std::string distColumn_;
    std::string rowIdColumn_;
    const EnginePorts& ports_;
    ObjArray rec_;
    std::string variable_;   // the temporary variable's name
    bool declared_ = false;  // the host took its declaration: it must be released
};

std::string ObjectPlacement::sourceTableName(const std::string& srcTable) {
    try {
        return textOf(host_.TableInfo(srcTable, host_code::table_info::kName));
    } catch (const RunTimeError&) {
        LastError::clear();  // this one request's failure only leaves the name empty
        return {};
    }
}

// Without a pending failure (the host's error code was set) the box reads "0: ".
void ObjectPlacement::showFailurePath(const std::optional<RunTimeError>& failure) {
    if (failure) {
        showInternalError(ports_.messages, kSetPointsOnLineCaption, *failure);
    } else {
        ports_.messages.show("0: ", kSetPointsOnLineCaption, MessageIcon::Exclamation);
    }
    LastError::clear();
}

bool ObjectPlacement::resolveSource(const std::string& srcTable) {
    rec_.tabName = sourceTableName(srcTable);
    if (rec_.tabName.empty()) return false;
    try {
        if (host_.IsError()) {
            showFailurePath(std::nullopt);
            return false;
        }
        rec_.tabCoordSys = textOf(host_.Eval(text::tableCoordSysClause(rec_.tabName)));
    } catch (...) {
        showFailurePath(recordCaughtFailure());
        return false;
    }
    return !rec_.tabCoordSys.empty();
}

void ObjectPlacement::keepColumnIfPresent(std::string& column) {
    if (column.empty()) return;
    try {
        const HostValue answer = host_.Eval(text::columnProbe(outTable_, column));
        if (textOf(answer).empty() || host_.lastCallFailed()) column.clear();
    } catch (const RunTimeError&) {
        LastError::clear();
        column.clear();
    }
}

void ObjectPlacement::declareVariable() {
    const std::string name = temporaryVariableName(getRandomDigits(ports_.random, ports_.timer));
    variable_ = name;
    host_.xDo(text::declareObjectVariable(variable_));
    declared_ = !host_.lastCallFailed();
    host_.xDo(text::copySourceObject(variable_, rec_.tabName));
}

bool ObjectPlacement::insertSucceeded(const ObjNode& point) {
    host_.xDo(text::createPoint(rec_.tabName, variable_, point.x, point.y));
    // Inserting now would write whatever the variable held before (the source object or
    // the previous point) as this point.
    if (host_.lastCallFailed()) return false;
    host_.xDo(
        text::insertPoint(outTable_, variable_, distColumn_, rowIdColumn_, point.dist, rec_.rowId));
    // The link shows a rejected insert and clears the host's error code, so IsError alone
    // cannot tell; the link remembers whether the call went through.
    const bool isError = host_.IsError();
    return !isError && !host_.lastCallFailed();
}

void ObjectPlacement::addLabel(const ObjNode& point) {
    const std::string label =
        text::labelText(!distColumn_.empty(), !rowIdColumn_.empty(), point.dist, rec_.rowId);
    if (label.empty()) return;
    const LabelExtent box = labelExtent(rec_.tabCoordSys, point.y);
    host_.xDo(text::createLabel(variable_, label, point.x, point.y, box.east, box.north));
    // Without its text object the variable still holds the point: no second point row.
    if (host_.lastCallFailed()) return;
    host_.xDo(text::insertLabel(outTable_, variable_));
}

std::int32_t ObjectPlacement::placeAlongObject(std::vector<double>& distances, bool fromEnd) {
    keepColumnIfPresent(distColumn_);
    keepColumnIfPresent(rowIdColumn_);
    rec_.rowId = wholeOf(host_.Eval(text::sourceRowId(rec_.tabName)), "the source row id");
    declareVariable();
    rec_.objType = wholeOf(host_.Eval(text::objectTypeOf(variable_)), "the source object's type");
    if (objToArray(host_, variable_, rec_, ports_.messages) <= 0) return 0;
    if (fromEnd) reverseObjArray(rec_);
    ObjSegment pts;
    const std::int32_t computed = pointsAlongObject(host_, distances, rec_, pts, ports_.messages);
    std::int32_t failed = 0;
    for (std::int32_t i = 0; i < computed; ++i) {
        const ObjNode& point = pts.nodes[static_cast<std::size_t>(i)];
        if (!insertSucceeded(point)) ++failed;
        addLabel(point);
    }
    return computed - failed;
}

void ObjectPlacement::releaseVariable() {
    if (!declared_) return;
    host_.xDo(text::releaseVariable(variable_));
    declared_ = false;
}

}  // namespace

std::int32_t setPointsOnLine(miProObj* hostConn, const PlacementRequest& request,
                             const EnginePorts& ports) {
    if (request.outputTable.empty()) {
        ports.messages.show(kNoOutputTableText, kNoOutputTableCaption, MessageIcon::Exclamation);
        return kNotReached;
    }
    if (hostConn == nullptr || !hostConn->isLoaded()) return kNotReached;
    ObjectPlacement placement(*hostConn, request.outputTable, request.distanceColumn,
                              request.rowIdColumn, ports);
    if (!placement.resolveSource(request.sourceTable)) return kNotReached;
    std::int32_t placed = 0;
    try {
        placed = placement.placeAlongObject(request.distances, request.fromTheEnd);
    } catch (...) {
        placement.releaseVariable();  // the failure itself still goes up
        throw;
    }
    placement.releaseVariable();
    return placed;
}

}  // namespace veltrano
