// Draws a map window's snapshot on a cairo context: regions, lines, points and text labels of each
// layer, bottom layer first, the selection highlighted, and a scale bar.
#pragma once

#include <string>

#include "mbhost/picture/shapes.h"
#include "mbhost/ports.h"

namespace mbhost::picture {

// Map units to pixels: the whole view fitted into the picture with its aspect kept, centred,
// north up. xStretch shortens X units against Y units (the cosine of the middle latitude for
// longitude/latitude, 1 otherwise).
class MapTransform {
public:
    MapTransform(const Bounds& view, int width, int height, double xStretch = 1);
    PixelPoint operator()(const Point& p) const;
    double pixelsPerYUnit() const { return scale_; }

private:
    double scale_;
    double xScale_;
    double originX_;
    double originY_;
    int height_;
};

struct ScaleBar {
    double metres = 0;  // a round length: 1, 2 or 5 times a power of ten
    double pixels = 0;  // its length on the picture
    std::string label;  // "50 km", "200 m"
};

// The longest round length that fits in about a quarter of the picture's width.
ScaleBar chooseScaleBar(double metresPerPixel, int width);

void paintMap(const MapSnapshot& map, cairo_t* cr);

}  // namespace mbhost::picture
