#include "svg_canvas.h"

#include <cstdio>

namespace mbhost::picture {
namespace {

std::string css(Colour c) {
    char text[32];
    std::snprintf(text, sizeof(text), "#%02x%02x%02x", c.r, c.g, c.b);
    return text;
}

std::string opacity(const char* attribute, Colour c) {
    if (c.a == 255) return {};
    char text[48];
    std::snprintf(text, sizeof(text), " %s=\"%.3f\"", attribute, c.a / 255.0);
    return text;
}

std::string number(double v) {
    char text[32];
    std::snprintf(text, sizeof(text), "%.2f", v);
    return text;
}

std::string pathOf(const Ring& nodes, bool closed) {
    std::string d;
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        d += (i == 0 ? "M" : " L") + number(nodes[i].x) + " " + number(nodes[i].y);
    }
    if (closed && !nodes.empty()) d += " Z";
    return d;
}

}  // namespace

std::string xmlEscaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

SvgCanvas::SvgCanvas(int width, int height) : width_(width), height_(height) {}

void SvgCanvas::fillBackground(Colour colour) {
    body_ << "<rect width=\"100%\" height=\"100%\" fill=\"" << css(colour) << "\"/>\n";
}

void SvgCanvas::polygon(const std::vector<Ring>& rings, Colour fill, Colour outline,
                        double outlineWidth) {
    std::string d;
    for (const Ring& ring : rings) d += (d.empty() ? "" : " ") + pathOf(ring, true);
    body_ << "<path d=\"" << d << "\" fill=\"" << css(fill) << "\"" << opacity("fill-opacity", fill)
          << " fill-rule=\"evenodd\" stroke=\"" << css(outline) << "\" stroke-width=\""
          << number(outlineWidth) << "\"/>\n";
}

void SvgCanvas::polyline(const Ring& nodes, Colour colour, double width) {
    body_ << "<path d=\"" << pathOf(nodes, false) << "\" fill=\"none\" stroke=\"" << css(colour)
          << "\"" << opacity("stroke-opacity", colour) << " stroke-width=\"" << number(width)
          << "\" stroke-linejoin=\"round\"/>\n";
}

void SvgCanvas::marker(PixelPoint at, double size, Colour fill, Colour outline) {
    body_ << "<rect x=\"" << number(at.x - size / 2) << "\" y=\"" << number(at.y - size / 2)
          << "\" width=\"" << number(size) << "\" height=\"" << number(size) << "\" fill=\""
          << css(fill) << "\" stroke=\"" << css(outline) << "\"/>\n";
}

void SvgCanvas::text(PixelPoint at, const std::string& text, Colour colour) {
    body_ << "<text x=\"" << number(at.x) << "\" y=\"" << number(at.y)
          << "\" font-family=\"sans-serif\" font-size=\"10\" fill=\"" << css(colour) << "\">"
          << xmlEscaped(text) << "</text>\n";
}

std::string SvgCanvas::document() const {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
           std::to_string(width_) + "\" height=\"" + std::to_string(height_) + "\" viewBox=\"0 0 " +
           std::to_string(width_) + " " + std::to_string(height_) + "\">\n" + body_.str() +
           "</svg>\n";
}

}  // namespace mbhost::picture
