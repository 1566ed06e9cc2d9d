// Map objects as mbhost keeps them: plain geometry, with coordinates in whatever coordinate
// system the owner says (a table's own system for rows, the object value's system otherwise).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace mbhost {

// MapBasic's object type codes (ObjectInfo code 1).
enum class ObjectType : std::int32_t {
    Arc = 1,
    Ellipse = 2,
    Line = 3,
    Polyline = 4,
    Point = 5,
    Frame = 6,
    Region = 7,
    Rectangle = 8,
    RoundedRectangle = 9,
    Text = 10,
    Multipoint = 11,
    Collection = 12,
};

// The type name that Str$ gives an object ("Point", "Polyline", "Rounded Rectangle", ...).
const char* objectTypeName(ObjectType type);

struct Point {
    double x = 0;
    double y = 0;
    bool operator==(const Point&) const = default;
};

struct Bounds {
    double minX = 0;
    double minY = 0;
    double maxX = 0;
    double maxY = 0;
};

// The smallest box that holds both.
Bounds united(const Bounds& a, const Bounds& b);

// One object. How `parts` is read depends on the type:
//  Point: one part with one node.   Line: one part with the start and end nodes.
//  Polyline: one part per section.  Region: one part per polygon, not closed (the closing
//  edge from the last node back to the first is implied).   Multipoint: one part, its points.
//  Arc, Ellipse, Rectangle, RoundedRectangle, Frame: one part with the two corners of the
//  bounding rectangle.   Text: one part with the two corners of the label's rectangle and
//  the label in `text`.   Collection: its members in `members`.
struct Geometry {
    ObjectType type = ObjectType::Point;
    std::vector<std::vector<Point>> parts;
    std::string text;
    std::vector<Geometry> members;

    bool operator==(const Geometry&) const = default;

    static Geometry point(double x, double y);
    static Geometry line(Point start, Point end);

    std::int32_t nodeCount() const;  // every node of every part, members included
    // Bounds over every node (members included); all zero for an object without nodes.
    Bounds bounds() const;
};

using GeometryPtr = std::shared_ptr<const Geometry>;

}  // namespace mbhost
