// Distances computed without mbhost: PROJ's geodesic routines called directly, and PROJ's
// own EPSG definitions for the projected sample table.
#pragma once

#include "mbhost/geometry.h"

namespace mbhost::testing {

enum class SampleSystem { LatLong, Utm, NonEarth };

// Metres between two points given in the sample table's system (the projected table is
// transverse Mercator on 27 degrees east, which is UTM zone 35 north: EPSG:32635).
double referenceDistance(SampleSystem system, Point a, Point b);

}  // namespace mbhost::testing
