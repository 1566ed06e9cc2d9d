// Reading a freshly written table file back before it replaces the old one. Some of GDAL's
// writers (MIF, GeoJSON) do not report short writes on a full disk, so only reading the file
// shows that every row, object and value arrived as far as the format can keep them.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>

#include "mbhost/storage/table_file_format.h"
#include "mbhost/table_data.h"

class OGRGeometry;

namespace mbhost::gdal {

// The rows meant, kept in a file while the table is written and compared with the written
// file by streaming both: the check needs no more memory for millions of rows than for one.
class ExpectedRows {
public:
    // Raises std::runtime_error when file cannot be made.
    explicit ExpectedRows(std::filesystem::path file);
    ~ExpectedRows();  // removes the file
    ExpectedRows(const ExpectedRows&) = delete;
    ExpectedRows& operator=(const ExpectedRows&) = delete;

    // row as written, object: its geometry as given to GDAL (null: none).
    void add(const Row& row, const OGRGeometry* object);
    std::size_t count() const { return count_; }
    // Raises std::runtime_error with the reason when the file at path does not hold the rows
    // added (with columns columns), as far as format keeps them.
    void check(const std::string& path, const TableFileFormat& format, std::size_t columns);

private:
    std::filesystem::path file_;
    std::FILE* stream_ = nullptr;
    std::size_t count_ = 0;
};

}  // namespace mbhost::gdal
