// The point at a given distance between two nodes of an object.
#pragma once

#include "engine/obj_records.h"
#include "engine/placement_port.h"
#include "host/automation.h"

namespace veltrano {

// The point d metres along the object, on the segment from node A (dA metres along the
// object, at xA, yA) to node B (dB metres, at xB, yB); dA <= d < dB. Coordinates are in
// the table's coordinate system, which the host has been set to.
//
// isLatLong false: linear interpolation, no host request.
// isLatLong true: the estimate is refined with the host's Distance in metres until the
// host distance from the current A matches the distance still wanted within 0.001 m, for
// at most 101 steps (102 Distance requests), or until the chord is below 1E-20; the last
// estimate is returned either way. host is then needed (none held raises a failure).
// Result: the point with mark -1 and dist d. Raises RunTimeError when the arithmetic
// leaves the finite doubles or a host request fails; it has no handler of its own.
ObjNode pointOnSegment(double d, double dA, double dB, double xA, double yA, double xB, double yB,
                       GeometryPort& host, bool isLatLong);
// The same measured by the host object's Distance as MapBasic text.
ObjNode pointOnSegment(double d, double dA, double dB, double xA, double yA, double xB, double yB,
                       const AutomationPtr& host, bool isLatLong);

}  // namespace veltrano
