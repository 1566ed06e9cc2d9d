#include "engine/mapbasic_placement.h"

#include "engine/engine_failure.h"
#include "engine/placement_texts.h"
#include "engine/random_digits.h"
#include "foundation/host_codes.h"
#include "foundation/host_number.h"
#include "foundation/number_text.h"

namespace veltrano {

namespace {

namespace text = placement_text;

MapBasicGeometry::CoordTexts splitPair(const std::string& answer) {
    const auto p = answer.find(';');
    if (p == std::string::npos) {
        throw RunTimeError(err::kInvalidProcedureCall,
                           describeError(err::kInvalidProcedureCall) + ": the host's answer \"" +
                               answer + "\" is not a coordinate pair",
                           "objToArray");
    }
    return {answer.substr(0, p), answer.substr(p + 1)};
}

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

}  // namespace

Automation& MapBasicGeometry::host() {
    return heldHost(host_);
}

HostPoint MapBasicGeometry::remember(std::string answer) {
    previous_ = std::move(current_);
    current_ = splitPair(answer);
    return {readHostNumber(current_.x), readHostNumber(current_.y)};
}

void MapBasicGeometry::useTableCoordSys(const std::string& table) {
    host().Do(text::setCoordSysTable(table));
}

HostPoint MapBasicGeometry::lineEnd(bool end) {
    return remember(
        host().Eval(end ? text::lineEndPair(objVar_, 3, 4) : text::lineEndPair(objVar_, 1, 2)));
}

std::int16_t MapBasicGeometry::sectionCount() {
    return toInt16(readHostNumber(
        host().Eval(text::objectInfoCount(objVar_, host_code::object_info::kSectionCount))));
}

std::int32_t MapBasicGeometry::nodeCount(std::int32_t section) {
    return toInt32(readHostNumber(host().Eval(
        text::objectInfoCount(objVar_, host_code::object_info::kSectionCount + section))));
}

HostPoint MapBasicGeometry::node(std::int32_t section, std::int32_t n) {
    return remember(host().Eval(text::nodePair(objVar_, section, n)));
}

double MapBasicGeometry::distanceFromPreviousNode() {
    return readHostNumber(
        host().Eval(text::nodeDistance(previous_.x, previous_.y, current_.x, current_.y)));
}

double MapBasicGeometry::objectLength(bool perimeter) {
    return readHostNumber(
        host().Eval(perimeter ? text::objectPerimeter(objVar_) : text::objectLength(objVar_)));
}

std::string MapBasicGeometry::measuringCoordSys(const std::string& table) {
    Automation& h = host();
    h.Do(text::setCoordSysTable(table));
    return h.Eval(text::tableCoordSysClause(table));
}

double MapBasicGeometry::distance(double ax, double ay, double x, double y) {
    return readHostNumber(host().Eval(text::pointDistance(ax, ay, x, y)));
}

bool MapBasicPlacement::hostRunning() {
    return host_.isLoaded();
}

std::string MapBasicPlacement::tableName(const std::string& table) {
    try {
        return textOf(host_.TableInfo(table, host_code::table_info::kName));
    } catch (const RunTimeError&) {
        LastError::clear();  // this one request's failure only leaves the name empty
        return {};
    }
}

bool MapBasicPlacement::hostErrorPending() {
    return host_.IsError();
}

std::string MapBasicPlacement::coordSysClause(const std::string& table) {
    return textOf(host_.Eval(text::tableCoordSysClause(table)));
}

bool MapBasicPlacement::outputHasColumn(const std::string& outTable, const std::string& column) {
    try {
        const HostValue answer = host_.Eval(text::columnProbe(outTable, column));
        return !textOf(answer).empty() && !host_.lastCallFailed();
    } catch (const RunTimeError&) {
        LastError::clear();
        return false;
    }
}

std::int32_t MapBasicPlacement::sourceRowId(const std::string& table) {
    return wholeOf(host_.Eval(text::sourceRowId(table)), "the source row id");
}

void MapBasicPlacement::holdObject(const std::string& table) {
    variable_ = temporaryVariableName(getRandomDigits(random_, timer_));
    host_.xDo(text::declareObjectVariable(variable_));
    declared_ = !host_.lastCallFailed();
    host_.xDo(text::copySourceObject(variable_, table));
}

std::int32_t MapBasicPlacement::objectType() {
    return wholeOf(host_.Eval(text::objectTypeOf(variable_)), "the source object's type");
}

void MapBasicPlacement::releaseObject() {
    if (!declared_) return;
    host_.xDo(text::releaseVariable(variable_));
    declared_ = false;
}

GeometryPort& MapBasicPlacement::geometry() {
    geometry_.emplace(host_.GetMiApp(), variable_);
    return *geometry_;
}

InsertOutcome MapBasicPlacement::refused() const {
    return {false, host_.lastFailureMessage()};
}

InsertOutcome MapBasicPlacement::insertPoint(const OutputTarget& target, const PlacedPoint& point) {
    host_.xDo(text::createPoint(target.sourceTable, variable_, point.x, point.y));
    // Inserting now would write whatever the variable held before (the source object or
    // the previous point) as this point.
    if (host_.lastCallFailed()) return refused();
    host_.xDo(text::insertPoint(target.table, variable_, target.distColumn, target.rowIdColumn,
                                point.dist, point.rowId));
    // The link shows a rejected insert and clears the host's error code, so IsError alone
    // cannot tell; the link remembers whether the call went through.
    const bool isError = host_.IsError();
    if (isError || host_.lastCallFailed()) return refused();
    return {};
}

InsertOutcome MapBasicPlacement::insertLabel(const OutputTarget& target, std::string_view label,
                                             const PlacedPoint& point, const LabelExtent& box) {
    host_.xDo(text::createLabel(variable_, label, point.x, point.y, box.east, box.north));
    // Without its text object the variable still holds the point: no second point row.
    if (host_.lastCallFailed()) return refused();
    host_.xDo(text::insertLabel(target.table, variable_));
    if (host_.lastCallFailed()) return refused();
    return {};
}

}  // namespace veltrano
