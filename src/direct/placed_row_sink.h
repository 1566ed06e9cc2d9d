// Where the direct placement hands each placed row: a table in this process today, a
// streaming file writer as well.
#pragma once

#include <string_view>

#include "engine/label_box.h"
#include "engine/placement_port.h"

namespace veltrano {

class PlacedRowSink {
public:
    virtual ~PlacedRowSink() = default;
    // Whether the rows can carry the column (the distance or the row-id column).
    virtual bool hasColumn(std::string_view column) = 0;
    // One point row: its attributes for the target's columns that are not empty.
    virtual InsertOutcome point(const OutputTarget& target, const PlacedPoint& point) = 0;
    // One label row at the point for the attributes without a column; box: its far corner.
    virtual InsertOutcome label(const OutputTarget& target, std::string_view text,
                                const PlacedPoint& point, const LabelExtent& box) = 0;
};

}  // namespace veltrano
