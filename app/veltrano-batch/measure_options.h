// How the file mode measures along the lines and what it says of each point: --distance,
// --parts and --angle read and checked.
#pragma once

#include <optional>
#include <string>

#include "batch_options.h"
#include "direct/direct_placement.h"
#include "mbhost/coordsys.h"
#include "point_columns.h"

namespace veltrano::batch {

struct MeasureOptions {
    DirectMeasure measure;
    PointColumns columns;
};

// Nothing, with the reason in error, for a value that names no choice.
std::optional<MeasureOptions> readMeasureOptions(const FileOptions& file, std::string& error);
// --distance: ground (the default) or grid.
std::optional<mbhost::Measure> readDistanceMeasure(const std::optional<std::string>& given,
                                                   std::string& error);
// Why measure cannot measure in system (the grid of longitude/latitude is no length); empty
// when it can.
std::string measureRefusal(mbhost::Measure measure, const mbhost::CoordSys& system);

}  // namespace veltrano::batch
