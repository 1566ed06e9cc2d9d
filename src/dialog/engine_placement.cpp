#include "dialog/engine_placement.h"

namespace veltrano {

PlacementEngine enginePlacement(EnginePorts ports) {
    return [ports](miProObj& host, std::vector<double>& distances, std::string& sourceTable,
                   std::string& outputTable, std::string distanceColumn, std::string rowIdColumn,
                   bool& fromTheEnd) {
        return setPointsOnLine(&host, distances, sourceTable, outputTable,
                               std::move(distanceColumn), std::move(rowIdColumn), fromTheEnd,
                               ports);
    };
}

}  // namespace veltrano
