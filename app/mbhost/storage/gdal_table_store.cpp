#include "gdal_table_store.h"

#include <cpl_error.h>
#include <gdal_priv.h>
#include <ogr_spatialref.h>
#include <ogrsf_frmts.h>

#include <sys/resource.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <stdexcept>

#include "gdal_errors.h"
#include "gdal_handles.h"
#include "ogr_conversion.h"
#include "staged_write.h"
#include "tab_coordsys_note.h"
#include "table_file_format.h"
#include "table_lock.h"
#include "unfinished_commits.h"
#include "write_interruption.h"
#include "written_check.h"

namespace mbhost::gdal {
namespace {

std::runtime_error openError(const std::string& path, const std::string& reason) {
    return std::runtime_error("cannot open " + path + ": " + reason);
}

std::runtime_error writeError(const std::string& path, const std::string& reason) {
    return std::runtime_error("cannot write " + path + ": " + reason);
}

// ---- reading ----

ColumnDef columnOf(const OGRFieldDefn& field, bool decimalColumns) {
    ColumnDef column;
    column.name = field.GetNameRef();
    switch (field.GetType()) {
        case OFTInteger:
            column.type = field.GetSubType() == OFSTBoolean ? ColumnType::Logical
                          : field.GetSubType() == OFSTInt16 ? ColumnType::SmallInt
                                                            : ColumnType::Integer;
            break;
        case OFTInteger64:
            column.type = ColumnType::Integer;
            break;
        case OFTReal:
            if (decimalColumns && field.GetWidth() > 0 && field.GetPrecision() > 0) {
                column.type = ColumnType::Decimal;
                column.width = field.GetWidth();
                column.decimals = field.GetPrecision();
            } else {
                column.type = ColumnType::Float;
            }
            break;
        case OFTDate:
            column.type = ColumnType::Date;
            break;
        default:
            column.type = ColumnType::Char;
            column.width = field.GetWidth() > 0 ? std::min(field.GetWidth(), 254) : 254;
            break;
    }
    return column;
}

Value valueOf(const OGRFeature& feature, int index, const ColumnDef& column) {
    // A MapInfo character column has no null, only the empty text.
    if (!feature.IsFieldSetAndNotNull(index)) {
        return column.type == ColumnType::Char ? Value::text("") : Value();
    }
    switch (column.type) {
        case ColumnType::Integer:
        case ColumnType::SmallInt:
            return Value::integer(feature.GetFieldAsInteger64(index));
        case ColumnType::Float:
        case ColumnType::Decimal:
            return Value::real(feature.GetFieldAsDouble(index));
        case ColumnType::Logical:
            return Value::logical(feature.GetFieldAsInteger(index) != 0);
        case ColumnType::Date: {
            int year = 0, month = 0, day = 0, hour, minute, zone;
            float second;
            feature.GetFieldAsDateTime(index, &year, &month, &day, &hour, &minute, &second, &zone);
            return Value::date(Date{year * 10000 + month * 100 + day});
        }
        case ColumnType::Char:
            break;
    }
    return Value::text(feature.GetFieldAsString(index));
}

std::optional<std::string> clauseOf(const OGRSpatialReference& reference) {
    char* text = nullptr;
    std::optional<std::string> clause;
    if (reference.exportToMICoordSys(&text) == OGRERR_NONE && text) clause = text;
    CPLFree(text);
    // A projection MapInfo lacks comes out as a plane: the system would be lost.
    if (clause && !reference.IsLocal() && clause->starts_with("NonEarth")) return std::nullopt;
    return clause;
}

// Its name, or its PROJ string when it has none ("unknown", as from a PROJ string).
std::string systemName(const OGRSpatialReference& reference) {
    const char* name = reference.GetName();
    if (name && *name && std::string_view(name) != "unknown") return name;
    char* proj = nullptr;
    const std::string text = reference.exportToProj4(&proj) == OGRERR_NONE && proj ? proj : "";
    CPLFree(proj);
    return text;
}

// GeoPackage's placeholders for a layer written without a system.
bool undefinedSystem(const OGRSpatialReference& reference) {
    const char* name = reference.GetName();
    return name && std::string_view(name).starts_with("Undefined ");
}

// A plane over the layer's extent, so that a file without a usable system still opens.
std::string planeOver(OGRLayer& layer) {
    OGREnvelope extent;
    if (layer.GetExtent(&extent, TRUE) != OGRERR_NONE) {
        extent = OGREnvelope();
        extent.MinX = extent.MinY = 0;
        extent.MaxX = extent.MaxY = 1;
    }
    return "NonEarth Units \"m\" Bounds (" + std::to_string(extent.MinX) + ", " +
           std::to_string(extent.MinY) + ") (" + std::to_string(extent.MaxX) + ", " +
           std::to_string(extent.MaxY) + ")";
}

void setCoordSys(TableData& table, const OGRSpatialReference* reference, OGRLayer& layer) {
    if (layer.GetGeomType() == wkbNone) return;
    if (reference && !undefinedSystem(*reference)) {
        if (auto clause = clauseOf(*reference)) {
            table.coordSysClause = *clause;
            return;
        }
        table.coordSysNote =
            "its coordinate system \"" + systemName(*reference) + "\" has no CoordSys clause";
    } else {
        table.coordSysNote = "it names no coordinate system";
    }
    table.coordSysClause = planeOver(layer);
}

// ---- writing ----

// Fills field (which starts as a string column named after column).
void describeField(const ColumnDef& column, OGRFieldDefn& field) {
    switch (column.type) {
        case ColumnType::Char:
            field.SetWidth(column.width > 0 ? column.width : 254);
            break;
        case ColumnType::Integer:
            field.SetType(OFTInteger);
            break;
        case ColumnType::SmallInt:
            field.SetType(OFTInteger);
            field.SetSubType(OFSTInt16);
            break;
        case ColumnType::Float:
            field.SetType(OFTReal);
            break;
        case ColumnType::Decimal:
            field.SetType(OFTReal);
            field.SetWidth(column.width);
            field.SetPrecision(column.decimals);
            break;
        case ColumnType::Logical:
            field.SetType(OFTInteger);
            field.SetSubType(OFSTBoolean);
            break;
        case ColumnType::Date:
            field.SetType(OFTDate);
            break;
    }
}

void setField(OGRFeature& feature, int index, const Value& value) {
    switch (value.kind()) {
        case ValueKind::Null:
            feature.SetFieldNull(index);
            break;
        case ValueKind::Integer:
            feature.SetField(index, static_cast<GIntBig>(value.asInteger()));
            break;
        case ValueKind::Float:
            feature.SetField(index, value.asFloat());
            break;
        case ValueKind::String:
            feature.SetField(index, value.asText().c_str());
            break;
        case ValueKind::Logical:
            feature.SetField(index, value.asLogical() ? 1 : 0);
            break;
        case ValueKind::Date: {
            const auto d = value.asDate().yyyymmdd;
            if (d == 0) {
                feature.SetFieldNull(index);
            } else {
                feature.SetField(index, d / 10000, d / 100 % 100, d % 100);
            }
            break;
        }
        case ValueKind::Object:
            feature.SetFieldNull(index);
            break;
    }
}

// The one geometry type a single-kind format (Shapefile) gets for these rows.
OGRwkbGeometryType singleKind(const TableData& table, const std::string& path) {
    std::set<OGRwkbGeometryType> kinds;
    for (const Row& row : table.rows) {
        if (row.deleted || !row.object) continue;
        switch (row.object->type) {
            case ObjectType::Point:
            case ObjectType::Text:
                kinds.insert(wkbPoint);
                break;
            case ObjectType::Line:
            case ObjectType::Polyline:
                kinds.insert(wkbLineString);
                break;
            case ObjectType::Multipoint:
                kinds.insert(wkbMultiPoint);
                break;
            case ObjectType::Collection:
                throw writeError(path, "a Shapefile cannot hold collection objects");
            default:
                kinds.insert(wkbPolygon);
                break;
        }
    }
    if (kinds.size() > 1) {
        throw writeError(path, "a Shapefile holds one kind of object, and this table has " +
                                   std::to_string(kinds.size()));
    }
    return kinds.empty() ? wkbPoint : *kinds.begin();
}

// Spatial references are reference-counted by GDAL: released, never deleted.
struct ReleaseReference {
    void operator()(OGRSpatialReference* reference) const { reference->Release(); }
};
using ReferencePtr = std::unique_ptr<OGRSpatialReference, ReleaseReference>;

ReferencePtr referenceOf(const TableData& table, const std::string& path,
                         const TableFileFormat& format) {
    if (table.coordSysClause.empty() || table.coordSysClause.rfind("NonEarth", 0) == 0) {
        return nullptr;
    }
    ReferencePtr reference(new OGRSpatialReference());
    reference->SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    if (reference->importFromMICoordSys(("CoordSys " + table.coordSysClause).c_str()) !=
        OGRERR_NONE) {
        throw writeError(path, "the coordinate system \"" + table.coordSysClause +
                                   "\" has no equivalent in the file");
    }
    // An EPSG code lets formats that record only a code (GeoJSON) keep the system.
    reference->AutoIdentifyEPSG();
    if (format.needsAuthority && !reference->GetAuthorityCode(nullptr)) {
        throw writeError(path, "the file can record only a system with an EPSG code, and \"" +
                                   table.coordSysClause + "\" has none");
    }
    return reference;
}

// MapInfo TAB keeps coordinates as integers over the layer's bounds, and the default bounds
// (of a projected system, or the whole globe in degrees) are so wide that a step is several
// millimetres. Bounds around the table's own objects, with room to grow, keep a step well
// under a millimetre.
std::string gridBounds(const TableData& table, bool degrees) {
    Bounds all{};
    bool any = false;
    for (const Row& row : table.rows) {
        if (row.deleted || !row.object || row.object->nodeCount() == 0) continue;
        const Bounds b = row.object->bounds();
        all = any ? Bounds{std::min(all.minX, b.minX), std::min(all.minY, b.minY),
                           std::max(all.maxX, b.maxX), std::max(all.maxY, b.maxY)}
                  : b;
        any = true;
    }
    // At least 1 km, or a hundredth of a degree.
    const double margin =
        std::max({all.maxX - all.minX, all.maxY - all.minY, degrees ? 0.01 : 1000.0});
    Bounds grid{all.minX - margin, all.minY - margin, all.maxX + margin, all.maxY + margin};
    if (degrees) {
        grid = {std::max(grid.minX, -360.0), std::max(grid.minY, -90.0), std::min(grid.maxX, 360.0),
                std::min(grid.maxY, 90.0)};
    }
    char text[200];
    std::snprintf(text, sizeof(text), "BOUNDS=%.6f,%.6f,%.6f,%.6f", grid.minX, grid.minY, grid.maxX,
                  grid.maxY);
    return text;
}

void writeRows(OGRLayer& layer, const TableData& table, const std::string& path) {
    std::size_t written = 0;
    for (const Row& row : table.rows) {
        if (row.deleted) continue;
        if (++written % 4096 == 0 && writeStopRequested()) throw writeError(path, "interrupted");
        FeaturePtr feature(OGRFeature::CreateFeature(layer.GetLayerDefn()));
        for (std::size_t i = 0; i < table.columns.size() && i < row.fields.size(); ++i) {
            setField(*feature, static_cast<int>(i), row.fields[i]);
        }
        if (row.object && layer.GetGeomType() != wkbNone) {
            feature->SetGeometryDirectly(toOgr(*row.object).release());
            if (auto style = labelStyle(*row.object); !style.empty()) {
                feature->SetStyleString(style.c_str());
            }
        }
        if (layer.CreateFeature(feature.get()) != OGRERR_NONE) {
            throw writeError(path, QuietGdal::lastMessage("a row was refused"));
        }
    }
}

bool hasObjects(const TableData& table) {
    for (const Row& row : table.rows) {
        if (!row.deleted && row.object) return true;
    }
    return false;
}

// SQLite rolls the file back when the disk takes no more, so that nothing in the working
// folder shows the shortage afterwards: its own "disk is full" has to tell.
std::string fullDiskReason(const std::string& reason) {
    if (reason.find("disk is full") == std::string::npos) return reason;
    rlimit limit{};
    const bool capped = ::getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY;
    return std::string(std::strerror(capped ? EFBIG : ENOSPC)) + " (" + reason + ")";
}

void writeDataset(const TableData& table, const std::string& target, const std::string& path,
                  const TableFileFormat& format) {
    GDALDriver* driver = GetGDALDriverManager()->GetDriverByName(format.driver.c_str());
    if (!driver) throw writeError(target, "GDAL has no " + format.driver + " driver");
    std::vector<const char*> options;
    for (const auto& option : format.datasetOptions) options.push_back(option.c_str());
    options.push_back(nullptr);
    DatasetPtr dataset(
        driver->Create(path.c_str(), 0, 0, 0, GDT_Unknown, const_cast<char**>(options.data())));
    if (!dataset) throw writeError(target, QuietGdal::lastMessage("the file cannot be created"));
    const bool mappable = !table.coordSysClause.empty();
    const ReferencePtr reference = mappable ? referenceOf(table, target, format) : nullptr;
    const OGRwkbGeometryType kind = !mappable              ? wkbNone
                                    : format.oneObjectKind ? singleKind(table, target)
                                                           : wkbUnknown;
    const std::string layerName = std::filesystem::path(target).stem().string();
    std::vector<std::string> layerOptions = format.layerOptions;
    if (format.boundedGrid && reference &&
        (reference->IsProjected() || reference->IsGeographic())) {
        layerOptions.push_back(gridBounds(table, reference->IsGeographic()));
    }
    std::vector<const char*> layerOptionPointers;
    for (const auto& option : layerOptions) layerOptionPointers.push_back(option.c_str());
    layerOptionPointers.push_back(nullptr);
    OGRLayer* layer = dataset->CreateLayer(layerName.c_str(), reference.get(), kind,
                                           const_cast<char**>(layerOptionPointers.data()));
    if (!layer) throw writeError(target, QuietGdal::lastMessage("the layer cannot be created"));
    for (const ColumnDef& column : table.columns) {
        OGRFieldDefn field(column.name.c_str(), OFTString);
        describeField(column, field);
        if (layer->CreateField(&field) != OGRERR_NONE) {
            throw writeError(target, "the column " + column.name + " cannot be created: " +
                                         QuietGdal::lastMessage("refused"));
        }
    }
    // GeoPackage otherwise commits each row on its own, a disk flush per row.
    const bool transaction = dataset->StartTransaction() == OGRERR_NONE;
    writeRows(*layer, table, target);
    if (transaction && dataset->CommitTransaction() != OGRERR_NONE) {
        throw writeError(target, fullDiskReason(QuietGdal::lastMessage("rows not committed")));
    }
    dataset->FlushCache();
    dataset.reset();
    if (CPLGetLastErrorType() >= CE_Failure) {
        throw writeError(target, QuietGdal::lastMessage("the file cannot be completed"));
    }
    if (format.boundedGrid && mappable && !hasObjects(table)) {
        noteCoordSys(path, table.coordSysClause);
    }
}

// The reason of a failed write as the client should see it: why the disk took no more when
// it did not, and the target's path where GDAL named the file in the working folder.
std::string reasonWithoutPaths(std::string reason, const std::string& target,
                               const StagedWrite& staged) {
    const std::string prefix = "cannot write " + target + ": ";
    if (reason.rfind(prefix, 0) == 0) reason.erase(0, prefix.size());
    for (std::size_t at; (at = reason.find(staged.stagedPath())) != std::string::npos;) {
        reason.replace(at, staged.stagedPath().size(), target);
    }
    const std::string shortage = staged.spaceShortage();
    return shortage.empty() || reason.rfind(shortage, 0) == 0 ? reason
                                                              : shortage + " (" + reason + ")";
}

// ---- reading the whole file ----

// "a", "b" and "c": the layers as a message lists them.
std::string layerList(GDALDataset& dataset) {
    std::string names;
    for (int i = 0; i < dataset.GetLayerCount(); ++i) {
        names += (i == 0 ? "\"" : ", \"") + std::string(dataset.GetLayer(i)->GetName()) + "\"";
    }
    return names;
}

// The layer meant: the only one when no name is given.
OGRLayer& chosenLayer(GDALDataset& dataset, const std::string& path,
                      const std::optional<std::string>& name) {
    if (dataset.GetLayerCount() < 1) throw openError(path, "the file holds no table");
    if (name) {
        if (OGRLayer* layer = dataset.GetLayerByName(name->c_str())) return *layer;
        throw openError(path,
                        "no layer \"" + *name + "\" (its layers: " + layerList(dataset) + ")");
    }
    if (dataset.GetLayerCount() > 1) {
        throw openError(path, "the file holds " + std::to_string(dataset.GetLayerCount()) +
                                  " layers (" + layerList(dataset) + "): name one with " +
                                  kLayerClause);
    }
    return *dataset.GetLayer(0);
}

// The row's object; one GDAL cannot read or mbhost cannot hold is noted, and the rows go on.
void readObject(const OGRFeature& feature, Row& row, TableData& table) {
    const auto rowId = static_cast<std::int32_t>(table.rows.size() + 1);
    const OGRGeometry* geometry = feature.GetGeometryRef();
    if (!geometry) {
        if (CPLGetLastErrorType() >= CE_Failure) {
            table.unreadObjects[rowId] = QuietGdal::lastMessage("GDAL cannot read it");
            CPLErrorReset();
        }
        return;
    }
    const char* style = feature.GetStyleString();
    if (auto object = fromOgr(*geometry, style ? style : "")) {
        row.object = std::make_shared<const Geometry>(std::move(*object));
    } else if (!geometry->IsEmpty()) {
        table.unreadObjects[rowId] =
            std::string("mbhost has no object for a ") + geometry->getGeometryName();
    }
}

TableData readTable(const std::string& path, const std::optional<std::string>& layerName) {
    if (!std::filesystem::exists(path)) throw openError(path, "no such file");
    DatasetPtr dataset(static_cast<GDALDataset*>(
        GDALOpenEx(path.c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY, nullptr, nullptr, nullptr)));
    if (!dataset) {
        throw openError(path, QuietGdal::lastMessage("not a table file GDAL can read"));
    }
    OGRLayer& layer = chosenLayer(*dataset, path, layerName);
    const bool decimalColumns = EQUAL(dataset->GetDriverName(), "MapInfo File");
    OGRFeatureDefn& definition = *layer.GetLayerDefn();

    TableData table;
    table.path = path;
    for (int i = 0; i < definition.GetFieldCount(); ++i) {
        table.columns.push_back(columnOf(*definition.GetFieldDefn(i), decimalColumns));
    }
    setCoordSys(table, layer.GetSpatialRef(), layer);
    if (table.coordSysClause.empty() && decimalColumns) {
        table.coordSysClause = notedCoordSys(path).value_or("");
    }
    layer.ResetReading();
    for (FeaturePtr feature(layer.GetNextFeature()); feature;
         feature.reset(layer.GetNextFeature())) {
        Row row;
        for (std::size_t i = 0; i < table.columns.size(); ++i) {
            row.fields.push_back(valueOf(*feature, static_cast<int>(i), table.columns[i]));
        }
        readObject(*feature, row, table);
        table.rows.push_back(std::move(row));
    }
    if (CPLGetLastErrorType() >= CE_Failure) {
        throw openError(path, QuietGdal::lastMessage("the file is damaged"));
    }
    return table;
}

}  // namespace

std::string coordSysClauseOf(const std::string& system) {
    const QuietGdal quiet;
    OGRSpatialReference reference;
    if (reference.SetFromUserInput(system.c_str()) != OGRERR_NONE) {
        throw std::runtime_error(QuietGdal::lastMessage("GDAL reads no coordinate system there"));
    }
    if (auto clause = clauseOf(reference)) return *clause;
    throw std::runtime_error("the coordinate system \"" + systemName(reference) +
                             "\" has no CoordSys clause");
}

GdalTableStore::GdalTableStore() {
    static std::once_flag registered;
    std::call_once(registered, [] { GDALAllRegister(); });
}

TableData GdalTableStore::open(const std::string& path) {
    return openTable(path, std::nullopt);
}

TableData GdalTableStore::openLayer(const std::string& path, const std::string& layer) {
    return openTable(path, layer);
}

TableData GdalTableStore::openTable(const std::string& path,
                                    const std::optional<std::string>& layer) {
    const QuietGdal quiet;
    const auto lock = TableLock::take(path, "open");
    // Without a lock (a read-only folder) nothing left there could be settled anyway.
    if (lock) {
        try {
            settleUnfinishedCommits(path);
        } catch (const std::runtime_error& e) {
            throw openError(path, e.what());
        }
    }
    return readTable(path, layer);
}

void GdalTableStore::checkCanHold(const TableData& table, const std::string& path) const {
    const QuietGdal quiet;
    const TableFileFormat format = formatForPath(path);
    if (format.oneObjectKind && table.coordSysClause.empty()) {
        throw writeError(path,
                         "a Shapefile needs a map and this table has none (make it mappable "
                         "with Create Map, or save it as .tab, .mif, .geojson or .gpkg)");
    }
    if (!table.coordSysClause.empty()) referenceOf(table, path, format);
    const std::string wayOut = " (write .gpkg or .geojson, or rename the column in the input)";
    for (const ColumnDef& column : table.columns) {
        if (format.columnNameLimit > 0 && column.name.size() > format.columnNameLimit) {
            throw writeError(path, "the column name " + column.name + " is longer than the " +
                                       std::to_string(format.columnNameLimit) +
                                       " bytes the format holds" + wayOut);
        }
        if (format.asciiColumnNames &&
            std::ranges::any_of(column.name, [](char c) { return c & 0x80; })) {
            throw writeError(path, "the column name " + column.name +
                                       " is not ASCII, and the format holds only ASCII names" +
                                       wayOut);
        }
    }
}

void GdalTableStore::write(const TableData& table, const std::string& path) {
    stage(table, path)->commit();
}

std::unique_ptr<StagedWrite> GdalTableStore::stage(const TableData& table,
                                                   const std::string& path) {
    checkCanHold(table, path);
    const QuietGdal quiet;
    const TableFileFormat format = formatForPath(path);
    auto staged = std::make_unique<StagedWrite>(path);
    try {
        writeDataset(table, path, staged->stagedPath(), format);
        checkWritten(table, staged->stagedPath(), format);
    } catch (const std::runtime_error& e) {
        throw writeError(path, reasonWithoutPaths(e.what(), path, *staged));
    }
    return staged;
}

}  // namespace mbhost::gdal
