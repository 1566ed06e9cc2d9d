// An RGBA picture with the few drawing operations a map needs, anti-aliasing left out.
#pragma once

#include <cstdint>
#include <vector>

#include "canvas.h"

namespace mbhost::picture {

class Raster : public Canvas {
public:
    // Largest side accepted, so that a request for a huge picture fails instead of
    // exhausting memory (16384² RGBA is 1 GiB).
    static constexpr int kMaxSide = 16384;

    // Raises std::invalid_argument for a side below 1 or above kMaxSide.
    Raster(int width, int height);

    int width() const { return width_; }
    int height() const { return height_; }
    // RGBA, rows from the top.
    const std::vector<std::uint8_t>& pixels() const { return pixels_; }
    Colour at(int x, int y) const;

    void fillBackground(Colour colour) override;
    void polygon(const std::vector<Ring>& rings, Colour fill, Colour outline,
                 double outlineWidth) override;
    void polyline(const Ring& nodes, Colour colour, double width) override;
    void marker(PixelPoint at, double size, Colour fill, Colour outline) override;
    void text(PixelPoint at, const std::string& text, Colour colour) override;

private:
    void blend(int x, int y, Colour colour);
    void fillSpans(const std::vector<Ring>& rings, Colour colour);
    void segment(PixelPoint a, PixelPoint b, Colour colour, double width);
    void fillRect(double x0, double y0, double x1, double y1, Colour colour);

    int width_;
    int height_;
    std::vector<std::uint8_t> pixels_;
};

}  // namespace mbhost::picture
