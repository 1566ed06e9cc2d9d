#include "mbhost/storage/streamed_write.h"

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
#include <set>
#include <stdexcept>

#include "mbhost/storage/gdal_errors.h"
#include "mbhost/storage/gdal_handles.h"
#include "mbhost/storage/gpkg_spatial_index.h"
#include "mbhost/storage/ogr_conversion.h"
#include "mbhost/storage/tab_coordsys_note.h"
#include "mbhost/storage/table_file_format.h"
#include "mbhost/storage/write_interruption.h"
#include "mbhost/storage/written_check.h"

namespace mbhost::gdal {
namespace {

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
// millimetres. Bounds around the objects to come, with room to grow, keep a step well under a
// millimetre.
std::string gridBounds(const Bounds& all, bool degrees) {
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

// SQLite rolls the file back when the disk takes no more, so that nothing in the working
// folder shows the shortage afterwards: its own "disk is full" has to tell.
std::string fullDiskReason(const std::string& reason) {
    if (reason.find("disk is full") == std::string::npos) return reason;
    rlimit limit{};
    const bool capped = ::getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY;
    return std::string(std::strerror(capped ? EFBIG : ENOSPC)) + " (" + reason + ")";
}

// The reason of a failed write as the client should see it: why the disk took no more when
// it did not, and the target's path where GDAL named the file in the working folder.
std::string reasonShown(std::string reason, const std::string& target, const StagedWrite& staged) {
    for (std::size_t at; (at = reason.find(staged.stagedPath())) != std::string::npos;) {
        reason.replace(at, staged.stagedPath().size(), target);
    }
    const std::string shortage = staged.spaceShortage();
    return shortage.empty() || reason.rfind(shortage, 0) == 0 ? reason
                                                              : shortage + " (" + reason + ")";
}

std::vector<const char*> optionList(const std::vector<std::string>& options) {
    std::vector<const char*> list;
    for (const auto& option : options) list.push_back(option.c_str());
    list.push_back(nullptr);
    return list;
}

}  // namespace

// Declared in the order they are let go in reverse: the file is closed, and the rows kept for
// the check removed, before the working folder goes.
struct StreamedWrite::File {
    File(const TableData& shape, const std::string& path)
        : format(formatForPath(path)),
          staged(std::make_unique<StagedWrite>(path)),
          columns(shape.columns.size()),
          coordSysClause(shape.coordSysClause) {}

    TableFileFormat format;
    std::unique_ptr<StagedWrite> staged;
    std::size_t columns;
    std::string coordSysClause;
    std::string layerName;
    DatasetPtr dataset;
    OGRLayer* layer = nullptr;
    bool transaction = false;
    bool anyObject = false;
    std::optional<ExpectedRows> expected;
    std::optional<QuietGdal> quiet;

    void create(const TableData& shape, const std::string& target, const RowsToCome& rows);
};

void StreamedWrite::File::create(const TableData& shape, const std::string& target,
                                 const RowsToCome& rows) {
    GDALDriver* driver = GetGDALDriverManager()->GetDriverByName(format.driver.c_str());
    if (!driver) throw writeError(target, "GDAL has no " + format.driver + " driver");
    const std::string path = staged->stagedPath();
    std::vector<const char*> options = optionList(format.datasetOptions);
    dataset.reset(
        driver->Create(path.c_str(), 0, 0, 0, GDT_Unknown, const_cast<char**>(options.data())));
    if (!dataset) throw writeError(target, QuietGdal::lastMessage("the file cannot be created"));
    const bool mappable = !coordSysClause.empty();
    const ReferencePtr reference = mappable ? referenceOf(shape, target, format) : nullptr;
    layerName = std::filesystem::path(target).stem().string();
    std::vector<std::string> layerOptions = format.layerOptions;
    if (format.boundedGrid && rows.extent && reference &&
        (reference->IsProjected() || reference->IsGeographic())) {
        layerOptions.push_back(gridBounds(*rows.extent, reference->IsGeographic()));
    }
    options = optionList(layerOptions);
    layer = dataset->CreateLayer(layerName.c_str(), reference.get(), mappable ? rows.kind : wkbNone,
                                 const_cast<char**>(options.data()));
    if (!layer) throw writeError(target, QuietGdal::lastMessage("the layer cannot be created"));
    for (const ColumnDef& column : shape.columns) {
        OGRFieldDefn field(column.name.c_str(), OFTString);
        describeField(column, field);
        if (layer->CreateField(&field) != OGRERR_NONE) {
            throw writeError(target, "the column " + column.name + " cannot be created: " +
                                         QuietGdal::lastMessage("refused"));
        }
    }
    // GeoPackage otherwise commits each row on its own, a disk flush per row.
    transaction = dataset->StartTransaction() == OGRERR_NONE;
    expected.emplace(std::filesystem::path(path).parent_path() / ".expected-rows");
}

StreamedWrite::StreamedWrite(const TableData& shape, const std::string& path,
                             const RowsToCome& rows)
    : target_(path) {
    checkCanHold(shape, path);
    file_ = std::make_unique<File>(shape, path);
    file_->quiet.emplace();
    try {
        file_->create(shape, path, rows);
    } catch (const std::runtime_error& e) {
        fail(e);
    }
}

StreamedWrite::~StreamedWrite() = default;

void StreamedWrite::fail(const std::exception& failure) {
    const std::string said = reasonShown(reasonOf(failure), target_, *file_->staged);
    file_.reset();
    throw writeError(target_, said);
}

void StreamedWrite::add(const Row& row) {
    if (!file_) throw writeError(target_, "the write was given up");
    File& file = *file_;
    try {
        if (file.expected->count() % 4096 == 4095 && writeStopRequested()) {
            throw std::runtime_error("interrupted");
        }
        FeaturePtr feature(OGRFeature::CreateFeature(file.layer->GetLayerDefn()));
        for (std::size_t i = 0; i < file.columns && i < row.fields.size(); ++i) {
            setField(*feature, static_cast<int>(i), row.fields[i]);
        }
        const OGRGeometry* object = nullptr;
        if (row.object && file.layer->GetGeomType() != wkbNone) {
            feature->SetGeometryDirectly(toOgr(*row.object).release());
            if (auto style = labelStyle(*row.object); !style.empty()) {
                feature->SetStyleString(style.c_str());
            }
            object = feature->GetGeometryRef();
            file.anyObject = true;
        }
        if (file.layer->CreateFeature(feature.get()) != OGRERR_NONE) {
            throw std::runtime_error(QuietGdal::lastMessage("a row was refused"));
        }
        file.expected->add(row, object);
    } catch (const std::runtime_error& e) {
        fail(e);
    }
}

std::unique_ptr<StagedWrite> StreamedWrite::finish() {
    if (!file_) throw writeError(target_, "the write was given up");
    File& file = *file_;
    try {
        CPLErrorReset();  // what went wrong before was said then; the close has its own say
        if (file.transaction && file.dataset->CommitTransaction() != OGRERR_NONE) {
            throw std::runtime_error(fullDiskReason(QuietGdal::lastMessage("rows not committed")));
        }
        file.dataset->FlushCache();
        file.dataset.reset();
        if (CPLGetLastErrorType() >= CE_Failure) {
            throw std::runtime_error(QuietGdal::lastMessage("the file cannot be completed"));
        }
        const std::string path = file.staged->stagedPath();
        if (file.format.indexBuiltAfter && !file.coordSysClause.empty()) {
            buildSpatialIndex(path, file.layerName);
        }
        if (file.format.boundedGrid && !file.coordSysClause.empty() && !file.anyObject) {
            noteCoordSys(path, file.coordSysClause);
        }
        file.expected->check(path, file.format, file.columns);
    } catch (const std::runtime_error& e) {
        fail(e);
    }
    std::unique_ptr<StagedWrite> staged = std::move(file.staged);
    file_.reset();
    return staged;
}

std::optional<Bounds> extentOf(const TableData& table) {
    std::optional<Bounds> all;
    for (const Row& row : table.rows) {
        if (row.deleted || !row.object || row.object->nodeCount() == 0) continue;
        all = all ? united(*all, row.object->bounds()) : row.object->bounds();
    }
    return all;
}

void checkCanHold(const TableData& table, const std::string& path) {
    if (formatForPath(path).oneObjectKind && table.coordSysClause.empty()) {
        throw writeError(path,
                         "a Shapefile needs a map and this table has none (make it mappable "
                         "with Create Map, or save it as .tab, .mif, .geojson or .gpkg)");
    }
    checkCouldHold(table, path);
}

void checkCouldHold(const TableData& table, const std::string& path) {
    const QuietGdal quiet;
    const TableFileFormat format = formatForPath(path);
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

OGRwkbGeometryType kindOfRows(const TableData& table, const std::string& path) {
    const TableFileFormat format = formatForPath(path);
    if (format.oneObjectKind) return singleKind(table, path);
    std::set<OGRwkbGeometryType> kinds;
    for (const Row& row : table.rows) {
        if (!row.deleted && row.object)
            kinds.insert(wkbFlatten(toOgr(*row.object)->getGeometryType()));
    }
    if (format.pointsOnly && !kinds.empty() && (kinds.size() > 1 || *kinds.begin() != wkbPoint)) {
        throw writeError(path, "a " + format.driver + " file holds points only");
    }
    return kinds.size() == 1 ? *kinds.begin() : wkbUnknown;
}

}  // namespace mbhost::gdal
