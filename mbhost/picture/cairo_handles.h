// Owning handles for the cairo and pango objects a picture is drawn with, so that every path
// out of the drawing, a thrown error included, releases them.
#pragma once

#include <cairo.h>
#include <pango/pangocairo.h>

#include <memory>

namespace mbhost::picture {

template <auto release>
struct Releaser {
    template <typename T>
    void operator()(T* handle) const {
        release(handle);
    }
};

using SurfacePtr = std::unique_ptr<cairo_surface_t, Releaser<cairo_surface_destroy>>;
using ContextPtr = std::unique_ptr<cairo_t, Releaser<cairo_destroy>>;
using LayoutPtr = std::unique_ptr<PangoLayout, Releaser<g_object_unref>>;
using FontPtr = std::unique_ptr<PangoFontDescription, Releaser<pango_font_description_free>>;

}  // namespace mbhost::picture
