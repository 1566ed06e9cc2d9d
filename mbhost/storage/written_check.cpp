#include "mbhost/storage/written_check.h"

#include <cpl_error.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>
#include <stdexcept>
#include <vector>

#include "mbhost/storage/gdal_errors.h"
#include "mbhost/storage/gdal_handles.h"
#include "mbhost/storage/ogr_conversion.h"

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

// What the check knows of an object: its node count and extent, as given to GDAL.
struct ObjectPrint {
    int nodes = 0;
    OGREnvelope extent;
};

ObjectPrint printOf(const OGRGeometry& geometry) {
    ObjectPrint print;
    print.nodes = nodeCount(geometry);
    geometry.getEnvelope(&print.extent);
    return print;
}

bool sameObject(const ObjectPrint& written, const OGRGeometry* read, double tolerance) {
    if (!read || nodeCount(*read) != written.nodes) return false;
    const OGREnvelope& a = written.extent;
    OGREnvelope b;
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

// A number a text-only format (CSV) holds as its digits.
bool sameNumberText(const Value& value, const char* text) {
    char* end = nullptr;
    const double read = std::strtod(text, &end);
    const double v = value.number();
    return end != text && *end == '\0' && near(read, v, 1e-9 * std::max(1.0, std::fabs(v)));
}

bool sameValue(const Value& value, const OGRFeature& feature, int index, bool numbersAsText) {
    const OGRFieldDefn& field = *feature.GetFieldDefnRef(index);
    if (value.kind() == ValueKind::Null || value.kind() == ValueKind::Object) return true;
    if (value.kind() == ValueKind::String) {
        return sameText(value.asText(), feature.GetFieldAsString(index), field.GetWidth());
    }
    if (field.GetType() == OFTString) {  // a number in a text column
        return !numbersAsText || !value.isNumber() ||
               sameNumberText(value, feature.GetFieldAsString(index));
    }
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

// A row as the expected file keeps it.
struct RowPrint {
    std::vector<Value> fields;
    std::optional<ObjectPrint> object;
};

bool sameRow(const RowPrint& row, const OGRFeature& feature, const TableFileFormat& format) {
    if (row.object &&
        !sameObject(*row.object, feature.GetGeometryRef(), format.coordinateTolerance)) {
        return false;
    }
    const int fields = std::min(static_cast<int>(row.fields.size()), feature.GetFieldCount());
    for (int i = 0; i < fields; ++i) {
        if (!sameValue(row.fields[i], feature, i, format.numbersAsText)) return false;
    }
    return true;
}

// ---- the expected file: each row's values, then its object's print ----

std::runtime_error keepingFailed() {
    return std::runtime_error("the rows cannot be kept for the check: " +
                              std::string(std::strerror(errno)));
}

template <typename T>
void put(std::FILE* stream, const T& value) {
    if (std::fwrite(&value, sizeof value, 1, stream) != 1) throw keepingFailed();
}

template <typename T>
T take(std::FILE* stream) {
    T value{};
    if (std::fread(&value, sizeof value, 1, stream) != 1) {
        throw std::runtime_error("the rows kept for the check cannot be read back");
    }
    return value;
}

void putValue(std::FILE* stream, const Value& value) {
    put(stream, static_cast<std::uint8_t>(value.kind()));
    switch (value.kind()) {
        case ValueKind::Integer:
            return put(stream, value.asInteger());
        case ValueKind::Float:
            return put(stream, value.asFloat());
        case ValueKind::String: {
            const std::string& text = value.asText();
            put(stream, static_cast<std::uint32_t>(text.size()));
            if (!text.empty() && std::fwrite(text.data(), text.size(), 1, stream) != 1) {
                throw keepingFailed();
            }
            return;
        }
        case ValueKind::Logical:
            return put(stream, static_cast<std::uint8_t>(value.asLogical()));
        case ValueKind::Date:
            return put(stream, value.asDate().yyyymmdd);
        default:
            return;  // null, and objects, which no column holds
    }
}

Value takeValue(std::FILE* stream) {
    switch (static_cast<ValueKind>(take<std::uint8_t>(stream))) {
        case ValueKind::Integer:
            return Value::integer(take<std::int64_t>(stream));
        case ValueKind::Float:
            return Value::real(take<double>(stream));
        case ValueKind::String: {
            std::string text(take<std::uint32_t>(stream), '\0');
            if (!text.empty() && std::fread(text.data(), text.size(), 1, stream) != 1) {
                throw std::runtime_error("the rows kept for the check cannot be read back");
            }
            return Value::text(std::move(text));
        }
        case ValueKind::Logical:
            return Value::logical(take<std::uint8_t>(stream) != 0);
        case ValueKind::Date:
            return Value::date(Date{take<decltype(Date::yyyymmdd)>(stream)});
        default:
            return Value();
    }
}

RowPrint takeRow(std::FILE* stream) {
    RowPrint row;
    row.fields.resize(take<std::uint32_t>(stream));
    for (Value& value : row.fields) value = takeValue(stream);
    if (take<std::uint8_t>(stream)) row.object = take<ObjectPrint>(stream);
    return row;
}

}  // namespace

ExpectedRows::ExpectedRows(std::filesystem::path file) : file_(std::move(file)) {
    stream_ = std::fopen(file_.c_str(), "w+be");
    if (!stream_) throw keepingFailed();
}

ExpectedRows::~ExpectedRows() {
    std::fclose(stream_);
    std::error_code ignored;
    std::filesystem::remove(file_, ignored);
}

void ExpectedRows::add(const Row& row, const OGRGeometry* object) {
    put(stream_, static_cast<std::uint32_t>(row.fields.size()));
    for (const Value& value : row.fields) putValue(stream_, value);
    put(stream_, static_cast<std::uint8_t>(object != nullptr));
    if (object) put(stream_, printOf(*object));
    ++count_;
}

void ExpectedRows::check(const std::string& path, const TableFileFormat& format,
                         std::size_t columns) {
    if (std::fflush(stream_) != 0 || std::fseek(stream_, 0, SEEK_SET) != 0) throw keepingFailed();
    CPLErrorReset();
    std::vector<const char*> options;
    for (const auto& option : format.readOptions) options.push_back(option.c_str());
    options.push_back(nullptr);
    DatasetPtr dataset(static_cast<GDALDataset*>(GDALOpenEx(
        path.c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY, nullptr, options.data(), nullptr)));
    if (!dataset || dataset->GetLayerCount() < 1) {
        throw std::runtime_error("the written file cannot be read back: " +
                                 QuietGdal::lastMessage("GDAL does not recognise it"));
    }
    OGRLayer& layer = *dataset->GetLayer(0);
    const bool columnsKept = format.emptyKeepsColumns || count_ > 0;
    if (columnsKept && layer.GetLayerDefn()->GetFieldCount() < static_cast<int>(columns)) {
        throw std::runtime_error("the written file lacks columns");
    }
    std::size_t read = 0;
    layer.ResetReading();
    FeaturePtr feature(layer.GetNextFeature());
    for (std::size_t expected = 0; expected < count_ && feature; ++expected) {
        ++read;
        if (!sameRow(takeRow(stream_), *feature, format)) {
            throw std::runtime_error("row " + std::to_string(read) +
                                     " of the written file differs from the table");
        }
        feature.reset(layer.GetNextFeature());
    }
    if (feature) ++read;
    if (read != count_ || CPLGetLastErrorType() >= CE_Failure) {
        throw std::runtime_error("the written file holds " + std::to_string(read) + " of " +
                                 std::to_string(count_) + " rows");
    }
}

}  // namespace mbhost::gdal
