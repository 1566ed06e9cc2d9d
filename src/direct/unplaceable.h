// Which stored objects the direct placement can walk, and why not the others.
#pragma once

#include <optional>
#include <string>

#include "mbhost/coordsys.h"
#include "mbhost/geometry.h"

namespace veltrano {

// What is placed along for a stored object: a collection's lines as one polyline, any other
// object as it is.
mbhost::GeometryPtr pathOf(const mbhost::GeometryPtr& object);

// Why path (from pathOf; null: the row has none) cannot be placed along in system, as
// "<kind>: <detail>" where kind is what a summary counts; nothing when it can.
std::optional<std::string> unplaceable(const mbhost::Geometry* path,
                                       const mbhost::CoordSys& system);

}  // namespace veltrano
