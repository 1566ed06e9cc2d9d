// Functions on objects: their parts and nodes, measurement, and making points and lines.
#include <cmath>

#include "foundation/host_codes.h"
#include "mbhost/function_groups.h"
#include "mbhost/geodesy.h"
#include "mbhost/lexer.h"

namespace mbhost {

namespace {

const std::vector<Point>& section(const Geometry& g, std::int32_t s, std::string_view fn) {
    if (s < 1 || s > static_cast<std::int32_t>(g.parts.size())) {
        throw MapBasicError(errc::kArgumentRange, std::string(fn) + ": the object has no section " +
                                                      std::to_string(s) + " (it has " +
                                                      std::to_string(g.parts.size()) + ")");
    }
    return g.parts[static_cast<std::size_t>(s - 1)];
}

Value objectInfo(Evaluator& ev, const Expr& call, const RowContext* row) {
    const ObjectValue o = ev.object(*call.args[0], row, "ObjectInfo object");
    const std::int32_t code = ev.whole(*call.args[1], row, "ObjectInfo code");
    const Geometry& g = *o.geometry;
    using namespace veltrano::host_code::object_info;
    if (code == kType) return Value::integer(static_cast<std::int32_t>(g.type));
    if (code == kText && g.type == ObjectType::Text) return Value::text(g.text);
    if (code == kNodeCount) return Value::integer(g.nodeCount());
    if (code == kSectionCount) return Value::integer(static_cast<std::int64_t>(g.parts.size()));
    if (code > kSectionCount)
        return Value::integer(
            static_cast<std::int64_t>(section(g, code - kSectionCount, "ObjectInfo").size()));
    outOfRange("ObjectInfo", code);
}

Value objectGeography(Evaluator& ev, const Expr& call, const RowContext* row) {
    const ObjectValue o = ev.object(*call.args[0], row, "ObjectGeography object");
    const std::int32_t code = ev.whole(*call.args[1], row, "ObjectGeography code");
    if (code < 1 || code > 4) outOfRange("ObjectGeography", code);
    Workspace& ws = ev.workspace();
    const Geometry& g = *o.geometry;
    if ((g.type == ObjectType::Line || g.type == ObjectType::Point) && !g.parts.empty() &&
        !g.parts.front().empty()) {
        const auto& nodes = g.parts.front();
        const Point p = ws.coordSystems.convert(*o.coordSys, *ws.session,
                                                code <= 2 ? nodes.front() : nodes.back());
        return Value::real(code % 2 == 1 ? p.x : p.y);
    }
    const Bounds b = ws.coordSystems.convert(*o.coordSys, *ws.session, g).bounds();
    const double v[] = {b.minX, b.minY, b.maxX, b.maxY};
    return Value::real(v[code - 1]);
}

template <bool wantX>
Value objectNode(Evaluator& ev, const Expr& call, const RowContext* row) {
    const char* fn = wantX ? "ObjectNodeX" : "ObjectNodeY";
    const ObjectValue o = ev.object(*call.args[0], row, fn);
    const std::int32_t s = ev.whole(*call.args[1], row, "section number");
    const std::int32_t n = ev.whole(*call.args[2], row, "node number");
    const auto& nodes = section(*o.geometry, s, fn);
    if (n < 1 || n > static_cast<std::int32_t>(nodes.size())) {
        throw MapBasicError(errc::kArgumentRange, std::string(fn) + ": section " +
                                                      std::to_string(s) + " has no node " +
                                                      std::to_string(n) + " (it has " +
                                                      std::to_string(nodes.size()) + ")");
    }
    Workspace& ws = ev.workspace();
    const Point p =
        ws.coordSystems.convert(*o.coordSys, *ws.session, nodes[static_cast<std::size_t>(n - 1)]);
    return Value::real(wantX ? p.x : p.y);
}

double unitArg(Evaluator& ev, const Expr& e, const RowContext* row) {
    return metresPerUnit(ev.text(e, row, "the distance unit"));
}

template <bool perimeter>
Value measure(Evaluator& ev, const Expr& call, const RowContext* row) {
    const ObjectValue o = ev.object(*call.args[0], row, perimeter ? "Perimeter" : "ObjectLen");
    const double unit = unitArg(ev, *call.args[1], row);
    Measurer& m = ev.workspace().measurer;
    const double metres =
        perimeter ? m.perimeter(*o.coordSys, *o.geometry) : m.length(*o.coordSys, *o.geometry);
    return Value::real(metres / unit);
}

Value area(Evaluator& ev, const Expr& call, const RowContext* row) {
    const ObjectValue o = ev.object(*call.args[0], row, "Area");
    std::string unit = ev.text(*call.args[1], row, "the area unit");
    if (toLower(unit).rfind("sq ", 0) == 0) unit = unit.substr(3);
    const double perUnit = metresPerUnit(unit);
    Workspace& ws = ev.workspace();
    // Planar area in the session's system, scaled; enough for what mbhost is asked.
    double total = 0;
    const Geometry g = ws.coordSystems.convert(*o.coordSys, *ws.session, *o.geometry);
    if (g.type != ObjectType::Region) return Value::real(0);
    for (const auto& ring : g.parts) {
        double twice = 0;
        for (std::size_t i = 0; i < ring.size(); ++i) {
            const Point& p = ring[i];
            const Point& q = ring[(i + 1) % ring.size()];
            twice += p.x * q.y - q.x * p.y;
        }
        total += std::fabs(twice) / 2;
    }
    const double scale = ws.session->isLatLong() ? 0 : ws.session->metresPerUnit();
    return Value::real(total * scale * scale / (perUnit * perUnit));
}

Value distance(Evaluator& ev, const Expr& call, const RowContext* row) {
    const double x1 = ev.number(*call.args[0], row, "Distance x1");
    const double y1 = ev.number(*call.args[1], row, "Distance y1");
    const double x2 = ev.number(*call.args[2], row, "Distance x2");
    const double y2 = ev.number(*call.args[3], row, "Distance y2");
    const double unit = unitArg(ev, *call.args[4], row);
    Workspace& ws = ev.workspace();
    return Value::real(ws.measurer.distance(*ws.session, {x1, y1}, {x2, y2}) / unit);
}

Value createPoint(Evaluator& ev, const Expr& call, const RowContext* row) {
    const double x = ev.number(*call.args[0], row, "CreatePoint x");
    const double y = ev.number(*call.args[1], row, "CreatePoint y");
    return Value::object(ObjectValue{std::make_shared<const Geometry>(Geometry::point(x, y)),
                                     ev.workspace().session});
}

Value createLine(Evaluator& ev, const Expr& call, const RowContext* row) {
    double v[4];
    for (int i = 0; i < 4; ++i)
        v[i] = ev.number(*call.args[static_cast<std::size_t>(i)], row, "CreateLine");
    return Value::object(
        ObjectValue{std::make_shared<const Geometry>(Geometry::line({v[0], v[1]}, {v[2], v[3]})),
                    ev.workspace().session});
}

template <bool wantX>
Value centroid(Evaluator& ev, const Expr& call, const RowContext* row) {
    const ObjectValue o = ev.object(*call.args[0], row, wantX ? "CentroidX" : "CentroidY");
    Workspace& ws = ev.workspace();
    const Bounds b = ws.coordSystems.convert(*o.coordSys, *ws.session, *o.geometry).bounds();
    return Value::real(wantX ? (b.minX + b.maxX) / 2 : (b.minY + b.maxY) / 2);
}

constexpr FunctionSpec kFunctions[] = {
    {"objectinfo", 2, 2, objectInfo},
    {"objectgeography", 2, 2, objectGeography},
    {"objectnodex", 3, 3, objectNode<true>},
    {"objectnodey", 3, 3, objectNode<false>},
    {"objectlen", 2, 2, measure<false>},
    {"perimeter", 2, 2, measure<true>},
    {"area", 2, 2, area},
    {"distance", 5, 5, distance},
    {"createpoint", 2, 2, createPoint},
    {"createline", 4, 4, createLine},
    {"centroidx", 1, 1, centroid<true>},
    {"centroidy", 1, 1, centroid<false>},
};

}  // namespace

std::span<const FunctionSpec> objectFunctions() {
    return kFunctions;
}

}  // namespace mbhost
