#include "mbhost/geodesy.h"

#include <geodesic.h>

#include <array>
#include <cmath>
#include <vector>

#include "mbhost/diagnostics.h"
#include "mbhost/lexer.h"

namespace mbhost {

double metresPerUnit(std::string_view unit) {
    struct UnitRow {
        std::string_view name;
        double metres;
    };
    static constexpr std::array<UnitRow, 14> kUnits = {{
        {"m", 1.0},
        {"km", 1000.0},
        {"mi", 1609.344},
        {"ft", 0.3048},
        {"survey ft", 1200.0 / 3937.0},
        {"nmi", 1852.0},
        {"cm", 0.01},
        {"mm", 0.001},
        {"in", 0.0254},
        {"yd", 0.9144},
        {"li", 0.201168},
        {"ch", 20.1168},
        {"rd", 5.0292},
        {"hm", 100.0},
    }};
    for (const auto& row : kUnits) {
        if (equalsIgnoreCase(row.name, unit)) return row.metres;
    }
    throw MapBasicError(errc::kArgumentRange, "Unrecognized distance unit: " + std::string(unit));
}

double Measurer::distance(const CoordSys& cs, Point a, Point b) {
    if (measure_ == Measure::Grid) return std::hypot(b.x - a.x, b.y - a.y);
    if (!cs.isEarth()) return std::hypot(b.x - a.x, b.y - a.y) * cs.metresPerUnit();
    return geodesic(cs, geographic(cs, a), geographic(cs, b));
}

// a and b in longitude/latitude.
double Measurer::geodesic(const CoordSys& cs, Point a, Point b) const {
    double metres = 0;
    geod_inverse(&cs.ellipsoid(), a.y, a.x, b.y, b.x, &metres, nullptr, nullptr);
    return metres;
}

Point Measurer::geographic(const CoordSys& cs, Point p) {
    if (cs.isLatLong()) return p;
    for (const Converted& known : recent_) {
        if (known.cs == &cs && known.projected.x == p.x && known.projected.y == p.y &&
            known.clause == cs.clause()) {
            return known.geographic;
        }
    }
    const Point converted = registry_.toGeographic(cs, p);
    newest_ = 1 - newest_;
    recent_[newest_] = {&cs, cs.clause(), p, converted};
    return converted;
}

std::vector<double> Measurer::edgeLengths(const CoordSys& cs, const std::vector<Point>& nodes,
                                          bool closed) {
    std::vector<double> edges;
    if (nodes.size() < 2) return edges;
    edges.reserve(nodes.size());
    const bool closing = closed && nodes.size() > 2;
    if (!cs.isEarth() || measure_ == Measure::Grid) {
        for (std::size_t i = 1; i < nodes.size(); ++i) {
            edges.push_back(distance(cs, nodes[i - 1], nodes[i]));
        }
        if (closing) edges.push_back(distance(cs, nodes.back(), nodes.front()));
        return edges;
    }
    std::vector<Point> geographic = nodes;
    registry_.toGeographic(cs, geographic);
    for (std::size_t i = 1; i < geographic.size(); ++i) {
        edges.push_back(geodesic(cs, geographic[i - 1], geographic[i]));
    }
    if (closing) edges.push_back(geodesic(cs, geographic.back(), geographic.front()));
    return edges;
}

double Measurer::sum(const std::vector<double>& edges) {
    double section = 0;
    for (double edge : edges) section += edge;
    return section;
}

double Measurer::total(const std::vector<std::vector<double>>& sections) {
    double total = 0;
    for (const auto& edges : sections) total += sum(edges);
    return total;
}

double Measurer::pathLength(const CoordSys& cs, const std::vector<Point>& nodes, bool closed) {
    return total({edgeLengths(cs, nodes, closed)});
}

double Measurer::length(const CoordSys& cs, const Geometry& g) {
    switch (g.type) {
        case ObjectType::Line:
        case ObjectType::Polyline: {
            double total = 0;
            for (const auto& section : g.parts) total += pathLength(cs, section, false);
            return total;
        }
        case ObjectType::Collection: {
            double total = 0;
            for (const auto& member : g.members) total += length(cs, member);
            return total;
        }
        default:
            return 0;
    }
}

double Measurer::perimeter(const CoordSys& cs, const Geometry& g) {
    switch (g.type) {
        case ObjectType::Region: {
            double total = 0;
            for (const auto& polygon : g.parts) total += pathLength(cs, polygon, true);
            return total;
        }
        case ObjectType::Rectangle:
        case ObjectType::RoundedRectangle: {
            if (g.parts.empty() || g.parts.front().size() < 2) return 0;
            const Point a = g.parts.front()[0];
            const Point b = g.parts.front()[1];
            return pathLength(cs, {a, {b.x, a.y}, b, {a.x, b.y}}, true);
        }
        case ObjectType::Collection: {
            double total = 0;
            for (const auto& member : g.members) total += perimeter(cs, member);
            return total;
        }
        default:
            return 0;
    }
}

double bearingAlong(const CoordSys& cs, Point from, Point to, double along) {
    double degrees = 0;
    if (cs.isLatLong()) {
        // The segment's geodesic solved once, then only the azimuth asked of it at along.
        geod_geodesicline line{};
        geod_inverseline(&line, &cs.ellipsoid(), from.y, from.x, to.y, to.x,
                         GEOD_AZIMUTH | GEOD_DISTANCE_IN);
        geod_genposition(&line, GEOD_NOFLAGS, along, nullptr, nullptr, &degrees, nullptr, nullptr,
                         nullptr, nullptr, nullptr);
    } else {
        degrees = std::atan2(to.x - from.x, to.y - from.y) * 180 / M_PI;
    }
    return std::fmod(degrees + 360, 360);  // atan2 and GeographicLib answer in [-180, 180]
}

}  // namespace mbhost
