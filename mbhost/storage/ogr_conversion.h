// Map objects to and from GDAL's geometries.
//
// Lines and polylines become line strings (several sections: a multi-line string) and come
// back as polylines; regions become polygons (several polygons: a multi-polygon) and come back
// as regions, each ring a section without its closing node; rectangles, ellipses, arcs and
// frames are written as the polygon of their bounding rectangle; a text object is written as
// a point at its first corner carrying its label (see labelStyle) and read back as text.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include <ogr_geometry.h>

#include "mbhost/geometry.h"

namespace mbhost::gdal {

std::unique_ptr<OGRGeometry> toOgr(const Geometry& object);

// The object for a GDAL geometry (curves as GDAL linearises them); nothing for an empty one
// or a kind mbhost has no object for. style is the feature's OGR style string (a label there makes
// a point a text object).
std::optional<Geometry> fromOgr(const OGRGeometry& geometry, const std::string& style = {});

// The OGR style string that carries a text object's label, empty for other objects.
std::string labelStyle(const Geometry& object);

}  // namespace mbhost::gdal
