// The columns the file mode's points get before the kept ones: distanceM and xRowId, then the
// line's direction and the part when asked for.
#pragma once

#include <string>
#include <vector>

#include "mbhost/table_data.h"

namespace veltrano::batch {

inline constexpr const char* kAngleColumn = "angle";
inline constexpr const char* kPartColumn = "part";

struct PointColumns {
    bool angle = false;  // degrees clockwise from north in [0, 360)
    bool part = false;   // the part measured on its own, from 1
};

// In the order each point's row holds them.
std::vector<mbhost::ColumnDef> ownColumns(const PointColumns& columns);
std::vector<std::string> ownColumnNames(const PointColumns& columns);

}  // namespace veltrano::batch
