// Open tables: a table's data with its place in the workspace (number, kind, cursor).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "mbhost/coordsys.h"
#include "mbhost/table_data.h"

namespace mbhost {

// MapBasic's table type codes (TableInfo code 3).
enum class TableKind : std::int32_t { Base = 1, Query = 2 };

class Table {
public:
    Table(TableData data, TableKind kind, CoordSysPtr coordSys);

    const std::string& name() const { return data_.name; }
    const std::string& key() const { return key_; }  // lower-cased name
    TableKind kind() const { return kind_; }
    const TableData& data() const { return data_; }
    const CoordSysPtr& coordSys() const { return coordSys_; }  // null: not mappable
    bool mappable() const { return coordSys_ != nullptr; }
    bool readOnly() const { return data_.readOnly || kind_ == TableKind::Query; }
    bool temporary() const { return kind_ == TableKind::Query || data_.path.empty(); }
    bool edited() const { return edited_; }

    // -1 when there is no such column; `lowerName` must be lower-cased.
    int findColumn(std::string_view lowerName) const;
    std::int32_t rowCount() const;  // rows not deleted
    std::int32_t lastRowId() const { return static_cast<std::int32_t>(data_.rows.size()); }
    const Row* row(std::int32_t rowId) const;  // null when out of range or deleted

    // The cursor: the current row id, 0 when none; EOT after moving past either end.
    std::int32_t cursor() const { return cursor_; }
    bool eot() const { return eot_; }
    enum class Move { First, Next, Prev, Last };
    void fetch(Move move);
    void fetchRecord(std::int32_t rowId);

    // Mutations: the caller has checked the values (types, widths) already.
    std::int32_t appendRow(Row row);
    void replaceRow(std::int32_t rowId, Row row);
    void deleteRow(std::int32_t rowId);
    void markCommitted(std::string path);
    void setCoordSys(CoordSysPtr cs, std::string clause);
    void rename(std::string name);

    // Query tables: the base table and its row id for each of the query's rows.
    std::string sourceKey;
    std::vector<std::int32_t> sourceRows;

private:
    std::int32_t nextLive(std::int32_t from, int step) const;

    TableData data_;
    TableKind kind_;
    CoordSysPtr coordSys_;
    std::string key_;
    std::vector<std::string> columnKeys_;
    std::int32_t cursor_ = 0;
    bool eot_ = false;
    bool edited_ = false;
};

// The open tables in opening order; table number n is the n-th.
class Catalog {
public:
    Table* find(std::string_view name) const;  // case-insensitive; null when not open
    Table* byNumber(std::int32_t number) const;
    std::int32_t numberOf(const Table& table) const;
    std::int32_t size() const { return static_cast<std::int32_t>(tables_.size()); }
    Table& add(std::unique_ptr<Table> table);
    void remove(const Table& table);
    const std::vector<std::unique_ptr<Table>>& all() const { return tables_; }

private:
    std::vector<std::unique_ptr<Table>> tables_;
};

}  // namespace mbhost
