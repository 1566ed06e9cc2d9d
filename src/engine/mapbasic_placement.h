// The placement engine's host as MapBasic text: the texts the real host receives.
#pragma once

#include <optional>
#include <string>

#include "engine/placement_port.h"
#include "host/automation.h"
#include "host/miProObj.h"
#include "platform/clock_random.h"

namespace veltrano {

// Geometry and measure asked of the host object directly (bare Eval and Do): a refusal is a
// run-time failure for the engine's handler. Coordinates are kept as the host wrote them and
// pasted back unchanged into the distance between nodes.
class MapBasicGeometry final : public GeometryPort {
public:
    // objVar: the host variable that holds the object, pasted bare into every expression.
    MapBasicGeometry(AutomationPtr host, std::string objVar)
        : host_(std::move(host)), objVar_(std::move(objVar)) {}

    void useTableCoordSys(const std::string& table) override;
    HostPoint lineEnd(bool end) override;
    std::int16_t sectionCount() override;
    std::int32_t nodeCount(std::int32_t section) override;
    HostPoint node(std::int32_t section, std::int32_t n) override;
    double distanceFromPreviousNode() override;
    double objectLength(bool perimeter) override;
    std::string measuringCoordSys(const std::string& table) override;
    double distance(double ax, double ay, double x, double y) override;

    struct CoordTexts {
        std::string x;
        std::string y;
    };

private:
    Automation& host();
    HostPoint remember(std::string answer);

    AutomationPtr host_;
    std::string objVar_;
    CoordTexts previous_;
    CoordTexts current_;
};

// The source row, the output table and the temporary variable through the host connection's
// wrapped calls; the geometry through its host object.
class MapBasicPlacement final : public PlacementPort {
public:
    MapBasicPlacement(miProObj& host, RandomSource& random, TimerPort& timer)
        : host_(host), random_(random), timer_(timer) {}

    bool hostRunning() override;
    std::string tableName(const std::string& table) override;
    bool hostErrorPending() override;
    std::string coordSysClause(const std::string& table) override;
    bool outputHasColumn(const std::string& outTable, const std::string& column) override;
    std::int32_t sourceRowId(const std::string& table) override;
    void holdObject(const std::string& table) override;
    std::int32_t objectType() override;
    void releaseObject() override;
    GeometryPort& geometry() override;
    InsertOutcome insertPoint(const OutputTarget& target, const PlacedPoint& point) override;
    InsertOutcome insertLabel(const OutputTarget& target, std::string_view label,
                              const PlacedPoint& point, const LabelExtent& box) override;

private:
    InsertOutcome refused() const;

    miProObj& host_;
    RandomSource& random_;
    TimerPort& timer_;
    std::string variable_;   // the temporary variable's name
    bool declared_ = false;  // the host took its declaration: it must be released
    std::optional<MapBasicGeometry> geometry_;
};

}  // namespace veltrano
