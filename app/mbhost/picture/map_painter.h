// Draws a map window's snapshot on a cairo context: regions, lines, points and text labels of each
// layer, bottom layer first, the selection highlighted, and a scale bar.
#pragma once

#include <string>

#include "mbhost/ports.h"
#include "shapes.h"

namespace mbhost::picture {

// Map units to pixels: the view fitted into the picture with its aspect kept, centred.
class MapTransform {
public:
    MapTransform(const Bounds& view, int width, int height);
    PixelPoint operator()(const Point& p) const;
    double pixelsPerUnit() const { return scale_; }

private:
    double scale_;
    double originX_;
    double originY_;
    int height_;
};

// Metres per map unit along X at the centre of the view: from the unit named in a projected
// system's clause, or from the latitude for longitude/latitude. 1 for a clause naming no unit.
double metresPerUnit(const std::string& coordSysClause, const Bounds& view);

struct ScaleBar {
    double metres = 0;  // a round length: 1, 2 or 5 times a power of ten
    double pixels = 0;  // its length on the picture
    std::string label;  // "50 km", "200 m"
};

// The longest round length that fits in about a quarter of the picture's width.
ScaleBar chooseScaleBar(double metresPerPixel, int width);

void paintMap(const MapSnapshot& map, cairo_t* cr);

}  // namespace mbhost::picture
