// Pictures of map windows: PNG, SVG or PDF, by the file's extension.
#pragma once

#include "mbhost/ports.h"

namespace mbhost::picture {

class MapPictureRenderer : public MapRenderer {
public:
    // Raises gdal::StorageError "cannot write <path>: <reason>".
    void render(const MapSnapshot& map, const std::string& path) override;
};

}  // namespace mbhost::picture
