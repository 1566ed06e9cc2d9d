#include "mbhost/picture/map_painter.h"

#include <algorithm>
#include <cmath>

namespace mbhost::picture {
namespace {

constexpr Colour kBackground{255, 255, 255};
constexpr Colour kRegionFill{205, 230, 190};
constexpr Colour kRegionEdge{90, 130, 70};
constexpr Colour kLine{30, 70, 170};
constexpr Colour kPointFill{220, 40, 40};
constexpr Colour kInk{0, 0, 0};
constexpr Colour kHalo{255, 255, 255};
constexpr Colour kSelection{255, 0, 200, 200};

Ring ringOf(const std::vector<Point>& nodes, const MapTransform& toPixels, double shift = 0) {
    Ring ring;
    ring.reserve(nodes.size());
    for (const Point& p : nodes) ring.push_back(toPixels({p.x + shift, p.y}));
    return ring;
}

// Data split at the antimeridian often steps from 180 to -180 and back within a ring (Russia
// and Fiji in a TopoJSON world); drawn as they are, those steps cross the whole map. On a
// lat/long map each such path is made continuous (the steps become short ones past ±180) and
// drawn again a turn of the globe over, so that what lies past the edge shows at the other.
// A ring round a pole (an odd number of steps: Antarctica) is already whole as it is.
std::vector<Point> continuous(const std::vector<Point>& nodes, bool closed) {
    std::vector<Point> path = nodes;
    for (std::size_t i = 1; i < path.size(); ++i) {
        while (path[i].x - path[i - 1].x > 180) path[i].x -= 360;
        while (path[i].x - path[i - 1].x < -180) path[i].x += 360;
    }
    const bool roundThePole =
        closed && !path.empty() && std::abs(path.back().x - path.front().x) > 180;
    return roundThePole ? nodes : path;
}

// The paths as drawn, and the shifts (in degrees) each is drawn at.
struct Unwrapped {
    std::vector<std::vector<Point>> paths;
    std::vector<double> shifts{0};
};

// While it lives, drawing stays between -180 and 180 degrees: the two copies of a wrapped
// object meet at the antimeridian instead of overlapping past it.
class WithinTheGlobe {
public:
    WithinTheGlobe(cairo_t* cr, const MapTransform& toPixels, bool wrapped)
        : cr_(wrapped ? cr : nullptr) {
        if (!cr_) return;
        const PixelPoint west = toPixels({-180, 90}), east = toPixels({180, -90});
        cairo_save(cr_);
        cairo_rectangle(cr_, west.x, west.y, east.x - west.x, east.y - west.y);
        cairo_clip(cr_);
    }
    ~WithinTheGlobe() {
        if (cr_) cairo_restore(cr_);
    }
    WithinTheGlobe(const WithinTheGlobe&) = delete;
    WithinTheGlobe& operator=(const WithinTheGlobe&) = delete;

private:
    cairo_t* cr_;
};

Unwrapped unwrap(const std::vector<std::vector<Point>>& parts, bool closed, bool latLong) {
    if (!latLong) return {parts};
    Unwrapped drawn;
    double west = 0, east = 0;
    for (const auto& part : parts) {
        drawn.paths.push_back(continuous(part, closed));
        for (const Point& p : drawn.paths.back()) {
            west = std::min(west, p.x);
            east = std::max(east, p.x);
        }
    }
    if (east > 180) drawn.shifts.push_back(-360);
    if (west < -180) drawn.shifts.push_back(360);
    return drawn;
}

void paintObject(const Geometry& object, const MapTransform& toPixels, cairo_t* cr, bool selected,
                 bool latLong) {
    switch (object.type) {
        case ObjectType::Region: {
            const Unwrapped drawn = unwrap(object.parts, true, latLong);
            const WithinTheGlobe clip(cr, toPixels, drawn.shifts.size() > 1);
            for (double shift : drawn.shifts) {
                std::vector<Ring> rings;
                for (const auto& part : drawn.paths) rings.push_back(ringOf(part, toPixels, shift));
                polygon(cr, rings, selected ? Colour{255, 190, 240} : kRegionFill,
                        selected ? kSelection : kRegionEdge, selected ? 3 : 1);
            }
            break;
        }
        case ObjectType::Line:
        case ObjectType::Polyline: {
            const Unwrapped drawn = unwrap(object.parts, false, latLong);
            const WithinTheGlobe clip(cr, toPixels, drawn.shifts.size() > 1);
            for (double shift : drawn.shifts) {
                for (const auto& part : drawn.paths) {
                    const Ring nodes = ringOf(part, toPixels, shift);
                    if (selected) polyline(cr, nodes, kSelection, 6);
                    polyline(cr, nodes, kLine, 2);
                }
            }
            break;
        }
        case ObjectType::Point:
        case ObjectType::Multipoint:
            for (const auto& part : object.parts) {
                for (const Point& p : part) {
                    if (selected) marker(cr, toPixels(p), 11, kSelection, kSelection);
                    marker(cr, toPixels(p), 5, kPointFill, kInk);
                }
            }
            break;
        case ObjectType::Text:
            if (!object.parts.empty() && !object.parts.front().empty()) {
                text(cr, toPixels(object.parts.front().front()), object.text,
                     selected ? kSelection : kInk);
            }
            break;
        case ObjectType::Collection:
            for (const Geometry& member : object.members) {
                paintObject(member, toPixels, cr, selected, latLong);
            }
            break;
        default: {  // rectangles, ellipses, arcs, frames: their bounding rectangle
            const Bounds b = object.bounds();
            polygon(
                cr,
                {ringOf({{b.minX, b.minY}, {b.maxX, b.minY}, {b.maxX, b.maxY}, {b.minX, b.maxY}},
                        toPixels)},
                Colour{0, 0, 0, 0}, selected ? kSelection : kInk, 1);
        }
    }
}

// Without an opaque backing, so that it hides no data: the bar and its label are outlined in
// white to read over whatever they cross.
void paintScaleBar(const MapSnapshot& map, double pixelsPerYUnit, cairo_t* cr) {
    // A degree of longitude is as many metres as it is pixels shorter than one of latitude.
    const ScaleBar bar = chooseScaleBar(map.metresPerUnit / pixelsPerYUnit, map.widthPixels);
    if (!(bar.pixels >= 1)) return;
    const double left = 10, base = map.heightPixels - 10.0;
    const Ring ends[] = {{{left, base}, {left + bar.pixels, base}},
                         {{left, base - 6}, {left, base}},
                         {{left + bar.pixels, base - 6}, {left + bar.pixels, base}}};
    for (const Ring& stroke : ends) polyline(cr, stroke, kHalo, 5);
    polyline(cr, ends[0], kInk, 3);
    for (const Ring& tick : {ends[1], ends[2]}) polyline(cr, tick, kInk, 1);
    haloText(cr, {left + bar.pixels + 6, base + 2}, bar.label, kInk, kHalo);
}

// The cosine of the view's middle latitude for lat/long; 1 for other systems.
double xStretchOf(const MapSnapshot& map) {
    if (!map.latLong) return 1;
    const double latitude = (map.view.minY + map.view.maxY) / 2 * M_PI / 180;
    return std::max(std::cos(latitude), 0.01);
}

}  // namespace

MapTransform::MapTransform(const Bounds& view, int width, int height, double xStretch)
    : xScale_(xStretch), height_(height) {
    double spanX = (view.maxX - view.minX) * xStretch;
    double spanY = view.maxY - view.minY;
    if (!(spanX > 0)) spanX = 1;
    if (!(spanY > 0)) spanY = 1;
    scale_ = std::min(width / spanX, height / spanY);
    const double centreX = (view.minX + view.maxX) / 2;
    const double centreY = (view.minY + view.maxY) / 2;
    originX_ = width / 2.0 - centreX * scale_ * xScale_;
    originY_ = height / 2.0 - centreY * scale_;
}

PixelPoint MapTransform::operator()(const Point& p) const {
    return {originX_ + p.x * scale_ * xScale_, height_ - (originY_ + p.y * scale_)};
}

ScaleBar chooseScaleBar(double metresPerPixel, int width) {
    ScaleBar bar;
    if (!(metresPerPixel > 0) || width < 20) return bar;
    const double target = metresPerPixel * width / 4;
    const double power = std::pow(10, std::floor(std::log10(target)));
    for (double step : {5.0, 2.0, 1.0}) {
        if (step * power <= target) {
            bar.metres = step * power;
            break;
        }
    }
    bar.pixels = bar.metres / metresPerPixel;
    const bool km = bar.metres >= 1000;
    const double shown = km ? bar.metres / 1000 : bar.metres;
    char text[32];
    std::snprintf(text, sizeof(text), "%g %s", shown, km ? "km" : "m");
    bar.label = text;
    return bar;
}

void paintMap(const MapSnapshot& map, cairo_t* cr) {
    fillBackground(cr, kBackground);
    const MapTransform toPixels(map.view, map.widthPixels, map.heightPixels, xStretchOf(map));
    for (const MapLayer& layer : map.layers) {
        for (std::size_t i = 0; i < layer.objects.size(); ++i) {
            const bool selected = i < layer.selected.size() && layer.selected[i];
            paintObject(layer.objects[i], toPixels, cr, selected, map.latLong);
        }
    }
    paintScaleBar(map, toPixels.pixelsPerYUnit(), cr);
}

}  // namespace mbhost::picture
