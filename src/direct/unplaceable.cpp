#include "direct/unplaceable.h"

#include <cmath>
#include <sstream>

#include "mbhost/lexer.h"

namespace veltrano {

namespace {

// Beyond this no coordinate system reaches (the Earth is 4e7 m round), and measures lose
// their metres to rounding.
constexpr double kLargestCoordinate = 1e10;

std::string number(double value) {
    std::ostringstream text;
    text << value;
    return text.str();
}

bool isLine(const mbhost::Geometry& object) {
    using mbhost::ObjectType;
    return object.type == ObjectType::Line || object.type == ObjectType::Polyline ||
           object.type == ObjectType::Region;
}

std::optional<std::string> outOfRange(mbhost::Point p, bool latLong) {
    for (const double c : {p.x, p.y}) {
        if (!std::isfinite(c)) return "out of range: a coordinate is not a number";
        if (std::abs(c) > kLargestCoordinate) {
            return "out of range: " + number(c) + " is beyond what any coordinate system holds";
        }
    }
    if (latLong && std::abs(p.y) > 90) {
        return "out of range: latitude " + number(p.y) + " is beyond ±90°";
    }
    return std::nullopt;
}

// The host measures such a segment the short way round, while points go the long way; one
// between two names of the same place (180° and -180°, or at a pole) has no length to go.
bool spansAntimeridian(mbhost::Point a, mbhost::Point b) {
    const double span = std::abs(b.x - a.x);
    const bool samePlace = a.y == b.y && (std::abs(a.y) == 90 || std::fmod(span, 360) == 0);
    return span > 180 && !samePlace;
}

std::optional<std::string> badNode(const mbhost::Geometry& path, bool latLong) {
    const bool closed = path.type == mbhost::ObjectType::Region;
    for (const auto& nodes : path.parts) {
        for (std::size_t i = 0; i < nodes.size(); ++i) {
            if (auto why = outOfRange(nodes[i], latLong)) return why;
            const bool last = i + 1 == nodes.size();
            if (latLong && (!last || closed) &&
                spansAntimeridian(nodes[i], nodes[last ? 0 : i + 1])) {
                return "crosses the antimeridian: a segment spans more than 180° of longitude; "
                       "split it there (ogr2ogr -wrapdateline)";
            }
        }
    }
    return std::nullopt;
}

}  // namespace

mbhost::GeometryPtr pathOf(const mbhost::GeometryPtr& object) {
    if (!object || object->type != mbhost::ObjectType::Collection) return object;
    auto lines = std::make_shared<mbhost::Geometry>();
    lines->type = mbhost::ObjectType::Polyline;
    for (const mbhost::Geometry& member : object->members) {
        const mbhost::GeometryPtr path = pathOf(std::make_shared<mbhost::Geometry>(member));
        if (path->type != mbhost::ObjectType::Polyline && path->type != mbhost::ObjectType::Line)
            continue;
        lines->parts.insert(lines->parts.end(), path->parts.begin(), path->parts.end());
    }
    return lines;
}

std::optional<std::string> unplaceable(const mbhost::Geometry* path,
                                       const mbhost::CoordSys& system) {
    if (!path) return "no line: the row has no object";
    if (!isLine(*path)) {
        return "no line: a " + mbhost::toLower(mbhost::objectTypeName(path->type));
    }
    bool anySegment = false;
    for (const auto& nodes : path->parts) anySegment = anySegment || nodes.size() > 1;
    if (!anySegment) {
        return path->parts.empty() ? "no line: a collection without lines"
                                   : "no line: a line of one node";
    }
    return badNode(*path, system.isLatLong());
}

}  // namespace veltrano
