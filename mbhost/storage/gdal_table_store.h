// Table files read and written through GDAL: MapInfo TAB and MIF/MID, Shapefile, GeoJSON,
// GeoPackage. The table's coordinate system comes from the file and goes back into it.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "mbhost/ports.h"
#include "mbhost/storage/staged_write.h"

namespace mbhost::gdal {

// The CoordSys clause (without "CoordSys ") of a system as GDAL reads it from text: an EPSG
// code, a PROJ string, WKT. Raises std::runtime_error with the reason when there is none.
std::string coordSysClauseOf(const std::string& system);

class GdalTableStore : public TableStore {
public:
    GdalTableStore();  // registers GDAL's drivers once per process

    // The file's table. A file without a usable system opens on a plane over its extent,
    // with coordSysNote saying why. Raises std::runtime_error "cannot open <path>: <reason>", and
    // names the layers of a file that holds several: which one is meant is for openLayer to say.
    TableData open(const std::string& path) override;
    // The layer of that name (as GDAL lists it). Raises as open does, listing the layers
    // when there is no such one.
    TableData openLayer(const std::string& path, const std::string& layer) override;
    // Writes in the format the extension names, beside the old file first, then in its
    // place. Raises std::runtime_error "cannot write <path>: <reason>"; the old file stays.
    void write(const TableData& table, const std::string& path) override;
    void create(const TableData& table, const std::string& path) override;
    // Writes and checks table beside path as write does, up to its commit: the caller commits
    // (without replacing a file that appeared meanwhile, if it likes) or lets it go.
    std::unique_ptr<StagedWrite> stage(const TableData& table, const std::string& path);
    // Whether write could hold table at path: its format, coordinate system and column
    // names. Raises as write does; writes nothing.
    void checkCanHold(const TableData& table, const std::string& path) const;
    // The same, for a table that may still be given a map before it is written.
    void checkCouldHold(const TableData& table, const std::string& path) const;

private:
    TableData openTable(const std::string& path, const std::optional<std::string>& layer);
};

}  // namespace mbhost::gdal
