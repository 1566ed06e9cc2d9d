// An object of several parts placed along one part at a time, each measured on its own.
#pragma once

#include <cstdint>
#include <functional>

#include "engine/set_points_on_line.h"
#include "mbhost/geometry.h"

namespace veltrano {

// The object of part `part` (from 1) alone, of object's type; object itself when it has but
// that part.
mbhost::GeometryPtr partOf(const mbhost::GeometryPtr& object, std::int32_t part);

// placeAlongPart(1) to placeAlongPart(parts), their points and refusals added up; the first
// part's outcome alone when it was not reached, as none of the others is.
ObjectPlacement placeEachPart(std::int32_t parts,
                              const std::function<ObjectPlacement(std::int32_t)>& placeAlongPart);

}  // namespace veltrano
