#include "mbhost/picture/shapes.h"

#include "mbhost/picture/cairo_handles.h"

namespace mbhost::picture {
namespace {

constexpr double kTextPixels = 11;

void setColour(cairo_t* cr, Colour c) {
    cairo_set_source_rgba(cr, c.r / 255.0, c.g / 255.0, c.b / 255.0, c.a / 255.0);
}

void trace(cairo_t* cr, const Ring& nodes, bool closed) {
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        (i == 0 ? cairo_move_to : cairo_line_to)(cr, nodes[i].x, nodes[i].y);
    }
    if (closed && !nodes.empty()) cairo_close_path(cr);
}

// Fills, then outlines, the current path, and clears it; a transparent part is left out.
void fillAndStroke(cairo_t* cr, Colour fill, Colour outline, double width) {
    if (fill.a > 0) {
        setColour(cr, fill);
        cairo_fill_preserve(cr);
    }
    if (outline.a > 0 && width > 0) {
        setColour(cr, outline);
        cairo_set_line_width(cr, width);
        cairo_stroke_preserve(cr);
    }
    cairo_new_path(cr);
}

// Labels come from table files of any origin: bytes that are not UTF-8 show as U+FFFD
// instead of making pango complain and draw nothing.
LayoutPtr layoutOf(cairo_t* cr, const std::string& text) {
    LayoutPtr layout(pango_cairo_create_layout(cr));
    const FontPtr font(pango_font_description_from_string("DejaVu Sans, sans-serif"));
    pango_font_description_set_absolute_size(font.get(), kTextPixels * PANGO_SCALE);
    pango_layout_set_font_description(layout.get(), font.get());
    gchar* valid = g_utf8_make_valid(text.data(), static_cast<gssize>(text.size()));
    pango_layout_set_text(layout.get(), valid, -1);
    g_free(valid);
    return layout;
}

}  // namespace

void fillBackground(cairo_t* cr, Colour colour) {
    setColour(cr, colour);
    cairo_paint(cr);
}

void polygon(cairo_t* cr, const std::vector<Ring>& rings, Colour fill, Colour outline,
             double outlineWidth) {
    for (const Ring& ring : rings) trace(cr, ring, true);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    fillAndStroke(cr, fill, outline, outlineWidth);
}

void polyline(cairo_t* cr, const Ring& nodes, Colour colour, double width) {
    trace(cr, nodes, false);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    fillAndStroke(cr, Colour{0, 0, 0, 0}, colour, width);
}

void marker(cairo_t* cr, PixelPoint at, double size, Colour fill, Colour outline) {
    cairo_rectangle(cr, at.x - size / 2, at.y - size / 2, size, size);
    fillAndStroke(cr, fill, outline, 1);
}

void text(cairo_t* cr, PixelPoint at, const std::string& text, Colour colour) {
    const LayoutPtr layout = layoutOf(cr, text);
    setColour(cr, colour);
    cairo_move_to(cr, at.x, at.y - pango_layout_get_baseline(layout.get()) / double(PANGO_SCALE));
    pango_cairo_show_layout(cr, layout.get());
    cairo_new_path(cr);
}

void haloText(cairo_t* cr, PixelPoint at, const std::string& text, Colour colour, Colour halo) {
    const LayoutPtr layout = layoutOf(cr, text);
    cairo_move_to(cr, at.x, at.y - pango_layout_get_baseline(layout.get()) / double(PANGO_SCALE));
    pango_cairo_layout_path(cr, layout.get());
    setColour(cr, halo);
    cairo_set_line_width(cr, 3);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke(cr);
    picture::text(cr, at, text, colour);
}

}  // namespace mbhost::picture
