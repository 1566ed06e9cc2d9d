// What the placement engine asks of the host, each question named for what it means; the
// MapBasic texts that answer them today are one adapter, the host's tables in this process
// another.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/label_box.h"

namespace veltrano {

// A node or a line's end in the coordinate system of the object's table.
struct HostPoint {
    double x = 0;
    double y = 0;
};

// The geometry of the object the placement holds, and the host's measure in its table.
// Failures are RunTimeError.
class GeometryPort {
public:
    virtual ~GeometryPort() = default;

    // Points the host at the table's coordinate system before its nodes are read.
    virtual void useTableCoordSys(const std::string& table) = 0;
    // The start (end false) or the end of a line.
    virtual HostPoint lineEnd(bool end) = 0;
    virtual std::int16_t sectionCount() = 0;
    virtual std::int32_t nodeCount(std::int32_t section) = 0;
    // Node n of a section, both counted from 1.
    virtual HostPoint node(std::int32_t section, std::int32_t n) = 0;
    // Metres between the two points read last by lineEnd or node.
    virtual double distanceFromPreviousNode() = 0;
    // Metres along a line or polyline, or around a region.
    virtual double objectLength(bool perimeter) = 0;

    // The table's coordinate-system clause, as the measuring that follows will use it.
    virtual std::string measuringCoordSys(const std::string& table) = 0;
    // Metres from (ax, ay) to (x, y), as the host's Distance measures them in the table.
    virtual double distance(double ax, double ay, double x, double y) = 0;
};

// One placed point and its attributes.
struct PlacedPoint {
    double x = 0;  // in the source table's coordinate system
    double y = 0;
    double dist = 0;         // metres, as the user asked for it
    std::int32_t rowId = 0;  // the source row
    // For a sink that writes the line's direction at the point (the MapBasic adapter writes
    // none of these): the segment it lies on, in the direction of measurement, and the metres
    // from the segment's start.
    HostPoint segmentStart;
    HostPoint segmentEnd;
    double alongSegment = 0;
    std::int32_t part = 0;  // the part measured on its own, from 1; 0: the object as a whole
};

// Where the points go: the output table and the columns it has (an empty name: none).
struct OutputTarget {
    std::string table;
    std::string distColumn;
    std::string rowIdColumn;
    std::string sourceTable;  // the host's name for it: the points are in its system
};

// How an insert went: in, or refused with the host's reason (empty when none was given).
struct InsertOutcome {
    bool inserted = true;
    std::string refusal;
};

// The source row, the output table and the temporary object of one placement.
class PlacementPort {
public:
    virtual ~PlacementPort() = default;

    virtual bool hostRunning() = 0;
    // The host's name for the table; empty when it has none (a failed question included).
    virtual std::string tableName(const std::string& table) = 0;
    // Whether the host holds an error from the last question.
    virtual bool hostErrorPending() = 0;
    // The table's coordinate-system clause; empty when it is not mappable.
    virtual std::string coordSysClause(const std::string& table) = 0;
    // False also when the host refuses the question.
    virtual bool outputHasColumn(const std::string& outTable, const std::string& column) = 0;
    virtual std::int32_t sourceRowId(const std::string& table) = 0;

    // The temporary object's life: the table's current object, held until released.
    virtual void holdObject(const std::string& table) = 0;
    virtual std::int32_t objectType() = 0;
    virtual void releaseObject() = 0;
    virtual GeometryPort& geometry() = 0;

    virtual InsertOutcome insertPoint(const OutputTarget& target, const PlacedPoint& point) = 0;
    // The attributes without a column, as a text label at the point.
    virtual InsertOutcome insertLabel(const OutputTarget& target, std::string_view label,
                                      const PlacedPoint& point, const LabelExtent& box) = 0;
};

}  // namespace veltrano
