// Writing a table file row by row as the rows are made, into a staged write (staged_write.h):
// no row stays in memory, and the file is read back and checked before it may be committed.
#pragma once

#include <ogr_core.h>

#include <memory>
#include <optional>
#include <string>

#include "mbhost/geometry.h"
#include "mbhost/storage/staged_write.h"
#include "mbhost/table_data.h"

namespace mbhost::gdal {

// What the writer needs to know of the rows before the first.
struct RowsToCome {
    std::optional<Bounds> extent;          // where their objects lie: a TAB file's grid
    OGRwkbGeometryType kind = wkbUnknown;  // the one kind of object they hold, when known
};

class StreamedWrite {
public:
    // Starts the file at path beside it for shape's columns and system (shape's rows are not
    // written). Raises std::runtime_error "cannot write <path>: <reason>", as every call does;
    // after a failure the write is over: nothing of it is left once it is destroyed.
    StreamedWrite(const TableData& shape, const std::string& path, const RowsToCome& rows);
    ~StreamedWrite();
    StreamedWrite(const StreamedWrite&) = delete;
    StreamedWrite& operator=(const StreamedWrite&) = delete;

    // Writes row (its fields in shape's columns).
    void add(const Row& row);
    // Completes the file and checks it against every row added, up to the commit: the caller
    // commits (without replacing a file that appeared meanwhile, if it likes) or lets it go.
    std::unique_ptr<StagedWrite> finish();

private:
    struct File;
    std::unique_ptr<File> file_;
    std::string target_;
    [[noreturn]] void fail(const std::exception& failure);
};

// Raises as a write to path would when its format cannot hold table: its format, coordinate
// system, objects and column names. Writes nothing.
void checkCanHold(const TableData& table, const std::string& path);
// The same for a table that may still be given a map before it is written (Create Table).
void checkCouldHold(const TableData& table, const std::string& path);

// Where the objects of table's rows lie; nothing when it has none.
std::optional<Bounds> extentOf(const TableData& table);

// The one kind of object table's rows hold, or wkbUnknown when they hold several or none.
// Raises as a write to path would when its format cannot hold them (a Shapefile's one kind).
OGRwkbGeometryType kindOfRows(const TableData& table, const std::string& path);

}  // namespace mbhost::gdal
