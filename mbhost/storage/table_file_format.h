// Which GDAL driver writes a table file, chosen by the file's extension.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

namespace mbhost::gdal {

struct TableFileFormat {
    std::string driver;                       // GDAL's short name
    std::vector<std::string> datasetOptions;  // NAME=VALUE
    std::vector<std::string> layerOptions;    // NAME=VALUE
    std::vector<std::string> readOptions;     // NAME=VALUE, to read the written file back
    bool oneObjectKind = false;               // a layer holds one geometry type only
    bool pointsOnly = false;                  // as X and Y columns (CSV)
    bool numbersAsText = false;               // every column reads back as text (CSV)
    bool boundedGrid = false;       // integer coordinates within layer bounds (MapInfo TAB)
    bool needsAuthority = false;    // the system must have an EPSG code to be recorded (GeoJSON)
    bool decimalColumns = false;    // keeps Decimal apart from Float (MapInfo)
    bool emptyKeepsColumns = true;  // a file without rows still lists its columns (not GeoJSON)
    bool indexBuiltAfter = false;   // GDAL's spatial index is off: one is packed at the end
    double coordinateTolerance = 1e-6;   // how far a coordinate may move, relative to its size
    std::size_t columnNameLimit = 0;     // longest column name in bytes; 0: no limit
    bool asciiColumnNames = false;       // column names of ASCII letters only (MapInfo)
    std::vector<std::string> pieces;     // the extensions of the files a table is written as
    std::vector<std::string> leftovers;  // files other programs add beside it (an index)
};

// The files a table at path is made of, in the format its extension names (path among them).
std::vector<std::string> tablePieces(const std::string& path);

// Whether name (a file name) is a piece or a leftover of the table at target: roads.dat
// beside roads.tab, roads.qix beside roads.shp, the target's own name. A file of the same stem
// in another format (roads.geojson) is not; a file of a type not written has only itself.
bool isTablePiece(const std::string& name, const std::filesystem::path& target);

// The pieces and leftovers of target now in its folder (target among them when it exists).
std::vector<std::filesystem::path> existingTablePieces(const std::filesystem::path& target);

// The format for path's extension (case-insensitive): .tab, .mif, .shp, .geojson/.json, .gpkg,
// .csv.
// Raises std::runtime_error "cannot write <path>: ..." for any other.
TableFileFormat formatForPath(const std::string& path);

}  // namespace mbhost::gdal
