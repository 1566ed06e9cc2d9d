#include "mbhost/storage/gpkg_spatial_index.h"

#include <ogr_geometry.h>
#include <sqlite3.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <optional>
#include <span>
#include <stdexcept>
#include <vector>

#include "mbhost/storage/write_interruption.h"

namespace mbhost::gdal {
namespace {

// SQLite's R-tree holds at most 51 cells a node (RTREE_MAXCELLS); two dimensions take 24 bytes
// a cell after a 4-byte head (the tree's depth in the root, then the cell count).
constexpr int kCellsPerNode = 51;
constexpr int kCellBytes = 24;
constexpr int kNodeBytes = 4 + kCellBytes * kCellsPerNode;
// Cells of 65,536 a side: finer than a node's reach over any extent a table spans.
constexpr int kHilbertBits = 16;
// SQLite's steps between looks at an interruption: about a millisecond.
constexpr int kStepsBetweenLooks = 100000;

// The R-tree keeps 32-bit floats, rounded outwards so that a box still holds its object.
struct Box {
    float minX, maxX, minY, maxY;
};

float roundedDown(double d) {
    const auto f = static_cast<float>(d);
    return f > d ? std::nextafter(f, -std::numeric_limits<float>::infinity()) : f;
}

float roundedUp(double d) {
    const auto f = static_cast<float>(d);
    return f < d ? std::nextafter(f, std::numeric_limits<float>::infinity()) : f;
}

Box boxOf(double minX, double maxX, double minY, double maxY) {
    return {roundedDown(minX), roundedUp(maxX), roundedDown(minY), roundedUp(maxY)};
}

double readDouble(const unsigned char* at, bool littleEndian) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, at, sizeof bits);
    if (littleEndian != (std::endian::native == std::endian::little))
        bits = __builtin_bswap64(bits);
    return std::bit_cast<double>(bits);
}

std::uint32_t readUint32(const unsigned char* at, bool littleEndian) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, at, sizeof bits);
    if (littleEndian != (std::endian::native == std::endian::little))
        bits = __builtin_bswap32(bits);
    return bits;
}

// The box of a GeoPackage geometry: the envelope its header carries, the point it holds, or
// (for other objects written without an envelope) the object's own. None for an empty one.
std::optional<Box> geometryBox(const unsigned char* blob, int size) {
    constexpr int kHead = 8;
    constexpr std::array<int, 5> kEnvelopeBytes = {0, 32, 48, 48, 64};
    if (!blob || size < kHead || blob[0] != 'G' || blob[1] != 'P') return std::nullopt;
    const unsigned flags = blob[3];
    const bool littleEndian = flags & 1u;
    const unsigned envelope = (flags >> 1) & 7u;
    if ((flags & 0x10u) || envelope >= kEnvelopeBytes.size()) return std::nullopt;
    const int wkb = kHead + kEnvelopeBytes[envelope];
    if (size < wkb) return std::nullopt;
    if (envelope > 0) {
        const auto at = [&](int i) { return readDouble(blob + kHead + 8 * i, littleEndian); };
        return boxOf(at(0), at(1), at(2), at(3));
    }
    constexpr int kPointBytes = 21;
    if (size < wkb + 5) return std::nullopt;
    const bool wkbLittle = blob[wkb] == 1;
    if (readUint32(blob + wkb + 1, wkbLittle) % 1000 == 1 && size >= wkb + kPointBytes) {
        const double x = readDouble(blob + wkb + 5, wkbLittle);
        const double y = readDouble(blob + wkb + 13, wkbLittle);
        if (std::isnan(x) || std::isnan(y)) return std::nullopt;
        return boxOf(x, x, y, y);
    }
    OGRGeometry* object = nullptr;
    if (OGRGeometryFactory::createFromWkb(blob + wkb, nullptr, &object, size - wkb) !=
        OGRERR_NONE) {
        return std::nullopt;
    }
    const std::unique_ptr<OGRGeometry> owned(object);
    if (owned->IsEmpty()) return std::nullopt;
    OGREnvelope e;
    owned->getEnvelope(&e);
    return boxOf(e.MinX, e.MaxX, e.MinY, e.MaxY);
}

struct Extent {
    double minX = 0, minY = 0, width = 0, height = 0;
};

std::uint64_t hilbertIndex(std::uint32_t x, std::uint32_t y) {
    constexpr std::uint32_t side = 1u << kHilbertBits;
    std::uint64_t index = 0;
    for (std::uint32_t s = side / 2; s > 0; s /= 2) {
        const std::uint32_t rx = (x & s) ? 1 : 0;
        const std::uint32_t ry = (y & s) ? 1 : 0;
        index += std::uint64_t{s} * s * ((3 * rx) ^ ry);
        if (ry == 0) {
            if (rx == 1) {
                x = side - 1 - x;
                y = side - 1 - y;
            }
            std::swap(x, y);
        }
    }
    return index;
}

std::uint32_t cellOf(double centre, double origin, double span) {
    constexpr double last = (1u << kHilbertBits) - 1;
    if (!(span > 0)) return 0;
    return static_cast<std::uint32_t>(std::clamp((centre - origin) / span * last, 0.0, last));
}

std::string quoted(const std::string& name) {
    std::string text = "\"";
    for (char c : name) text += c == '"' ? std::string("\"\"") : std::string(1, c);
    return text + '"';
}

std::string replacedAll(std::string text, const std::string& what, const std::string& with) {
    for (std::size_t at = 0; (at = text.find(what, at)) != std::string::npos; at += with.size()) {
        text.replace(at, what.size(), with);
    }
    return text;
}

struct CloseDatabase {
    void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
struct FinalizeStatement {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using StatementPtr = std::unique_ptr<sqlite3_stmt, FinalizeStatement>;

class Database {
public:
    explicit Database(const std::string& path) {
        sqlite3* db = nullptr;
        const int rc = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
        db_.reset(db);
        if (rc != SQLITE_OK) fail("the file cannot be opened");
    }
    sqlite3* get() const { return db_.get(); }

    void execute(const std::string& sql) {
        if (sqlite3_exec(db_.get(), sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) {
            fail("the spatial index cannot be made");
        }
    }
    StatementPtr prepare(const std::string& sql) {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(db_.get(), sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) {
            fail("the spatial index cannot be made");
        }
        return StatementPtr(statement);
    }
    // Steps a statement; true while it gives rows.
    bool step(sqlite3_stmt* statement) {
        const int rc = sqlite3_step(statement);
        if (rc == SQLITE_ROW) return true;
        if (rc != SQLITE_DONE) fail("the spatial index cannot be made");
        return false;
    }
    void run(sqlite3_stmt* statement) {
        step(statement);
        sqlite3_reset(statement);
    }

    [[noreturn]] void fail(const std::string& what) const {
        if (db_ && sqlite3_errcode(db_.get()) == SQLITE_INTERRUPT) {
            throw std::runtime_error("interrupted");
        }
        throw std::runtime_error(what + ": " + (db_ ? sqlite3_errmsg(db_.get()) : "out of memory"));
    }

private:
    std::unique_ptr<sqlite3, CloseDatabase> db_;
};

struct Names {
    std::string table, column, id, tree;
};

Names namesOf(Database& db, const std::string& table) {
    Names names{table, "", "", "rtree_" + table + "_"};
    auto column = db.prepare("SELECT column_name FROM gpkg_geometry_columns WHERE table_name = ?");
    sqlite3_bind_text(column.get(), 1, table.c_str(), -1, SQLITE_TRANSIENT);
    if (db.step(column.get())) {
        names.column = reinterpret_cast<const char*>(sqlite3_column_text(column.get(), 0));
    }
    auto key = db.prepare("SELECT name FROM pragma_table_info(?) WHERE pk = 1");
    sqlite3_bind_text(key.get(), 1, table.c_str(), -1, SQLITE_TRANSIENT);
    if (db.step(key.get())) {
        names.id = reinterpret_cast<const char*>(sqlite3_column_text(key.get(), 0));
    }
    if (names.column.empty() || names.id.empty()) {
        throw std::runtime_error("the spatial index cannot be made: " + table +
                                 " has no geometry column or no key");
    }
    names.tree += names.column;
    return names;
}

// What a GeoPackage reader expects beside the tree: the triggers that keep it up to date and
// the extension's registration (as GDAL writes them).
constexpr const char* kIndexSchema = R"(
CREATE VIRTUAL TABLE {R} USING rtree(id, minx, maxx, miny, maxy);
CREATE TRIGGER {R_insert} AFTER INSERT ON {T} WHEN (new.{C} NOT NULL AND NOT ST_IsEmpty(NEW.{C})) BEGIN INSERT OR REPLACE INTO {R} VALUES (NEW.{I},ST_MinX(NEW.{C}), ST_MaxX(NEW.{C}),ST_MinY(NEW.{C}), ST_MaxY(NEW.{C})); END;
CREATE TRIGGER {R_update1} AFTER UPDATE OF {C} ON {T} WHEN OLD.{I} = NEW.{I} AND (NEW.{C} NOTNULL AND NOT ST_IsEmpty(NEW.{C})) BEGIN INSERT OR REPLACE INTO {R} VALUES (NEW.{I},ST_MinX(NEW.{C}), ST_MaxX(NEW.{C}),ST_MinY(NEW.{C}), ST_MaxY(NEW.{C})); END;
CREATE TRIGGER {R_update2} AFTER UPDATE OF {C} ON {T} WHEN OLD.{I} = NEW.{I} AND (NEW.{C} ISNULL OR ST_IsEmpty(NEW.{C})) BEGIN DELETE FROM {R} WHERE id = OLD.{I}; END;
CREATE TRIGGER {R_update3} AFTER UPDATE ON {T} WHEN OLD.{I} != NEW.{I} AND (NEW.{C} NOTNULL AND NOT ST_IsEmpty(NEW.{C})) BEGIN DELETE FROM {R} WHERE id = OLD.{I}; INSERT OR REPLACE INTO {R} VALUES (NEW.{I},ST_MinX(NEW.{C}), ST_MaxX(NEW.{C}),ST_MinY(NEW.{C}), ST_MaxY(NEW.{C})); END;
CREATE TRIGGER {R_update4} AFTER UPDATE ON {T} WHEN OLD.{I} != NEW.{I} AND (NEW.{C} ISNULL OR ST_IsEmpty(NEW.{C})) BEGIN DELETE FROM {R} WHERE id IN (OLD.{I}, NEW.{I}); END;
CREATE TRIGGER {R_delete} AFTER DELETE ON {T} WHEN old.{C} NOT NULL BEGIN DELETE FROM {R} WHERE id = OLD.{I}; END;
CREATE TABLE IF NOT EXISTS gpkg_extensions (table_name TEXT,column_name TEXT,extension_name TEXT NOT NULL,definition TEXT NOT NULL,scope TEXT NOT NULL,CONSTRAINT ge_tce UNIQUE (table_name, column_name, extension_name));
INSERT INTO gpkg_extensions VALUES ({t}, {c}, 'gpkg_rtree_index', 'http://www.geopackage.org/spec120/#extension_rtree', 'write-only');
)";

std::string literal(const std::string& text) {
    return "'" + replacedAll(text, "'", "''") + "'";
}

std::string indexSchema(const Names& names) {
    std::string sql = kIndexSchema;
    for (const char* trigger : {"insert", "update1", "update2", "update3", "update4", "delete"}) {
        sql = replacedAll(sql, std::string("{R_") + trigger + "}",
                          quoted(names.tree + "_" + trigger));
    }
    sql = replacedAll(sql, "{R}", quoted(names.tree));
    sql = replacedAll(sql, "{T}", quoted(names.table));
    sql = replacedAll(sql, "{C}", quoted(names.column));
    sql = replacedAll(sql, "{I}", quoted(names.id));
    sql = replacedAll(sql, "{t}", literal(names.table));
    return replacedAll(sql, "{c}", literal(names.column));
}

Box united(const Box& a, const Box& b) {
    return {std::min(a.minX, b.minX), std::max(a.maxX, b.maxX), std::min(a.minY, b.minY),
            std::max(a.maxY, b.maxY)};
}

void putBigEndian(unsigned char* at, std::uint64_t value, int bytes) {
    for (int i = bytes - 1; i >= 0; --i, value >>= 8) at[i] = static_cast<unsigned char>(value);
}

struct Cell {
    std::int64_t id;  // a row's key in a leaf, a node's number above
    Box box;
};

// Sorts cells along a Hilbert curve over their extent, so that neighbours share a node.
void sortAlongCurve(std::vector<Cell>& cells) {
    Box all = cells.front().box;
    for (const Cell& cell : cells) all = united(all, cell.box);
    const Extent extent{all.minX, all.minY, double{all.maxX} - all.minX,
                        double{all.maxY} - all.minY};
    std::vector<std::pair<std::uint64_t, Cell>> keyed;
    keyed.reserve(cells.size());
    for (const Cell& cell : cells) {
        const double x = (double{cell.box.minX} + cell.box.maxX) / 2;
        const double y = (double{cell.box.minY} + cell.box.maxY) / 2;
        keyed.emplace_back(hilbertIndex(cellOf(x, extent.minX, extent.width),
                                        cellOf(y, extent.minY, extent.height)),
                           cell);
    }
    std::ranges::stable_sort(keyed, {}, &std::pair<std::uint64_t, Cell>::first);
    for (std::size_t i = 0; i < cells.size(); ++i) cells[i] = keyed[i].second;
}

// Writes the tree's nodes. Leaves take the rows in the order they were written, which for
// points placed along lines already keeps neighbours together and lets the row-to-leaf table
// grow at its end; the few nodes above are packed along a Hilbert curve.
class PackedTree {
public:
    PackedTree(Database& db, const std::string& tree)
        : db_(db),
          node_(db.prepare("INSERT OR REPLACE INTO " + quoted(tree + "_node") +
                           "(nodeno, data) VALUES (?, ?)")),
          rowid_(db.prepare("INSERT INTO " + quoted(tree + "_rowid") +
                            "(rowid, nodeno) VALUES (?, ?)")),
          parent_(db.prepare("INSERT INTO " + quoted(tree + "_parent") +
                             "(nodeno, parentnode) VALUES (?, ?)")) {}

    void add(std::int64_t rowid, const Box& box) {
        if (leaf_.size() == kCellsPerNode) writeLeaf();
        leaf_.push_back({rowid, box});
    }

    void finish() {
        if (leaves_.empty()) {
            if (!leaf_.empty()) write(leaf_, 0, 1);  // one leaf: the root itself
            return;
        }
        writeLeaf();
        std::vector<Cell> level = std::move(leaves_);
        sortAlongCurve(level);
        int depth = 1;
        for (; level.size() > kCellsPerNode; ++depth) {
            std::vector<Cell> above;
            for (std::size_t first = 0; first < level.size(); first += kCellsPerNode) {
                const std::span<const Cell> cells(
                    level.data() + first,
                    std::min<std::size_t>(kCellsPerNode, level.size() - first));
                const std::int64_t number = nextNode_++;
                above.push_back({number, write(cells, depth, number)});
            }
            level = std::move(above);
        }
        write(level, depth, 1);
    }

private:
    void writeLeaf() {
        const std::int64_t number = nextNode_++;
        leaves_.push_back({number, write(leaf_, 0, number)});
        leaf_.clear();
    }

    // Writes one node of cells at depth (0: a leaf) and links its cells to it; gives its box.
    Box write(std::span<const Cell> cells, int depth, std::int64_t number) {
        std::array<unsigned char, kNodeBytes> data{};
        putBigEndian(data.data(), number == 1 ? static_cast<std::uint64_t>(depth) : 0, 2);
        putBigEndian(data.data() + 2, cells.size(), 2);
        Box all = cells.front().box;
        for (std::size_t i = 0; i < cells.size(); ++i) {
            const Cell& cell = cells[i];
            unsigned char* place = data.data() + 4 + kCellBytes * i;
            putBigEndian(place, static_cast<std::uint64_t>(cell.id), 8);
            const float corners[] = {cell.box.minX, cell.box.maxX, cell.box.minY, cell.box.maxY};
            for (int c = 0; c < 4; ++c) {
                putBigEndian(place + 8 + 4 * c, std::bit_cast<std::uint32_t>(corners[c]), 4);
            }
            all = united(all, cell.box);
            sqlite3_stmt* link = depth == 0 ? rowid_.get() : parent_.get();
            sqlite3_bind_int64(link, 1, cell.id);
            sqlite3_bind_int64(link, 2, number);
            db_.run(link);
        }
        sqlite3_bind_int64(node_.get(), 1, number);
        sqlite3_bind_blob(node_.get(), 2, data.data(), kNodeBytes, SQLITE_STATIC);
        db_.run(node_.get());
        return all;
    }

    Database& db_;
    StatementPtr node_, rowid_, parent_;
    std::vector<Cell> leaf_;     // the leaf being filled
    std::vector<Cell> leaves_;   // the leaves written, by number and box
    std::int64_t nextNode_ = 2;  // the root is node 1, where SQLite looks first
};

}  // namespace

void buildSpatialIndex(const std::string& path, const std::string& table) {
    Database db(path);
    // The file is flushed and synced when it is committed; until then it is only staged.
    db.execute("PRAGMA synchronous = OFF; BEGIN");
    sqlite3_progress_handler(
        db.get(), kStepsBetweenLooks, [](void*) { return writeStopRequested() ? 1 : 0; }, nullptr);
    const Names names = namesOf(db, table);
    db.execute(indexSchema(names));
    auto rows = db.prepare("SELECT " + quoted(names.id) + ", " + quoted(names.column) + " FROM " +
                           quoted(names.table) + " ORDER BY " + quoted(names.id));
    PackedTree tree(db, names.tree);
    while (db.step(rows.get())) {
        const auto box =
            geometryBox(static_cast<const unsigned char*>(sqlite3_column_blob(rows.get(), 1)),
                        sqlite3_column_bytes(rows.get(), 1));
        if (box) tree.add(sqlite3_column_int64(rows.get(), 0), *box);
    }
    rows.reset();
    tree.finish();
    db.execute("COMMIT");
}

}  // namespace mbhost::gdal
