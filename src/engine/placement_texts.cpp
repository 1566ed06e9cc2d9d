#include "engine/placement_texts.h"

#include "foundation/host_codes.h"
#include "foundation/number_text.h"

namespace veltrano::placement_text {

namespace {

std::string cat(std::initializer_list<std::string_view> pieces) {
    std::size_t size = 0;
    for (auto piece : pieces) size += piece.size();
    std::string out;
    out.reserve(size);  // one allocation for a whole request text
    for (auto piece : pieces) out += piece;
    return out;
}

std::string whole(std::int64_t value) {
    return std::to_string(value);
}

std::string num(double value) {
    return programNumberText(value);
}

}  // namespace

std::string setCoordSysTable(std::string_view table) {
    return cat({"Set CoordSys Table ", table, " "});
}

std::string tableCoordSysClause(std::string_view table) {
    return cat({"Tableinfo(", table, ", ", whole(host_code::table_info::kCoordSys), ") "});
}

std::string lineEndPair(std::string_view objVar, int xCode, int yCode) {
    return cat({"format$(ObjectGeography( ", objVar, ", ", whole(xCode), "),", kHostNumberPicture,
                ") + \";\" + format$(ObjectGeography( ", objVar, ", ", whole(yCode), "),",
                kHostNumberPicture, " )"});
}

std::string objectInfoCount(std::string_view objVar, std::int32_t code) {
    return cat({"ObjectInfo( ", objVar, ", ", whole(code), ") "});
}

std::string nodePair(std::string_view objVar, std::int32_t section, std::int32_t node) {
    const std::string s = whole(section);
    const std::string n = whole(node);
    return cat({"format$(ObjectNodeX( ", objVar, ", ", s, ", ", n, ") ,", kHostNumberPicture,
                ")  + \";\" + format$(ObjectNodeY( ", objVar, ", ", s, ", ", n, ") ,",
                kHostNumberPicture, " )"});
}

std::string nodeDistance(std::string_view x1, std::string_view y1, std::string_view x2,
                         std::string_view y2) {
    return cat({"Format$(Distance(", x1, ", ", y1, ", ", x2, ",", y2, ",\"m\"),",
                kHostNumberPicture, ")"});
}

std::string objectLength(std::string_view objVar) {
    return cat({"Format$(ObjectLen(", objVar, ",\"m\"),", kHostNumberPicture, ")"});
}

std::string objectPerimeter(std::string_view objVar) {
    return cat({"Format$(Perimeter(", objVar, ",\"m\"),", kHostNumberPicture, ")"});
}

std::string pointDistance(double ax, double ay, double x, double y) {
    return cat({"format$(Distance (", num(ax), ", ", num(ay), ", ", num(x), ", ", num(y),
                ", \"m\" ),", kHostNumberPicture, ")"});
}

std::string columnProbe(std::string_view outTable, std::string_view column) {
    return cat({"ColumnInfo(", outTable, ", ", column, " ,1) "});
}

std::string sourceRowId(std::string_view table) {
    return cat({table, ".rowId"});
}

std::string declareObjectVariable(std::string_view name) {
    return cat({"dim ", name, " as Object "});
}

std::string copySourceObject(std::string_view name, std::string_view table) {
    return cat({name, "=", table, ".obj "});
}

std::string objectTypeOf(std::string_view name) {
    return cat({"ObjectInfo(", name, ", ", whole(host_code::object_info::kType), ") "});
}

std::string createPoint(std::string_view table, std::string_view name, double x, double y) {
    return cat({"Set coordsys table ", table, " \r\n", name, "=createPoint( ", num(x), ", ", num(y),
                " )"});
}

std::string insertPoint(std::string_view outTable, std::string_view name,
                        std::string_view distColumn, std::string_view rowIdColumn, double dist,
                        std::int32_t rowId) {
    std::string columns = "obj";
    std::string values(name);
    if (!distColumn.empty()) {
        columns += cat({", ", distColumn});
        values += cat({", ", num(dist)});
    }
    if (!rowIdColumn.empty()) {
        columns += cat({", ", rowIdColumn});
        values += cat({", ", whole(rowId)});
    }
    return cat({"Insert into ", outTable, " ( ", columns, " ) Values ( ", values, " ) "});
}

std::string labelText(bool distHasColumn, bool rowIdHasColumn, double dist, std::int32_t rowId) {
    std::string label;
    if (!distHasColumn) label = "M = " + num(dist);
    if (!rowIdHasColumn) {
        if (!label.empty()) label += "\\n";
        label += "RowID = " + whole(rowId);
    }
    return label;
}

std::string createLabel(std::string_view name, std::string_view label, double x, double y,
                        double east, double north) {
    return cat({"Create Text into Variable ", name, " \"", label, "\" (", num(x), ", ", num(y),
                " ) ( ", num(x + east), ", ", num(y + north), " )  "});
}

std::string insertLabel(std::string_view outTable, std::string_view name) {
    return cat({"Insert into ", outTable, " (obj) Values (", name, ") "});
}

std::string releaseVariable(std::string_view name) {
    return cat({"undim ", name, " "});
}

}  // namespace veltrano::placement_text
