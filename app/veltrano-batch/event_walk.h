// Events placed along their routes: grouped by route and ordered by measure, so that one walk
// along each selected line places all of its events; each point is kept for its event.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "direct/direct_placement.h"
#include "event_table.h"

namespace veltrano::batch {

// A measure at most this many metres beyond its line's length is the line's end: the length
// is measured, the measure typed.
inline constexpr double kEndTolerance = 0.001;

// Where an event lies, and the segment it lies on in the direction of measurement with the
// metres from the segment's start, for the line's direction there.
struct EventPoint {
    mbhost::Point at;
    mbhost::Point segmentStart;
    mbhost::Point segmentEnd;
    double alongSegment = 0;
};

class EventWalk final : public SelectionWalk, PlacedRowSink {
public:
    // Called with each event as it is placed, line after line, by measure along each.
    using Placed = std::function<void(std::size_t event, const EventPoint& point)>;

    // routes[i]: the selection's row id of event i's line, for the events without a fault.
    // The faults found on the way are written into events.
    EventWalk(mbhost::Host& host, const mbhost::Table& selection, MessageBoxPort& messages,
              std::vector<Event>& events, const std::vector<std::int32_t>& routes, Placed placed,
              mbhost::Measure measure = mbhost::Measure::Ground);

    std::int32_t selectedCount() override { return direct_.selectedCount(); }
    std::string first() override { return direct_.first(); }
    bool hostErrorPending() override { return false; }
    // Places the current line's events; the request's distances are not used.
    ObjectPlacement placeCurrent(const PlacementRequest& request) override;
    bool next() override { return direct_.next(); }

    bool placed(std::size_t event) const { return placed_[event]; }

private:
    bool hasColumn(std::string_view) override { return true; }
    InsertOutcome point(const OutputTarget& target, const PlacedPoint& point) override;
    InsertOutcome label(const OutputTarget&, std::string_view, const PlacedPoint&,
                        const LabelExtent&) override;

    void groupByRoute(const std::vector<std::int32_t>& routes);
    void finishRoute(std::int32_t row, std::size_t begin, std::size_t end, bool fromTheEnd);
    double walkedLength(const mbhost::Geometry& path) const;
    EventPoint lineStart(const mbhost::Geometry& path, bool fromTheEnd) const;
    EventPoint lineEnd(const mbhost::Geometry& path, bool fromTheEnd) const;
    void put(std::size_t at, const EventPoint& point);

    mbhost::Host& host_;
    mbhost::Measure measure_;
    const mbhost::Table& selection_;
    std::vector<Event>& events_;
    DirectPlacement direct_;
    std::vector<std::size_t> order_;      // the placeable events by route, then measure
    std::vector<std::size_t> routeFrom_;  // a row id's first place in order_ (CSR)
    Placed onPlaced_;
    std::vector<bool> placed_;       // by event
    std::vector<double> distances_;  // the current line's positive measures
    std::size_t next_ = 0;           // the place in order_ of the walk's next point
    std::size_t end_ = 0;
};

}  // namespace veltrano::batch
