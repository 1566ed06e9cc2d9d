#include "dialog/engine_placement.h"

namespace veltrano {

PlacementEngine enginePlacement(EnginePorts ports) {
    return [ports](miProObj& host, const PlacementRequest& request) {
        return setPointsOnLine(&host, request, ports);
    };
}

}  // namespace veltrano
