#include "map_picture_renderer.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "map_painter.h"
#include "png_file.h"
#include "raster.h"
#include "svg_canvas.h"

namespace mbhost::picture {
namespace {

std::string extensionOf(const std::string& path) {
    std::string extension = std::filesystem::path(path).extension().string();
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension;
}

}  // namespace

void MapPictureRenderer::render(const MapSnapshot& map, const std::string& path) {
    const std::string extension = extensionOf(path);
    if (map.widthPixels < 1 || map.heightPixels < 1) {
        throw std::runtime_error("cannot write " + path + ": a picture of " +
                                 std::to_string(map.widthPixels) + " x " +
                                 std::to_string(map.heightPixels) + " pixels cannot be made");
    }
    if (extension == ".png") {
        std::unique_ptr<Raster> raster;
        try {
            raster = std::make_unique<Raster>(map.widthPixels, map.heightPixels);
        } catch (const std::invalid_argument& bad) {
            throw std::runtime_error("cannot write " + path + ": " + bad.what());
        }
        paintMap(map, *raster);
        writePng(*raster, path);
        return;
    }
    if (extension == ".svg") {
        SvgCanvas svg(map.widthPixels, map.heightPixels);
        paintMap(map, svg);
        std::ofstream file(path, std::ios::trunc);
        file << svg.document();
        if (!file) throw std::runtime_error("cannot write " + path + ": " + std::strerror(errno));
        return;
    }
    throw std::runtime_error("cannot write " + path + ": unknown picture type \"" + extension +
                             "\" (use .png or .svg)");
}

}  // namespace mbhost::picture
