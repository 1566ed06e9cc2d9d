// The node records of one host object: the object, its sections, and its nodes (or the
// points computed along it). They live for the handling of one object.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "foundation/host_codes.h"

namespace veltrano {

// One node of a section, or one point computed along an object.
struct ObjNode {
    double x = 0;     // X in the coordinate system of the object's table (longitude if lat/long)
    double y = 0;     // Y in that system
    double mark = 0;  // 0 for a node read from the host; -1 for a computed point
    double dist = 0;  // metres from the first node of the section (of the object, for a point)
};

// One section of a polyline, or one polygon of a region.
struct ObjSegment {
    std::int16_t segNo = 0;      // the host's section number, from 1 (index + 1)
    std::int32_t nNodes = 0;     // the number of nodes the host reported for the section
    double segLen = 0;           // metres: the sum of the host's distances between its nodes
    std::vector<ObjNode> nodes;  // in the host's order
};

// One host object (a line is held as a polyline of one section).
struct ObjArray {
    std::string tabName;        // the host table whose current row holds the object
    std::string tabCoordSys;    // that table's coordinate-system clause
    std::int32_t objType = -1;  // host object type code: 4 polyline (lines too), 7 region
    std::int32_t rowId = -1;    // the row id of the source row
    double nodesLen = 0;        // metres: the sum of segLen over all sections
    double objLen = 0;          // metres: the host's own length, or perimeter of a region
    std::vector<ObjSegment> segments = std::vector<ObjSegment>(1);  // in the host's order
    std::int16_t nSegments = -1;  // the number of sections; -1 before extraction
};

namespace objtype = host_code::object_type;

}  // namespace veltrano
