// Measurement as the host does it: geodesic on the ellipsoid of an Earth system's datum
// (whatever its projection), Cartesian in the units of a NonEarth system.
#pragma once

#include <string_view>

#include "mbhost/coordsys.h"
#include "mbhost/geometry.h"

namespace mbhost {

// Metres in one distance unit ("m", "km", "mi", "survey ft", ...; case-insensitive).
// Throws MapBasicError (errc::kArgumentRange) for a unit it does not know.
double metresPerUnit(std::string_view unit);

class Measurer {
public:
    explicit Measurer(CoordSysRegistry& registry) : registry_(registry) {}

    // Metres from a to b, both in `cs`.
    double distance(const CoordSys& cs, Point a, Point b);
    // Lines and polylines: the sum over each section's consecutive nodes (no distance
    // between sections). Other objects: 0, as ObjectLen answers for them.
    double length(const CoordSys& cs, const Geometry& g);
    // Regions: each polygon's edges including its closing edge; rectangles: four edges;
    // collections: their members'. Other objects: 0.
    double perimeter(const CoordSys& cs, const Geometry& g);

private:
    double pathLength(const CoordSys& cs, const std::vector<Point>& nodes, bool closed);

    CoordSysRegistry& registry_;
};

}  // namespace mbhost
