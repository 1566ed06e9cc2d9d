// Points at distances along one object.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "engine/obj_records.h"
#include "engine/placement_port.h"
#include "host/automation.h"
#include "host/miProObj.h"
#include "platform/message_box.h"

namespace veltrano {

// Whether a table's coordinate-system clause (as the host answers "Tableinfo(t, 29) ")
// is a longitude/latitude one: an Earth clause whose projection number is positive and
// 1 modulo 1000. NonEarth and other clauses are not. A projection number beyond 32 bits
// raises RunTimeError.
bool isLatLongClause(std::string_view clause);

// The segment a computed point lies on, in the direction of the walk, and the metres from
// its start to the point.
struct SegmentOfPoint {
    HostPoint start;
    HostPoint end;
    double along = 0;
};

// For every distance in metres from the object's first node that falls strictly inside
// rec.nodesLen, the point that far along rec (the walk treats each section as beginning
// where the previous ended). The host is set to rec.tabName's coordinate system first;
// lat/long tables are measured with the host's Distance, others interpolated linearly.
//
// distances: sorted ascending in place. rec: read only. pts: on return nNodes is the
// number of points and nodes holds them in ascending order of distance (mark -1, dist the
// requested distance); segNo and segLen are left as they were.
// Result: the number of points. A run-time failure is shown in an
// "Application Internal Error [objToArray]:" box on messages and gives 0, pts untouched.
// segments, when given, receives each point's segment in the same order.
std::int32_t pointsAlongObject(GeometryPort& host, std::vector<double>& distances,
                               const ObjArray& rec, ObjSegment& pts, MessageBoxPort& messages,
                               std::vector<SegmentOfPoint>* segments = nullptr);
// The same asked of the host object as MapBasic text.
std::int32_t pointsAlongObject(const AutomationPtr& host, std::vector<double>& distances,
                               const ObjArray& rec, ObjSegment& pts, MessageBoxPort& messages);
// The same on the host object that hostConn holds (none is a failure, shown as above).
std::int32_t pointsAlongObject(const miProObj& hostConn, std::vector<double>& distances,
                               const ObjArray& rec, ObjSegment& pts, MessageBoxPort& messages);

}  // namespace veltrano
