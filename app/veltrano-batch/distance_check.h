// Which typed distances can place a point: the batch says which pieces the dialog would
// pass over, read the dialog's way, without changing the list it hands on.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/regional_settings.h"

namespace veltrano::batch {

struct DistanceCheck {
    std::size_t placeable = 0;              // pieces reading as a positive distance
    std::vector<std::string> notPlaceable;  // the others, as typed: no number, zero, negative
    std::vector<std::string> readInPart;    // "2,5 read as 2": the reader stopped short
};

DistanceCheck checkDistances(std::string_view text, const RegionalSettings& regional);

}  // namespace veltrano::batch
