#include "written_check.h"

#include <cpl_error.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <vector>

#include "gdal_errors.h"
#include "gdal_handles.h"
#include "ogr_conversion.h"

namespace mbhost::gdal {
namespace {

int nodeCount(const OGRGeometry& geometry) {
    if (geometry.IsEmpty()) return 0;
    if (const auto* curve = dynamic_cast<const OGRSimpleCurve*>(&geometry)) {
        return curve->getNumPoints();
    }
    if (const auto* shape = dynamic_cast<const OGRPolygon*>(&geometry)) {
        int count = nodeCount(*shape->getExteriorRing());
        for (int i = 0; i < shape->getNumInteriorRings(); ++i) {
            count += nodeCount(*shape->getInteriorRing(i));
        }
        return count;
    }
    if (const auto* collection = dynamic_cast<const OGRGeometryCollection*>(&geometry)) {
        int count = 0;
        for (const auto* member : *collection) count += nodeCount(*member);
        return count;
    }
    return 1;
}

bool near(double a, double b, double tolerance) {
    return std::fabs(a - b) <= tolerance;
}

bool sameObject(const Geometry& object, const OGRGeometry* read, double tolerance) {
    const auto written = toOgr(object);
    if (!read || nodeCount(*read) != nodeCount(*written)) return false;
    OGREnvelope a, b;
    written->getEnvelope(&a);
    read->getEnvelope(&b);
    const double size =
        std::max({1.0, std::fabs(a.MinX), std::fabs(a.MinY), std::fabs(a.MaxX), std::fabs(a.MaxY)});
    const double slack = tolerance * size;
    return near(a.MinX, b.MinX, slack) && near(a.MinY, b.MinY, slack) &&
           near(a.MaxX, b.MaxX, slack) && near(a.MaxY, b.MaxY, slack);
}

std::string trimmedRight(std::string text) {
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
}

// A text column may be narrower than the text: then the start of it is what can be kept.
bool sameText(const std::string& written, const std::string& read, int width) {
    const std::string expected = trimmedRight(written);
    const std::string got = trimmedRight(read);
    if (got == expected) return true;
    const std::size_t kept = static_cast<std::size_t>(std::max(width, 0));
    return width > 0 && expected.size() > kept && expected.compare(0, got.size(), got) == 0 &&
           got.size() + 4 >= std::min(kept, expected.size());
}

bool sameValue(const Value& value, const OGRFeature& feature, int index) {
    const OGRFieldDefn& field = *feature.GetFieldDefnRef(index);
    if (value.kind() == ValueKind::Null || value.kind() == ValueKind::Object) return true;
    if (value.kind() == ValueKind::String) {
        return sameText(value.asText(), feature.GetFieldAsString(index), field.GetWidth());
    }
    if (field.GetType() == OFTString) return true;  // a number in a text column
    if (!feature.IsFieldSetAndNotNull(index)) return false;
    switch (value.kind()) {
        case ValueKind::Integer:
            return feature.GetFieldAsInteger64(index) == value.asInteger() ||
                   near(feature.GetFieldAsDouble(index), static_cast<double>(value.asInteger()),
                        1e-9 * std::fabs(static_cast<double>(value.asInteger())));
        case ValueKind::Float: {
            const double v = value.asFloat();
            const double step =
                field.GetPrecision() > 0 ? std::pow(10.0, -field.GetPrecision()) : 0.0;
            return near(feature.GetFieldAsDouble(index), v,
                        step + 1e-9 * std::max(1.0, std::fabs(v)));
        }
        case ValueKind::Logical:
            return (feature.GetFieldAsInteger(index) != 0) == value.asLogical();
        case ValueKind::Date: {
            const auto d = value.asDate().yyyymmdd;
            int year = 0, month = 0, day = 0, hour, minute, zone;
            float second;
            feature.GetFieldAsDateTime(index, &year, &month, &day, &hour, &minute, &second, &zone);
            return d == 0 || year * 10000 + month * 100 + day == d;
        }
        default:
            return true;
    }
}

bool sameRow(const Row& row, const OGRFeature& feature, bool mappable, double tolerance) {
    if (mappable && row.object && !sameObject(*row.object, feature.GetGeometryRef(), tolerance)) {
        return false;
    }
    const int fields = std::min(static_cast<int>(row.fields.size()), feature.GetFieldCount());
    for (int i = 0; i < fields; ++i) {
        if (!sameValue(row.fields[i], feature, i)) return false;
    }
    return true;
}

}  // namespace

void checkWritten(const TableData& table, const std::string& path, const TableFileFormat& format) {
    CPLErrorReset();
    DatasetPtr dataset(static_cast<GDALDataset*>(
        GDALOpenEx(path.c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY, nullptr, nullptr, nullptr)));
    if (!dataset || dataset->GetLayerCount() < 1) {
        throw std::runtime_error("the written file cannot be read back: " +
                                 QuietGdal::lastMessage("GDAL does not recognise it"));
    }
    OGRLayer& layer = *dataset->GetLayer(0);
    const bool columnsKept =
        format.emptyKeepsColumns ||
        std::any_of(table.rows.begin(), table.rows.end(), [](const Row& r) { return !r.deleted; });
    if (columnsKept &&
        layer.GetLayerDefn()->GetFieldCount() < static_cast<int>(table.columns.size())) {
        throw std::runtime_error("the written file lacks columns");
    }
    const bool mappable = !table.coordSysClause.empty();
    std::size_t read = 0;
    std::size_t expected = 0;
    layer.ResetReading();
    FeaturePtr feature(layer.GetNextFeature());
    for (const Row& row : table.rows) {
        if (row.deleted) continue;
        ++expected;
        if (!feature) continue;
        ++read;
        if (!sameRow(row, *feature, mappable, format.coordinateTolerance)) {
            throw std::runtime_error("row " + std::to_string(read) +
                                     " of the written file differs from the table");
        }
        feature.reset(layer.GetNextFeature());
    }
    if (feature) ++read;
    if (read != expected || CPLGetLastErrorType() >= CE_Failure) {
        throw std::runtime_error("the written file holds " + std::to_string(read) + " of " +
                                 std::to_string(expected) + " rows");
    }
}

}  // namespace mbhost::gdal
