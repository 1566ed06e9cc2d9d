// A GeoPackage table's R-tree spatial index, built in one pass over the written file.
//
// GDAL 3.6 fills the index row by row through SQLite's R*-tree insertion, which took half of a
// large points write. Here the rows are read once in key order and packed into full nodes
// written straight into the R-tree's own tables: leaves in the rows' order, the nodes above
// along a Hilbert curve. Memory holds one box a leaf (51 rows). The result is an ordinary
// `rtree_<table>_<column>` with the extension's triggers and registration, so every
// GeoPackage reader uses it and later edits keep it up to date.
#pragma once

#include <string>

namespace mbhost::gdal {

// Adds the spatial index of table's geometry column to the closed GeoPackage at path (which
// has none). Raises std::runtime_error with SQLite's reason.
void buildSpatialIndex(const std::string& path, const std::string& table);

}  // namespace mbhost::gdal
