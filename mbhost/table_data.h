// The data of one table, as it is read from and written to a file: plain structs that a
// storage adapter fills and reads without knowing anything else of mbhost.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "mbhost/geometry.h"
#include "mbhost/value.h"

namespace mbhost {

enum class ColumnType { Char, Integer, SmallInt, Float, Decimal, Logical, Date };

struct ColumnDef {
    std::string name;  // as written; names compare case-insensitively
    ColumnType type = ColumnType::Char;
    std::int32_t width = 0;  // Char(width), Decimal(width, decimals)
    std::int32_t decimals = 0;
};

// MapBasic's column type codes (ColumnInfo code 3).
std::int32_t columnTypeCode(ColumnType type);
// "Char(20)", "Integer", "Decimal(10,2)", ...: the column's type as Create Table writes it.
std::string columnTypeText(const ColumnDef& column);

// One row. `fields` has one value per column, of the column's kind (Integer for Integer and
// SmallInt, Float for Float and Decimal, String for Char, Logical, Date) or null.
// `object` is in the table's coordinate system; null when the row has none.
struct Row {
    std::vector<Value> fields;
    GeometryPtr object;
    bool deleted = false;  // deleted rows keep their row id, as in MapBasic
};

struct TableData {
    std::string name;  // the alias the table is opened under
    std::vector<ColumnDef> columns;
    std::vector<Row> rows;  // row id n is rows[n - 1]
    // The MapBasic coordinate-system clause without the leading "CoordSys ", for example
    // Earth Projection 1, 104; empty for a table that is not mappable.
    std::string coordSysClause;
    // Why coordSysClause is only a stand-in (the file names no system, or one with no
    // clause); empty when it is the file's own.
    std::string coordSysNote;
    // Rows whose object the file holds but the store could not read, by row id: why.
    std::map<std::int32_t, std::string> unreadObjects;
    std::string path;  // the .TAB path; empty for a table that exists only in memory
    bool readOnly = false;
};

}  // namespace mbhost
