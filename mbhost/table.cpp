#include "mbhost/table.h"

#include <algorithm>

#include "mbhost/lexer.h"

namespace mbhost {

Table::Table(TableData data, TableKind kind, CoordSysPtr coordSys)
    : data_(std::move(data)), kind_(kind), coordSys_(std::move(coordSys)) {
    key_ = toLower(data_.name);
    for (const auto& c : data_.columns) columnKeys_.push_back(toLower(c.name));
    if (coordSys_) data_.coordSysClause = coordSys_->clause();
    cursor_ = nextLive(1, 1);
}

int Table::findColumn(std::string_view lowerName) const {
    for (std::size_t i = 0; i < columnKeys_.size(); ++i) {
        if (columnKeys_[i] == lowerName) return static_cast<int>(i);
    }
    return -1;
}

std::int32_t Table::rowCount() const {
    return static_cast<std::int32_t>(std::count_if(data_.rows.begin(), data_.rows.end(),
                                                   [](const Row& r) { return !r.deleted; }));
}

const Row* Table::row(std::int32_t rowId) const {
    if (rowId < 1 || rowId > lastRowId()) return nullptr;
    const Row& r = data_.rows[static_cast<std::size_t>(rowId - 1)];
    return r.deleted ? nullptr : &r;
}

std::int32_t Table::nextLive(std::int32_t from, int step) const {
    for (std::int32_t id = from; id >= 1 && id <= lastRowId(); id += step) {
        if (row(id) != nullptr) return id;
    }
    return 0;
}

void Table::fetch(Move move) {
    switch (move) {
        case Move::First:
            cursor_ = nextLive(1, 1);
            break;
        case Move::Last:
            cursor_ = nextLive(lastRowId(), -1);
            break;
        case Move::Next:
            cursor_ = cursor_ == 0 && eot_ ? 0 : nextLive(cursor_ + 1, 1);
            break;
        case Move::Prev:
            cursor_ = cursor_ == 0 ? 0 : nextLive(cursor_ - 1, -1);
            break;
    }
    eot_ = cursor_ == 0;
}

void Table::fetchRecord(std::int32_t rowId) {
    cursor_ = row(rowId) != nullptr ? rowId : 0;
    eot_ = cursor_ == 0;
}

std::int32_t Table::appendRow(Row row) {
    data_.rows.push_back(std::move(row));
    edited_ = true;
    return lastRowId();
}

void Table::replaceRow(std::int32_t rowId, Row row) {
    data_.rows[static_cast<std::size_t>(rowId - 1)] = std::move(row);
    edited_ = true;
}

void Table::deleteRow(std::int32_t rowId) {
    data_.rows[static_cast<std::size_t>(rowId - 1)].deleted = true;
    if (cursor_ == rowId) cursor_ = 0;
    edited_ = true;
}

void Table::markCommitted(std::string path) {
    data_.path = std::move(path);
    edited_ = false;
}

void Table::setCoordSys(CoordSysPtr cs, std::string clause) {
    coordSys_ = std::move(cs);
    data_.coordSysClause = std::move(clause);
}

void Table::rename(std::string name) {
    data_.name = std::move(name);
    key_ = toLower(data_.name);
}

Table* Catalog::find(std::string_view name) const {
    for (const auto& t : tables_) {
        if (equalsIgnoreCase(t->name(), name)) return t.get();
    }
    return nullptr;
}

Table* Catalog::byNumber(std::int32_t number) const {
    if (number < 1 || number > size()) return nullptr;
    return tables_[static_cast<std::size_t>(number - 1)].get();
}

std::int32_t Catalog::numberOf(const Table& table) const {
    for (std::size_t i = 0; i < tables_.size(); ++i) {
        if (tables_[i].get() == &table) return static_cast<std::int32_t>(i + 1);
    }
    return 0;
}

Table& Catalog::add(std::unique_ptr<Table> table) {
    tables_.push_back(std::move(table));
    return *tables_.back();
}

void Catalog::remove(const Table& table) {
    std::erase_if(tables_, [&](const auto& t) { return t.get() == &table; });
}

}  // namespace mbhost
