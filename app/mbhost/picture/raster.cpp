#include "raster.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>

#include "bitmap_font.h"

namespace mbhost::picture {

Raster::Raster(int width, int height) : width_(width), height_(height) {
    if (width < 1 || height < 1 || width > kMaxSide || height > kMaxSide) {
        throw std::invalid_argument("a picture of " + std::to_string(width) + " x " +
                                    std::to_string(height) + " pixels cannot be made (1 to " +
                                    std::to_string(kMaxSide) + " a side)");
    }
    pixels_.assign(static_cast<std::size_t>(width) * height * 4, 255);
}

Colour Raster::at(int x, int y) const {
    const std::size_t i = (static_cast<std::size_t>(y) * width_ + x) * 4;
    return {pixels_[i], pixels_[i + 1], pixels_[i + 2], pixels_[i + 3]};
}

void Raster::blend(int x, int y, Colour c) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    const std::size_t i = (static_cast<std::size_t>(y) * width_ + x) * 4;
    const unsigned alpha = c.a;
    auto mix = [alpha](std::uint8_t under, std::uint8_t over) {
        return static_cast<std::uint8_t>((over * alpha + under * (255 - alpha)) / 255);
    };
    pixels_[i] = mix(pixels_[i], c.r);
    pixels_[i + 1] = mix(pixels_[i + 1], c.g);
    pixels_[i + 2] = mix(pixels_[i + 2], c.b);
    pixels_[i + 3] = 255;
}

void Raster::fillBackground(Colour colour) {
    for (std::size_t i = 0; i < pixels_.size(); i += 4) {
        pixels_[i] = colour.r;
        pixels_[i + 1] = colour.g;
        pixels_[i + 2] = colour.b;
        pixels_[i + 3] = colour.a;
    }
}

// Scanline fill by the even-odd rule, sampling each pixel at its centre.
void Raster::fillSpans(const std::vector<Ring>& rings, Colour colour) {
    double top = height_, bottom = 0;
    for (const Ring& ring : rings) {
        for (const PixelPoint& p : ring) {
            top = std::min(top, p.y);
            bottom = std::max(bottom, p.y);
        }
    }
    const int firstRow = std::max(0, static_cast<int>(std::floor(top)));
    const int lastRow = std::min(height_ - 1, static_cast<int>(std::ceil(bottom)));
    std::vector<double> crossings;
    for (int row = firstRow; row <= lastRow; ++row) {
        const double y = row + 0.5;
        crossings.clear();
        for (const Ring& ring : rings) {
            for (std::size_t i = 0, n = ring.size(); i < n; ++i) {
                const PixelPoint& a = ring[i];
                const PixelPoint& b = ring[(i + 1) % n];
                if ((a.y <= y) != (b.y <= y)) {
                    crossings.push_back(a.x + (y - a.y) / (b.y - a.y) * (b.x - a.x));
                }
            }
        }
        std::sort(crossings.begin(), crossings.end());
        for (std::size_t i = 0; i + 1 < crossings.size(); i += 2) {
            const int from = std::max(0, static_cast<int>(std::ceil(crossings[i] - 0.5)));
            const int to =
                std::min(width_ - 1, static_cast<int>(std::ceil(crossings[i + 1] - 0.5)) - 1);
            for (int x = from; x <= to; ++x) blend(x, row, colour);
        }
    }
}

void Raster::fillRect(double x0, double y0, double x1, double y1, Colour colour) {
    fillSpans({{{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}}}, colour);
}

// A thick segment as the quad around it, with a square cap at each end so that joints of a
// polyline have no gaps.
void Raster::segment(PixelPoint a, PixelPoint b, Colour colour, double width) {
    const double half = std::max(width, 1.0) / 2;
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double length = std::hypot(dx, dy);
    if (length < 1e-9) {
        fillRect(a.x - half, a.y - half, a.x + half, a.y + half, colour);
        return;
    }
    const double ux = dx / length * half, uy = dy / length * half;
    fillSpans({{{a.x - ux - uy, a.y - uy + ux},
                {b.x + ux - uy, b.y + uy + ux},
                {b.x + ux + uy, b.y + uy - ux},
                {a.x - ux + uy, a.y - uy - ux}}},
              colour);
}

void Raster::polygon(const std::vector<Ring>& rings, Colour fill, Colour outline,
                     double outlineWidth) {
    fillSpans(rings, fill);
    for (const Ring& ring : rings) {
        Ring closed = ring;
        if (!closed.empty()) closed.push_back(closed.front());
        polyline(closed, outline, outlineWidth);
    }
}

void Raster::polyline(const Ring& nodes, Colour colour, double width) {
    for (std::size_t i = 0; i + 1 < nodes.size(); ++i)
        segment(nodes[i], nodes[i + 1], colour, width);
    if (nodes.size() == 1) segment(nodes[0], nodes[0], colour, width);
}

void Raster::marker(PixelPoint at, double size, Colour fill, Colour outline) {
    const double half = size / 2;
    fillRect(at.x - half - 1, at.y - half - 1, at.x + half + 1, at.y + half + 1, outline);
    fillRect(at.x - half, at.y - half, at.x + half, at.y + half, fill);
}

void Raster::text(PixelPoint at, const std::string& text, Colour colour) {
    int x = static_cast<int>(std::lround(at.x));
    const int top = static_cast<int>(std::lround(at.y)) - kGlyphHeight;
    for (unsigned char c : text) {
        if ((c & 0xC0) == 0x80) continue;  // the rest of a multi-byte character
        const auto& glyph = glyphFor(c);
        for (int column = 0; column < kGlyphWidth; ++column) {
            for (int row = 0; row < kGlyphHeight; ++row) {
                if (glyph[column] & (1u << row)) blend(x + column, top + row, colour);
            }
        }
        x += kGlyphWidth + 1;
    }
}

}  // namespace mbhost::picture
