#include "event_walk.h"

#include <algorithm>
#include <cstdio>

#include "direct/unplaceable.h"

namespace veltrano::batch {

namespace {
std::string metres(double length) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", length);
    return text;
}

// The first part (or the last) with a segment: a part of one node gives the walk no direction.
const std::vector<mbhost::Point>* partWithSegment(const mbhost::Geometry& path, bool first) {
    const auto hasSegment = [](const std::vector<mbhost::Point>& nodes) {
        return nodes.size() >= 2;
    };
    if (first) {
        const auto part = std::find_if(path.parts.begin(), path.parts.end(), hasSegment);
        return part == path.parts.end() ? nullptr : &*part;
    }
    const auto part = std::find_if(path.parts.rbegin(), path.parts.rend(), hasSegment);
    return part == path.parts.rend() ? nullptr : &*part;
}
}  // namespace

EventWalk::EventWalk(mbhost::Host& host, const mbhost::Table& selection, MessageBoxPort& messages,
                     std::vector<Event>& events, const std::vector<std::int32_t>& routes,
                     Placed placed, mbhost::Measure measure)
    : host_(host),
      measure_(measure),
      selection_(selection),
      events_(events),
      direct_(host, *this, messages, {measure}),
      onPlaced_(std::move(placed)),
      placed_(events.size(), false) {
    groupByRoute(routes);
}

// Counted, then laid out route after route, each route's events sorted by measure (ties in
// table order).
void EventWalk::groupByRoute(const std::vector<std::int32_t>& routes) {
    const auto rows = static_cast<std::size_t>(std::max(selection_.lastRowId(), 0));
    std::vector<std::size_t> count(rows + 2, 0);
    for (std::size_t i = 0; i < events_.size(); ++i) {
        if (events_[i].fault.empty()) ++count[static_cast<std::size_t>(routes[i]) + 1];
    }
    routeFrom_.assign(rows + 2, 0);
    for (std::size_t row = 1; row < rows + 2; ++row) {
        routeFrom_[row] = routeFrom_[row - 1] + count[row];
    }
    order_.resize(routeFrom_.back());
    std::vector<std::size_t> fill(routeFrom_.begin(), routeFrom_.end() - 1);
    for (std::size_t i = 0; i < events_.size(); ++i) {
        if (events_[i].fault.empty()) order_[fill[static_cast<std::size_t>(routes[i])]++] = i;
    }
    const auto byMeasure = [&](std::size_t a, std::size_t b) {
        return events_[a].measure < events_[b].measure;
    };
    for (std::size_t row = 0; row + 1 < routeFrom_.size(); ++row) {
        std::stable_sort(order_.begin() + static_cast<std::ptrdiff_t>(routeFrom_[row]),
                         order_.begin() + static_cast<std::ptrdiff_t>(routeFrom_[row + 1]),
                         byMeasure);
    }
}

ObjectPlacement EventWalk::placeCurrent(const PlacementRequest& request) {
    const auto row = static_cast<std::size_t>(direct_.currentRow());
    ObjectPlacement result(0);
    if (row + 1 >= routeFrom_.size() || routeFrom_[row] == routeFrom_[row + 1]) return result;
    const std::size_t begin = routeFrom_[row], end = routeFrom_[row + 1];
    // The walk places no point at 0: those are the line's start.
    next_ = begin;
    while (next_ < end && events_[order_[next_]].measure == 0) ++next_;
    end_ = end;
    distances_.clear();
    for (std::size_t k = next_; k < end; ++k) distances_.push_back(events_[order_[k]].measure);
    const PlacementRequest walk{distances_,          request.sourceTable,
                                request.outputTable, request.distanceColumn,
                                request.rowIdColumn, request.fromTheEnd};
    const ObjectPlacement walked = direct_.placeCurrent(walk);
    if (!walked.unreached.empty()) {
        for (std::size_t k = begin; k < end; ++k) {
            events_[order_[k]].fault = "route not placeable: " + walked.unreached;
        }
        return result;
    }
    finishRoute(static_cast<std::int32_t>(row), begin, end, request.fromTheEnd);
    for (std::size_t k = begin; k < end; ++k) result.placed += placed_[order_[k]] ? 1 : 0;
    result.computed = result.placed;
    return result;
}

// The events the walk does not place: those at 0, at the line's very end, beyond it, and all
// after a failure the engine has reported.
void EventWalk::finishRoute(std::int32_t row, std::size_t begin, std::size_t end, bool fromTheEnd) {
    const mbhost::GeometryPtr path = pathOf(selection_.row(row)->object);
    for (std::size_t k = begin; k < end && events_[order_[k]].measure == 0; ++k) {
        put(order_[k], lineStart(*path, fromTheEnd));
    }
    if (next_ >= end) return;
    const double length = walkedLength(*path);
    for (std::size_t k = next_; k < end; ++k) {
        Event& event = events_[order_[k]];
        if (event.measure > length + kEndTolerance) {
            event.fault = "beyond the end: the route is " + metres(length) + " m long";
        } else if (event.measure >= length - kEndTolerance) {
            put(order_[k], lineEnd(*path, fromTheEnd));
        } else {
            event.fault = "route not walked: the placement along it failed";
        }
    }
}

// As the walk sums it: each part's segments, one part after the other.
double EventWalk::walkedLength(const mbhost::Geometry& path) const {
    double length = 0;
    for (const auto& nodes : path.parts) {
        double part = 0;
        for (std::size_t i = 1; i < nodes.size(); ++i) {
            part +=
                host_.measurer(measure_).distance(*selection_.coordSys(), nodes[i - 1], nodes[i]);
        }
        length += part;
    }
    return length;
}

// Where the walk starts: the first node of its first segment, with that segment's direction.
EventPoint EventWalk::lineStart(const mbhost::Geometry& path, bool fromTheEnd) const {
    const std::vector<mbhost::Point>* nodes = partWithSegment(path, !fromTheEnd);
    if (!nodes) {
        const mbhost::Point node = path.parts.front().front();
        return {node, node, node, 0};
    }
    const mbhost::Point start = fromTheEnd ? nodes->back() : nodes->front();
    const mbhost::Point next = fromTheEnd ? (*nodes)[nodes->size() - 2] : (*nodes)[1];
    return {start, start, next, 0};
}

// Where the walk ends: the far node of its last segment, with the direction it arrives in.
EventPoint EventWalk::lineEnd(const mbhost::Geometry& path, bool fromTheEnd) const {
    const std::vector<mbhost::Point>* nodes = partWithSegment(path, fromTheEnd);
    if (!nodes) {
        const mbhost::Point node = path.parts.back().back();
        return {node, node, node, 0};
    }
    const mbhost::Point before = fromTheEnd ? (*nodes)[1] : (*nodes)[nodes->size() - 2];
    const mbhost::Point end = fromTheEnd ? nodes->front() : nodes->back();
    return {end, before, end,
            host_.measurer(measure_).distance(*selection_.coordSys(), before, end)};
}

void EventWalk::put(std::size_t at, const EventPoint& point) {
    placed_[at] = true;
    onPlaced_(at, point);
}

InsertOutcome EventWalk::point(const OutputTarget&, const PlacedPoint& point) {
    const HostPoint a = point.segmentStart, b = point.segmentEnd;
    if (next_ < end_)
        put(order_[next_++], {{point.x, point.y}, {a.x, a.y}, {b.x, b.y}, point.alongSegment});
    return {};
}

InsertOutcome EventWalk::label(const OutputTarget&, std::string_view, const PlacedPoint&,
                               const LabelExtent&) {
    return {false, "the output has no place for a label"};
}

}  // namespace veltrano::batch
