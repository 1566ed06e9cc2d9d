#include "table_file_format.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <stdexcept>

namespace mbhost::gdal {

TableFileFormat formatForPath(const std::string& path) {
    std::string extension = std::filesystem::path(path).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension == ".tab") return {"MapInfo File", {}, false, true};
    if (extension == ".mif") return {"MapInfo File", {"FORMAT=MIF"}, false, true};
    if (extension == ".shp") return {"ESRI Shapefile", {}, true, true};
    if (extension == ".geojson" || extension == ".json") return {"GeoJSON", {}, false, true};
    if (extension == ".gpkg") return {"GPKG", {}, false, true};
    throw std::runtime_error("cannot write " + path + ": unknown file type \"" + extension +
                             "\" (use .tab, .mif, .shp, .geojson or .gpkg)");
}

}  // namespace mbhost::gdal
