#include "mbhost/storage/ogr_conversion.h"

namespace mbhost::gdal {
namespace {

std::unique_ptr<OGRLineString> lineString(const std::vector<Point>& nodes) {
    auto line = std::make_unique<OGRLineString>();
    for (const Point& p : nodes) line->addPoint(p.x, p.y);
    return line;
}

std::unique_ptr<OGRPolygon> polygon(const std::vector<Point>& nodes) {
    auto ring = std::make_unique<OGRLinearRing>();
    for (const Point& p : nodes) ring->addPoint(p.x, p.y);
    ring->closeRings();
    auto shape = std::make_unique<OGRPolygon>();
    shape->addRingDirectly(ring.release());
    return shape;
}

std::unique_ptr<OGRGeometry> boundingPolygon(const Geometry& object) {
    const Bounds b = object.bounds();
    return polygon({{b.minX, b.minY}, {b.maxX, b.minY}, {b.maxX, b.maxY}, {b.minX, b.maxY}});
}

std::unique_ptr<OGRGeometry> polyline(const Geometry& object) {
    if (object.parts.size() == 1) return lineString(object.parts.front());
    auto multi = std::make_unique<OGRMultiLineString>();
    for (const auto& section : object.parts)
        multi->addGeometryDirectly(lineString(section).release());
    return multi;
}

std::unique_ptr<OGRGeometry> region(const Geometry& object) {
    if (object.parts.size() == 1) return polygon(object.parts.front());
    auto multi = std::make_unique<OGRMultiPolygon>();
    for (const auto& ring : object.parts) multi->addGeometryDirectly(polygon(ring).release());
    return multi;
}

std::vector<Point> nodesOf(const OGRSimpleCurve& curve, bool dropClosingNode) {
    std::vector<Point> nodes;
    for (int i = 0; i < curve.getNumPoints(); ++i) nodes.push_back({curve.getX(i), curve.getY(i)});
    if (dropClosingNode && nodes.size() > 1 && nodes.front() == nodes.back()) nodes.pop_back();
    return nodes;
}

void addRings(const OGRPolygon& shape, Geometry& into) {
    if (shape.IsEmpty()) return;
    into.parts.push_back(nodesOf(*shape.getExteriorRing(), true));
    for (int i = 0; i < shape.getNumInteriorRings(); ++i) {
        into.parts.push_back(nodesOf(*shape.getInteriorRing(i), true));
    }
}

// The text of LABEL(t:"...") in an OGR style string; nothing when there is none.
std::optional<std::string> labelText(const std::string& style) {
    const auto start = style.find("LABEL(");
    if (start == std::string::npos) return std::nullopt;
    const auto open = style.find("t:\"", start);
    if (open == std::string::npos) return std::nullopt;
    std::string text;
    for (std::size_t i = open + 3; i < style.size(); ++i) {
        if (style[i] == '\\' && i + 1 < style.size()) {
            text += style[++i];
        } else if (style[i] == '"') {
            return text;
        } else {
            text += style[i];
        }
    }
    return std::nullopt;
}

}  // namespace

std::unique_ptr<OGRGeometry> toOgr(const Geometry& object) {
    switch (object.type) {
        case ObjectType::Point:
        case ObjectType::Text: {
            const Point p = object.parts.empty() || object.parts.front().empty()
                                ? Point{}
                                : object.parts.front().front();
            return std::make_unique<OGRPoint>(p.x, p.y);
        }
        case ObjectType::Line:
        case ObjectType::Polyline:
            return polyline(object);
        case ObjectType::Region:
            return region(object);
        case ObjectType::Multipoint: {
            auto multi = std::make_unique<OGRMultiPoint>();
            for (const auto& part : object.parts) {
                for (const Point& p : part) multi->addGeometryDirectly(new OGRPoint(p.x, p.y));
            }
            return multi;
        }
        case ObjectType::Collection: {
            auto collection = std::make_unique<OGRGeometryCollection>();
            for (const Geometry& member : object.members) {
                collection->addGeometryDirectly(toOgr(member).release());
            }
            return collection;
        }
        default:
            return boundingPolygon(object);
    }
}

std::optional<Geometry> fromOgr(const OGRGeometry& geometry, const std::string& style) {
    if (geometry.IsEmpty()) return std::nullopt;
    if (geometry.hasCurveGeometry()) {
        const std::unique_ptr<OGRGeometry> linear(geometry.getLinearGeometry());
        return linear ? fromOgr(*linear, style) : std::nullopt;
    }
    Geometry object;
    switch (wkbFlatten(geometry.getGeometryType())) {
        case wkbPoint: {
            const auto& p = *geometry.toPoint();
            object = Geometry::point(p.getX(), p.getY());
            if (auto text = labelText(style)) {
                object.type = ObjectType::Text;
                object.parts.front().push_back({p.getX(), p.getY()});
                object.text = *text;
            }
            return object;
        }
        case wkbLineString:
            object.type = ObjectType::Polyline;
            object.parts.push_back(nodesOf(*geometry.toLineString(), false));
            return object;
        case wkbMultiLineString:
            object.type = ObjectType::Polyline;
            for (const auto* line : *geometry.toMultiLineString()) {
                object.parts.push_back(nodesOf(*line, false));
            }
            return object;
        case wkbPolygon:
            object.type = ObjectType::Region;
            addRings(*geometry.toPolygon(), object);
            return object;
        case wkbMultiPolygon:
            object.type = ObjectType::Region;
            for (const auto* shape : *geometry.toMultiPolygon()) addRings(*shape, object);
            return object;
        case wkbMultiPoint:
            object.type = ObjectType::Multipoint;
            object.parts.emplace_back();
            for (const auto* p : *geometry.toMultiPoint()) {
                object.parts.front().push_back({p->getX(), p->getY()});
            }
            return object;
        case wkbGeometryCollection:
            object.type = ObjectType::Collection;
            for (const auto* member : *geometry.toGeometryCollection()) {
                if (auto converted = fromOgr(*member)) object.members.push_back(*converted);
            }
            return object;
        default:
            return std::nullopt;
    }
}

std::string labelStyle(const Geometry& object) {
    if (object.type != ObjectType::Text) return {};
    std::string escaped;
    for (char c : object.text) {
        if (c == '"' || c == '\\') escaped += '\\';
        escaped += c;
    }
    return "LABEL(t:\"" + escaped + "\")";
}

}  // namespace mbhost::gdal
