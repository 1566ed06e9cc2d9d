// The dialog's hook into the placement engine.
#pragma once

#include "dialog/form1.h"
#include "engine/set_points_on_line.h"

namespace veltrano {

// The placement engine as the dialog calls it, once per selected object.
PlacementEngine enginePlacement(EnginePorts ports);

}  // namespace veltrano
