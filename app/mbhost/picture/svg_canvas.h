// The same drawing as an SVG document.
#pragma once

#include <sstream>
#include <string>

#include "canvas.h"

namespace mbhost::picture {

class SvgCanvas : public Canvas {
public:
    SvgCanvas(int width, int height);

    void fillBackground(Colour colour) override;
    void polygon(const std::vector<Ring>& rings, Colour fill, Colour outline,
                 double outlineWidth) override;
    void polyline(const Ring& nodes, Colour colour, double width) override;
    void marker(PixelPoint at, double size, Colour fill, Colour outline) override;
    void text(PixelPoint at, const std::string& text, Colour colour) override;

    // The whole document, closed.
    std::string document() const;

private:
    int width_;
    int height_;
    std::ostringstream body_;
};

// text with &, <, > and quotes escaped for XML.
std::string xmlEscaped(const std::string& text);

}  // namespace mbhost::picture
