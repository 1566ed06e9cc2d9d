#include "dialog/engine_placement.h"

namespace veltrano {

PlacementEngine enginePlacement(EnginePorts ports) {
    return mapBasicEngine(ports);
}

}  // namespace veltrano
