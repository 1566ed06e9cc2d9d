#include "mbhost/picture/map_picture_renderer.h"

#include <cairo-pdf.h>
#include <cairo-svg.h>

#include <filesystem>
#include <stdexcept>

#include "mbhost/picture/cairo_handles.h"
#include "mbhost/picture/map_painter.h"
#include "mbhost/picture/whole_file.h"
#include "mbhost/storage/storage_error.h"

namespace mbhost::picture {
namespace {

// Largest side accepted, so that a request for a huge picture fails instead of exhausting
// memory (16384² pixels is 1 GiB).
constexpr int kMaxSide = 16384;

std::string extensionOf(const std::string& path) {
    std::string extension = std::filesystem::path(path).extension().string();
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension;
}

cairo_status_t appendTo(void* bytes, const unsigned char* data, unsigned int length) {
    static_cast<std::string*>(bytes)->append(reinterpret_cast<const char*>(data), length);
    return CAIRO_STATUS_SUCCESS;
}

// The surface for the file's type, the vector ones writing into bytes; null for a type that
// has none. A PDF page takes a pixel as a point.
SurfacePtr surfaceFor(const std::string& extension, int width, int height, std::string& bytes) {
    if (extension == ".png") {
        return SurfacePtr(cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height));
    }
    if (extension == ".svg") {
        SurfacePtr svg(cairo_svg_surface_create_for_stream(appendTo, &bytes, width, height));
        cairo_svg_surface_set_document_unit(svg.get(), CAIRO_SVG_UNIT_PX);
        return svg;
    }
    if (extension == ".pdf") {
        return SurfacePtr(cairo_pdf_surface_create_for_stream(appendTo, &bytes, width, height));
    }
    return nullptr;
}

void check(cairo_status_t status) {
    if (status != CAIRO_STATUS_SUCCESS) throw std::runtime_error(cairo_status_to_string(status));
}

// The picture file's bytes: the map painted on the surface, which is then finished.
void paintInto(cairo_surface_t* surface, const MapSnapshot& map, std::string& bytes) {
    check(cairo_surface_status(surface));
    const ContextPtr cr(cairo_create(surface));
    paintMap(map, cr.get());
    check(cairo_status(cr.get()));
    if (cairo_surface_get_type(surface) == CAIRO_SURFACE_TYPE_IMAGE) {
        check(cairo_surface_write_to_png_stream(surface, appendTo, &bytes));
    }
    cairo_surface_finish(surface);
    check(cairo_surface_status(surface));
}

}  // namespace

void MapPictureRenderer::render(const MapSnapshot& map, const std::string& path) {
    const std::string extension = extensionOf(path);
    if (map.widthPixels < 1 || map.heightPixels < 1 || map.widthPixels > kMaxSide ||
        map.heightPixels > kMaxSide) {
        throw gdal::writeError(path, "a picture of " + std::to_string(map.widthPixels) + " x " +
                                         std::to_string(map.heightPixels) +
                                         " pixels cannot be made (1 to " +
                                         std::to_string(kMaxSide) + " a side)");
    }
    std::string bytes;
    const SurfacePtr surface = surfaceFor(extension, map.widthPixels, map.heightPixels, bytes);
    if (!surface) {
        throw gdal::writeError(
            path, "unknown picture type \"" + extension + "\" (use .png, .svg or .pdf)");
    }
    try {
        paintInto(surface.get(), map, bytes);
    } catch (const std::runtime_error& failure) {
        throw gdal::writeError(path, failure.what());
    }
    writeWholeFile(path, bytes);
}

}  // namespace mbhost::picture
