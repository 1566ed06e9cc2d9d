// The MapBasic texts the placement engine sends, composed in one place so that each is
// written exactly once. Names are pasted bare; whole numbers are plain decimal integers and
// program-written reals are program number texts.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace veltrano::placement_text {

// The picture in which every real number is asked of the host (scientific notation).
inline constexpr std::string_view kHostNumberPicture = "\"#0.######################E+00\"";

// "Set CoordSys Table <tab> "
std::string setCoordSysTable(std::string_view table);
// "Tableinfo(<tab>, 29) ": the table's coordinate-system clause.
std::string tableCoordSysClause(std::string_view table);

// Start (1, 2) or end (3, 4) of a line, X and Y joined by ";".
std::string lineEndPair(std::string_view objVar, int xCode, int yCode);
// "ObjectInfo( <obj>, <code>) ": 21 the section count, 21 + s the node count of section s.
std::string objectInfoCount(std::string_view objVar, std::int32_t code);
// Node n of section s, X and Y joined by ";".
std::string nodePair(std::string_view objVar, std::int32_t section, std::int32_t node);
// Metres between two nodes, given by the host's own coordinate texts.
std::string nodeDistance(std::string_view x1, std::string_view y1, std::string_view x2,
                         std::string_view y2);
std::string objectLength(std::string_view objVar);
std::string objectPerimeter(std::string_view objVar);

// Metres from (ax, ay) to (x, y), coordinates written by the program.
std::string pointDistance(double ax, double ay, double x, double y);

// Placement of one object.
std::string columnProbe(std::string_view outTable, std::string_view column);
std::string sourceRowId(std::string_view table);
std::string declareObjectVariable(std::string_view name);
std::string copySourceObject(std::string_view name, std::string_view table);
std::string objectTypeOf(std::string_view name);
// Two statements in one request: the coordinate system, then the point into the variable.
std::string createPoint(std::string_view table, std::string_view name, double x, double y);
// The point row; an empty column name leaves that attribute out.
std::string insertPoint(std::string_view outTable, std::string_view name,
                        std::string_view distColumn, std::string_view rowIdColumn, double dist,
                        std::int32_t rowId);
// The label text for the attributes that have no column; empty when both have one.
std::string labelText(bool distHasColumn, bool rowIdHasColumn, double dist, std::int32_t rowId);
// The label's box runs from the point to (x + east, y + north).
std::string createLabel(std::string_view name, std::string_view label, double x, double y,
                        double east, double north);
std::string insertLabel(std::string_view outTable, std::string_view name);
std::string releaseVariable(std::string_view name);

}  // namespace veltrano::placement_text
