// Table files read and written through GDAL: MapInfo TAB and MIF/MID, Shapefile, GeoJSON,
// GeoPackage. The table's coordinate system comes from the file and goes back into it.
#pragma once

#include "mbhost/ports.h"

namespace mbhost::gdal {

class GdalTableStore : public TableStore {
public:
    GdalTableStore();  // registers GDAL's drivers once per process

    // The first layer of the file. Raises std::runtime_error "cannot open <path>: <reason>".
    TableData open(const std::string& path) override;
    // Writes in the format the extension names, beside the old file first, then in its
    // place. Raises std::runtime_error "cannot write <path>: <reason>"; the old file stays.
    void write(const TableData& table, const std::string& path) override;
};

}  // namespace mbhost::gdal
