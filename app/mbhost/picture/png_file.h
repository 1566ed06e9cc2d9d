#pragma once

#include <string>

#include "raster.h"

namespace mbhost::picture {

// Writes the raster as an 8-bit RGBA PNG. Raises std::runtime_error
// "cannot write <path>: <reason>".
void writePng(const Raster& raster, const std::string& path);

// The PNG file's bytes, for writePng and for tests.
std::string encodePng(const Raster& raster);

}  // namespace mbhost::picture
