#include "mbhost/storage/gdal_table_store.h"

#include <cpl_error.h>
#include <gdal_priv.h>
#include <ogr_spatialref.h>
#include <ogrsf_frmts.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <stdexcept>

#include "mbhost/storage/gdal_errors.h"
#include "mbhost/storage/gdal_handles.h"
#include "mbhost/storage/ogr_conversion.h"
#include "mbhost/storage/staged_write.h"
#include "mbhost/storage/storage_error.h"
#include "mbhost/storage/streamed_write.h"
#include "mbhost/storage/tab_coordsys_note.h"
#include "mbhost/storage/table_file_format.h"
#include "mbhost/storage/table_lock.h"
#include "mbhost/storage/unfinished_commits.h"

namespace mbhost::gdal {
namespace {

StorageError openError(const std::string& path, const std::string& reason) {
    return StorageError("open", path, reason);
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
        throw SeveralLayers(path,
                            "the file holds " + std::to_string(dataset.GetLayerCount()) +
                                " layers (" + layerList(dataset) + ")",
                            "name one with Open Table ... Layer \"name\"");
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
    gdal::checkCanHold(table, path);
}

void GdalTableStore::checkCouldHold(const TableData& table, const std::string& path) const {
    gdal::checkCouldHold(table, path);
}

void GdalTableStore::create(const TableData& table, const std::string& path) {
    if (formatForPath(path).oneObjectKind && table.coordSysClause.empty()) {
        checkCouldHold(table, path);
    } else {
        write(table, path);
    }
}

void GdalTableStore::write(const TableData& table, const std::string& path) {
    stage(table, path)->commit();
}

std::unique_ptr<StagedWrite> GdalTableStore::stage(const TableData& table,
                                                   const std::string& path) {
    StreamedWrite write(table, path, {extentOf(table), kindOfRows(table, path)});
    for (const Row& row : table.rows) {
        if (!row.deleted) write.add(row);
    }
    return write.finish();
}

}  // namespace mbhost::gdal
