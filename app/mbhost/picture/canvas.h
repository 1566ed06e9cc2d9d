// What a map painter draws on, in pixel coordinates (x right, y down): one interface for the
// PNG raster and the SVG document, so both pictures show the same thing.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace mbhost::picture {

struct Colour {
    std::uint8_t r = 0, g = 0, b = 0, a = 255;
    bool operator==(const Colour&) const = default;
};

struct PixelPoint {
    double x = 0;
    double y = 0;
};

using Ring = std::vector<PixelPoint>;

class Canvas {
public:
    virtual ~Canvas() = default;
    virtual void fillBackground(Colour colour) = 0;
    // Rings filled by the even-odd rule, each outlined.
    virtual void polygon(const std::vector<Ring>& rings, Colour fill, Colour outline,
                         double outlineWidth) = 0;
    virtual void polyline(const Ring& nodes, Colour colour, double width) = 0;
    // A square marker centred on at.
    virtual void marker(PixelPoint at, double size, Colour fill, Colour outline) = 0;
    // Text with its baseline starting at at.
    virtual void text(PixelPoint at, const std::string& text, Colour colour) = 0;
};

}  // namespace mbhost::picture
