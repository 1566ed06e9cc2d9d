// A workspace for the tests: a longitude/latitude table, a UTM table, a NonEarth table, an
// output table with the placement columns, one without, and a read-only table.
#pragma once

#include <memory>
#include <string>

#include "mbhost/host.h"

namespace mbhost::testing {

inline constexpr const char* kLatLongClause = "Earth Projection 1, 104";
inline constexpr const char* kUtmClause =
    "Earth Projection 8, 104, \"m\", 27, 0, 0.9996, 500000, 0";
inline constexpr const char* kNonEarthClause = "NonEarth Units \"m\" Bounds (0, 0) (1000, 1000)";

// roads (lat/long): 1 polyline of two sections (3 and 2 nodes), 2 line, 3 region of two
//   polygons, 4 point.
// fields (UTM zone 27): 1 polyline, 2 region.
// plan (NonEarth, metres): 1 line (0,0)-(300,400), 2 polyline (0,0)-(100,0)-(100,100).
// points (lat/long): distanceM Float, xRowId Integer; empty.
// labels (lat/long): no columns but the object; empty.
// archive (lat/long, read-only): one point.
std::unique_ptr<Host> makeSampleHost();

// The SystemInfo(9) handle of the sample host.
inline constexpr std::int32_t kSampleMainWindow = 0x1234;

}  // namespace mbhost::testing
