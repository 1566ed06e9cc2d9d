// The size of the text box that labels a placed point, in the source table's units.
#pragma once

#include <string_view>

namespace veltrano {

struct LabelExtent {
    double east = 0;  // from the point to the box's far corner
    double north = 0;
};

// 100 by 25 units, which in a metre-based table is 100 m east by 25 m north of the point.
// In a longitude/latitude table (by its coordinate-system clause) the same ground size in
// degrees at the point's latitude, so that the box covers a label and not a continent.
LabelExtent labelExtent(std::string_view coordSysClause, double latitude);

}  // namespace veltrano
