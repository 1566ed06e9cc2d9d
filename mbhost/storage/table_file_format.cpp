#include "mbhost/storage/table_file_format.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <stdexcept>

#include "mbhost/storage/storage_error.h"

namespace mbhost::gdal {

namespace {
namespace fs = std::filesystem;

std::string loweredExtension(const fs::path& path) {
    std::string extension = path.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

}  // namespace

TableFileFormat formatForPath(const std::string& path) {
    const std::string extension = loweredExtension(path);
    TableFileFormat format;
    if (extension == ".tab" || extension == ".mif") {
        format.driver = "MapInfo File";
        if (extension == ".mif") format.datasetOptions = {"FORMAT=MIF"};
        format.boundedGrid = extension == ".tab";
        if (format.boundedGrid) format.coordinateTolerance = 1e-4;
        format.decimalColumns = true;
        format.columnNameLimit = 31;
        format.asciiColumnNames = true;
        format.pieces = format.boundedGrid
                            ? std::vector<std::string>{".tab", ".dat", ".map", ".id", ".ind"}
                            : std::vector<std::string>{".mif", ".mid"};
        return format;
    }
    if (extension == ".shp") {
        format.driver = "ESRI Shapefile";
        // Without it the attribute file is Latin-1 and Cyrillic text turns into '?'.
        format.layerOptions = {"ENCODING=UTF-8"};
        format.oneObjectKind = true;
        format.columnNameLimit = 10;
        format.pieces = {".shp", ".shx", ".dbf", ".prj", ".cpg"};
        format.leftovers = {".qix", ".sbn", ".sbx"};
        return format;
    }
    if (extension == ".geojson" || extension == ".json") {
        format.driver = "GeoJSON";
        format.needsAuthority = true;
        format.emptyKeepsColumns = false;  // its columns are the features' properties
        format.pieces = {extension};
        return format;
    }
    if (extension == ".gpkg") {
        format.driver = "GPKG";
        format.pieces = {".gpkg", ".gpkg-wal", ".gpkg-shm"};
        format.layerOptions = {"SPATIAL_INDEX=NO"};
        format.indexBuiltAfter = true;
        return format;
    }
    if (extension == ".csv") {
        format.driver = "CSV";
        format.layerOptions = {"GEOMETRY=AS_XY", "STRING_QUOTING=IF_NEEDED"};
        format.readOptions = {"X_POSSIBLE_NAMES=X", "Y_POSSIBLE_NAMES=Y", "KEEP_GEOM_COLUMNS=NO"};
        format.pointsOnly = true;
        format.numbersAsText = true;
        format.pieces = {".csv"};
        return format;
    }
    throw writeError(path, "unknown file type \"" + extension +
                               "\" (use .tab, .mif, .shp, .geojson, .gpkg or .csv)");
}

std::vector<std::string> tablePieces(const std::string& path) {
    std::vector<std::string> files;
    for (const auto& extension : formatForPath(path).pieces) {
        files.push_back(std::filesystem::path(path).replace_extension(extension).string());
    }
    return files;
}

bool isTablePiece(const std::string& name, const fs::path& target) {
    if (name == target.filename().string()) return true;
    if (fs::path(name).stem() != target.stem()) return false;
    TableFileFormat format;
    try {
        format = formatForPath(target.string());
    } catch (const std::runtime_error&) {
        return false;
    }
    const std::string extension = loweredExtension(name);
    return std::count(format.pieces.begin(), format.pieces.end(), extension) +
               std::count(format.leftovers.begin(), format.leftovers.end(), extension) >
           0;
}

std::vector<fs::path> existingTablePieces(const fs::path& target) {
    std::vector<fs::path> pieces;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(target.parent_path(), error)) {
        if (entry.symlink_status(error).type() != fs::file_type::directory &&
            isTablePiece(entry.path().filename().string(), target)) {
            pieces.push_back(entry.path());
        }
    }
    return pieces;
}

}  // namespace mbhost::gdal
