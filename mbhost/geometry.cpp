#include "mbhost/geometry.h"

#include <algorithm>

namespace mbhost {

const char* objectTypeName(ObjectType type) {
    switch (type) {
        case ObjectType::Arc:
            return "Arc";
        case ObjectType::Ellipse:
            return "Ellipse";
        case ObjectType::Line:
            return "Line";
        case ObjectType::Polyline:
            return "Polyline";
        case ObjectType::Point:
            return "Point";
        case ObjectType::Frame:
            return "Frame";
        case ObjectType::Region:
            return "Region";
        case ObjectType::Rectangle:
            return "Rectangle";
        case ObjectType::RoundedRectangle:
            return "Rounded Rectangle";
        case ObjectType::Text:
            return "Text";
        case ObjectType::Multipoint:
            return "Multipoint";
        case ObjectType::Collection:
            return "Collection";
    }
    return "";
}

Geometry Geometry::point(double x, double y) {
    Geometry g;
    g.type = ObjectType::Point;
    g.parts = {{Point{x, y}}};
    return g;
}

Geometry Geometry::line(Point start, Point end) {
    Geometry g;
    g.type = ObjectType::Line;
    g.parts = {{start, end}};
    return g;
}

std::int32_t Geometry::nodeCount() const {
    std::size_t n = 0;
    for (const auto& part : parts) n += part.size();
    for (const auto& member : members) n += static_cast<std::size_t>(member.nodeCount());
    return static_cast<std::int32_t>(n);
}

Bounds united(const Bounds& a, const Bounds& b) {
    return {std::min(a.minX, b.minX), std::min(a.minY, b.minY), std::max(a.maxX, b.maxX),
            std::max(a.maxY, b.maxY)};
}

namespace {
void extend(Bounds& b, bool& any, const Geometry& g) {
    for (const auto& part : g.parts) {
        for (const Point& p : part) {
            const Bounds at{p.x, p.y, p.x, p.y};
            b = any ? united(b, at) : at;
            any = true;
        }
    }
    for (const auto& member : g.members) extend(b, any, member);
}
}  // namespace

Bounds Geometry::bounds() const {
    Bounds b;
    bool any = false;
    extend(b, any, *this);
    return b;
}

}  // namespace mbhost
