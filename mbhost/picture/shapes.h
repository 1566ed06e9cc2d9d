// What a map painter draws with, in pixel coordinates (x right, y down) on a cairo context:
// the same calls draw the PNG, the SVG and the PDF picture.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <string>
#include <vector>

namespace mbhost::picture {

struct Colour {
    std::uint8_t r = 0, g = 0, b = 0, a = 255;
};

struct PixelPoint {
    double x = 0;
    double y = 0;
};

using Ring = std::vector<PixelPoint>;

void fillBackground(cairo_t* cr, Colour colour);
// Rings filled by the even-odd rule, each outlined.
void polygon(cairo_t* cr, const std::vector<Ring>& rings, Colour fill, Colour outline,
             double outlineWidth);
void polyline(cairo_t* cr, const Ring& nodes, Colour colour, double width);
// A square marker centred on at.
void marker(cairo_t* cr, PixelPoint at, double size, Colour fill, Colour outline);
// Text with its baseline starting at at, in DejaVu Sans or, for characters it lacks, whichever
// installed font fontconfig finds for them.
void text(cairo_t* cr, PixelPoint at, const std::string& text, Colour colour);
// The same text outlined first in halo, so that it reads over whatever lies under it.
void haloText(cairo_t* cr, PixelPoint at, const std::string& text, Colour colour, Colour halo);

}  // namespace mbhost::picture
