// Reading a freshly written table file back before it replaces the old one. Some of GDAL's
// writers (MIF, GeoJSON) do not report short writes on a full disk, so only reading the file
// shows that every row, object and value arrived as far as the format can keep them.
#pragma once

#include <string>

#include "mbhost/table_data.h"
#include "table_file_format.h"

namespace mbhost::gdal {

// Raises std::runtime_error with the reason when the file at path does not hold table's
// rows (the deleted ones left out), as far as format keeps them.
void checkWritten(const TableData& table, const std::string& path, const TableFileFormat& format);

}  // namespace mbhost::gdal
