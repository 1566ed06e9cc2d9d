// The text that describes the host's current selection.
#pragma once

#include <string>

#include "platform/regional_settings.h"

namespace veltrano {

class miProObj;

// A few lines that describe the host's current selection: its table, the table it was made
// from, the coordinate system, and per object its type with nodes, sections and length (or
// perimeter). Lines end in CR LF. Moves the host's cursor on the selection table.
std::string selectionSummary(miProObj* host, const RegionalSettings& regional);

inline constexpr const char* kNoHostSummary = "--- NO Active MAPINFO Application ---";
inline constexpr const char* kNoSelectionSummary = "--- NO Selected Objects ---";

}  // namespace veltrano
