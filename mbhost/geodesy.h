// Measurement as the host does it: geodesic on the ellipsoid of an Earth system's datum
// (whatever its projection), Cartesian in the units of a NonEarth system.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "mbhost/coordsys.h"
#include "mbhost/geometry.h"

namespace mbhost {

// Metres in one distance unit ("m", "km", "mi", "survey ft", ...; case-insensitive).
// Throws MapBasicError (errc::kArgumentRange) for a unit it does not know.
double metresPerUnit(std::string_view unit);

// Ground: metres on the ellipsoid, as the host measures. Grid: planar lengths in the
// system's own units, as the GIS tools that measure on the map do.
enum class Measure { Ground, Grid };

class Measurer {
public:
    explicit Measurer(CoordSysRegistry& registry, Measure measure = Measure::Ground)
        : registry_(registry), measure_(measure) {}

    // From a to b, both in `cs`: metres, or the system's units on the grid.
    double distance(const CoordSys& cs, Point a, Point b);
    // Lines and polylines: the sum over each section's consecutive nodes (no distance
    // between sections). Other objects: 0, as ObjectLen answers for them.
    double length(const CoordSys& cs, const Geometry& g);
    // Regions: each polygon's edges including its closing edge; rectangles: four edges;
    // collections: their members'. Other objects: 0.
    double perimeter(const CoordSys& cs, const Geometry& g);

    // Metres along each edge of a section, node to node in order, then (closed, more than two
    // nodes) the closing edge: the distances the three above add. The nodes are projected in
    // one call, where a walk node by node pays one call a node.
    std::vector<double> edgeLengths(const CoordSys& cs, const std::vector<Point>& nodes,
                                    bool closed);
    // Sections' edges summed as length and perimeter sum them.
    static double total(const std::vector<std::vector<double>>& sections);
    // One section's edges summed, in order.
    static double sum(const std::vector<double>& edges);

private:
    double pathLength(const CoordSys& cs, const std::vector<Point>& nodes, bool closed);
    double geodesic(const CoordSys& cs, Point a, Point b) const;
    // p in longitude/latitude. A walk along a line asks for each node twice in a row (as the
    // end of one segment and the start of the next), so the last two answers are kept: the
    // projection is the costly half of a ground distance.
    Point geographic(const CoordSys& cs, Point p);

    struct Converted {
        const CoordSys* cs = nullptr;
        std::string clause;  // an address may be reused by another system: both must match
        Point projected;
        Point geographic;
    };
    CoordSysRegistry& registry_;
    Measure measure_;
    std::array<Converted, 2> recent_{};
    std::size_t newest_ = 0;
};

// The direction, in degrees clockwise from north in [0, 360), at `along` metres from `from`
// on the segment to `to`: the geodesic's azimuth (true north) in a longitude/latitude system,
// the grid bearing in any other.
double bearingAlong(const CoordSys& cs, Point from, Point to, double along);

}  // namespace mbhost
