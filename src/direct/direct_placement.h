// The placement over mbhost's tables in this process: nodes read as numbers, distances
// measured by the host's own measure, rows handed to a sink. No MapBasic text per point.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "direct/placed_row_sink.h"
#include "engine/placement_port.h"
#include "mbhost/host.h"
#include "placement/place_selection.h"
#include "platform/message_box.h"

namespace veltrano {

// How the objects are measured: the host's ground distance along all their parts in turn
// unless asked otherwise.
struct DirectMeasure {
    mbhost::Measure measure = mbhost::Measure::Ground;
    bool eachPart = false;  // each part measured on its own, from its own start (or end)
};

// Walks the host's selection (its own cursor: the host's stays where it is) and places
// along each selected object with the engine.
class DirectPlacement final : public SelectionWalk, PlacementPort, GeometryPort {
public:
    DirectPlacement(mbhost::Host& host, PlacedRowSink& sink, MessageBoxPort& messages,
                    DirectMeasure measure = {})
        : host_(host),
          sink_(sink),
          messages_(messages),
          measurer_(host.measurer(measure.measure)),
          eachPart_(measure.eachPart) {}

    // The selection.
    std::int32_t selectedCount() override;
    std::string first() override;
    bool hostErrorPending() override { return false; }
    ObjectPlacement placeCurrent(const PlacementRequest& request) override;
    bool next() override;
    // The selection's current row id; 0 past the last.
    std::int32_t currentRow() const { return cursor_; }

private:
    // The source row and the output.
    bool hostRunning() override { return true; }
    std::string tableName(const std::string& table) override;
    std::string coordSysClause(const std::string& table) override;
    bool outputHasColumn(const std::string& outTable, const std::string& column) override;
    std::int32_t sourceRowId(const std::string& table) override;
    void holdObject(const std::string& table) override;
    std::int32_t objectType() override;
    void releaseObject() override;
    GeometryPort& geometry() override { return *this; }
    InsertOutcome insertPoint(const OutputTarget& target, const PlacedPoint& point) override;
    InsertOutcome insertLabel(const OutputTarget& target, std::string_view label,
                              const PlacedPoint& point, const LabelExtent& box) override;

    // The held object's geometry.
    void useTableCoordSys(const std::string&) override {}
    HostPoint lineEnd(bool end) override;
    std::int16_t sectionCount() override;
    std::int32_t nodeCount(std::int32_t section) override;
    HostPoint node(std::int32_t section, std::int32_t n) override;
    double distanceFromPreviousNode() override;
    double objectLength(bool perimeter) override;
    std::string measuringCoordSys(const std::string& table) override;
    double distance(double ax, double ay, double x, double y) override;

    std::optional<std::string> skipReason() const;
    std::optional<std::string> unmeasurable();
    const mbhost::Table& table(const std::string& name) const;
    const std::vector<mbhost::Point>& section(std::int32_t s) const;
    struct NodeAt {
        std::int32_t section = 0;  // 0: not a node of the held object
        std::int32_t node = 0;
    };
    HostPoint remember(mbhost::Point p, NodeAt at);
    const std::vector<std::vector<double>>& edges();
    const std::vector<double>& sectionEdges(std::int32_t s);
    bool edgesClosed() const;
    void moveTo(std::int32_t rowId);

    mbhost::Host& host_;
    PlacedRowSink& sink_;
    MessageBoxPort& messages_;
    mbhost::Measurer& measurer_;
    const bool eachPart_;
    std::int32_t part_ = 0;  // the part held alone, from 1; 0: the whole object
    const mbhost::Table* selection_ = nullptr;
    std::int32_t cursor_ = 0;     // the selection's current row id
    mbhost::GeometryPtr whole_;   // the row's path
    mbhost::GeometryPtr object_;  // what is walked: the path, or one part of it alone
    mbhost::CoordSysPtr coordSys_;
    mbhost::Point previous_;
    mbhost::Point current_;
    NodeAt previousAt_;
    NodeAt currentAt_;
    // Metres along the held object's edges, each section's in order, with each polygon's
    // closing edge; measured when first asked for.
    std::optional<std::vector<std::vector<double>>> edges_;
    std::int32_t measuredRow_ = 0;  // the row edges_ belong to
};

// The longest object of selection that can be placed along, as measure measures it (a
// region along its boundary); nothing when none can.
std::optional<double> longestPlaceable(mbhost::Host& host, const mbhost::Table& selection,
                                       mbhost::Measure measure = mbhost::Measure::Ground);

// Appends the rows to a table the host holds open, in the table's system.
class TableRowSink final : public PlacedRowSink {
public:
    TableRowSink(mbhost::Host& host, std::string table) : host_(host), table_(std::move(table)) {}

    bool hasColumn(std::string_view column) override;
    InsertOutcome point(const OutputTarget& target, const PlacedPoint& point) override;
    InsertOutcome label(const OutputTarget& target, std::string_view text, const PlacedPoint& point,
                        const LabelExtent& box) override;

private:
    InsertOutcome append(const OutputTarget& target, const PlacedPoint& point,
                         mbhost::Geometry object);

    mbhost::Host& host_;
    std::string table_;
};

}  // namespace veltrano
