// The host's selection walked with the dialog's MapBasic texts over the host connection.
#pragma once

#include <functional>
#include <string>

#include "engine/set_points_on_line.h"
#include "host/miProObj.h"
#include "placement/place_selection.h"

namespace veltrano {

// The placement of points along one object: the engine's entry point, or a stand-in.
using PlacementEngine = std::function<ObjectPlacement(miProObj&, const PlacementRequest&)>;

// The engine over the host connection as MapBasic text.
PlacementEngine mapBasicEngine(EnginePorts ports);

class MapBasicSelection final : public SelectionWalk {
public:
    // host: none counts as no selection.
    MapBasicSelection(miProObj* host, PlacementEngine engine)
        : host_(host), engine_(std::move(engine)) {}

    std::int32_t selectedCount() override;
    std::string first() override;
    bool hostErrorPending() override;
    ObjectPlacement placeCurrent(const PlacementRequest& request) override;
    bool next() override;

private:
    miProObj* host_;
    PlacementEngine engine_;
    std::string table_;
};

}  // namespace veltrano
